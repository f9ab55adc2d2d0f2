#include "os/sim/SimMachine.h"

#include "os/sim/HostFiles.h"
#include "os/sim/SimProcess.h"
#include "os/sim/SimRunner.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <string_view>

namespace fs = std::filesystem;

namespace os::sim {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Splits "C:\a\b" into the drive letter and its components.
bool SplitWindowsPath(const std::string& path, char& drive, std::vector<std::string>& parts) {
    if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0])))
        return false;
    drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
    std::string part;
    for (size_t i = 2; i <= path.size(); ++i) {
        char c = i < path.size() ? path[i] : '\\';
        if (c == '\\' || c == '/') {
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += c;
        }
    }
    return true;
}

} // namespace

std::string LowerCase(std::string text) {
    return Lower(std::move(text));
}

namespace {

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

} // namespace

SimMachine::SimMachine(const fs::path& sandbox, MachineConfig config)
    : sandbox_(sandbox), config_(config), tick_(config.startTick) {
    std::error_code ec;
    fs::create_directories(sandbox_ / "c", ec);
    board_init(&board_);
    drives_['c'] = Drive{};
    PrepareWindowsFolders();
}

std::unique_ptr<SimProcess> SimMachine::StartProcess(const std::string& exePath,
                                                     std::vector<std::string> args) {
    Trace("start " + exePath + [&] {
        std::string text;
        for (const auto& a : args)
            text += " \"" + a + "\"";
        return text;
    }());
    return std::make_unique<SimProcess>(*this, exePath, std::move(args));
}

void SimMachine::ProcessStarted(const SimProcess& process) {
    processes_.insert(&process);
}

void SimMachine::ProcessEnded(const SimProcess& process) {
    processes_.erase(&process);
}

bool SimMachine::IsWorkingFolder(const std::string& folder) const {
    const std::string key = RecordKey(folder);
    return std::any_of(processes_.begin(), processes_.end(), [&](const SimProcess* process) {
        return RecordKey(process->CurrentDirectory) == key;
    });
}

