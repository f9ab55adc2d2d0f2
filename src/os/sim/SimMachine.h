// The simulated Windows machine of the host build: virtual clock, a sandbox folder for each
// drive with case-insensitive path lookup, registry, mutexes, registered messages with
// broadcast between programs, and the driver device in front of the simulated board. It records
// what the programs did so that tests and the transcript can show it.
#pragma once

#include "board/board.h"
#include "os/System.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace os::sim {

class SimProcess;

struct DriverRequest {
    std::uint32_t time;
    std::uint32_t code;
    std::vector<std::uint8_t> input;
    std::uint32_t outSize;
    bool ok;
    std::vector<std::uint8_t> output;
};

struct RegValue {
    std::string name;
    bool isDword = false;
    std::string text;
    std::uint32_t dword = 0;
};

struct ShellCall {
    std::string verb, file, parameters, directory;
    int show;
};

struct MachineConfig {
    VersionInfo version{5, 1, 2600, kPlatformNT, "Service Pack 2"};
    bool versionQueryFails = false;
    std::uint32_t lcid = 0x0409;
    int pixelsPerInch = 96;
    // The driver device appears this many ms after the machine starts; never when negative.
    std::int64_t driverAppearsAfterMs = 0;
    std::int32_t startTime = 1796893200; // 2026-12-10 09:00:00 UTC
    std::uint32_t startTick = 1000000;
    bool tokenOpenFails = false;
    bool privilegeLookupFails = false;
    bool privilegeAdjustFails = false;
    bool exitWindowsFails = false;
    bool shortPathFails = false;
};

class SimMachine {
  public:
    explicit SimMachine(const std::filesystem::path& sandbox, MachineConfig config = {});
    ~SimMachine();

    MachineConfig& Config() { return config_; }
    BoardState& Board() { return board_; }
    // Runs before each driver request, so a test can change the board's bytes over time.
    std::function<void(BoardState&, std::uint32_t elapsedMs)> BoardScript;

    // A program started on this machine.
    std::unique_ptr<SimProcess> StartProcess(const std::string& exePath,
                                             std::vector<std::string> args = {});

    // --- time ----------------------------------------------------------------------------
    std::uint32_t Tick() const { return tick_; }
    std::uint32_t ElapsedMs() const { return tick_ - config_.startTick; }
    void Advance(std::uint32_t ms) { tick_ += ms; }
    std::int32_t Time() const;

    // --- files ---------------------------------------------------------------------------
    // The host path of a Windows path, each component matched without regard to case; parts
    // that do not exist yet keep their spelling.
    std::filesystem::path HostPath(const std::string& windowsPath) const;
    bool ReadFile(const std::string& path, std::string& bytes) const;
    bool WriteFile(const std::string& path, const std::string& bytes);
    bool AppendFile(const std::string& path, const std::string& bytes);
    bool FileExists(const std::string& path) const;
    bool DirectoryExists(const std::string& path) const;
    bool DeleteFile(const std::string& path);
    bool MoveFileReplace(const std::string& from, const std::string& to);
    bool CreateDirectory(const std::string& path);
    // A read-only file (or one under a read-only folder) refuses every write.
    void SetReadOnly(const std::string& path, bool readOnly);
    bool IsWritable(const std::string& path) const;
    // Copies a host folder's files into a Windows folder of the sandbox.
    void InstallFolder(const std::filesystem::path& hostFolder, const std::string& windowsFolder);

    // --- folders that refuse new files ---------------------------------------------------------
    // The folder's existing files can still be written, but no new file can be made in it (a
    // permission that allows writing data but not adding files).
    void SetRefusesNewFiles(const std::string& folder, bool refuses);
    bool MayCreateFile(const std::string& path) const;

    // --- registry ------------------------------------------------------------------------
    bool RegCreateKey(RegRoot root, const std::string& key);
    bool RegKeyExists(RegRoot root, const std::string& key) const;
    bool RegSet(RegRoot root, const std::string& key, const RegValue& value);
    const RegValue* RegGet(RegRoot root, const std::string& key, const std::string& name) const;
    bool RegDeleteValue(RegRoot root, const std::string& key, const std::string& name);
    bool RegDeleteKey(RegRoot root, const std::string& key);
    // Keys (lower-case "hklm\\..." paths) that cannot be opened for all access, as for a user
    // without the rights; and keys that open but refuse every value written.
    std::set<std::string> readOnlyKeys;
    std::set<std::string> writeRefusedKeys;

    // --- mutexes, messages -----------------------------------------------------------------
    Handle CreateMutex(SimProcess& owner, const std::string& name, bool& existed);
    void ReleaseMutex(SimProcess& owner, Handle handle);
    void CloseHandle(SimProcess& owner, Handle handle);
    bool MutexExists(const std::string& name) const;
    std::uint32_t RegisterWindowMessage(const std::string& name);
    void Broadcast(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
    void AttachWindow(WindowSink* window);
    void DetachWindow(WindowSink* window);
    const std::vector<WindowSink*>& Windows() const { return windows_; }

    // --- driver ----------------------------------------------------------------------------
    bool DriverPresent() const;
    Handle OpenDriver();
    bool DeviceIoControl(Handle device, std::uint32_t code, const void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned);
    const std::vector<DriverRequest>& DriverRequests() const { return requests_; }
    std::vector<DriverRequest> RequestsWithCode(std::uint32_t code) const;
    int OpenAttempts() const { return openAttempts_; }

    // --- Windows 9x selector table -----------------------------------------------------------
    std::map<std::uint32_t, LdtEntry> selectors;
    std::map<std::uint32_t, std::vector<std::uint8_t>> segments;
    std::vector<std::uint32_t> selectorQueries; // every selector asked for

    // --- sound, power, privileges, shell: what the programs asked for ------------------------
    std::vector<std::pair<std::string, std::uint32_t>> sounds; // "" for a stop
    std::vector<std::uint32_t> exitWindowsRequests;
    std::vector<std::pair<std::string, bool>> privilegeChanges; // name, enabled
    std::map<std::uint64_t, std::string> privilegeNames;
    std::vector<std::string> execCommands;
    std::vector<ShellCall> shellCalls;

    // --- libraries: every call a program made into one ---------------------------------------
    // The export's name and its arguments, separated by blanks (texts as they are), in the form
    // the stand-in overlay library logs its calls on Windows.
    std::vector<std::string> libraryCalls;

    // --- the record --------------------------------------------------------------------------
    void Trace(const std::string& line);
    const std::vector<std::string>& Transcript() const { return transcript_; }
    std::function<void(const std::string&)> OnTrace;

  private:
    struct RegKey {
        std::map<std::string, RegValue> values; // by lower-case name
    };
    static std::string KeyPath(RegRoot root, const std::string& key);

    std::filesystem::path sandbox_;
    MachineConfig config_;
    BoardState board_{};
    std::uint32_t tick_;
    std::map<std::string, RegKey> registry_; // by lower-case full path
    struct Mutex {
        int refs = 0;
    };
    std::map<std::string, Mutex> mutexes_;       // by name
    std::map<Handle, std::string> mutexHandles_; // handle -> name
    std::map<std::string, std::uint32_t> messages_;
    std::uint32_t nextMessage_ = 0xC100;
    std::vector<WindowSink*> windows_;
    std::set<Handle> driverHandles_;
    Handle nextHandle_ = 0x100;
    std::vector<DriverRequest> requests_;
    std::set<std::string> readOnly_;        // lower-case Windows paths
    std::set<std::string> refusesNewFiles_; // lower-case Windows folder paths
    int openAttempts_ = 0;
    std::vector<std::string> transcript_;
};

} // namespace os::sim
