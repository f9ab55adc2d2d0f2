// Signals to a host command (orlo-sim, setup-sim) as a shell or a user sends them: the command
// ends by the signal, its sandbox goes first, and its run never outlives it.
#include "host/SandboxMachine.h"
#include "host/SandboxedCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The status of the process `pid` once it ends within `patience`; -1 while it runs on.
int WaitFor(pid_t pid, std::chrono::milliseconds patience) {
    for (auto until = std::chrono::steady_clock::now() + patience;;) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return status;
        if (std::chrono::steady_clock::now() > until) return -1;
        std::this_thread::sleep_for(1ms);
    }
}

// A command started as a shell starts one (its own process, default dispositions), whose run
// fills its sandbox and then waits for ever.
struct StartedCommand {
    explicit StartedCommand(const std::string& command) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(pipeEnds[0]);
            for (int signal : {SIGHUP, SIGINT, SIGTERM, SIGUSR1, SIGALRM, SIGPIPE})
                std::signal(signal, SIG_DFL);
            ::_exit(host::RunRemovingSandbox(command, [&] {
                std::FILE* out = std::fopen("/dev/null", "w");
                host::SandboxMachine sandbox(command, out);
                for (int i = 0; i < 300; ++i)
                    sandbox.Machine().WriteFile("C:\\file" + std::to_string(i) + ".txt", "bytes");
                const pid_t self = ::getpid();
                if (::write(pipeEnds[1], &self, sizeof self) != sizeof self) return 1;
                for (;;)
                    ::pause();
            }));
        }
        ::close(pipeEnds[1]);
        if (pid > 0 && ::read(pipeEnds[0], &run, sizeof run) != sizeof run) run = 0;
        ::close(pipeEnds[0]);
    }
    pid_t pid = -1; // the command
    pid_t run = 0;  // its run, with the sandbox filled
};

TEST(SandboxedCommand, EndsByTheSignalAfterTheSandboxHasGoneAndTakesTheRunAlong) {
    // The runs of commands ended by SIGKILL come to this process, which reaps them.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    struct Case {
        const char* what;
        int signal;
        bool again; // sent again and again until the command has ended
    };
    const std::vector<Case> cases = {
        {"terminate", SIGTERM, false},
        {"interrupt", SIGINT, false},
        {"hang-up", SIGHUP, false},
        {"terminate, repeated", SIGTERM, true},
        {"interrupt, repeated", SIGINT, true},
        {"user signal", SIGUSR1, false},
        {"alarm", SIGALRM, false},
        {"broken pipe", SIGPIPE, false},
        {"kill", SIGKILL, false},
    };
    const std::string command = "signal-test-" + std::to_string(::getpid());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartedCommand started(command);
        ASSERT_GT(started.pid, 0);
        ASSERT_GT(started.run, 0);
        const std::filesystem::path sandbox = host::SandboxMachine::PathFor(command, started.run);
        ASSERT_TRUE(std::filesystem::exists(sandbox));
        int status = -1;
        for (auto until = std::chrono::steady_clock::now() + 10s;
             status == -1 && std::chrono::steady_clock::now() < until;) {
            ::kill(started.pid, c.signal);
            status = WaitFor(started.pid, c.again ? 0ms : 10s);
        }
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << "status " << status;
        if (c.signal == SIGKILL) {
            // Nothing removes the sandbox of a command ended so; its run ends all the same.
            const int run = WaitFor(started.run, 10s);
            EXPECT_TRUE(WIFSIGNALED(run) && WTERMSIG(run) == SIGKILL) << "run status " << run;
            std::filesystem::remove_all(sandbox);
        } else {
            EXPECT_FALSE(std::filesystem::exists(sandbox));
        }
        if (::kill(started.run, 0) == 0) {
            ADD_FAILURE() << "the run goes on without its command";
            ::kill(started.run, SIGKILL);
            WaitFor(started.run, 10s);
            std::filesystem::remove_all(sandbox);
        }
    }
}

} // namespace
