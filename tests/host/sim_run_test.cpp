// The host command orlo-sim: its options and machine descriptions, good and bad. Bad input is
// named in the message (the option, or the description's line) rather than run as something else.
#include "host/FolderPath.h"
#include "host/MachineDescription.h"
#include "host/SandboxMachine.h"
#include "host/SandboxedCommand.h"
#include "monitor/host/SimRun.h"
#include "os/sim/SimMachine.h"
#include "setup/host/SetupSim.h"

#include "HostCommand.h"
#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

TEST(SimRun, OptionsAreReadOrNamedAsFaulty) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"--seconds", "60", "--machine", "m", "--data", "d", "--", "5000", "--seconds"}, ""},
        {{"--seconds", "0x10"}, ""},
        {{"--seconds", "255600"}, ""},
        {{"-h"}, "help"},
        {{"--seconds", "abc"},
         "--seconds takes a whole number of seconds up to 255600, not \"abc\""},
        {{"--seconds", "12s"},
         "--seconds takes a whole number of seconds up to 255600, not \"12s\""},
        {{"--seconds", "-5"}, "--seconds takes a whole number of seconds up to 255600, not \"-5\""},
        {{"--seconds", "255601"},
         "--seconds takes a whole number of seconds up to 255600, not \"255601\""},
        {{"--seconds", ""}, "--seconds takes a whole number of seconds up to 255600, not \"\""},
        {{"--machine"}, "--machine needs a value"},
        {{"--verbose"}, "unknown option --verbose"},
    };
    for (const Case& c : cases) {
        monitor::SimRunOptions options;
        EXPECT_EQ(monitor::ParseSimRunArguments(c.args, options), c.error) << c.args[0];
    }
    monitor::SimRunOptions options;
    ASSERT_EQ(monitor::ParseSimRunArguments(cases[0].args, options), "");
    EXPECT_EQ(options.seconds, 60u);
    EXPECT_EQ(options.machineFile, "m");
    EXPECT_EQ(options.dataDir, "d");
    EXPECT_EQ(options.programArgs, (std::vector<std::string>{"5000", "--seconds"}));
}

TEST(SimRun, MachineDescriptionsAreReadOrTheirLineIsNamed) {
    const TestSandbox sandbox("orlo-simrun");
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> bad = {
        {"chip=zz", "line 1 \"chip=zz\": the chip id is a byte, such as 0x92"},
        {"# comment\n\nchip=0x100", "line 3 \"chip=0x100\": the chip id is a byte, such as 0x92"},
        {"version=5.x", "line 1 \"version=5.x\": the version is major.minor, such as 5.1"},
        {"platform=nt4", "line 1 \"platform=nt4\": the platform is 9x, nt or win32s"},
        {"ppi=0", "line 1 \"ppi=0\": pixels per inch are 1 to 1000"},
        {"driver-after-ms=soon", "line 1 \"driver-after-ms=soon\": milliseconds, or -1 for never"},
        {"board-id=ZRV-A920X",
         "line 1 \"board-id=ZRV-A920X\": the board id has at most 8 characters"},
        {"fan-count=1,2,3,4",
         "line 1 \"fan-count=1,2,3,4\": up to 3 bytes (0 to 255), separated by commas"},
        {"voltage=1,,3", "line 1 \"voltage=1,,3\": up to 9 bytes (0 to 255), separated by commas"},
        {"temperature=300",
         "line 1 \"temperature=300\": up to 3 bytes (0 to 255), separated by commas"},
        {"lcid 0x0804", "line 1 \"lcid 0x0804\": not a key=value line"},
        {"bios-id=ZRV-A920X", "line 1 \"bios-id=ZRV-A920X\": the BIOS id has at most 8 characters"},
        {"colour=red", "line 1 \"colour=red\": unknown key colour"},
    };
    for (const Case& c : bad) {
        os::sim::SimMachine machine(sandbox);
        EXPECT_EQ(host::ApplyMachineDescription(machine, c.text), c.error);
    }

    os::sim::SimMachine machine(sandbox);
    EXPECT_EQ(host::ApplyMachineDescription(
                  machine, "version=4.10\r\nplatform=9x\nlcid=0x0804\nppi=120\n"
                           "driver-after-ms=-1\nchip=0x91\nboard-id=ZRV-B910\nfan-count=1,2\n"
                           "voltage=0xFF,1,2,3,4,5,6,7,8\nfail-mask=0x10\n"),
              "");
    EXPECT_EQ(machine.Config().version.majorVersion, 4u);
    EXPECT_EQ(machine.Config().version.minorVersion, 10u);
    EXPECT_EQ(machine.Config().version.platformId, os::kPlatformWin9x);
    EXPECT_EQ(machine.Config().lcid, 0x0804u);
    EXPECT_EQ(machine.Config().pixelsPerInch, 120);
    EXPECT_EQ(machine.Config().driverAppearsAfterMs, -1);
    EXPECT_EQ(machine.Board().chip_id, 0x91);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(machine.Board().board_id), 8), "ZRV-B910");
    EXPECT_EQ(machine.Board().fan_count[1], 2);
    EXPECT_EQ(machine.Board().voltage[0], 0xFF);
    EXPECT_EQ(machine.Board().voltage[8], 8);
    EXPECT_EQ(machine.Board().fail_mask, 0x10u);
}

