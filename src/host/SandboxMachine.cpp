#include "host/SandboxMachine.h"

#include "host/MachineDescription.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace host {

fs::path SandboxMachine::TemporaryFolder(std::string& fault) {
    fs::path folder = "/tmp";
    for (const char* variable : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
        if (const char* value = std::getenv(variable)) {
            folder = value;
            break;
        }
    }
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (ec)
        fault = ec.message();
    else if (!fs::is_directory(status))
        fault = "not a folder";
    else
        fault.clear();
    return folder;
}

fs::path SandboxMachine::PathFor(const std::string& command, long pid) {
    std::string fault;
    const fs::path folder = TemporaryFolder(fault);
    return fault.empty() ? folder / (command + "-" + std::to_string(pid)) : fs::path();
}

SandboxMachine::SandboxMachine(const std::string& command, std::FILE* out) : command_(command) {
    std::string fault;
    const fs::path folder = TemporaryFolder(fault);
    std::error_code ec;
    if (fault.empty()) {
        sandbox_ = PathFor(command, ::getpid());
        fs::remove_all(sandbox_, ec);
        if (!fs::create_directory(sandbox_, ec)) fault = ec ? ec.message() : "the sandbox is there";
    }
    if (!fault.empty())
        throw SandboxUnavailable("the temporary folder " + folder.string() +
                                 " cannot hold the sandbox: " + fault);
    machine_ = std::make_unique<os::sim::SimMachine>(sandbox_);
    machine_->OnTrace = [out](const std::string& line) { std::fprintf(out, "%s\n", line.c_str()); };
}

SandboxMachine::~SandboxMachine() {
    machine_.reset();
    std::error_code ec;
    fs::remove_all(sandbox_, ec);
}

bool SandboxMachine::Describe(const std::string& machineFile) {
    if (machineFile.empty()) return true;
    const std::string error = ApplyMachineFile(*machine_, machineFile);
    if (error.empty()) return true;
    std::fprintf(stderr, "%s: %s\n", command_.c_str(), error.c_str());
    return false;
}

} // namespace host