namespace {

// The file name of a path (after its last backslash or colon).
std::string_view FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\:");
    return std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

bool SimMachine::IsRunningProgram(const std::string& path) const {
    // Only a path with the program's file name, or a short one, can name it: nothing to resolve
    // for the others (the writes of a log, say).
    const std::string_view name = FileNameOf(path);
    const bool shortName = name.find('~') != std::string_view::npos;
    std::string key;
    return std::any_of(processes_.begin(), processes_.end(), [&](const SimProcess* process) {
        const std::string_view exeName = FileNameOf(process->ExePath());
        if (!shortName && exeName.find('~') == std::string_view::npos &&
            !SameTextIgnoringCase(name, exeName))
            return false;
        if (key.empty()) key = RecordKey(path);
        return RecordKey(process->ExePath()) == key;
    });
}

std::int32_t SimMachine::Time() const {
    return config_.startTime + static_cast<std::int32_t>(ElapsedMs() / 1000);
}

// --- files -------------------------------------------------------------------------------

fs::path SimMachine::HostPath(const std::string& windowsPath) const {
    return Resolve(windowsPath, nullptr);
}

std::string SimMachine::RecordKey(const std::string& path) const {
    std::string key;
    return Resolve(path, &key).empty() ? Lower(path) : key;
}

bool SimMachine::Recorded(const std::set<std::string>& records, const std::string& path) const {
    return !records.empty() && records.count(RecordKey(path)) > 0;
}

fs::path SimMachine::Resolve(const std::string& windowsPath, std::string* key) const {
    char drive = 0;
    std::vector<std::string> parts;
    // A name too long for the file system fails every call on it, as on Windows.
    if (!SplitWindowsPath(windowsPath, drive, parts) ||
        std::any_of(parts.begin(), parts.end(),
                    [](const std::string& part) { return part.size() > kMaxNameLength; }))
        return {};
    fs::path host = sandbox_ / std::string(1, drive);
    if (key) *key = std::string(1, drive) + ":";
    bool exists = HostIsFolder(host);
    for (const auto& part : parts) {
        fs::path next = host / part;
        if (exists && !HostExists(next)) {
            const std::vector<fs::path> entries = HostEntries(host);
            for (const fs::path& entry : entries) {
                if (Lower(entry.filename().string()) == Lower(part)) {
                    next = entry;
                    break;
                }
            }
            // A short (8.3) name reaches its long-named file or folder.
            if (!HostExists(next) && config_.shortNames && part.find('~') != std::string::npos) {
                const fs::path entry = EntryOfShortName(host, part);
                if (!entry.empty()) next = entry;
            }
        }
        exists = exists && HostExists(next);
        host = next;
        if (key) *key += "\\" + Lower(host.filename().string());
    }
    return host;
}

bool SimMachine::ReadFile(const std::string& path, std::string& bytes) const {
    fs::path host = HostPath(path);
    if (host.empty() || !HostIsFile(host) || Recorded(locked_, path)) return false;
    std::ifstream in(host, std::ios::binary);
    if (!in) return false;
    // Read straight into a buffer of the file's size, as one allocation.
    std::error_code ec;
    const auto size = fs::file_size(host, ec);
    if (ec) return false;
    std::string data(static_cast<std::size_t>(size), '\0');
    if (!in.read(data.data(), static_cast<std::streamsize>(data.size()))) return false;
    bytes.swap(data);
    return true;
}

bool SimMachine::IsWritable(const std::string& path) const {
    char drive = 0;
    std::vector<std::string> parts;
    if (!SplitWindowsPath(path, drive, parts)) return false;
    if (readOnly_.empty()) return true;
    // The path and every folder on its way, from the drive down.
    const std::string key = RecordKey(path);
    for (std::size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
        if (readOnly_.count(key.substr(0, end))) return false;
        if (end == std::string::npos) return true;
    }
}

bool SimMachine::WriteFile(const std::string& path, const std::string& bytes) {
    fs::path host = HostPath(path);
    if (host.empty() || !IsWritable(path) || !MayCreateFile(path) ||
        !HostIsFolder(host.parent_path()) || Recorded(locked_, path) || IsRunningProgram(path))
        return false;
    const bool made = !HostExists(host);
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    if (made) NameMade(host);
    out << bytes;
    Trace("file write " + path + " (" + std::to_string(bytes.size()) + " bytes)");
    return static_cast<bool>(out);
}

bool SimMachine::AppendFile(const std::string& path, const std::string& bytes) {
    fs::path host = HostPath(path);
    if (host.empty() || !IsWritable(path) || !MayCreateFile(path) ||
        !HostIsFolder(host.parent_path()) || IsRunningProgram(path))
        return false;
    const bool made = !HostExists(host);
    std::ofstream out(host, std::ios::binary | std::ios::app);
    if (!out) return false;
    if (made) NameMade(host);
    out << bytes;
    Trace("file append " + path + ": " + bytes);
    return static_cast<bool>(out);
}

bool SimMachine::FileExists(const std::string& path) const {
    fs::path host = HostPath(path);
    return !host.empty() && HostIsFile(host);
}

bool SimMachine::DirectoryExists(const std::string& path) const {
    fs::path host = HostPath(path);
    return !host.empty() && HostIsFolder(host);
}

bool SimMachine::DeleteFile(const std::string& path) {
    fs::path host = HostPath(path);
    if (host.empty() || !HostIsFile(host) || !IsWritable(path) || Recorded(locked_, path) ||
        IsRunningProgram(path))
        return false;
    // Taken while the file is there: a short name names it only then.
    const std::string key = attributes_.empty() ? std::string() : RecordKey(path);
    std::error_code ec;
    bool ok = fs::remove(host, ec);
    if (ok) {
        attributes_.erase(key);
        Trace("file delete " + path);
    }
    return ok;
}

bool SimMachine::MoveFileReplace(const std::string& from, const std::string& to) {
    fs::path source = HostPath(from);
    fs::path target = HostPath(to);
    if (source.empty() || target.empty() || !HostIsFile(source) || !IsWritable(from) ||
        !IsWritable(to) || !MayCreateFile(to) || IsRunningProgram(to))
        return false;
    std::error_code ec;
    const bool made = !HostExists(target);
    fs::rename(source, target, ec);
    if (!ec && made) NameMade(target);
    if (!ec) Trace("file move " + from + " -> " + to);
    return !ec;
}

bool SimMachine::CreateDirectory(const std::string& path) {
    fs::path host = HostPath(path);
    if (host.empty() || HostExists(host) || !HostIsFolder(host.parent_path()) || !IsWritable(path))
        return false;
    std::error_code ec;
    bool ok = fs::create_directory(host, ec);
    if (ok) NameMade(host);
    if (ok) Trace("folder create " + path);
    return ok;
}

void SimMachine::SetReadOnly(const std::string& path, bool readOnly) {
    const std::string key = RecordKey(path);
    if (readOnly)
        readOnly_.insert(key);
    else
        readOnly_.erase(key);
}

void SimMachine::InstallFolder(const fs::path& hostFolder, const std::string& windowsFolder) {
    char drive = 0;
    std::vector<std::string> parts;
    if (!SplitWindowsPath(windowsFolder, drive, parts)) return;
    std::string path = std::string(1, drive) + ":";
    for (const auto& part : parts) {
        path += "\\" + part;
        CreateDirectory(path);
    }
    const fs::path target = HostPath(path);
    if (!HostIsFolder(target)) return;
    std::error_code ec;
    // In the order of their names, which their short names follow.
    std::vector<fs::path> files = HostEntries(hostFolder);
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const fs::path copy = target / file.filename();
        const bool made = !HostExists(copy);
        if (HostIsFile(file) &&
            fs::copy_file(file, copy, fs::copy_options::overwrite_existing, ec) && made)
            NameMade(copy);
    }
}

