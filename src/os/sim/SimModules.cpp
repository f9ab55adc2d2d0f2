// Module loading on the simulated machine: a bare name is searched for in the program's folder,
// the system folder, the Windows folder and the current folder, in that order (the safe search
// of Windows XP SP2); the file found
// must be a library (SimLibrary.h). Loads, unloads, missing exports and every call of an export
// go into the transcript; the calls also into the machine's list of library calls.
#include "os/sim/SimLibrary.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace os::sim {

namespace {

const char kImageHeader[] = "simulated library";

std::string FileNameOf(const std::string& path) {
    auto slash = path.find_last_of("\\:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string LibraryImage(const std::vector<std::string>& exports) {
    std::string bytes = std::string(kImageHeader) + "\n";
    for (const std::string& name : exports)
        bytes += name + "\n";
    return bytes;
}

bool ParseLibraryImage(const std::string& bytes, std::vector<std::string>& exports) {
    const std::string header = std::string(kImageHeader) + "\n";
    if (bytes.compare(0, header.size(), header) != 0) return false;
    exports.clear();
    std::size_t start = header.size();
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        if (end > start) exports.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

Handle SimProcess::LoadLibrary(const std::string& name) {
    const std::string windows = machine_.Config().windowsFolder + "\\";
    const std::optional<std::string> found =
        FindFile(name, {ProgramFolder(), windows + "system32\\", windows, FullPath("")});
    if (!found) {
        lastError_ = kErrorModNotFound;
        machine_.Trace("library load " + name + " failed: not found");
        return kNoHandle;
    }
    for (auto& [handle, module] : modules_) {
        if (machine_.HostPath(module.path) == machine_.HostPath(*found)) {
            ++module.loads;
            return handle;
        }
    }
    std::string bytes;
    Module module{*found, FileNameOf(*found), {}, 1};
    if (!machine_.ReadFile(*found, bytes) || !ParseLibraryImage(bytes, module.exports)) {
        lastError_ = kErrorBadExeFormat;
        machine_.Trace("library load " + name + " failed: " + *found + " is no library");
        return kNoHandle;
    }
    Handle handle = nextModule_;
    nextModule_ += 0x10000;
    modules_[handle] = module;
    machine_.Trace("library load " + name + ": " + *found);
    return handle;
}

std::uintptr_t SimProcess::GetProcAddress(Handle module, const std::string& name) {
    auto it = modules_.find(module);
    if (it == modules_.end()) {
        lastError_ = kErrorInvalidHandle;
        return 0;
    }
    const std::vector<std::string>& names = it->second.exports;
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        lastError_ = kErrorProcNotFound;
        machine_.Trace("library lookup " + it->second.fileName + " " + name + ": missing");
        return 0;
    }
    for (const auto& [address, entry] : exports_)
        if (entry.module == module && entry.name == name) return address;
    std::uintptr_t address = nextExport_;
    nextExport_ += 0x10;
    exports_[address] = Export{module, name};
    return address;
}

void SimProcess::FreeLibrary(Handle module) {
    auto it = modules_.find(module);
    if (it == modules_.end()) return;
    if (--it->second.loads > 0) return;
    machine_.Trace("library free " + it->second.fileName);
    for (auto e = exports_.begin(); e != exports_.end();)
        e = e->second.module == module ? exports_.erase(e) : std::next(e);
    modules_.erase(it);
}

void SimProcess::CallExport(std::uintptr_t procedure, const std::vector<ExportArgument>& args) {
    auto it = exports_.find(procedure);
    // On Windows such a call jumps into nowhere.
    if (it == exports_.end())
        throw std::logic_error("call of an address that is no export of a loaded library");
    std::string call = it->second.name;
    for (const ExportArgument& arg : args) {
        if (const auto* number = std::get_if<std::int32_t>(&arg))
            call += " " + std::to_string(*number);
        else
            call += " " + std::get<std::string>(arg);
    }
    machine_.Trace("library call " + modules_[it->second.module].fileName + ": " + call);
    machine_.libraryCalls.push_back(call);
}

} // namespace os::sim
