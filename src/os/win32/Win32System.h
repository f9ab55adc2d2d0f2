// The operating-system services on the real Win32 calls, for the Windows build. Only the
// source file includes <windows.h>.
#pragma once

// <windows.h>, where a source file includes it first, maps these names of the installer
// services to their ANSI functions; here they are the interface's methods.
#undef GetWindowsDirectory
#undef GetTempPath
#undef CopyFile
#undef GetFileAttributes
#undef SetFileAttributes
#undef RemoveDirectory
#undef GetDriveType
#undef OpenSCManager

#include "os/System.h"

#include <memory>

namespace os::win32 {

class Win32System : public System {
  public:
    std::string GetModuleFileName() override;
    std::vector<std::string> GetArguments() override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t code) override;
    void CloseHandle(Handle handle) override;

    Handle CreateMutex(bool initialOwner, const std::string& name) override;
    void ReleaseMutex(Handle mutex) override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    std::int32_t Time() override;
    LocalTime GetLocalTime() override;
    std::string FormatLocalDateTime(const LocalTime& time) override;

    bool GetVersionEx(VersionInfo& info) override;
    std::uint32_t GetSystemDefaultLCID() override;
    int ScreenPixelsPerInch() override;
    bool GetThreadSelectorEntry(std::uint32_t selector, LdtEntry& entry) override;
    std::uint8_t ReadSegmentByte(std::uint32_t selector, std::uint32_t offset) override;

    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool ReadFile(const std::string& path, std::string& bytes) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendFile(const std::string& path, const std::string& bytes) override;
    bool DeleteFile(const std::string& path) override;
    bool MoveFileReplace(const std::string& from, const std::string& to) override;
    bool CreateDirectory(const std::string& path) override;
    bool SetCurrentDirectory(const std::string& path) override;

    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue,
                                        const std::string& file) override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& file) override;
    std::vector<std::string> GetPrivateProfileSection(const std::string& section,
                                                      const std::string& file) override;
    std::vector<std::string> GetPrivateProfileSectionNames(const std::string& file) override;

    bool RegCreateKey(RegRoot root, const std::string& key) override;
    bool RegKeyExists(RegRoot root, const std::string& key) override;
    bool RegSetString(RegRoot root, const std::string& key, const std::string& name,
                      const std::string& value) override;
    bool RegSetDword(RegRoot root, const std::string& key, const std::string& name,
                     std::uint32_t value) override;
    bool RegGetString(RegRoot root, const std::string& key, const std::string& name,
                      std::string& value) override;
    bool RegGetDword(RegRoot root, const std::string& key, const std::string& name,
                     std::uint32_t& value) override;
    bool RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
    bool RegDeleteKey(RegRoot root, const std::string& key) override;

    std::uint32_t RegisterWindowMessage(const std::string& name) override;
    void BroadcastMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    // Real windows receive real messages: nothing to route.
    void AttachWindow(WindowSink*) override {}
    void DetachWindow(WindowSink*) override {}

    // Shell, sound, power and privileges (Win32SystemShell.cpp).
    bool PlaySound(const char* sound, std::uint32_t flags) override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    bool OpenProcessToken(Handle& token) override;
    bool LookupPrivilegeValue(const std::string& name, std::uint64_t& luid) override;
    bool AdjustTokenPrivilege(Handle token, std::uint64_t luid, bool enable) override;
    std::uint32_t WinExec(const std::string& command, std::uint32_t show) override;
    std::uint32_t GetShortPathName(const std::string& path, std::string& shortPath,
                                   std::uint32_t bufferSize) override;
    std::uintptr_t ShellExecute(Handle owner, const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& directory,
                                int show) override;

    // Module loading (Win32SystemModules.cpp).
    Handle LoadLibrary(const std::string& name) override;
    std::uintptr_t GetProcAddress(Handle module, const std::string& name) override;
    void FreeLibrary(Handle module) override;
    void CallExport(std::uintptr_t procedure, const std::vector<ExportArgument>& args) override;

    Handle OpenDevice(const std::string& path) override;
    bool DeviceIoControl(Handle device, std::uint32_t code, const void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned) override;

    // Installer services (Win32SystemInstaller.cpp).
    std::string GetWindowsDirectory() override;
    std::string GetTempPath() override;
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    std::uint32_t GetFileAttributes(const std::string& path) override;
    bool SetFileAttributes(const std::string& path, std::uint32_t attributes) override;
    bool RemoveDirectory(const std::string& path) override;
    std::uint32_t GetLogicalDrives() override;
    std::uint32_t GetDriveType(const std::string& root) override;
    std::string GetVolumeLabel(const std::string& root) override;
    bool ListFolders(const std::string& folder, std::vector<std::string>& names) override;
    bool IsWow64Process(bool& wow64) override;
    Handle OpenSCManager(std::uint32_t access) override;
    void CloseServiceHandle(Handle handle) override;
    bool GetCommonDesktopFolder(std::string& path) override;
    bool CreateShellLink(const ShellLink& link, const std::string& linkFile) override;
    void WaitForMessage(std::uint32_t milliseconds) override;
    // PeekMessage and GetMessage answer sent messages themselves.
    bool AnswerSentMessages() override { return false; }
};

std::unique_ptr<System> CreateWin32System();

} // namespace os::win32
