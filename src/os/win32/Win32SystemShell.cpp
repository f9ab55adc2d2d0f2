// The shell, sound, power and privilege services on their Win32 calls.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

// <windows.h> maps these names to their ANSI functions; here they are the interface's methods.
#undef PlaySound
#undef LookupPrivilegeValue
#undef GetShortPathName
#undef ShellExecute
#undef LoadLibrary

#include "os/win32/Win32System.h"

#include <vector>

namespace os::win32 {

bool Win32System::PlaySound(const char* sound, std::uint32_t flags) {
    return ::PlaySoundA(sound, nullptr, flags) != FALSE;
}

bool Win32System::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    return ::ExitWindowsEx(flags, reserved) != FALSE;
}

bool Win32System::OpenProcessToken(Handle& token) {
    HANDLE handle = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &handle))
        return false;
    token = reinterpret_cast<Handle>(handle);
    return true;
}

bool Win32System::LookupPrivilegeValue(const std::string& name, std::uint64_t& luid) {
    LUID value;
    if (!::LookupPrivilegeValueA(nullptr, name.c_str(), &value)) return false;
    luid = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(value.HighPart)) << 32) |
           value.LowPart;
    return true;
}

bool Win32System::AdjustTokenPrivilege(Handle token, std::uint64_t luid, bool enable) {
    TOKEN_PRIVILEGES privileges;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid.LowPart = static_cast<DWORD>(luid & 0xFFFFFFFFu);
    privileges.Privileges[0].Luid.HighPart = static_cast<LONG>(luid >> 32);
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous; // one entry: 16 bytes
    DWORD returned = 0;
    return ::AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), FALSE, &privileges,
                                   sizeof previous, &previous, &returned) != FALSE;
}

std::uint32_t Win32System::WinExec(const std::string& command, std::uint32_t show) {
    return ::WinExec(command.c_str(), show);
}

std::uint32_t Win32System::GetShortPathName(const std::string& path, std::string& shortPath,
                                            std::uint32_t bufferSize) {
    std::vector<char> buffer(bufferSize + 1, '\0');
    DWORD length = ::GetShortPathNameA(path.c_str(), buffer.data(), bufferSize);
    if (length > 0 && length < bufferSize) shortPath.assign(buffer.data(), length);
    return length;
}

std::uintptr_t Win32System::ShellExecute(Handle owner, const std::string& verb,
                                         const std::string& file, const std::string& parameters,
                                         const std::string& directory, int show) {
    HINSTANCE result = ::ShellExecuteA(reinterpret_cast<HWND>(owner), verb.c_str(), file.c_str(),
                                       parameters.empty() ? nullptr : parameters.c_str(),
                                       directory.empty() ? nullptr : directory.c_str(), show);
    return reinterpret_cast<std::uintptr_t>(result);
}

} // namespace os::win32
