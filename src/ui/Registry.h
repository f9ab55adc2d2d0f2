// The class library's registry object. It keeps the root and the path of the key opened last;
// every read and write is one registry access through os::System, so nothing is cached. Key
// paths are absolute when they begin with a backslash, else relative to the open key.
#pragma once

#include <cstdint>
#include <string>

#include "os/System.h"

namespace ui {

class TRegistry {
  public:
    explicit TRegistry(os::System& system);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    os::RegRoot RootKey = os::RegRoot::CurrentUser;

    // Opens the key (creating it and the keys on its way when `canCreate`); false when it does
    // not exist and may not be made. A key open before is closed first.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    // The open key's path without a leading backslash; empty when none is open.
    const std::string& CurrentPath() const { return currentPath_; }
    bool KeyExists(const std::string& key) const;
    // Deletes the key with its subkeys.
    bool DeleteKey(const std::string& key);

    // The writes go into the open key. A refused write (or none open) throws ui::Exception
    // "Failed to set data for '<value name>'".
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    // A missing value (or one that holds no text) reads as empty.
    std::string ReadString(const std::string& name) const;
    bool ValueExists(const std::string& name) const;
    // A missing value is no error; the result tells whether one was deleted.
    bool DeleteValue(const std::string& name);

  private:
    std::string Resolve(const std::string& key) const;

    os::System& system_;
    bool open_ = false;
    std::string currentPath_;
};

} // namespace ui
