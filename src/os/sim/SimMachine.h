// The simulated Windows machine of the host build: virtual clock, a sandbox folder for each
// drive with case-insensitive path lookup, registry, mutexes, registered messages with
// broadcast between programs, and the driver device in front of the simulated board. It records
// what the programs did so that tests and the transcript can show it.
#pragma once

#include "board/board.h"
#include "os/System.h"

#include <cstddef>
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

    // --- what the installer meets ----------------------------------------------------------
    std::string windowsFolder = "C:\\WINDOWS";
    std::string tempFolder = "C:\\WINDOWS\\Temp\\";
    // Empty: the shell knows no all-users desktop.
    std::string commonDesktop = "C:\\Documents and Settings\\All Users\\Desktop";
    bool shellLinkFails = false;
    // The service-control manager opens for all access only for an administrator.
    bool administrator = true;
    bool wow64 = false;
    bool wow64ProbeExists = true; // kernel32 has IsWow64Process (XP SP2 and later)
    bool wow64ProbeFails = false;
    // Off: the volume keeps no 8.3 names, and the short form of a path is its long form.
    bool shortNames = true;
};

// A program started on the machine by another one (ShellExecute), with its arguments as the C
// runtime splits the command line, and the folder it works in.
struct ProgramStart {
    std::string exePath;
    std::vector<std::string> args;
    std::string currentDirectory;
};

struct ProgramExit {
    std::string exePath;
    std::vector<std::string> args;
    int exitCode = 0;
    bool endedBySystem = false; // ended by the system (SimProcess::End): no exit code
};

// Thrown out of a program's wait (a sleep, a wait for messages, a sent message) once the system
// has ended the program (SimProcess::End): it unwinds the program's stack. It is no
// std::exception, so that no handler of the program takes it for one of its own errors.
struct ProgramEnded {};

// The arguments of a command line as the C runtime splits it: blanks separate them, double
// quotes group, 2n backslashes before a quote give n and the quote groups, 2n+1 give n and a
// literal quote; other backslashes are plain characters.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// The longest name of a file or folder that the file systems take, in bytes: every file call on
// a path with a longer one fails.
constexpr std::size_t kMaxNameLength = 255;