// Bad input that would otherwise run as something else, for both commands (and setup-sim's
// destination): status 2 and the fault named on the error output, nothing run.
TEST(HostCommands, BadInputIsNamedAndEndsWithStatus2) {
    const TestSandbox sandbox("orlo-badinput");
    std::filesystem::create_directories(sandbox.Path());
    const std::string folder = sandbox.Path().string();
    const std::string machine = (sandbox.Path() / "bad.machine").string();
    const std::string windows = "line 1 \"windows-folder=";
    const std::string drive = "\": a folder with its drive, such as D:\\WINNT (";
    const std::string dest = "\": not an absolute folder path such as D:\\Apps (";
    const std::string noDrive = "no drive letter, colon and backslash at its start)";
    const std::string name256(256, 'w');
    struct Case {
        std::vector<std::string> args;
        std::string description; // the machine file's text, when the case has one
        std::string error;       // after "orlo-sim: " or "setup-sim: "
        bool setupOnly = false;
    };
    const std::string huge = "#" + std::string(host::kMaxDescriptionBytes - 1, 'x');
    const std::string noFolder = ": no such folder on the machine";
    const std::vector<Case> cases = {
        {{"--machine", folder}, "", "--machine " + folder + ": a folder, not a file"},
        {{"--machine", "/dev/zero"}, "", "--machine /dev/zero: not a plain file"},
        {{"--machine", machine},
         huge,
         "--machine " + machine + ": more than the 65536 bytes a description may have"},
        {{"--machine", ""}, "", "--machine needs a value, not \"\""},
        {{"--data", ""}, "", "--data needs a value, not \"\""},
        {{"--machine", machine},
         "windows-folder=1:\\x",
         "--machine " + machine + ": " + windows + "1:\\x" + drive + noDrive},
        {{"--machine", machine},
         "windows-folder=C:\\a|b",
         "--machine " + machine + ": " + windows + "C:\\a|b" + drive +
             "the folder name \"a|b\" holds '|', which no name may hold)"},
        {{"--machine", machine},
         "windows-folder=C:\\" + name256,
         "--machine " + machine + ": " + windows + "C:\\" + name256 + drive +
             "a folder name of 256 bytes, longer than 255)"},
        {{"--machine", machine},
         "windows-folder=C:\\",
         "--machine " + machine + ": " + windows + "C:\\" + drive +
             "no folder name after the drive)"},
        {{"--dest", ""}, "", "--dest needs a value, not \"\"", true},
        {{"--dest", "Apps"}, "", "--dest \"Apps" + dest + noDrive, true},
        {{"--dest", "C:Apps"}, "", "--dest \"C:Apps" + dest + noDrive, true},
        {{"--dest", "C:/Apps"}, "", "--dest \"C:/Apps" + dest + noDrive, true},
        {{"--dest", "1:\\x"}, "", "--dest \"1:\\x" + dest + noDrive, true},
        {{"--dest", "C:\\a|b"},
         "",
         "--dest \"C:\\a|b" + dest + "the folder name \"a|b\" holds '|', which no name may hold)",
         true},
        {{"--dest", "D:\\Apps\\"},
         "",
         "--dest \"D:\\Apps\\" + dest +
             "an empty folder name: two backslashes together, or one at the end)",
         true},
        // Folders the machine lacks: none is made, nor is the drive's root or the CD-ROM taken.
        {{"--dest", "C:\\Apps"}, "", "--dest C:\\Apps" + noFolder, true},
        {{"--dest", "D:\\Apps"}, "", "--dest D:\\Apps" + noFolder, true},
        {{"--dest", "D:\\"}, "", "--dest D:\\" + noFolder, true},
        {{"--dest", "C:\\PROGRA~2"}, "", "--dest C:\\PROGRA~2" + noFolder, true},
        {{"--dest", "C:\\WINDOWS\\explorer.exe"},
         "",
         "--dest C:\\WINDOWS\\explorer.exe" + noFolder,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        if (!c.description.empty()) std::ofstream(machine) << c.description << "\n";
        const CommandRun setupSim =
            RunCommand([&](std::FILE* out) { return setup::SetupSimCommand(c.args, out); });
        EXPECT_EQ(setupSim.status, 2);
        EXPECT_EQ(setupSim.err, "setup-sim: " + c.error + "\n");
        if (c.setupOnly) continue;
        const CommandRun orloSim =
            RunCommand([&](std::FILE* out) { return monitor::OrloSimCommand(c.args, out); });
        EXPECT_EQ(orloSim.status, 2);
        EXPECT_EQ(orloSim.err, "orlo-sim: " + c.error + "\n");
    }
}

// A folder path with its drive: the Windows folder of a machine description (no drive root) and
// setup-sim's destination (a drive root too).
TEST(HostCommands, FolderPathsAreWindowsFolderNames) {
    const std::string name255(255, 'n');
    for (const std::string& good : std::vector<std::string>{
             "D:\\WINNT", "c:\\Program Files\\Zarvo", "C:\\" + name255, "C:\\console\\x.y",
             "C:\\COM10", "C:\\.profile", "C:\\\xC4nderung"})
        EXPECT_EQ(host::FolderPathFault(good, false), "") << good;
    EXPECT_EQ(host::FolderPathFault("D:\\", true), "");
    const std::string longPath = "C:\\" + name255 + "\\abc";
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"", "no drive letter, colon and backslash at its start"},
        {"C:\\a \\b", "the folder name \"a \" ends in a blank"},
        {"C:\\.", "the folder name \".\" ends in a dot"},
        {"C:\\nul", "the folder name \"nul\" is a device's name"},
        {"C:\\x\\LPT1.txt", "the folder name \"LPT1.txt\" is a device's name"},
        {"C:\\a*", "the folder name \"a*\" holds '*', which no name may hold"},
        {"C:\\a\x01", "the folder name \"a\x01\" holds the control character 0x01"},
        {longPath, "262 characters, more than the 259 of a path"},
    };
    for (const auto& [path, fault] : bad)
        EXPECT_EQ(host::FolderPathFault(path, true), fault) << path;
}

