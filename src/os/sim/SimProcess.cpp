#include "os/sim/SimProcess.h"

#include "os/sim/ProfileText.h"
#include "os/sim/SimMachine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

namespace os::sim {

namespace {

constexpr Handle kTokenHandle = 0x7001;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

SimProcess::SimProcess(SimMachine& machine, std::string exePath, std::vector<std::string> args)
    : machine_(machine), exePath_(std::move(exePath)), args_(std::move(args)) {
    CurrentDirectory = ProgramFolder();
    machine_.ProcessStarted(*this);
}

SimProcess::~SimProcess() {
    machine_.ProcessEnded(*this);
    // The system closes what the program left open.
    for (Handle handle : handles_)
        machine_.CloseHandle(*this, handle);
}

std::string SimProcess::ProgramFolder() const {
    auto slash = exePath_.find_last_of('\\');
    return slash == std::string::npos ? "C:\\" : exePath_.substr(0, slash + 1);
}

std::optional<std::string> SimProcess::FindFile(const std::string& name,
                                                const std::vector<std::string>& folders) const {
    if (name.find_first_of("\\:") != std::string::npos) {
        const std::string path = FullPath(name);
        return machine_.FileExists(path) ? std::optional<std::string>(path) : std::nullopt;
    }
    for (const std::string& folder : folders)
        if (machine_.FileExists(folder + name)) return folder + name;
    return std::nullopt;
}

std::string SimProcess::FullPath(const std::string& path) const {
    if (path.size() >= 2 && path[1] == ':') return path;
    std::string base = CurrentDirectory;
    if (!base.empty() && base.back() != '\\') base += '\\';
    if (!path.empty() && path[0] == '\\') return base.substr(0, 2) + path;
    return base + path;
}

void SimProcess::End() {
    if (end_ == EndState::Running) end_ = EndState::Ending;
}

bool SimProcess::LeaveIfEnded() {
    if (end_ == EndState::Running) return false;
    if (end_ == EndState::Ending) {
        end_ = EndState::Unwinding;
        throw ProgramEnded{};
    }
    return true;
}

void SimProcess::CloseHandle(Handle handle) {
    auto it = std::find(handles_.begin(), handles_.end(), handle);
    if (it == handles_.end()) return;
    handles_.erase(it);
    machine_.CloseHandle(*this, handle);
}

Handle SimProcess::CreateMutex(bool, const std::string& name) {
    bool existed = false;
    Handle handle = machine_.CreateMutex(*this, name, existed);
    handles_.push_back(handle);
    lastError_ = existed ? kErrorAlreadyExists : kErrorSuccess;
    return handle;
}

void SimProcess::ReleaseMutex(Handle mutex) {
    machine_.ReleaseMutex(*this, mutex);
}

std::uint32_t SimProcess::GetTickCount() {
    return machine_.Tick();
}

void SimProcess::Sleep(std::uint32_t milliseconds) {
    machine_.ProcessSleep(*this, milliseconds);
}

std::int32_t SimProcess::Time() {
    return machine_.Time();
}

LocalTime SimProcess::GetLocalTime() {
    std::time_t now = machine_.Time();
    std::tm parts{};
    gmtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string SimProcess::FormatLocalDateTime(const LocalTime& t) {
    // English (United States): short date "M/d/yyyy", long time "h:mm:ss tt".
    char text[64];
    if (t.hour == 0 && t.minute == 0 && t.second == 0) {
        std::snprintf(text, sizeof text, "%d/%d/%d", t.month, t.day, t.year);
    } else {
        int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", t.month, t.day, t.year, hour12,
                      t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    }
    return text;
}

bool SimProcess::GetVersionEx(VersionInfo& info) {
    if (machine_.Config().versionQueryFails) return false;
    info = machine_.Config().version;
    return true;
}

std::uint32_t SimProcess::GetSystemDefaultLCID() {
    return machine_.Config().lcid;
}

int SimProcess::ScreenPixelsPerInch() {
    return machine_.Config().pixelsPerInch;
}

bool SimProcess::GetThreadSelectorEntry(std::uint32_t selector, LdtEntry& entry) {
    machine_.selectorQueries.push_back(selector);
    auto it = machine_.selectors.find(selector);
    if (it == machine_.selectors.end()) return false;
    entry = it->second;
    return true;
}

std::uint8_t SimProcess::ReadSegmentByte(std::uint32_t selector, std::uint32_t offset) {
    auto it = machine_.segments.find(selector);
    if (it == machine_.segments.end() || offset >= it->second.size()) return 0;
    return it->second[offset];
}

bool SimProcess::FileExists(const std::string& path) {
    return machine_.FileExists(FullPath(path));
}

bool SimProcess::DirectoryExists(const std::string& path) {
    return machine_.DirectoryExists(FullPath(path));
}

bool SimProcess::ReadFile(const std::string& path, std::string& bytes) {
    return machine_.ReadFile(FullPath(path), bytes);
}

bool SimProcess::WriteFile(const std::string& path, const std::string& bytes) {
    return machine_.WriteFile(FullPath(path), bytes);
}

bool SimProcess::AppendFile(const std::string& path, const std::string& bytes) {
    return machine_.AppendFile(FullPath(path), bytes);
}

bool SimProcess::DeleteFile(const std::string& path) {
    return machine_.DeleteFile(FullPath(path));
}

bool SimProcess::MoveFileReplace(const std::string& from, const std::string& to) {
    return machine_.MoveFileReplace(FullPath(from), FullPath(to));
}

bool SimProcess::CreateDirectory(const std::string& path) {
    return machine_.CreateDirectory(FullPath(path));
}

bool SimProcess::SetCurrentDirectory(const std::string& path) {
    std::string folder = FullPath(path);
    if (!machine_.DirectoryExists(folder)) {
        lastError_ = kErrorFileNotFound;
        return false;
    }
    CurrentDirectory = folder;
    machine_.Trace("current folder " + folder);
    return true;
}

// A bare INI name lives in the Windows folder, as the private-profile functions take it.
static std::string ProfilePath(const SimProcess& process, const std::string& file) {
    if (file.find('\\') == std::string::npos && file.find(':') == std::string::npos)
        return "C:\\WINDOWS\\" + file;
    return process.FullPath(file);
}

std::string SimProcess::GetPrivateProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue,
                                                const std::string& file) {
    std::string content;
    machine_.ReadFile(ProfilePath(*this, file), content);
    return ProfileGetString(content, section, key, defaultValue);
}

bool SimProcess::WritePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& file) {
    std::string path = ProfilePath(*this, file);
    std::string content;
    machine_.ReadFile(path, content);
    if (!ProfileSetString(content, section, key, value)) return false;
    if (!machine_.IsWritable(path)) {
        lastError_ = kErrorAccessDenied;
        return false;
    }
    machine_.Trace("ini write " + path + " [" + section + "] " + key + "=" + value);
    return machine_.WriteFile(path, content);
}

std::vector<std::string> SimProcess::GetPrivateProfileSection(const std::string& section,
                                                              const std::string& file) {
    std::string content;
    machine_.ReadFile(ProfilePath(*this, file), content);
    return ProfileSectionLines(content, section);
}

std::vector<std::string> SimProcess::GetPrivateProfileSectionNames(const std::string& file) {
    std::string content;
    machine_.ReadFile(ProfilePath(*this, file), content);
    return ProfileSectionNames(content);
}

bool SimProcess::RegCreateKey(RegRoot root, const std::string& key) {
    return machine_.RegCreateKey(root, key);
}

bool SimProcess::RegKeyExists(RegRoot root, const std::string& key) {
    return machine_.RegKeyExists(root, key);
}

bool SimProcess::RegSetString(RegRoot root, const std::string& key, const std::string& name,
                              const std::string& value) {
    RegValue v;
    v.name = name;
    v.text = value;
    return machine_.RegSet(root, key, v);
}

bool SimProcess::RegSetDword(RegRoot root, const std::string& key, const std::string& name,
                             std::uint32_t value) {
    RegValue v;
    v.name = name;
    v.isDword = true;
    v.dword = value;
    return machine_.RegSet(root, key, v);
}

bool SimProcess::RegGetString(RegRoot root, const std::string& key, const std::string& name,
                              std::string& value) {
    const RegValue* v = machine_.RegGet(root, key, name);
    if (!v || v->isDword) return false;
    value = v->text;
    return true;
}

bool SimProcess::RegGetDword(RegRoot root, const std::string& key, const std::string& name,
                             std::uint32_t& value) {
    const RegValue* v = machine_.RegGet(root, key, name);
    if (!v || !v->isDword) return false;
    value = v->dword;
    return true;
}

bool SimProcess::RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    return machine_.RegDeleteValue(root, key, name);
}

