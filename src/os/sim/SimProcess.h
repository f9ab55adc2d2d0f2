// One program running on the simulated machine: its own path, arguments, last error and current
// folder, and the machine's services through os::System.
#pragma once

#include "os/System.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace os::sim {

class SimMachine;

class SimProcess : public System {
  public:
    SimProcess(SimMachine& machine, std::string exePath, std::vector<std::string> args);
    ~SimProcess() override;

    SimMachine& Machine() { return machine_; }
    // The working folder: relative paths are taken from it, and the machine removes no folder
    // that is some live process's working folder. The program's folder unless its starter gives
    // another.
    std::string CurrentDirectory;
    // The program file's folder, ending in a backslash.
    std::string ProgramFolder() const;
    // A relative path made absolute.
    std::string FullPath(const std::string& path) const;

    // The system ends the program: its next wait throws ProgramEnded, and the waits it makes
    // while that unwinds it return at once.
    void End();
    bool Ended() const { return end_ != EndState::Running; }
    // Called at each wait: throws ProgramEnded at the first one after End(), and is true for
    // every later one (the wait then returns at once); false while the program runs.
    bool LeaveIfEnded();

    std::string GetModuleFileName() override { return exePath_; }
    const std::string& ExePath() const { return exePath_; }
    std::vector<std::string> GetArguments() override { return args_; }
    std::uint32_t GetLastError() override { return lastError_; }
    void SetLastError(std::uint32_t code) override { lastError_ = code; }
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
    void AttachWindow(WindowSink* window) override;
    void DetachWindow(WindowSink* window) override;

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

    Handle OpenDevice(const std::string& path) override;
    bool DeviceIoControl(Handle device, std::uint32_t code, const void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned) override;

    // Module loading (SimModules.cpp): the library files of SimLibrary.h.
    Handle LoadLibrary(const std::string& name) override;
    std::uintptr_t GetProcAddress(Handle module, const std::string& name) override;
    void FreeLibrary(Handle module) override;
    void CallExport(std::uintptr_t procedure, const std::vector<ExportArgument>& args) override;

    // Installer services (SimProcessInstaller.cpp).
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
    bool AnswerSentMessages() override;

  private:
    // A file by its name: a path taken from the current folder, a bare name looked for in these
    // folders (each ending in a backslash) in turn, as the system searches.
    std::optional<std::string> FindFile(const std::string& name,
                                        const std::vector<std::string>& folders) const;
    // ShellExecute of a program file: starts it on the machine; the result ShellExecute gives.
    std::uintptr_t StartProgram(const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& directory);

    SimMachine& machine_;
    enum class EndState { Running, Ending, Unwinding };
    EndState end_ = EndState::Running;
    std::string exePath_;
    std::vector<std::string> args_;
    std::uint32_t lastError_ = 0;
    std::vector<Handle> handles_;
    // Loaded modules and the export addresses handed out for them.
    struct Module {
        std::string path;
        std::string fileName;
        std::vector<std::string> exports;
        int loads = 0;
    };
    struct Export {
        Handle module;
        std::string name;
    };
    std::map<Handle, Module> modules_;
    std::map<std::uintptr_t, Export> exports_;
    Handle nextModule_ = 0x10000000;
    std::uintptr_t nextExport_ = 0x10001000;
};

} // namespace os::sim