// A logo whose file name is too long for the file system: the picture cannot be loaded, the
// class library's error box shows, and the run goes on to its end.
TEST(SimRun, ALogoNameTooLongShowsThePictureErrorAndRunsOn) {
    const TestSandbox data("orlo-simrun-data");
    const std::string logo = std::string(256, 'a') + ".bmp";
    WriteDataWithLogo(data, logo);
    monitor::SimRunOptions options;
    options.dataDir = data.Path().string();
    options.seconds = 5;
    const CommandRun run =
        RunCommand([&](std::FILE* out) { return monitor::RunOnSimulatedMachine(options, out); });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const std::string& line :
         {"message box [ORLO]: Cannot open file \"C:\\Program Files\\ZARVO\\ORLO\\" + logo +
              "\". The system cannot find the file specified.\n",
          std::string("--- end of the run: the user's session ends ---\n"),
          std::string("\nended by the system with the session\n")})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

// On Windows 9x the monitor reads the board id from the BIOS, which the description's bios-id
// fills: the 9x road then runs, with its shutdown (no privilege to enable) and without the
// ghost monitor. Without it the run stops at the start, as on a board without the id.
TEST(SimRun, TheWindows9xRoadRunsWithTheBoardIdInTheBios) {
    const TestSandbox sandbox("orlo-simrun-9x");
    const std::filesystem::path data = sandbox.Path() / "data";
    WriteDataChanged(data, "Action when exceed the limitations=Ask Me",
                     "Action when exceed the limitations=Shutdown");
    const std::string ninetyEight = "version=4.10\nplatform=9x\n";
    const std::string hot = "temperature=90,30,30\n"; // the CPU's high limit is 70
    const std::string ghostBox = "CheckBoxShowTransparentForm \"Show CPU Ghost Monitor\" ";
    struct Case {
        const char* what;
        std::string description;
        std::vector<std::string> present, absent;
    };
    const std::vector<Case> cases = {
        {"XP, too hot",
         hot,
         {"library load skelvarind.dll", "privilege SeShutdownPrivilege enabled\n",
          "ExitWindowsEx flags 8\n"},
         {"Incorrect BIOS ID"}},
        {"98, too hot",
         ninetyEight + "bios-id=ZRV-A920\n" + hot,
         {"ExitWindowsEx flags 1\n",
          "Your 'CPU' Temperature exceed the limit , Action when exceed the limitations: "
          "Shutdown"},
         {"Incorrect BIOS ID", "privilege", "library"}},
        {"98", ninetyEight + "bios-id=ZRV-A920\n", {ghostBox + "[ ] (disabled)\n"}, {"library"}},
        {"XP", "", {ghostBox + "[x]\n"}, {}},
        {"98 without the BIOS id",
         ninetyEight + hot,
         {"message box [ORLO]: Incorrect BIOS ID\n"},
         {"ExitWindowsEx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path machine = sandbox.Path() / "9x.machine";
        std::ofstream(machine) << c.description;
        monitor::SimRunOptions options;
        options.machineFile = machine.string();
        options.dataDir = data.string();
        options.seconds = 5;
        const CommandRun run = RunCommand(
            [&](std::FILE* out) { return monitor::RunOnSimulatedMachine(options, out); });
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        for (const std::string& line : c.present)
            EXPECT_NE(run.out.find(line), std::string::npos) << line;
        for (const std::string& line : c.absent)
            EXPECT_EQ(run.out.find(line), std::string::npos) << line;
    }
}

// However a host command ends, its sandbox goes: by its status, an exception that nothing
// catches, or an abort (signals from outside: sandboxed_command_test).
TEST(SandboxedCommand, RemovesTheSandboxHoweverTheCommandEnds) {
    struct Case {
        const char* what;
        std::function<int()> end; // what the command does once its sandbox is there
        int status;
    };
    const std::vector<Case> cases = {
        {"status 2", [] { return 2; }, 2},
        {"exception", []() -> int { throw std::runtime_error("no one catches this"); },
         128 + SIGABRT},
        {"abort", []() -> int { std::abort(); }, 128 + SIGABRT},
    };
    const std::string command = "sandbox-test-" + std::to_string(::getpid());
    for (const Case& c : cases) {
        const int status = host::RunRemovingSandbox(command, [&] {
            host::SandboxMachine sandbox(command, stdout);
            sandbox.Machine().WriteFile("C:\\left.txt", "behind");
            return c.end();
        });
        EXPECT_EQ(status, c.status) << c.what;
        std::error_code ec;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), ec))
            EXPECT_NE(entry.path().filename().string().rfind(command, 0), 0u)
                << c.what << ": " << entry.path();
    }
}

