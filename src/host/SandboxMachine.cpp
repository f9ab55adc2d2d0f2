#include "host/SandboxMachine.h"

#include "host/MachineDescription.h"

#include <unistd.h>

namespace host {

std::filesystem::path SandboxMachine::PathFor(const std::string& command, long pid) {
    return std::filesystem::temp_directory_path() / (command + "-" + std::to_string(pid));
}

SandboxMachine::SandboxMachine(const std::string& command, std::FILE* out)
    : command_(command), sandbox_(PathFor(command, ::getpid())) {
    std::filesystem::remove_all(sandbox_);
    machine_ = std::make_unique<os::sim::SimMachine>(sandbox_);
    machine_->OnTrace = [out](const std::string& line) { std::fprintf(out, "%s\n", line.c_str()); };
}

SandboxMachine::~SandboxMachine() {
    machine_.reset();
    std::error_code ec;
    std::filesystem::remove_all(sandbox_, ec);
}

bool SandboxMachine::Describe(const std::string& machineFile) {
    if (machineFile.empty()) return true;
    const std::string error = ApplyMachineFile(*machine_, machineFile);
    if (error.empty()) return true;
    std::fprintf(stderr, "%s: %s\n", command_.c_str(), error.c_str());
    return false;
}

} // namespace host
