#include "ui/Registry.h"

#include "ui/Exception.h"

namespace ui {

namespace {

// Without the backslashes at either end.
std::string TrimBackslashes(const std::string& path) {
    std::size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) return std::string();
    std::size_t last = path.find_last_not_of('\\');
    return path.substr(first, last - first + 1);
}

} // namespace

TRegistry::TRegistry(os::System& system) : system_(system) {}

TRegistry::~TRegistry() {
    CloseKey();
}

std::string TRegistry::Resolve(const std::string& key) const {
    const bool absolute = !key.empty() && key[0] == '\\';
    std::string relative = TrimBackslashes(key);
    if (absolute || !open_ || currentPath_.empty()) return relative;
    if (relative.empty()) return currentPath_;
    return currentPath_ + "\\" + relative;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string path = Resolve(key);
    CloseKey();
    bool ok = canCreate ? system_.RegCreateKey(RootKey, path) : system_.RegKeyExists(RootKey, path);
    if (!ok) return false;
    open_ = true;
    currentPath_ = path;
    return true;
}

void TRegistry::CloseKey() {
    open_ = false;
    currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& key) const {
    return system_.RegKeyExists(RootKey, Resolve(key));
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string path = Resolve(key);
    if (open_ && path == currentPath_) CloseKey();
    return system_.RegDeleteKey(RootKey, path);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (!open_ || !system_.RegSetString(RootKey, currentPath_, name, value))
        throw Exception("Failed to set data for '" + name + "'");
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    if (!open_ ||
        !system_.RegSetDword(RootKey, currentPath_, name, static_cast<std::uint32_t>(value)))
        throw Exception("Failed to set data for '" + name + "'");
}

std::string TRegistry::ReadString(const std::string& name) const {
    std::string value;
    if (!open_ || !system_.RegGetString(RootKey, currentPath_, name, value)) return std::string();
    return value;
}

bool TRegistry::ValueExists(const std::string& name) const {
    if (!open_) return false;
    std::string text;
    std::uint32_t number = 0;
    return system_.RegGetString(RootKey, currentPath_, name, text) ||
           system_.RegGetDword(RootKey, currentPath_, name, number);
}

bool TRegistry::DeleteValue(const std::string& name) {
    return open_ && system_.RegDeleteValue(RootKey, currentPath_, name);
}

} // namespace ui
