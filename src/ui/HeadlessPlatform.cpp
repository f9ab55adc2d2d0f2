#include "ui/HeadlessPlatform.h"

#include "ui/Application.h"
#include "ui/Form.h"

#include <algorithm>

namespace ui {

HeadlessPlatform::HeadlessPlatform(os::System& system)
    : system_(system), start_(system.GetTickCount()) {}

void HeadlessPlatform::At(std::uint32_t time, std::function<void()> action, std::string what) {
    actions_.push_back(Action{time, nextSeq_++, std::move(action), std::move(what)});
}

void HeadlessPlatform::When(std::function<bool()> condition, std::function<void()> action,
                            std::uint32_t delay, std::string what) {
    watches_.push_back(Watch{std::move(condition), std::move(action), delay, std::move(what)});
}

void HeadlessPlatform::AnswerBoxes(const std::string& textPart, int answer, std::uint32_t delay) {
    boxRules_.push_back(BoxRule{textPart, answer, delay});
}

std::vector<std::string> HeadlessPlatform::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes_)
        texts.push_back(box.text);
    return texts;
}

std::uint32_t HeadlessPlatform::Now() {
    return system_.GetTickCount();
}

void HeadlessPlatform::CheckWatches() {
    for (size_t i = 0; i < watches_.size();) {
        if (watches_[i].condition()) {
            Watch watch = std::move(watches_[i]);
            watches_.erase(watches_.begin() + static_cast<long>(i));
            At(Now() + watch.delay, std::move(watch.action), std::move(watch.what));
        } else {
            ++i;
        }
    }
}

bool HeadlessPlatform::DispatchOne() {
    // Messages other programs have sent come before anything of the queue.
    if (system_.AnswerSentMessages()) return true;
    CheckWatches();
    std::uint32_t now = Now();
    // User input first, in time order, then the earliest due window timer.
    auto action = std::min_element(actions_.begin(), actions_.end(), [](auto& a, auto& b) {
        return static_cast<std::int32_t>(a.time - b.time) < 0 ||
               (a.time == b.time && a.seq < b.seq);
    });
    if (action != actions_.end() && Reached(now, action->time)) {
        Action run = std::move(*action);
        actions_.erase(action);
        if (!run.what.empty()) Trace("user: " + run.what);
        run.action();
        return true;
    }
    auto timer = std::min_element(timers_.begin(), timers_.end(), [](auto& a, auto& b) {
        return static_cast<std::int32_t>(a.due - b.due) < 0;
    });
    if (timer != timers_.end() && Reached(now, timer->due)) {
        // The countdown restarts at the expiry; the handler may kill or change the timer.
        timer->due = now + timer->interval;
        std::function<void()> callback = timer->callback;
        callback();
        return true;
    }
    return false;
}

void HeadlessPlatform::Wait(const std::uint32_t* deadline) {
    CheckWatches();
    std::uint32_t now = Now();
    bool any = false;
    std::uint32_t next = 0;
    auto consider = [&](std::uint32_t t) {
        if (!any || static_cast<std::int32_t>(t - next) < 0) next = t;
        any = true;
    };
    for (const auto& a : actions_)
        consider(a.time);
    for (const auto& t : timers_)
        consider(t.due);
    if (deadline) consider(*deadline);
    if (!any) {
        if (!watches_.empty())
            throw LoopStuck("the loop waits for a condition that nothing can make true: " +
                            watches_.front().what);
        throw LoopStuck("the loop waits, but no timer, user action or message can ever come");
    }
    if (static_cast<std::int32_t>(next - now) > 0) {
        if (next - start_ > VirtualTimeLimitMs)
            throw LoopStuck(
                "the program ran for more than " + std::to_string(VirtualTimeLimitMs / 3600000) +
                " virtual hours: a loop that nothing ends (an unanswered modal window?)");
        system_.WaitForMessage(next - now);
    }
}

TimerId HeadlessPlatform::StartTimer(std::uint32_t interval, std::function<void()> callback) {
    TimerId id = nextTimerId_++;
    timers_.push_back(Timer{id, interval, Now() + interval, std::move(callback)});
    return id;
}

void HeadlessPlatform::KillTimer(TimerId id) {
    timers_.erase(
        std::remove_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; }),
        timers_.end());
}

int HeadlessPlatform::MessageBox(
    const std::string& text, const std::string& caption, std::uint32_t type, const Form* owner,
    const std::function<void(const std::function<bool()>&)>& runModal) {
    int answer = (type & 0xF) == kMbYesNo ? kIdYes : kIdOk;
    std::uint32_t delay = 0;
    for (auto it = boxRules_.rbegin(); it != boxRules_.rend(); ++it) {
        if (it->textPart.empty() || text.find(it->textPart) != std::string::npos) {
            answer = it->answer;
            delay = it->delay;
            break;
        }
    }
    boxes_.push_back(
        ShownMessageBox{Now(), text, caption, type, answer, owner ? owner->Name() : std::string()});
    Trace("message box [" + caption + "]: " + text);
    if (delay > 0) {
        std::uint32_t until = Now() + delay;
        // Timers and the rest of the loop go on while the box is up.
        actions_.push_back(Action{until, nextSeq_++, [] {}, ""});
        runModal([this, until] { return Reached(Now(), until); });
    }
    Trace(std::string("message box answered: ") + (answer == kIdYes      ? "Yes"
                                                   : answer == kIdNo     ? "No"
                                                   : answer == kIdCancel ? "Cancel"
                                                                         : "OK"));
    return answer;
}

void HeadlessPlatform::Trace(const std::string& line) {
    if (OnTrace) OnTrace(line);
}

} // namespace ui
