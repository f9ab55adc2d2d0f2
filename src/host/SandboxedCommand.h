// A host command's run in a process of its own, so that its sandbox goes however the run ends.
#pragma once

#include <functional>
#include <string>

namespace host {

// Runs `body`, a host command that makes a SandboxMachine named `command`, in a child process
// and removes that child's sandbox once it has ended, whatever ended it: an uncaught exception,
// an abort or a signal included. Returns the child's exit status, or 128 plus the number of the
// signal that ended it, as a shell gives it. A signal sent to this process that would end it
// (a hang-up, interrupt, quit or terminate signal, SIGUSR1, SIGALRM, SIGPIPE and the like; none
// that the caller ignores) is passed on to the child; once the child has ended and its sandbox
// is gone, this process ends by the first such signal, with its default action, rather than
// return. Until then these signals wait, so a second one cannot cut the removal short. The child
// ends with this process, also when a SIGKILL ends this one (its sandbox then stays).
int RunRemovingSandbox(const std::string& command, const std::function<int()>& body);

} // namespace host
