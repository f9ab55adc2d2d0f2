// The operating-system services the programs use. Program code reaches Windows only through this
// interface: the host build implements it on a simulated machine (src/os/sim), the Windows build
// on the real Win32 calls (src/os/win32).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace os {

using Handle = std::uintptr_t;
constexpr Handle kNoHandle = 0;
constexpr Handle kInvalidHandle = ~static_cast<Handle>(0);

// Win32 error codes the programs and the simulated machine use.
enum : std::uint32_t {
    kErrorSuccess = 0,
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorAccessDenied = 5,
    kErrorInvalidHandle = 6,
    kErrorGenFailure = 31,
    kErrorSharingViolation = 32,
    kErrorInvalidParameter = 87,
    kErrorAlreadyExists = 183,
};

// Platform ids of the version record.
enum : std::uint32_t { kPlatformWin32s = 0, kPlatformWin9x = 1, kPlatformNT = 2 };

// The 148-byte version record's fields.
struct VersionInfo {
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
    std::string servicePack;
};

// A local-descriptor-table entry as the selector lookup of the current thread returns it.
struct LdtEntry {
    std::uint16_t limitLow = 0;
    std::uint16_t baseLow = 0;
    std::uint8_t baseMid = 0;
    std::uint8_t flags1 = 0;
    std::uint8_t flags2 = 0; // bits 0-3: limit bits 16-19
    std::uint8_t baseHigh = 0;
};

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Flags of the sound, shutdown and window-show calls.
enum : std::uint32_t {
    kSndAsync = 0x0001,
    kSndLoop = 0x0008,
    kSndFilename = 0x20000,
    kEwxShutdown = 1,
    kEwxReboot = 2,
    kEwxPowerOff = 8,
    kSwShowNormal = 1,
};

// File attributes, drive types and the service-control manager's access of the installer
// services.
enum : std::uint32_t {
    kFileAttributeReadOnly = 0x01,
    kFileAttributeHidden = 0x02,
    kFileAttributeSystem = 0x04,
    kFileAttributeDirectory = 0x10,
    kFileAttributeArchive = 0x20,
    kFileAttributeNormal = 0x80,
    kInvalidFileAttributes = 0xFFFFFFFF,
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
    kScManagerGenericAll = 0xE0000000, // GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE
    kSwShow = 5,
};

// What a shell link (.lnk) holds of what the installer sets.
struct ShellLink {
    std::string target;
    std::string description;
    int showCommand = kSwShow;
};

// Predefined registry roots.
enum class RegRoot { LocalMachine, CurrentUser };

// A top-level window of a program, as the simulated machine delivers broadcast messages to it.
// The Windows build delivers through real windows and never uses this.
class WindowSink {
  public:
    virtual ~WindowSink() = default;
    // The window's answer (the result of SendMessage).
    virtual std::intptr_t Deliver(std::uint32_t msg, std::uintptr_t wParam,
                                  std::intptr_t lParam) = 0;
};

// Win32 error codes of module loading.
enum : std::uint32_t {
    kErrorModNotFound = 126,
    kErrorProcNotFound = 127,
    kErrorBadExeFormat = 193,
};

class System {
  public:
    virtual ~System() = default;

    // --- process -------------------------------------------------------------------------
    virtual std::string GetModuleFileName() = 0;         // full path of the running program
    virtual std::vector<std::string> GetArguments() = 0; // command-line arguments, without argv[0]
    virtual std::uint32_t GetLastError() = 0;
    virtual void SetLastError(std::uint32_t code) = 0;
    virtual void CloseHandle(Handle handle) = 0;

    // --- kernel: synchronisation, time ---------------------------------------------------
    // CreateMutexA: sets the last error (kErrorAlreadyExists when the name is taken).
    virtual Handle CreateMutex(bool initialOwner, const std::string& name) = 0;
    virtual void ReleaseMutex(Handle mutex) = 0;
    virtual std::uint32_t GetTickCount() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    virtual std::int32_t Time() = 0; // C time(NULL), seconds since 1970 (UTC)
    virtual LocalTime GetLocalTime() = 0;
    // Local date in the system's short date format, a blank, the long time format; at exactly
    // midnight the date alone.
    virtual std::string FormatLocalDateTime(const LocalTime& time) = 0;

