// os::System on the Win32 API (ANSI calls throughout: text is bytes in the ANSI code page).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// <windows.h> maps these names to their ANSI functions; here they are the interface's methods.
#undef GetModuleFileName
#undef CreateMutex
#undef GetVersionEx
#undef DeleteFile
#undef CreateDirectory
#undef SetCurrentDirectory
#undef GetPrivateProfileString
#undef WritePrivateProfileString
#undef GetPrivateProfileSection
#undef GetPrivateProfileSectionNames
#undef RegCreateKey
#undef RegDeleteValue
#undef RegDeleteKey
#undef RegisterWindowMessage
#undef PlaySound
#undef LookupPrivilegeValue
#undef GetShortPathName
#undef ShellExecute
#undef LoadLibrary

#include "os/win32/Win32System.h"

#include <cstdlib>
#include <ctime>

namespace os::win32 {

namespace {

HANDLE ToHandle(Handle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

Handle FromHandle(HANDLE handle) {
    return reinterpret_cast<Handle>(handle);
}

HKEY RootKey(RegRoot root) {
    return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// An open registry key, closed when it goes out of scope.
class OpenKey {
  public:
    OpenKey(RegRoot root, const std::string& key) {
        ok_ =
            ::RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_ALL_ACCESS, &key_) == ERROR_SUCCESS;
    }
    ~OpenKey() {
        if (ok_) ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const { return ok_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
    bool ok_ = false;
};

// Deletes every subkey of `key`, deepest first (RegDeleteKeyA refuses keys with subkeys on NT).
void DeleteSubkeys(HKEY key) {
    char name[256];
    for (;;) {
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return;
        HKEY child = nullptr;
        if (::RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &child) == ERROR_SUCCESS) {
            DeleteSubkeys(child);
            ::RegCloseKey(child);
        }
        if (::RegDeleteKeyA(key, name) != ERROR_SUCCESS) return;
    }
}

// Splits a list of NUL-terminated strings ended by an empty one.
std::vector<std::string> SplitNulList(const char* list, DWORD length) {
    std::vector<std::string> items;
    DWORD start = 0;
    for (DWORD i = 0; i < length; ++i) {
        if (list[i] != '\0') continue;
        if (i == start) break;
        items.emplace_back(list + start, i - start);
        start = i + 1;
    }
    if (start < length && list[start] != '\0') items.emplace_back(list + start, length - start);
    return items;
}

// Calls a profile function that fills a NUL-list buffer, growing the buffer while the list
// came back truncated (the functions then return the size less two).
template <typename Fill> std::vector<std::string> ReadNulList(Fill fill) {
    std::vector<char> buffer(32768);
    for (;;) {
        DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 24))
            return SplitNulList(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

SYSTEMTIME ToSystemTime(const LocalTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

} // namespace

// --- process ---------------------------------------------------------------------------------

std::string Win32System::GetModuleFileName() {
    char path[MAX_PATH + 1] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::vector<std::string> Win32System::GetArguments() {
    // The C runtime's split of the command line.
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i)
        args.emplace_back(__argv[i] ? __argv[i] : "");
    return args;
}

std::uint32_t Win32System::GetLastError() {
    return ::GetLastError();
}

void Win32System::SetLastError(std::uint32_t code) {
    ::SetLastError(code);
}

void Win32System::CloseHandle(Handle handle) {
    ::CloseHandle(ToHandle(handle));
}

// --- kernel: synchronisation, time -----------------------------------------------------------

Handle Win32System::CreateMutex(bool initialOwner, const std::string& name) {
    // The caller reads the last error right after: nothing may run in between.
    return FromHandle(::CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, name.c_str()));
}

void Win32System::ReleaseMutex(Handle mutex) {
    ::ReleaseMutex(ToHandle(mutex));
}

std::uint32_t Win32System::GetTickCount() {
    return ::GetTickCount();
}

void Win32System::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

std::int32_t Win32System::Time() {
    return static_cast<std::int32_t>(std::time(nullptr));
}

LocalTime Win32System::GetLocalTime() {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string Win32System::FormatLocalDateTime(const LocalTime& time) {
    SYSTEMTIME st = ToSystemTime(time);
    char date[128] = {};
    char clock[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
    if (time.hour == 0 && time.minute == 0 && time.second == 0) return date;
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, clock, sizeof clock);
    return std::string(date) + " " + clock;
}

// --- kernel: system information --------------------------------------------------------------

bool Win32System::GetVersionEx(VersionInfo& info) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version; // 148: the plain record, not the Ex one
    if (!::GetVersionExA(&version)) return false;
    info.majorVersion = version.dwMajorVersion;
    info.minorVersion = version.dwMinorVersion;
    info.buildNumber = version.dwBuildNumber;
    info.platformId = version.dwPlatformId;
    info.servicePack = version.szCSDVersion;
    return true;
}

std::uint32_t Win32System::GetSystemDefaultLCID() {
    return ::GetSystemDefaultLCID();
}

int Win32System::ScreenPixelsPerInch() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return 96;
    int ppi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return ppi;
}

bool Win32System::GetThreadSelectorEntry(std::uint32_t selector, LdtEntry& entry) {
    LDT_ENTRY ldt{};
    if (!::GetThreadSelectorEntry(::GetCurrentThread(), selector, &ldt)) return false;
    entry.limitLow = ldt.LimitLow;
    entry.baseLow = ldt.BaseLow;
    entry.baseMid = ldt.HighWord.Bytes.BaseMid;
    entry.flags1 = ldt.HighWord.Bytes.Flags1;
    entry.flags2 = ldt.HighWord.Bytes.Flags2;
    entry.baseHigh = ldt.HighWord.Bytes.BaseHi;
    return true;
}

std::uint8_t Win32System::ReadSegmentByte(std::uint32_t selector, std::uint32_t offset) {
    // Only Windows 9x hands user programs a selector onto the BIOS segment; on NT loading such
    // a selector would fault, so the read happens on 9x alone and gives 0 elsewhere.
#if defined(__i386__)
    if (static_cast<LONG>(::GetVersion()) < 0) { // high bit set: Windows 9x
        std::uint8_t value = 0;
        asm volatile("push %%es\n\t"
                     "movw %w1, %%es\n\t"
                     "movb %%es:(%2), %0\n\t"
                     "pop %%es"
                     : "=q"(value)
                     : "r"(selector), "r"(offset)
                     : "memory");
        return value;
    }
#else
    (void)selector;
    (void)offset;
#endif
    return 0;
}

// --- kernel: files ---------------------------------------------------------------------------

bool Win32System::FileExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::DirectoryExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::ReadFile(const std::string& path, std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string content;
    // One allocation of the file's size: a large file is held once, not grown by doubling.
    const DWORD size = ::GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE) content.reserve(size);
    char buffer[65536];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        content.append(buffer, got);
    }
    ::CloseHandle(file);
    if (ok) bytes.swap(content);
    return ok;
}

bool Win32System::WriteFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, bytes);
    ::CloseHandle(file);
    return ok;
}