// --- folders that refuse new files --------------------------------------------------------

void SimMachine::SetRefusesNewFiles(const std::string& folder, bool refuses) {
    const std::string key = RecordKey(folder);
    if (refuses)
        refusesNewFiles_.insert(key);
    else
        refusesNewFiles_.erase(key);
}

// An existing file may always be written; a new one only outside a refusing folder.
bool SimMachine::MayCreateFile(const std::string& path) const {
    if (refusesNewFiles_.empty() || FileExists(path)) return true;
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos || !Recorded(refusesNewFiles_, path.substr(0, slash));
}

// --- registry ----------------------------------------------------------------------------

std::string SimMachine::KeyPath(RegRoot root, const std::string& key) {
    std::string path = root == RegRoot::LocalMachine ? "hklm" : "hkcu";
    std::string part;
    for (size_t i = 0; i <= key.size(); ++i) {
        char c = i < key.size() ? key[i] : '\\';
        if (c == '\\') {
            if (!part.empty()) path += "\\" + Lower(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return path;
}

bool SimMachine::RegCreateKey(RegRoot root, const std::string& key) {
    std::string path = KeyPath(root, key);
    if (readOnlyKeys.count(path)) return false;
    // Every key on the way exists too.
    for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1))
        registry_[path.substr(0, pos)];
    registry_[path];
    return true;
}

bool SimMachine::RegKeyExists(RegRoot root, const std::string& key) const {
    return registry_.count(KeyPath(root, key)) > 0;
}

bool SimMachine::RegSet(RegRoot root, const std::string& key, const RegValue& value) {
    std::string path = KeyPath(root, key);
    auto it = registry_.find(path);
    if (it == registry_.end() || readOnlyKeys.count(path) || writeRefusedKeys.count(path))
        return false;
    it->second.values[Lower(value.name)] = value;
    Trace("registry set " + path + " \"" + value.name +
          "\" = " + (value.isDword ? Hex(value.dword) : "\"" + value.text + "\""));
    return true;
}

const RegValue* SimMachine::RegGet(RegRoot root, const std::string& key,
                                   const std::string& name) const {
    auto it = registry_.find(KeyPath(root, key));
    if (it == registry_.end()) return nullptr;
    auto value = it->second.values.find(Lower(name));
    return value == it->second.values.end() ? nullptr : &value->second;
}

bool SimMachine::RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    std::string path = KeyPath(root, key);
    auto it = registry_.find(path);
    if (it == registry_.end() || readOnlyKeys.count(path)) return false;
    bool erased = it->second.values.erase(Lower(name)) > 0;
    if (erased) Trace("registry delete value " + path + " \"" + name + "\"");
    return erased;
}

bool SimMachine::RegDeleteKey(RegRoot root, const std::string& key) {
    std::string path = KeyPath(root, key);
    if (!registry_.count(path) || readOnlyKeys.count(path)) return false;
    for (auto it = registry_.begin(); it != registry_.end();) {
        if (it->first == path || it->first.rfind(path + "\\", 0) == 0)
            it = registry_.erase(it);
        else
            ++it;
    }
    Trace("registry delete key " + path);
    return true;
}

// --- mutexes and messages --------------------------------------------------------------------

Handle SimMachine::CreateMutex(SimProcess&, const std::string& name, bool& existed) {
    Mutex& mutex = mutexes_[name];
    existed = mutex.refs > 0;
    ++mutex.refs;
    Handle handle = nextHandle_++;
    mutexHandles_[handle] = name;
    Trace(std::string("mutex \"") + name + "\"" + (existed ? " (already exists)" : " created"));
    return handle;
}

void SimMachine::ReleaseMutex(SimProcess&, Handle handle) {
    if (mutexHandles_.count(handle)) Trace("mutex \"" + mutexHandles_[handle] + "\" released");
}

void SimMachine::CloseHandle(SimProcess&, Handle handle) {
    auto it = mutexHandles_.find(handle);
    if (it != mutexHandles_.end()) {
        auto mutex = mutexes_.find(it->second);
        if (mutex != mutexes_.end() && --mutex->second.refs <= 0) mutexes_.erase(mutex);
        mutexHandles_.erase(it);
        return;
    }
    if (driverHandles_.erase(handle)) Trace("driver closed");
}

