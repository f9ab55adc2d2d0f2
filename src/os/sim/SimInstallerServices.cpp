// What the installer needs of the simulated machine: the Windows folders, file copies with their
// attributes, folder removal, drives and folder listings, long names, the service-control
// manager and shell links.
#include "os/sim/SimMachine.h"

#include "os/sim/HostFiles.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace os::sim {

namespace {

const char* const kShellLinkHeader = "[ShellLink]";

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

// The names between a path's backslashes, empty ones kept: "C:\a\" gives "C:", "a" and "".
std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts(1);
    for (char c : path) {
        if (c == '\\')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// The folders of a path from its drive down: "C:\a\b" gives "C:\a" and "C:\a\b".
std::vector<std::string> FoldersOnTheWay(const std::string& path) {
    std::vector<std::string> folders;
    std::string current;
    for (const std::string& part : Components(path)) {
        if (part.empty()) continue;
        current += current.empty() ? part : "\\" + part;
        if (current.size() > 2) folders.push_back(current);
    }
    return folders;
}

} // namespace

// --- the Windows folders -------------------------------------------------------------------

void SimMachine::PrepareWindowsFolders() {
    std::vector<std::string> wanted = {config_.windowsFolder,
                                       config_.windowsFolder + "\\system32",
                                       config_.windowsFolder + "\\system32\\drivers",
                                       config_.windowsFolder + "\\system",
                                       config_.tempFolder,
                                       config_.windowsFolder.substr(0, 2) + "\\Program Files"};
    if (!config_.commonDesktop.empty()) wanted.push_back(config_.commonDesktop);
    if (config_.wow64) wanted.push_back(config_.windowsFolder + "\\SysWOW64\\drivers");
    for (const std::string& path : wanted) {
        if (path.size() >= 2 && path[1] == ':') {
            char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
            if (!drives_.count(letter)) AddDrive(letter, kDriveFixed);
        }
        for (const std::string& folder : FoldersOnTheWay(path))
            if (!DirectoryExists(folder)) CreateDirectory(folder);
    }
}

// --- copies and attributes -------------------------------------------------------------------

const SimMachine::Drive* SimMachine::DriveOf(const std::string& path) const {
    if (path.size() < 2 || path[1] != ':') return nullptr;
    auto it = drives_.find(static_cast<char>(std::tolower(static_cast<unsigned char>(path[0]))));
    return it == drives_.end() ? nullptr : &it->second;
}

bool SimMachine::ReadOnlyAttribute(const std::string& path) const {
    const Drive* drive = DriveOf(path);
    return Recorded(readOnly_, path) || (drive && drive->type == kDriveCdRom);
}

std::uint32_t SimMachine::GetFileAttributes(const std::string& path) const {
    fs::path host = HostPath(path);
    if (host.empty() || !HostExists(host)) return kInvalidFileAttributes;
    if (HostIsFolder(host)) return kFileAttributeDirectory;
    auto it = attributes_.find(RecordKey(path));
    std::uint32_t attributes = it == attributes_.end() ? kFileAttributeArchive : it->second;
    if (ReadOnlyAttribute(path)) attributes |= kFileAttributeReadOnly;
    return attributes == 0 ? kFileAttributeNormal : attributes;
}

bool SimMachine::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    fs::path host = HostPath(path);
    const Drive* drive = DriveOf(path);
    if (host.empty() || !HostExists(host) || (drive && drive->type == kDriveCdRom)) return false;
    if (HostIsFolder(host)) return true;
    std::string key = RecordKey(path);
    if (attributes & kFileAttributeReadOnly)
        readOnly_.insert(key);
    else
        readOnly_.erase(key);
    attributes_[key] =
        attributes & ~(kFileAttributeReadOnly | kFileAttributeNormal | kFileAttributeDirectory);
    Trace("file attributes " + path + " " + Hex(attributes));
    return true;
}

bool SimMachine::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    fs::path source = HostPath(from);
    fs::path target = HostPath(to);
    bool ok = !source.empty() && HostIsFile(source) && !Recorded(locked_, from) &&
              !target.empty() && HostIsFolder(target.parent_path()) && !HostIsFolder(target) &&
              IsWritable(to) && MayCreateFile(to) && !Recorded(locked_, to) &&
              !IsRunningProgram(to) && !(failIfExists && HostExists(target));
    std::error_code ec;
    const bool made = ok && !HostExists(target);
    if (ok) ok = fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    if (ok && made) NameMade(target);
    if (!ok) {
        Trace("file copy " + from + " -> " + to + " failed");
        return false;
    }
    // The copy takes the source's attributes, the read-only one included.
    const std::string key = RecordKey(to);
    auto attributes = attributes_.find(RecordKey(from));
    attributes_[key] = attributes == attributes_.end() ? kFileAttributeArchive : attributes->second;
    if (ReadOnlyAttribute(from))
        readOnly_.insert(key);
    else
        readOnly_.erase(key);
    Trace("file copy " + from + " -> " + to);
    return true;
}