bool Win32System::AppendFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = ::SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
              WriteAll(file, bytes);
    ::CloseHandle(file);
    return ok;
}

bool Win32System::DeleteFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool Win32System::MoveFileReplace(const std::string& from, const std::string& to) {
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    // Windows 9x has no MoveFileExA: delete the target, then move.
    if (::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    ::DeleteFileA(to.c_str());
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

bool Win32System::CreateDirectory(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32System::SetCurrentDirectory(const std::string& path) {
    return ::SetCurrentDirectoryA(path.c_str()) != FALSE;
}

// --- private-profile (INI) files -------------------------------------------------------------

std::string Win32System::GetPrivateProfileString(const std::string& section, const std::string& key,
                                                 const std::string& defaultValue,
                                                 const std::string& file) {
    char buffer[2048] = {};
    DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                              buffer, sizeof buffer, file.c_str());
    return std::string(buffer, length);
}

bool Win32System::WritePrivateProfileString(const std::string& section, const std::string& key,
                                            const std::string& value, const std::string& file) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.c_str()) != FALSE;
}

std::vector<std::string> Win32System::GetPrivateProfileSection(const std::string& section,
                                                               const std::string& file) {
    return ReadNulList([&](char* buffer, DWORD size) {
        return ::GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
    });
}

std::vector<std::string> Win32System::GetPrivateProfileSectionNames(const std::string& file) {
    return ReadNulList([&](char* buffer, DWORD size) {
        return ::GetPrivateProfileSectionNamesA(buffer, size, file.c_str());
    });
}

// --- registry --------------------------------------------------------------------------------

bool Win32System::RegCreateKey(RegRoot root, const std::string& key) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &created, &disposition) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(created);
    return true;
}

bool Win32System::RegKeyExists(RegRoot root, const std::string& key) {
    return static_cast<bool>(OpenKey(root, key));
}

bool Win32System::RegSetString(RegRoot root, const std::string& key, const std::string& name,
                               const std::string& value) {
    OpenKey open(root, key);
    if (!open) return false;
    return ::RegSetValueExA(open.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool Win32System::RegSetDword(RegRoot root, const std::string& key, const std::string& name,
                              std::uint32_t value) {
    OpenKey open(root, key);
    if (!open) return false;
    DWORD data = value;
    return ::RegSetValueExA(open.get(), name.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool Win32System::RegGetString(RegRoot root, const std::string& key, const std::string& name,
                               std::string& value) {
    OpenKey open(root, key);
    if (!open) return false;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(open.get(), name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return false;
    size_t length = size;
    while (length > 0 && data[length - 1] == '\0')
        --length;
    value.assign(data.data(), length);
    return true;
}

bool Win32System::RegGetDword(RegRoot root, const std::string& key, const std::string& name,
                              std::uint32_t& value) {
    OpenKey open(root, key);
    if (!open) return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (::RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    value = data;
    return true;
}

bool Win32System::RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    OpenKey open(root, key);
    return open && ::RegDeleteValueA(open.get(), name.c_str()) == ERROR_SUCCESS;
}

bool Win32System::RegDeleteKey(RegRoot root, const std::string& key) {
    {
        OpenKey open(root, key);
        if (!open) return false;
        DeleteSubkeys(open.get());
    }
    return ::RegDeleteKeyA(RootKey(root), key.c_str()) == ERROR_SUCCESS;
}

// --- window messages -------------------------------------------------------------------------

std::uint32_t Win32System::RegisterWindowMessage(const std::string& name) {
    return ::RegisterWindowMessageA(name.c_str());
}

void Win32System::BroadcastMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    ::SendMessageA(HWND_BROADCAST, msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

// --- device I/O ------------------------------------------------------------------------------

Handle Win32System::OpenDevice(const std::string& path) {
    HANDLE device = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    return device == INVALID_HANDLE_VALUE ? kInvalidHandle : FromHandle(device);
}

bool Win32System::DeviceIoControl(Handle device, std::uint32_t code, const void* in,
                                  std::uint32_t inSize, void* out, std::uint32_t outSize,
                                  std::uint32_t* returned) {
    DWORD got = 0;
    BOOL ok = ::DeviceIoControl(ToHandle(device), code, const_cast<void*>(in), inSize, out, outSize,
                                &got, nullptr);
    if (returned) *returned = got;
    return ok != FALSE;
}

std::unique_ptr<System> CreateWin32System() {
    return std::make_unique<Win32System>();
}

} // namespace os::win32
