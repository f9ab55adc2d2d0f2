// Programs that run side by side on the simulated machine: each on a thread of its own, one at a
// time, handing over when it waits, so that virtual time stays one clock for all of them and a
// run is the same every time.
#include "os/sim/SimMachine.h"

#include "os/sim/SimProcess.h"
#include "os/sim/SimRunner.h"

#include <algorithm>

namespace os::sim {

namespace {

const char* const kImagePrefix = "MZ orlo-sim program image: ";

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> args;
    const size_t n = line.size();
    size_t i = 0;
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= n) break;
        std::string arg;
        bool quoted = false;
        while (i < n && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                size_t count = 0;
                while (i < n && line[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    arg.append(count / 2, '\\');
                    if (count % 2) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(count, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

SimMachine::~SimMachine() = default;

std::string SimMachine::ProgramImage(const std::string& program) {
    return kImagePrefix + program + "\r\n";
}

void SimMachine::RegisterProgram(const std::string& program, ProgramMain main) {
    programs_[program] = std::move(main);
}

std::string SimMachine::ProgramOf(const std::string& exePath) const {
    std::string image;
    if (!ReadFile(exePath, image) || image.rfind(kImagePrefix, 0) != 0) return "";
    std::string name = image.substr(std::string(kImagePrefix).size());
    return name.substr(0, name.find_first_of("\r\n"));
}

bool SimMachine::Launch(const std::string& exePath, std::vector<std::string> args,
                        const std::string& currentDirectory) {
    auto program = programs_.find(ProgramOf(exePath));
    if (program == programs_.end()) {
        Trace("cannot start " + exePath + ": no program of this machine");
        return false;
    }
    auto runner = std::make_unique<Runner>();
    runner->exePath = exePath;
    runner->args = args;
    runner->main = program->second;
    runner->process = StartProcess(exePath, std::move(args));
    if (!currentDirectory.empty())
        runner->process->CurrentDirectory = currentDirectory;
    else if (running_ && current_ && current_->process)
        runner->process->CurrentDirectory = current_->process->CurrentDirectory;
    runner->wake = tick_;
    if (!baton_) baton_ = std::make_unique<Baton>();
    std::lock_guard<std::mutex> lock(baton_->mutex);
    Runner* raw = runner.get();
    runners_.push_back(std::move(runner));
    if (running_) raw->thread = std::thread(&SimMachine::RunnerThread, this, raw);
    return true;
}

bool SimMachine::LaunchCommandLine(const std::string& commandLine) {
    std::vector<std::string> items = SplitCommandLine(commandLine);
    if (items.empty()) return false;
    std::string exe = items.front();
    items.erase(items.begin());
    return Launch(exe, std::move(items));
}

void SimMachine::RunPrograms() {
    if (running_) return;
    if (!baton_) baton_ = std::make_unique<Baton>();
    {
        std::unique_lock<std::mutex> lock(baton_->mutex);
        running_ = true;
        for (auto& runner : runners_)
            runner->thread = std::thread(&SimMachine::RunnerThread, this, runner.get());
        current_ = PickNext();
        baton_->changed.notify_all();
        baton_->changed.wait(lock, [this] {
            return std::all_of(runners_.begin(), runners_.end(),
                               [](const auto& r) { return r->state == Runner::State::Done; });
        });
    }
    for (auto& runner : runners_)
        if (runner->thread.joinable()) runner->thread.join();
    running_ = false;
    current_ = nullptr;
    std::exception_ptr error;
    for (auto& runner : runners_)
        if (runner->error && !error) error = runner->error;
    runners_.clear();
    if (error) std::rethrow_exception(error);
}

SimMachine::Runner* SimMachine::RunnerOf(const SimProcess& process) const {
    for (const auto& runner : runners_)
        if (runner->process.get() == &process) return runner.get();
    return nullptr;
}

// The program that runs next: the one due first, a program whose messages have come counting as
// due now; among equals the one started first. The clock moves on to its time.
SimMachine::Runner* SimMachine::PickNext() {
    Runner* best = nullptr;
    std::int32_t bestDelay = 0;
    for (const auto& runner : runners_) {
        if (runner->state == Runner::State::Done) continue;
        std::int32_t delay = 0;
        // A program the system has ended is due at once, to leave.
        const bool ended = runner->process && runner->process->Ended();
        switch (ended ? Runner::State::Ready : runner->state) {
        case Runner::State::Done:
        case Runner::State::Ready:
            break;
        case Runner::State::Sleeping:
            delay = static_cast<std::int32_t>(runner->wake - tick_);
            break;
        case Runner::State::WaitingMessage:
            if (runner->inbox.empty()) delay = static_cast<std::int32_t>(runner->wake - tick_);
            break;
        case Runner::State::WaitingReply:
            if (runner->inbox.empty() && runner->pendingReplies > 0) continue;
            break;
        }
        delay = std::max(delay, 0);
        if (!best || delay < bestDelay) {
            best = runner.get();
            bestDelay = delay;
        }
    }
    if (best) tick_ += static_cast<std::uint32_t>(bestDelay);
    return best;
}

void SimMachine::Yield(Runner& self) {
    std::unique_lock<std::mutex> lock(baton_->mutex);
    Runner* next = PickNext();
    if (!next) {
        // Nothing can run, not even this program: what it waits for never comes.
        self.pendingReplies = 0;
        return;
    }
    if (next == &self) return;
    current_ = next;
    baton_->changed.notify_all();
    baton_->changed.wait(lock, [this, &self] { return current_ == &self; });
}

void SimMachine::ProcessInbox(Runner& self) {
    bool ends = false;
    while (!self.inbox.empty()) {
        Runner::Delivery delivery = self.inbox.front();
        self.inbox.pop_front();
        // The sender has its answer when the window is done, also when the system ends this
        // program while the window handles the message.
        struct Answer {
            Runner* sender;
            ~Answer() {
                if (sender) --sender->pendingReplies;
            }
        } answer{delivery.sender};
        ends = ends || delivery.ends;
        if (std::find(windows_.begin(), windows_.end(), delivery.window) == windows_.end())
            continue;
        std::intptr_t result =
            delivery.window->Deliver(delivery.msg, delivery.wParam, delivery.lParam);
        if (delivery.sender) delivery.sender->answers.push_back(result);
    }
    // Its windows have answered a message after which the system ends the program: no more of
    // its code runs.
    if (ends) {
        self.process->End();
        self.process->LeaveIfEnded();
    }
}

void SimMachine::RunnerThread(Runner* runner) {
    {
        std::unique_lock<std::mutex> lock(baton_->mutex);
        baton_->changed.wait(lock, [this, runner] { return current_ == runner; });
    }
    int code = 0;
    bool ended = false;
    try {
        // Ended before it ever ran, it runs no code at all.
        if (runner->process->Ended()) throw ProgramEnded{};
        code = runner->main(*runner->process);
    } catch (const ProgramEnded&) {
        ended = true;
    } catch (...) {
        runner->error = std::current_exception();
    }
    // The process ends: the system closes what it left open; messages sent to it meanwhile are
    // never answered.
    runner->process.reset();
    for (const auto& delivery : runner->inbox)
        if (delivery.sender) --delivery.sender->pendingReplies;
    runner->inbox.clear();
    programExits.push_back(ProgramExit{runner->exePath, runner->args, code, ended});
    Trace("end " + runner->exePath +
          (ended ? " (ended by the system)" : " (exit code " + std::to_string(code) + ")"));
    std::lock_guard<std::mutex> lock(baton_->mutex);
    runner->state = Runner::State::Done;
    current_ = PickNext();
    baton_->changed.notify_all();
}

void SimMachine::EndOtherPrograms(const SimProcess& caller) {
    for (const auto& runner : runners_)
        if (runner->state != Runner::State::Done && runner->process &&
            runner->process.get() != &caller)
            runner->process->End();
}

void SimMachine::ProcessSleep(SimProcess& process, std::uint32_t ms) {
    if (process.LeaveIfEnded()) return;
    Runner* self = running_ ? RunnerOf(process) : nullptr;
    if (!self) {
        Advance(ms);
        return;
    }
    self->state = Runner::State::Sleeping;
    self->wake = tick_ + ms;
    Yield(*self);
    self->state = Runner::State::Ready;
    process.LeaveIfEnded();
}

void SimMachine::ProcessWaitForMessage(SimProcess& process, std::uint32_t ms) {
    if (process.LeaveIfEnded()) return;
    Runner* self = running_ ? RunnerOf(process) : nullptr;
    if (!self) {
        Advance(ms);
        return;
    }
    if (self->inbox.empty()) {
        self->state = Runner::State::WaitingMessage;
        self->wake = tick_ + ms;
        Yield(*self);
    }
    self->state = Runner::State::Ready;
    process.LeaveIfEnded();
    ProcessInbox(*self);
}

bool SimMachine::ProcessAnswerSentMessages(SimProcess& process) {
    if (process.LeaveIfEnded()) return false;
    Runner* self = running_ ? RunnerOf(process) : nullptr;
    if (!self || self->inbox.empty()) return false;
    ProcessInbox(*self);
    return true;
}

std::vector<std::intptr_t> SimMachine::BroadcastFrom(SimProcess& sender, std::uint32_t msg,
                                                     std::uintptr_t wParam, std::intptr_t lParam,
                                                     bool endsReceivers) {
    if (sender.LeaveIfEnded()) return {};
    Runner* self = running_ ? RunnerOf(sender) : nullptr;
    if (!self) return Broadcast(msg, wParam, lParam);
    // A message this one sends while it waits for answers collects its own.
    std::vector<std::intptr_t> outer = std::move(self->answers);
    self->answers.clear();
    Trace("broadcast " + MessageName(msg));
    // The program's own windows get the message at once; another program's when it next calls
    // a message function, while this one waits for its answer.
    std::vector<WindowSink*> targets = windows_;
    for (WindowSink* window : targets) {
        if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) continue;
        auto owner = windowOwners_.find(window);
        Runner* receiver = owner == windowOwners_.end() ? nullptr : RunnerOf(*owner->second);
        if (receiver && receiver != self) {
            receiver->inbox.push_back(
                Runner::Delivery{window, msg, wParam, lParam, self, endsReceivers});
            ++self->pendingReplies;
        } else {
            self->answers.push_back(window->Deliver(msg, wParam, lParam));
        }
    }
    while (self->pendingReplies > 0) {
        self->state = Runner::State::WaitingReply;
        Yield(*self);
        self->state = Runner::State::Ready;
        sender.LeaveIfEnded();
        ProcessInbox(*self);
    }
    std::vector<std::intptr_t> answers = std::move(self->answers);
    self->answers = std::move(outer);
    return answers;
}

} // namespace os::sim