// A temporary folder that holds no sandbox is named with the reason, and nothing runs: no run
// is reported as done. What needs no sandbox (the usage, bad options) answers as ever.
TEST(HostCommands, ATemporaryFolderThatHoldsNoSandboxIsNamed) {
    const TestSandbox sandbox("orlo-tmpdir");
    std::filesystem::create_directories(sandbox.Path());
    const std::string file = (sandbox.Path() / "a-file").string();
    std::ofstream(file) << "no folder\n";
    const char* before = std::getenv("TMPDIR");
    const std::string kept = before ? before : "";
    struct Case {
        std::string tmpdir;
        std::vector<std::string> args;
        int status;
        std::string error; // after "orlo-sim: " or "setup-sim: "; empty: none
    };
    const std::string cannot = "the temporary folder ";
    const std::vector<Case> cases = {
        {"/nonexistent",
         {"--seconds", "3"},
         1,
         cannot + "/nonexistent cannot hold the sandbox: No such file or directory"},
        {file, {"--seconds", "3"}, 1, cannot + file + " cannot hold the sandbox: not a folder"},
        {"/nonexistent", {"--help"}, 0, ""},
        {"/nonexistent", {"--bogus"}, 2, "unknown option --bogus"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tmpdir + " " + c.args[0]);
        ::setenv("TMPDIR", c.tmpdir.c_str(), 1);
        for (const char* name : {"orlo-sim", "setup-sim"}) {
            const bool orlo = name == std::string("orlo-sim");
            const CommandRun run = RunCommand([&](std::FILE* out) {
                return orlo ? monitor::OrloSimCommand(c.args, out)
                            : setup::SetupSimCommand(c.args, out);
            });
            EXPECT_EQ(run.status, c.status) << name;
            EXPECT_EQ(run.err, c.error.empty() ? "" : name + (": " + c.error + "\n"));
        }
        // The parent of the run finds no sandbox to remove, and ends as the run did.
        EXPECT_EQ(host::RunRemovingSandbox("tmpdir-test", [] { return 2; }), 2);
    }
    if (before)
        ::setenv("TMPDIR", kept.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

// The run's end is the end of the user's session: the logoff ends the monitor also while it
// waits out a start delay and has no window yet.
TEST(SimRun, TheSessionsEndEndsTheMonitorInItsStartDelayToo) {
    struct Case {
        unsigned seconds;
        const char* last;
    };
    for (const Case& c : std::vector<Case>{{0, "\nended by the system with the session\n"},
                                           {4, "\nended by the system with the session\n"},
                                           {6, "\nended by the system with the session\n"}}) {
        SCOPED_TRACE("--seconds " + std::to_string(c.seconds));
        monitor::SimRunOptions options;
        options.seconds = c.seconds;
        options.programArgs = {"5000"};
        const CommandRun run = RunCommand(
            [&](std::FILE* out) { return monitor::RunOnSimulatedMachine(options, out); });
        EXPECT_EQ(run.status, 0);
        const std::string last = c.last;
        ASSERT_GE(run.out.size(), last.size());
        EXPECT_EQ(run.out.substr(run.out.size() - last.size()), last);
    }
}

// A monitor that finds no driver dispatches its messages between its tries: the session's end
// reaches it there, long before it would give up.
TEST(SimRun, TheSessionsEndReachesAMonitorRetryingTheDriver) {
    const TestSandbox sandbox("orlo-simrun-nodriver");
    std::filesystem::create_directories(sandbox.Path());
    monitor::SimRunOptions options;
    options.machineFile = (sandbox.Path() / "no-driver.machine").string();
    std::ofstream(options.machineFile) << "driver-after-ms=-1\n";
    options.seconds = 5;
    const CommandRun run =
        RunCommand([&](std::FILE* out) { return monitor::RunOnSimulatedMachine(options, out); });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("Open Driver faild"), std::string::npos);
    EXPECT_NE(run.out.find("end C:\\Program Files\\ZARVO\\ORLO\\ORLO.EXE (ended by the system)"),
              std::string::npos);
    const std::string last = "\nended by the system with the session\n";
    ASSERT_GE(run.out.size(), last.size());
    EXPECT_EQ(run.out.substr(run.out.size() - last.size()), last);
}

} // namespace
