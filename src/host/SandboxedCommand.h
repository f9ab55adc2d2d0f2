// A host command's run in a process of its own, so that its sandbox goes however the run ends.
#pragma once

#include <functional>
#include <string>

namespace host {

// Runs `body`, a host command that makes a SandboxMachine named `command`, in a child process
// and removes that child's sandbox once it has ended, whatever ended it: an uncaught exception,
// an abort or a signal included. Returns the child's exit status, or 128 plus the number of the
// signal that ended it, as a shell gives it. A hang-up, interrupt, quit or terminate signal sent
// to this process is passed on to the child.
int RunRemovingSandbox(const std::string& command, const std::function<int()>& body);

} // namespace host
