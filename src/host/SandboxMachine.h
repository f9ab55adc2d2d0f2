// The simulated machine of a host command: a fresh sandbox, the transcript printed as it goes,
// the machine description applied; the sandbox goes with the object.
#pragma once

#include "os/sim/SimMachine.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace host {

// The sandbox cannot be made: its message names the folder and the reason.
struct SandboxUnavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SandboxMachine {
  public:
    // `command` names the sandbox and the errors; every trace line goes to `out`. Throws
    // SandboxUnavailable when the temporary folder holds no sandbox.
    SandboxMachine(const std::string& command, std::FILE* out);
    ~SandboxMachine();
    SandboxMachine(const SandboxMachine&) = delete;
    SandboxMachine& operator=(const SandboxMachine&) = delete;

    // The folder the sandboxes go in, as std::filesystem::temp_directory_path chooses it (the
    // first of TMPDIR, TMP, TEMP and TEMPDIR that is set, else /tmp); `fault` is "" or why no
    // sandbox can go there.
    static std::filesystem::path TemporaryFolder(std::string& fault);
    // The sandbox of a command run by the process `pid`; empty when the temporary folder
    // cannot be used.
    static std::filesystem::path PathFor(const std::string& command, long pid);

    os::sim::SimMachine& Machine() { return *machine_; }
    const std::filesystem::path& Sandbox() const { return sandbox_; }
    // Applies a machine description file (nothing for an empty name); false, with the error
    // on standard error, when it cannot.
    bool Describe(const std::string& machineFile);

  private:
    std::string command_;
    std::filesystem::path sandbox_;
    std::unique_ptr<os::sim::SimMachine> machine_;
};

} // namespace host