bool SimProcess::RegDeleteKey(RegRoot root, const std::string& key) {
    return machine_.RegDeleteKey(root, key);
}

std::uint32_t SimProcess::RegisterWindowMessage(const std::string& name) {
    return machine_.RegisterWindowMessage(name);
}

void SimProcess::BroadcastMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    machine_.BroadcastFrom(*this, msg, wParam, lParam);
}

void SimProcess::AttachWindow(WindowSink* window) {
    machine_.AttachWindow(window, this);
}

void SimProcess::DetachWindow(WindowSink* window) {
    machine_.DetachWindow(window);
}

bool SimProcess::PlaySound(const char* sound, std::uint32_t flags) {
    std::string name = sound ? sound : "";
    machine_.sounds.emplace_back(name, flags);
    if (!sound) {
        machine_.Trace("sound stop");
        return true;
    }
    // A bare file name is looked for as the system searches for a file to open: the program's
    // folder, the current folder, the system folder, the Windows folder.
    const std::string windows = machine_.Config().windowsFolder + "\\";
    const std::optional<std::string> file =
        FindFile(name, {ProgramFolder(), FullPath(""), windows + "system32\\", windows});
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", flags);
    machine_.Trace("sound play \"" + name + "\" flags " + text + ": " +
                   (file ? *file : std::string("no such file, the default sound")));
    std::string bytes;
    return file && machine_.ReadFile(*file, bytes);
}