    // --- kernel: system information ------------------------------------------------------
    virtual bool GetVersionEx(VersionInfo& info) = 0;
    virtual std::uint32_t GetSystemDefaultLCID() = 0;
    virtual int ScreenPixelsPerInch() = 0;
    // Windows 9x board-id path: descriptor of a selector of the current thread, and a byte of
    // the segment behind it.
    virtual bool GetThreadSelectorEntry(std::uint32_t selector, LdtEntry& entry) = 0;
    virtual std::uint8_t ReadSegmentByte(std::uint32_t selector, std::uint32_t offset) = 0;

    // --- kernel: files -------------------------------------------------------------------
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Whole-file access as bytes. ReadFile fails when the file is missing or unreadable.
    virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    virtual bool AppendFile(const std::string& path, const std::string& bytes) = 0;
    virtual bool DeleteFile(const std::string& path) = 0;
    virtual bool MoveFileReplace(const std::string& from, const std::string& to) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;
    // SetCurrentDirectoryA: relative paths are taken from this folder from then on, and Windows
    // removes no folder while it is some process's working folder; false when it does not exist.
    virtual bool SetCurrentDirectory(const std::string& path) = 0;

    // --- private-profile (INI) files -----------------------------------------------------
    // GetPrivateProfileStringA with a 2048-byte buffer: at most 2047 characters come back.
    virtual std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue,
                                                const std::string& file) = 0;
    virtual bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& file) = 0;
    // The "key=value" lines of a section, in file order.
    virtual std::vector<std::string> GetPrivateProfileSection(const std::string& section,
                                                              const std::string& file) = 0;
    virtual std::vector<std::string> GetPrivateProfileSectionNames(const std::string& file) = 0;

    // --- registry ------------------------------------------------------------------------
    // Key paths without a leading backslash, such as "Software\\Microsoft\\Windows".
    virtual bool RegCreateKey(RegRoot root, const std::string& key) = 0;
    virtual bool RegKeyExists(RegRoot root, const std::string& key) = 0;
    virtual bool RegSetString(RegRoot root, const std::string& key, const std::string& name,
                              const std::string& value) = 0;
    virtual bool RegSetDword(RegRoot root, const std::string& key, const std::string& name,
                             std::uint32_t value) = 0;
    virtual bool RegGetString(RegRoot root, const std::string& key, const std::string& name,
                              std::string& value) = 0;
    virtual bool RegGetDword(RegRoot root, const std::string& key, const std::string& name,
                             std::uint32_t& value) = 0;
    virtual bool RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;
    virtual bool RegDeleteKey(RegRoot root, const std::string& key) = 0; // subkeys first

    // --- window messages -----------------------------------------------------------------
    virtual std::uint32_t RegisterWindowMessage(const std::string& name) = 0;
    // SendMessageA to HWND_BROADCAST: every top-level window of every program gets it.
    virtual void BroadcastMessage(std::uint32_t msg, std::uintptr_t wParam,
                                  std::intptr_t lParam) = 0;
    // The simulated machine routes broadcasts to these; the Windows side ignores them.
    virtual void AttachWindow(WindowSink* window) = 0;
    virtual void DetachWindow(WindowSink* window) = 0;

    // --- shell, sound, power and privileges ----------------------------------------------
    // PlaySoundA(sound, no module, flags); a null sound stops what the process plays.
    virtual bool PlaySound(const char* sound, std::uint32_t flags) = 0;
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
    // The current process's token, opened to adjust and query privileges.
    virtual bool OpenProcessToken(Handle& token) = 0;
    virtual bool LookupPrivilegeValue(const std::string& name, std::uint64_t& luid) = 0;
    // AdjustTokenPrivileges with one privilege; returns the call's reported success.
    virtual bool AdjustTokenPrivilege(Handle token, std::uint64_t luid, bool enable) = 0;
    virtual std::uint32_t WinExec(const std::string& command, std::uint32_t show) = 0;
    // GetShortPathNameA into a buffer of `bufferSize` characters: the length written, the
    // length needed when the buffer is too small, or 0 on failure.
    virtual std::uint32_t GetShortPathName(const std::string& path, std::string& shortPath,
                                           std::uint32_t bufferSize) = 0;
    // ShellExecuteA; a program it starts works in `directory`, or in the caller's working folder
    // when that is empty.
    virtual std::uintptr_t ShellExecute(Handle owner, const std::string& verb,
                                        const std::string& file, const std::string& parameters,
                                        const std::string& directory, int show) = 0;

    // --- module loading (the overlay library) ------------------------------------------
    // LoadLibraryA. A bare name is searched for as the system does, the program's folder first.
    // Returns kNoHandle and sets the last error when the module cannot be loaded.
    virtual Handle LoadLibrary(const std::string& name) = 0;
    // GetProcAddress by export name: 0 when the module has no such export.
    virtual std::uintptr_t GetProcAddress(Handle module, const std::string& name) = 0;
    virtual void FreeLibrary(Handle module) = 0;
    // Calls an export that GetProcAddress found, __stdcall, without result. Each argument is one
    // 32-bit word: a number, or a text passed as a pointer to its zero-terminated bytes.
    using ExportArgument = std::variant<std::int32_t, std::string>;
    virtual void CallExport(std::uintptr_t procedure, const std::vector<ExportArgument>& args) = 0;

    // --- device I/O ----------------------------------------------------------------------
    // CreateFileA for reading and writing, no sharing, existing file, no attributes. Returns
    // kInvalidHandle and sets the last error on failure.
    virtual Handle OpenDevice(const std::string& path) = 0;
    // DeviceIoControl, synchronous, buffered.
    virtual bool DeviceIoControl(Handle device, std::uint32_t code, const void* in,
                                 std::uint32_t inSize, void* out, std::uint32_t outSize,
                                 std::uint32_t* returned) = 0;

    // --- installer services: system folders, copies and attributes, folders and drives, the
    // 64-bit probe, the service-control manager, the all-users desktop and shell links ------
    // GetWindowsDirectoryA and GetTempPathA into 260-character buffers, as the system gives them
    // (the temporary folder ends in a backslash, the Windows folder normally does not).
    virtual std::string GetWindowsDirectory() = 0;
    virtual std::string GetTempPath() = 0;
    // CopyFileA: the target takes the source's attributes (a read-only source gives a read-only
    // copy); an existing target is replaced unless `failIfExists`, but never a read-only one.
    virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
    // GetFileAttributesA (kInvalidFileAttributes when the file or folder is missing) and
    // SetFileAttributesA.
    virtual std::uint32_t GetFileAttributes(const std::string& path) = 0;
    virtual bool SetFileAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // RemoveDirectoryA: only an empty folder goes.
    virtual bool RemoveDirectory(const std::string& path) = 0;
    // GetLogicalDrives (bit 0 is A:), GetDriveTypeA and the volume label of a root such as "C:\".
    virtual std::uint32_t GetLogicalDrives() = 0;
    virtual std::uint32_t GetDriveType(const std::string& root) = 0;
    virtual std::string GetVolumeLabel(const std::string& root) = 0;
    // The names of the sub-folders of a folder, "." and ".." left out, in no particular order;
    // false when the folder cannot be listed (missing, or a drive without a disk).
    virtual bool ListFolders(const std::string& folder, std::vector<std::string>& names) = 0;
    // IsWow64Process on the current process, looked up by name in kernel32: false when the
    // function does not exist (32-bit Windows) or the call fails.
    virtual bool IsWow64Process(bool& wow64) = 0;
    // OpenSCManagerA on the local machine's active database; kNoHandle when refused.
    virtual Handle OpenSCManager(std::uint32_t access) = 0;
    virtual void CloseServiceHandle(Handle handle) = 0;
    // The all-users desktop folder (CSIDL_COMMON_DESKTOPDIRECTORY, through the shell's item
    // list, freed with the shell's allocator); false when the shell has none.
    virtual bool GetCommonDesktopFolder(std::string& path) = 0;
    // A shell link saved to `linkFile` through the shell-link object and its persist-file
    // interface (COM initialised around it); false when any step fails.
    virtual bool CreateShellLink(const ShellLink& link, const std::string& linkFile) = 0;
    // Waits until a message arrives for the thread or the time has passed (what a message loop
    // does when it has nothing to dispatch).
    virtual void WaitForMessage(std::uint32_t milliseconds) = 0;
    // Answers the messages other programs have sent to the thread's windows and wait on, as
    // every message function does before it looks at the queue; true when it answered any. A
    // sleep answers none. The Windows side's message functions do this themselves.
    virtual bool AnswerSentMessages() = 0;
};

} // namespace os