bool SimMachine::MutexExists(const std::string& name) const {
    return mutexes_.count(name) > 0;
}

std::uint32_t SimMachine::RegisterWindowMessage(const std::string& name) {
    auto it = messages_.find(Lower(name));
    if (it != messages_.end()) return it->second;
    return messages_[Lower(name)] = nextMessage_++;
}

std::string SimMachine::MessageName(std::uint32_t msg) const {
    if (msg == 0x11) return "WM_QUERYENDSESSION";
    if (msg == 0x16) return "WM_ENDSESSION";
    std::string name = Hex(msg);
    for (const auto& [text, id] : messages_)
        if (id == msg) name = "\"" + text + "\"";
    return name;
}

std::vector<std::intptr_t> SimMachine::Broadcast(std::uint32_t msg, std::uintptr_t wParam,
                                                 std::intptr_t lParam) {
    Trace("broadcast " + MessageName(msg));
    // A window may go away while the message is delivered: deliver to a snapshot, skipping
    // windows that have been detached meanwhile.
    std::vector<std::intptr_t> answers;
    std::vector<WindowSink*> targets = windows_;
    for (WindowSink* window : targets)
        if (std::find(windows_.begin(), windows_.end(), window) != windows_.end())
            answers.push_back(window->Deliver(msg, wParam, lParam));
    return answers;
}

void SimMachine::AttachWindow(WindowSink* window, SimProcess* owner) {
    windows_.push_back(window);
    if (owner) windowOwners_[window] = owner;
}

void SimMachine::DetachWindow(WindowSink* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    windowOwners_.erase(window);
}

// --- driver ------------------------------------------------------------------------------------

bool SimMachine::DriverPresent() const {
    return config_.driverAppearsAfterMs >= 0 &&
           static_cast<std::int64_t>(ElapsedMs()) >= config_.driverAppearsAfterMs;
}

Handle SimMachine::OpenDriver() {
    ++openAttempts_;
    if (!DriverPresent()) return kInvalidHandle;
    Handle handle = nextHandle_++;
    driverHandles_.insert(handle);
    Trace("driver opened");
    return handle;
}

bool SimMachine::DeviceIoControl(Handle device, std::uint32_t code, const void* in,
                                 std::uint32_t inSize, void* out, std::uint32_t outSize,
                                 std::uint32_t* returned) {
    if (BoardScript) BoardScript(board_, ElapsedMs());
    DriverRequest request{Tick(), code, {}, outSize, false, {}};
    if (in && inSize) {
        auto bytes = static_cast<const std::uint8_t*>(in);
        request.input.assign(bytes, bytes + inSize);
    }
    unsigned long done = 0;
    bool ok = driverHandles_.count(device) &&
              board_ioctl(&board_, code, in, inSize, out, outSize, &done) != 0;
    if (returned) *returned = static_cast<std::uint32_t>(done);
    request.ok = ok;
    if (ok && out && done) {
        auto bytes = static_cast<const std::uint8_t*>(out);
        request.output.assign(bytes, bytes + done);
    }
    std::string line = "driver " + Hex(code) + " in[";
    for (size_t i = 0; i < request.input.size(); ++i)
        line += (i ? " " : "") + Hex(request.input[i]).substr(2);
    line += "] out[";
    for (size_t i = 0; i < request.output.size(); ++i)
        line += (i ? " " : "") + Hex(request.output[i]).substr(2);
    line += ok ? "]" : "] failed";
    Trace(line);
    requests_.push_back(std::move(request));
    return ok;
}

std::vector<DriverRequest> SimMachine::RequestsWithCode(std::uint32_t code) const {
    std::vector<DriverRequest> found;
    for (const auto& r : requests_)
        if (r.code == code) found.push_back(r);
    return found;
}

void SimMachine::PutBoardIdInBios(const std::string& id, std::uint32_t selector) {
    if (id.empty()) {
        selectors.erase(selector);
        segments.erase(selector);
        return;
    }
    selectors[selector] = LdtEntry{0xFFFF, 0x0000, 0x0F, 0, 0, 0};
    std::vector<std::uint8_t> segment(0x10000, 0);
    for (std::size_t i = 0; i < id.size() && i < 8; ++i)
        segment[0xECE0 + i] = static_cast<std::uint8_t>(id[i]);
    segments[selector] = std::move(segment);
}

void SimMachine::Trace(const std::string& line) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%7u.%03u ", ElapsedMs() / 1000, ElapsedMs() % 1000);
    transcript_.push_back(stamp + line);
    if (OnTrace) OnTrace(transcript_.back());
}

} // namespace os::sim
