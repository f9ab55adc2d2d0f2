#include "host/SandboxedCommand.h"

#include "host/SandboxMachine.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace host {

namespace {

// The signals that end a process by default and come from outside it (not from a fault of its
// own, as SIGSEGV does), less those the caller ignores (nohup's SIGHUP, a background job's
// SIGINT), which the child ignores as well: it inherits the dispositions.
sigset_t SignalsToPassOn() {
    sigset_t signals;
    sigemptyset(&signals);
    std::vector<int> fatal = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,   SIGUSR1, SIGUSR2, SIGPIPE,
                              SIGALRM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO};
#ifdef SIGPWR
    fatal.push_back(SIGPWR);
#endif
#ifdef SIGSTKFLT
    fatal.push_back(SIGSTKFLT);
#endif
#ifdef SIGRTMIN
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        fatal.push_back(signal);
#endif
    for (int signal : fatal) {
        struct sigaction action {};
        if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler != SIG_IGN)
            sigaddset(&signals, signal);
    }
    return signals;
}

// Ends this process by `signal` as if it had not been held: its default action, unblocked.
void EndBySignal(int signal) {
    std::fflush(nullptr);
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::raise(signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
}

} // namespace

int RunRemovingSandbox(const std::string& command, const std::function<int()>& body) {
    // Held from here to the end, the child's end and the signals to pass on are taken in turn
    // below, and none of them cuts the sandbox's removal short.
    sigset_t passed = SignalsToPassOn();
    sigset_t taken = passed;
    sigaddset(&taken, SIGCHLD);
    sigset_t previous;
    std::fflush(nullptr);
    sigprocmask(SIG_BLOCK, &taken, &previous);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child <= 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        if (child < 0) return body(); // no child to be had: the command runs here
#ifdef __linux__
        // The run ends with its parent, whatever ends that (a SIGKILL included), also when it
        // ended before this line.
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(128 + SIGKILL);
#endif
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
    int received = 0; // the first signal passed on
    for (;;) {
        const int signal = sigwaitinfo(&taken, nullptr);
        if (signal == SIGCHLD) {
            if (::waitpid(child, &status, WNOHANG) == child) break;
        } else if (signal > 0) {
            if (!received) received = signal;
            ::kill(child, signal);
        }
    }
    std::error_code ec;
    const std::filesystem::path sandbox = SandboxMachine::PathFor(command, child);
    if (!sandbox.empty()) std::filesystem::remove_all(sandbox, ec);
    // A signal that came while the child ended counts as one passed on.
    const struct timespec now = {0, 0};
    if (!received) received = std::max(0, sigtimedwait(&passed, nullptr, &now));
    // Ended by a signal, the command ends by it too, as a shell and its loops expect.
    if (received) EndBySignal(received);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace host
