// The installer services on their Win32 calls: system folders, copies and attributes, drives
// and folders, the 64-bit probe, the service-control manager, the all-users desktop and the
// shell-link object.
#include <windows.h>
// After <windows.h>, which they need:
#include <objbase.h>
#include <shlobj.h>

#include "os/win32/MessageWait.h"
#include "os/win32/Win32System.h"

#include <vector>

namespace os::win32 {

namespace {

constexpr DWORD kPathBuffer = 260;

// Asking a drive without a disk must not bring up the system's "no disk" box.
class QuietDriveErrors {
  public:
    QuietDriveErrors() : previous_(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~QuietDriveErrors() { ::SetErrorMode(previous_); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

  private:
    UINT previous_;
};

} // namespace

std::string Win32System::GetWindowsDirectory() {
    char buffer[kPathBuffer] = {};
    UINT length = ::GetWindowsDirectoryA(buffer, kPathBuffer);
    return length > 0 && length < kPathBuffer ? std::string(buffer, length) : std::string();
}

std::string Win32System::GetTempPath() {
    char buffer[kPathBuffer] = {};
    DWORD length = ::GetTempPathA(kPathBuffer, buffer);
    return length > 0 && length < kPathBuffer ? std::string(buffer, length) : std::string();
}

bool Win32System::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

std::uint32_t Win32System::GetFileAttributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

bool Win32System::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool Win32System::RemoveDirectory(const std::string& path) {
    return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

std::uint32_t Win32System::GetLogicalDrives() {
    return ::GetLogicalDrives();
}

std::uint32_t Win32System::GetDriveType(const std::string& root) {
    return ::GetDriveTypeA(root.c_str());
}

std::string Win32System::GetVolumeLabel(const std::string& root) {
    QuietDriveErrors quiet;
    char label[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr,
                                 nullptr, 0))
        return "";
    return label;
}

bool Win32System::ListFolders(const std::string& folder, std::vector<std::string>& names) {
    QuietDriveErrors quiet;
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    names.clear();
    do {
        std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return true;
}

bool Win32System::IsWow64Process(bool& wow64) {
    using Probe = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = ::GetModuleHandleA("kernel32");
    auto probe = kernel ? reinterpret_cast<Probe>(reinterpret_cast<void (*)()>(
                              ::GetProcAddress(kernel, "IsWow64Process")))
                        : nullptr;
    if (!probe) return false;
    BOOL result = FALSE;
    if (!probe(::GetCurrentProcess(), &result)) return false;
    wow64 = result != FALSE;
    return true;
}

Handle Win32System::OpenSCManager(std::uint32_t access) {
    return reinterpret_cast<Handle>(::OpenSCManagerA(nullptr, nullptr, access));
}

void Win32System::CloseServiceHandle(Handle handle) {
    ::CloseServiceHandle(reinterpret_cast<SC_HANDLE>(handle));
}

bool Win32System::GetCommonDesktopFolder(std::string& path) {
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator) return false;
    LPITEMIDLIST items = nullptr;
    bool ok = false;
    if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, &items)) &&
        items) {
        char buffer[MAX_PATH] = {};
        ok = ::SHGetPathFromIDListA(items, buffer) != FALSE;
        if (ok) path = buffer;
        allocator->Free(items);
    }
    allocator->Release();
    return ok;
}

bool Win32System::CreateShellLink(const ShellLink& link, const std::string& linkFile) {
    HRESULT com = ::CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    bool saved = false;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, reinterpret_cast<void**>(&shellLink))) &&
        shellLink) {
        shellLink->SetPath(link.target.c_str());
        shellLink->SetDescription(link.description.c_str());
        shellLink->SetShowCmd(link.showCommand);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            file) {
            std::vector<wchar_t> wide(linkFile.size() + 1, L'\0');
            ::MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide.data(),
                                  static_cast<int>(wide.size()));
            saved = SUCCEEDED(file->Save(wide.data(), TRUE));
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return saved;
}

void Win32System::WaitForMessage(std::uint32_t milliseconds) {
    WaitForQueuedMessage(milliseconds);
}

} // namespace os::win32
