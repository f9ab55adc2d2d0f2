#include "host/SandboxedCommand.h"

#include "host/SandboxMachine.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace host {

int RunRemovingSandbox(const std::string& command, const std::function<int()>& body) {
    // Blocked here, the child's end and the signals to pass on are taken in turn below.
    sigset_t taken, previous;
    sigemptyset(&taken);
    for (int signal : {SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM})
        sigaddset(&taken, signal);
    std::fflush(nullptr);
    sigprocmask(SIG_BLOCK, &taken, &previous);
    const pid_t child = ::fork();
    if (child <= 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        if (child < 0) return body(); // no child to be had: the command runs here
        int status = 0;
        try {
            status = body();
        } catch (...) {
            // Nothing of the caller's runs in the child: the command ends as it would alone.
            std::terminate();
        }
        std::fflush(nullptr);
        ::_exit(status);
    }
    int status = 0;
    for (;;) {
        const int signal = sigwaitinfo(&taken, nullptr);
        if (signal == SIGCHLD) {
            if (::waitpid(child, &status, WNOHANG) == child) break;
        } else if (signal > 0) {
            ::kill(child, signal);
        }
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    std::error_code ec;
    std::filesystem::remove_all(SandboxMachine::PathFor(command, child), ec);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace host
