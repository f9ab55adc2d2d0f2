// The installer services of one program on the simulated machine.
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

namespace os::sim {

namespace {

// The Windows error the shell gives for a file that is no program.
constexpr std::uintptr_t kErrorBadFormat = 11;
// Any result above 32 is a success.
constexpr std::uintptr_t kShellStarted = 42;

} // namespace

std::string SimProcess::GetWindowsDirectory() {
    return machine_.Config().windowsFolder;
}

std::string SimProcess::GetTempPath() {
    return machine_.Config().tempFolder;
}

bool SimProcess::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    bool ok = machine_.CopyFile(FullPath(from), FullPath(to), failIfExists);
    lastError_ = ok ? kErrorSuccess : kErrorAccessDenied;
    return ok;
}

std::uint32_t SimProcess::GetFileAttributes(const std::string& path) {
    return machine_.GetFileAttributes(FullPath(path));
}

bool SimProcess::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    return machine_.SetFileAttributes(FullPath(path), attributes);
}

bool SimProcess::RemoveDirectory(const std::string& path) {
    return machine_.RemoveDirectory(FullPath(path));
}

std::uint32_t SimProcess::GetLogicalDrives() {
    return machine_.LogicalDrives();
}

std::uint32_t SimProcess::GetDriveType(const std::string& root) {
    return machine_.DriveType(root);
}

std::string SimProcess::GetVolumeLabel(const std::string& root) {
    return machine_.VolumeLabel(root);
}

bool SimProcess::ListFolders(const std::string& folder, std::vector<std::string>& names) {
    return machine_.ListFolders(FullPath(folder), names);
}

bool SimProcess::IsWow64Process(bool& wow64) {
    const MachineConfig& config = machine_.Config();
    if (!config.wow64ProbeExists || config.wow64ProbeFails) return false;
    wow64 = config.wow64;
    return true;
}

Handle SimProcess::OpenSCManager(std::uint32_t access) {
    Handle handle = machine_.OpenServiceManager(access);
    lastError_ = handle == kNoHandle ? kErrorAccessDenied : kErrorSuccess;
    return handle;
}

void SimProcess::CloseServiceHandle(Handle handle) {
    machine_.CloseServiceManager(handle);
}

bool SimProcess::GetCommonDesktopFolder(std::string& path) {
    if (machine_.Config().commonDesktop.empty()) return false;
    path = machine_.Config().commonDesktop;
    return true;
}

bool SimProcess::CreateShellLink(const ShellLink& link, const std::string& linkFile) {
    return machine_.WriteShellLink(link, FullPath(linkFile));
}

void SimProcess::WaitForMessage(std::uint32_t milliseconds) {
    machine_.ProcessWaitForMessage(*this, milliseconds);
}

bool SimProcess::AnswerSentMessages() {
    return machine_.ProcessAnswerSentMessages(*this);
}

std::uintptr_t SimProcess::StartProgram(const std::string& verb, const std::string& file,
                                        const std::string& parameters,
                                        const std::string& directory) {
    std::string name = LowerCase(file);
    bool exe = name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0;
    std::string action = LowerCase(verb);
    if (!exe || !(action.empty() || action == "open")) return kShellStarted;
    std::string path = FullPath(file);
    if (!machine_.FileExists(path)) {
        lastError_ = kErrorFileNotFound;
        return kErrorFileNotFound;
    }
    if (machine_.ProgramOf(path).empty()) return kErrorBadFormat;
    // Without a folder of its own the program works in the caller's.
    std::string folder = directory.empty() ? CurrentDirectory : FullPath(directory);
    if (!directory.empty() && !machine_.DirectoryExists(folder)) {
        lastError_ = kErrorPathNotFound;
        return kErrorPathNotFound;
    }
    std::vector<std::string> args = SplitCommandLine(parameters);
    machine_.startedPrograms.push_back(ProgramStart{path, args, folder});
    if (machine_.ProgramsRunning()) machine_.Launch(path, std::move(args), folder);
    return kShellStarted;
}

} // namespace os::sim