// Text in lower case (ASCII).
std::string LowerCase(std::string text);

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
    // Every process registers itself while it lives, so that the machine knows the folders
    // they work in.
    void ProcessStarted(const SimProcess& process);
    void ProcessEnded(const SimProcess& process);
    // Whether a folder is some live process's working folder.
    bool IsWorkingFolder(const std::string& folder) const;
    // Whether a file is the program file of a live process: it can be read, copied and
    // renamed, but not deleted, written or replaced.
    bool IsRunningProgram(const std::string& path) const;

    // --- time ----------------------------------------------------------------------------
    std::uint32_t Tick() const { return tick_; }
    std::uint32_t ElapsedMs() const { return tick_ - config_.startTick; }
    void Advance(std::uint32_t ms) { tick_ += ms; }
    std::int32_t Time() const;

    // --- files ---------------------------------------------------------------------------
    // The host path of a Windows path, each component matched without regard to case, and by
    // its short (8.3) name while the volume keeps such names; parts that do not exist yet keep
    // their spelling. Empty for a path that is no Windows path or has a name over kMaxNameLength.
    std::filesystem::path HostPath(const std::string& windowsPath) const;
    // The key of a path in the machine's records of files and folders (read-only marks,
    // attributes, locks, folders refusing new files): the drive and the components in lower
    // case, "." and ".." resolved, and each existing one as the disk spells it, so that a short
    // (8.3) name finds the records of its long name ("c:\\program files\\zarvo").
    std::string RecordKey(const std::string& path) const;
    bool ReadFile(const std::string& path, std::string& bytes) const;
    bool WriteFile(const std::string& path, const std::string& bytes);
    bool AppendFile(const std::string& path, const std::string& bytes);
    bool FileExists(const std::string& path) const;
    bool DirectoryExists(const std::string& path) const;
    bool DeleteFile(const std::string& path);
    bool MoveFileReplace(const std::string& from, const std::string& to);
    // Not on a read-only medium (a CD-ROM) nor below a read-only folder.
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
    // The values of a key, by name (empty when the key is missing).
    std::vector<RegValue> RegValues(RegRoot root, const std::string& key) const;
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
    // The message to every window; their answers.
    std::vector<std::intptr_t> Broadcast(std::uint32_t msg, std::uintptr_t wParam,
                                         std::intptr_t lParam);
    void AttachWindow(WindowSink* window, SimProcess* owner = nullptr);
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
    // The BIOS segment at 0xF0000 (64 KiB) mapped through the thread's selector `selector`,
    // holding the board id `id` (at most 8 bytes, zeros after it) at offset 0xECE0, where a
    // program on Windows 9x reads it. An empty id unmaps the selector.
    static constexpr std::uint32_t kBiosSelector = 0x1F7;
    void PutBoardIdInBios(const std::string& id, std::uint32_t selector = kBiosSelector);

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

    // --- installer services: copies, attributes, folders, drives, rights, shell links --------
    // The Windows folder and its system, driver and temporary folders, "Program Files" on its
    // drive, the all-users desktop and, with wow64, SysWOW64\\drivers; made at the start and again
    // after a change of the configuration (existing folders stay).
    void PrepareWindowsFolders();
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);
    std::uint32_t GetFileAttributes(const std::string& path) const;
    bool SetFileAttributes(const std::string& path, std::uint32_t attributes);
    // Only an empty folder goes, and none that a live process works in.
    bool RemoveDirectory(const std::string& path);
    // A drive of the machine: its sandbox folder (unless it holds no disk), type and label.
    // Drive C: is there from the start; a CD-ROM's files are read-only.
    void AddDrive(char letter, std::uint32_t type, const std::string& label = "",
                  bool ready = true);
    std::uint32_t LogicalDrives() const;
    std::uint32_t DriveType(const std::string& root) const;
    std::string VolumeLabel(const std::string& root) const;
    bool ListFolders(const std::string& folder, std::vector<std::string>& names) const;
    // Files held open by another program: reading, copying, writing and deleting them fail.
    void SetLocked(const std::string& path, bool locked);
    // The short (8.3) form of an existing path, or 0 (see os::System::GetShortPathName).
    std::uint32_t ShortPathName(const std::string& path, std::string& shortPath,
                                std::uint32_t bufferSize) const;
    // The long form of an existing path, each name spelled as on the disk ("C:\\PROGRA~1" gives
    // "C:\\Program Files"), as GetLongPathName gives it; empty when nothing is there.
    std::string LongPathName(const std::string& path) const;
    // The service-control manager: opens and closes.
    Handle OpenServiceManager(std::uint32_t access);
    void CloseServiceManager(Handle handle);
    int OpenServiceManagerHandles() const { return static_cast<int>(serviceManagers_.size()); }
    // Shell links are text files here; ReadShellLink reads one back (false when the file is
    // missing or is no link).
    bool WriteShellLink(const ShellLink& link, const std::string& linkFile);
    bool ReadShellLink(const std::string& linkFile, ShellLink& link) const;

    // --- programs that run side by side ----------------------------------------------------
    // A program file holds its program's image: ProgramImage("setup") is what a simulated
    // SETUP.EXE contains, and RegisterProgram tells the machine how to run that program.
    using ProgramMain = std::function<int(SimProcess&)>;
    static std::string ProgramImage(const std::string& program);
    // The program a file holds; empty when it is missing or holds none.
    std::string ProgramOf(const std::string& exePath) const;
    void RegisterProgram(const std::string& program, ProgramMain main);
    // Starts a program file as Windows does: a process of its own with these arguments, working
    // in `currentDirectory`, run by RunPrograms side by side with the others (at once when they
    // already run). Without a folder it works in its starter's, as a program started by another
    // does on Windows: the running program's when one starts it, else (started from outside,
    // as from a folder window) its own. False when the file is missing or holds no registered
    // program.
    bool Launch(const std::string& exePath, std::vector<std::string> args = {},
                const std::string& currentDirectory = "");
    // The same from a command line: the program's path first, then its arguments; it works in
    // its starter's folder.
    bool LaunchCommandLine(const std::string& commandLine);
    // Runs every launched program, and those they start, until all have ended. Each runs on a
    // thread of its own, but only one at a time: a program runs until it sleeps, waits for a
    // message, sends one to another program's window or ends; then the one due first runs, and
    // virtual time moves on only when every program waits. A message sent to another program's
    // window reaches it when that program next calls a message function (a look at its queue
    // or a wait for messages; a sleep is none), and the sender waits for it. An exception that
    // escapes a program is thrown again here once all have ended.
    void RunPrograms();
    bool ProgramsRunning() const { return running_; }
    // Ends every program RunPrograms runs but `caller`, as Windows ends the processes of a
    // session at a logoff, whether they have windows or not: each runs on to its next wait and
    // leaves there (SimProcess::End).
    void EndOtherPrograms(const SimProcess& caller);
    // What the programs did: the ones started by ShellExecute (also when no program runs side
    // by side, for a test to start itself) and the ends of those RunPrograms ran.
    std::vector<ProgramStart> startedPrograms;
    std::vector<ProgramExit> programExits;

    // Called by a process: its sleep, its wait for messages and its broadcast, which let the
    // other programs run when it runs side by side with them.
    void ProcessSleep(SimProcess& process, std::uint32_t ms);
    void ProcessWaitForMessage(SimProcess& process, std::uint32_t ms);
    // The messages sent to the process's windows that wait for it, answered without waiting
    // (what every message function does first); true when there were any.
    bool ProcessAnswerSentMessages(SimProcess& process);
    // The answers of the windows that answered (not those of programs that ended first). With
    // `endsReceivers` the system ends each other program as soon as its windows have answered,
    // as at a logoff's WM_ENDSESSION.
    std::vector<std::intptr_t> BroadcastFrom(SimProcess& sender, std::uint32_t msg,
                                             std::uintptr_t wParam, std::intptr_t lParam,
                                             bool endsReceivers = false);

    // --- the record --------------------------------------------------------------------------
    void Trace(const std::string& line);
    const std::vector<std::string>& Transcript() const { return transcript_; }
    std::function<void(const std::string&)> OnTrace;

  private:
    struct RegKey {
        std::map<std::string, RegValue> values; // by lower-case name
    };
    static std::string KeyPath(RegRoot root, const std::string& key);
    // The host path of a Windows path and, when asked, its record key.
    std::filesystem::path Resolve(const std::string& windowsPath, std::string* key) const;
    // Whether a path has a record in `records` (nothing to resolve when there are none).
    bool Recorded(const std::set<std::string>& records, const std::string& path) const;
    // Short names (SimShortNames.cpp), while the volume keeps them. The short names of a host
    // folder's entries by their lower-case names: the valid 8.3 names are their own, the others
    // get "~1", "~2", ... as they are made, unique in their folder, and keep them while they
    // are there. Names made beside the machine get theirs when first asked, in the order of
    // their names, before `newest` (a lower-case name).
    const std::map<std::string, std::string>& ShortNamesIn(const std::filesystem::path& folder,
                                                           const std::string& newest = "") const;
    // Gives a file or folder just made its short name.
    void NameMade(const std::filesystem::path& host) const;
    // The entry of a host folder that has the short name `name`; empty when none has.
    std::filesystem::path EntryOfShortName(const std::filesystem::path& folder,
                                           const std::string& name) const;
    std::string MessageName(std::uint32_t msg) const;

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

    // Installer services.
    struct Drive {
        std::uint32_t type = kDriveFixed;
        std::string label;
        bool ready = true;
    };
    const Drive* DriveOf(const std::string& path) const;
    bool ReadOnlyAttribute(const std::string& path) const;
    std::map<char, Drive> drives_;
    std::map<std::string, std::uint32_t> attributes_; // lower-case path -> other attributes
    std::set<std::string> locked_;                    // lower-case paths
    std::set<Handle> serviceManagers_;
    std::set<const SimProcess*> processes_; // alive
    // Host folder -> lower-case name -> short name (ShortNamesIn).
    mutable std::map<std::string, std::map<std::string, std::string>> shortNames_;

    // Programs side by side (SimPrograms.cpp).
    struct Runner;
    Runner* RunnerOf(const SimProcess& process) const;
    Runner* PickNext();
    void Yield(Runner& self);
    void ProcessInbox(Runner& self);
    void RunnerThread(Runner* runner);
    std::map<std::string, ProgramMain> programs_;
    std::vector<std::unique_ptr<Runner>> runners_;
    std::map<WindowSink*, SimProcess*> windowOwners_;
    Runner* current_ = nullptr;
    bool running_ = false;
    struct Baton;
    std::unique_ptr<Baton> baton_;
};

} // namespace os::sim