bool SimMachine::RemoveDirectory(const std::string& path) {
    fs::path host = HostPath(path);
    std::error_code ec;
    bool ok = !host.empty() && HostIsFolder(host) && fs::is_empty(host, ec) && IsWritable(path) &&
              !IsWorkingFolder(path) && fs::remove(host, ec);
    Trace("folder remove " + path + (ok ? "" : " failed"));
    return ok;
}

void SimMachine::SetLocked(const std::string& path, bool locked) {
    if (locked)
        locked_.insert(RecordKey(path));
    else
        locked_.erase(RecordKey(path));
}

// --- drives and folders ------------------------------------------------------------------------

void SimMachine::AddDrive(char letter, std::uint32_t type, const std::string& label, bool ready) {
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    drives_[letter] = Drive{type, label, ready};
    std::error_code ec;
    if (ready) fs::create_directories(sandbox_ / std::string(1, letter), ec);
    // A CD-ROM refuses every write.
    std::string root = std::string(1, letter) + ":";
    if (type == kDriveCdRom)
        readOnly_.insert(root);
    else
        readOnly_.erase(root);
}

std::uint32_t SimMachine::LogicalDrives() const {
    std::uint32_t mask = 0;
    for (const auto& [letter, drive] : drives_)
        if (letter >= 'a' && letter <= 'z') mask |= 1u << (letter - 'a');
    return mask;
}

std::uint32_t SimMachine::DriveType(const std::string& root) const {
    const Drive* drive = DriveOf(root);
    return drive ? drive->type : kDriveNoRootDir;
}

std::string SimMachine::VolumeLabel(const std::string& root) const {
    const Drive* drive = DriveOf(root);
    return drive && drive->ready ? drive->label : "";
}

bool SimMachine::ListFolders(const std::string& folder, std::vector<std::string>& names) const {
    const Drive* drive = DriveOf(folder);
    fs::path host = HostPath(folder);
    if (!drive || !drive->ready || host.empty() || !HostIsFolder(host)) return false;
    names.clear();
    for (const fs::path& entry : HostEntries(host))
        if (HostIsFolder(entry)) names.push_back(entry.filename().string());
    return true;
}

std::string SimMachine::LongPathName(const std::string& path) const {
    const fs::path host = HostPath(path);
    if (host.empty() || !HostExists(host)) return "";
    const auto letter = static_cast<unsigned char>(path[0]);
    std::string result = std::string(1, static_cast<char>(std::toupper(letter))) + ":";
    const fs::path drive = sandbox_ / std::string(1, static_cast<char>(std::tolower(letter)));
    for (const fs::path& name : host.lexically_relative(drive))
        if (name != ".") result += "\\" + name.string();
    return result.size() == 2 ? result + "\\" : result;
}

// --- the service-control manager ----------------------------------------------------------------

Handle SimMachine::OpenServiceManager(std::uint32_t access) {
    // Anyone may connect and read; more takes an administrator.
    constexpr std::uint32_t kAnyone = 0x80000000u | 0x1u | 0x4u | 0x10u;
    if (!config_.administrator && (access & ~kAnyone)) {
        Trace("service-control manager refused " + Hex(access));
        return kNoHandle;
    }
    Handle handle = nextHandle_++;
    serviceManagers_.insert(handle);
    Trace("service-control manager opened " + Hex(access));
    return handle;
}

void SimMachine::CloseServiceManager(Handle handle) {
    if (serviceManagers_.erase(handle)) Trace("service-control manager closed");
}

// --- shell links ----------------------------------------------------------------------------

bool SimMachine::WriteShellLink(const ShellLink& link, const std::string& linkFile) {
    if (config_.shellLinkFails) return false;
    std::string text = std::string(kShellLinkHeader) + "\r\nTarget=" + link.target +
                       "\r\nDescription=" + link.description +
                       "\r\nShowCommand=" + std::to_string(link.showCommand) + "\r\n";
    if (!WriteFile(linkFile, text)) return false;
    Trace("shell link " + linkFile + " -> " + link.target);
    return true;
}

bool SimMachine::ReadShellLink(const std::string& linkFile, ShellLink& link) const {
    std::string text;
    if (!ReadFile(linkFile, text)) return false;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line.rfind(kShellLinkHeader, 0) != 0) return false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        if (key == "Target")
            link.target = value;
        else if (key == "Description")
            link.description = value;
        else if (key == "ShowCommand")
            link.showCommand = std::atoi(value.c_str());
    }
    return true;
}

// --- registry values -----------------------------------------------------------------------

std::vector<RegValue> SimMachine::RegValues(RegRoot root, const std::string& key) const {
    std::vector<RegValue> values;
    auto it = registry_.find(KeyPath(root, key));
    if (it != registry_.end())
        for (const auto& [name, value] : it->second.values)
            values.push_back(value);
    return values;
}

} // namespace os::sim