bool SimProcess::ExitWindowsEx(std::uint32_t flags, std::uint32_t) {
    machine_.exitWindowsRequests.push_back(flags);
    machine_.Trace("ExitWindowsEx flags " + std::to_string(flags));
    if (machine_.Config().exitWindowsFails) {
        lastError_ = kErrorAccessDenied;
        return false;
    }
    return true;
}

bool SimProcess::OpenProcessToken(Handle& token) {
    if (machine_.Config().tokenOpenFails) {
        lastError_ = kErrorAccessDenied;
        return false;
    }
    token = kTokenHandle;
    return true;
}

bool SimProcess::LookupPrivilegeValue(const std::string& name, std::uint64_t& luid) {
    if (machine_.Config().privilegeLookupFails) return false;
    luid = 0x13;
    machine_.privilegeNames[luid] = name;
    return true;
}

bool SimProcess::AdjustTokenPrivilege(Handle token, std::uint64_t luid, bool enable) {
    if (token != kTokenHandle || !machine_.privilegeNames.count(luid)) {
        machine_.Trace("AdjustTokenPrivileges with an invalid handle or privilege");
        lastError_ = kErrorInvalidHandle;
        return false;
    }
    const std::string& name = machine_.privilegeNames[luid];
    machine_.privilegeChanges.emplace_back(name, enable);
    machine_.Trace("privilege " + name + (enable ? " enabled" : " disabled"));
    return !machine_.Config().privilegeAdjustFails;
}

std::uint32_t SimProcess::WinExec(const std::string& command, std::uint32_t show) {
    machine_.execCommands.push_back(command);
    machine_.Trace("WinExec " + command + " show " + std::to_string(show));
    return 33;
}

std::uint32_t SimProcess::GetShortPathName(const std::string& path, std::string& shortPath,
                                           std::uint32_t bufferSize) {
    if (path.empty()) return 0;
    return machine_.ShortPathName(FullPath(path), shortPath, bufferSize);
}

std::uintptr_t SimProcess::ShellExecute(Handle, const std::string& verb, const std::string& file,
                                        const std::string& parameters, const std::string& directory,
                                        int show) {
    machine_.shellCalls.push_back(ShellCall{verb, file, parameters, directory, show});
    machine_.Trace("ShellExecute " + verb + " \"" + file + "\" " + parameters +
                   (directory.empty() ? "" : " in " + directory));
    return StartProgram(verb, file, parameters, directory);
}

Handle SimProcess::OpenDevice(const std::string& path) {
    if (Lower(path) != "\\\\.\\zarvoorlo" || !machine_.DriverPresent()) {
        machine_.OpenDriver(); // counts the attempt
        lastError_ = kErrorFileNotFound;
        return kInvalidHandle;
    }
    Handle handle = machine_.OpenDriver();
    handles_.push_back(handle);
    lastError_ = kErrorSuccess;
    return handle;
}

bool SimProcess::DeviceIoControl(Handle device, std::uint32_t code, const void* in,
                                 std::uint32_t inSize, void* out, std::uint32_t outSize,
                                 std::uint32_t* returned) {
    bool ok = machine_.DeviceIoControl(device, code, in, inSize, out, outSize, returned);
    lastError_ = ok ? kErrorSuccess : kErrorGenFailure;
    return ok;
}

} // namespace os::sim
