// The two-stage removal on the simulated machine: the confirmation and the temporary copy, the
// base folder handed to the copy (short, long, at a root, none), the folder the copy works in,
// what the copy removes and what stays, and the whole round trip side by side with the monitor:
// installed, started at logon from its Run value, removed while it runs.
#include "SetupFixture.h"

#include "host/Session.h"
#include "setup/Uninstaller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using setup::TForm1;

namespace {

const char* const kTemp = "C:\\WINDOWS\\Temp\\";

// Installs with the usual clicks (into `destination` through the chooser when given).
void Install(SetupFixture& sim, const std::string& destination = "") {
    SetupUser user(sim, sim.Start());
    user.Install(destination);
    ASSERT_EQ(user.Run(), 0);
    ASSERT_TRUE(user.Messages().empty());
}

// The first stage as the uninstall entry starts it: the stored command line split as Windows
// splits it, the user clicking "Yes". Returns what it started.
os::sim::ProgramStart FirstStage(SetupFixture& sim, const std::string& commandLine) {
    std::vector<std::string> items = os::sim::SplitCommandLine(commandLine);
    EXPECT_GE(items.size(), 2u);
    if (items.size() < 2) return {};
    SetupUser user(sim, sim.Start({items[1]}, items[0]));
    user.Click(&TForm1::TabSheet5, &TForm1::Button9);
    EXPECT_EQ(user.Run(), 0);
    EXPECT_EQ(sim.machine->startedPrograms.size(), 1u);
    return sim.machine->startedPrograms.empty() ? os::sim::ProgramStart{}
                                                : sim.machine->startedPrograms.back();
}

// The second stage, in the working folder the first stage gave it: no window, nothing to click.
void SecondStage(SetupFixture& sim, const os::sim::ProgramStart& start) {
    os::sim::SimProcess& process = sim.Start(start.args, start.exePath);
    if (!start.currentDirectory.empty()) process.CurrentDirectory = start.currentDirectory;
    SetupUser user(sim, process);
    EXPECT_EQ(user.Run(), 0);
    EXPECT_TRUE(user.Messages().empty());
}

// --- the command line the copy gets ------------------------------------------------------------

// How Windows programs split their command line: what the quoting of the base folder must
// survive.
TEST(SimCommandLine, SplitsAsTheCRuntimeDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {"\"C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE\" \"5000\"",
         {"C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE", "5000"}},
        {"-UNINSTALL_NOW C:\\Program Files", {"-UNINSTALL_NOW", "C:\\Program", "Files"}},
        {"-UNINSTALL_NOW \"C:\\Program Files\"", {"-UNINSTALL_NOW", "C:\\Program Files"}},
        // A backslash before the closing quote escapes it.
        {"-UNINSTALL_NOW \"C:\\\" x", {"-UNINSTALL_NOW", "C:\" x"}},
        {"-UNINSTALL_NOW \"C:\\\\\" x", {"-UNINSTALL_NOW", "C:\\", "x"}},
        {"-UNINSTALL_NOW \"\"", {"-UNINSTALL_NOW", ""}},
        {"  a\\b  \"c d\"e ", {"a\\b", "c de"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(os::sim::SplitCommandLine(c.line), c.args) << c.line;
}

// What a removal meets on Windows: a program started without a working folder works in its
// starter's, and no folder goes while a live process works in it, named by its short form or
// its long one.
TEST(SimWorkingFolder, InheritedByAStartAndHeldWhileTheProcessLives) {
    SetupFixture sim;
    const std::string folder = "C:\\Long Folder";
    ASSERT_TRUE(sim.machine->CreateDirectory(folder));
    auto starter = sim.machine->StartProcess(SetupFixture::kSetupExe);
    EXPECT_FALSE(starter->SetCurrentDirectory("C:\\Missing"));
    ASSERT_TRUE(starter->SetCurrentDirectory("C:\\LONGFO~1"));
    auto startIn = [&](const std::string& directory) {
        return starter->ShellExecute(0, "Open", SetupFixture::kSetupExe, "", directory,
                                     os::kSwShowNormal);
    };
    EXPECT_GT(startIn(""), 32u);
    EXPECT_GT(startIn(kTemp), 32u);
    EXPECT_EQ(startIn("C:\\Missing"), os::kErrorPathNotFound);
    ASSERT_EQ(sim.machine->startedPrograms.size(), 2u);
    EXPECT_EQ(sim.machine->startedPrograms[0].currentDirectory, "C:\\LONGFO~1");
    EXPECT_EQ(sim.machine->startedPrograms[1].currentDirectory, kTemp);
    EXPECT_FALSE(sim.machine->RemoveDirectory(folder));
    starter.reset();
    EXPECT_TRUE(sim.machine->RemoveDirectory(folder));
}

// The base folder handed to the copy: the short form where there is one, else the long form,
// quoted and without a trailing backslash; none for an installer whose folder is too short to
// hold "\ZARVO\ORLO\". The copy gets it whole and removes what lies below it.
TEST(Uninstall, BaseFolderReachesTheCopyWhole) {
    struct Case {
        const char* what;
        std::function<void(os::sim::MachineConfig&)> configure;
        const char* destination; // chosen in the folder chooser; empty: the default
        const char* parameters;
        const char* programFolder;
    };
    const std::vector<Case> cases = {
        {"short names",
         {},
         "",
         "-UNINSTALL_NOW \"C:\\PROGRA~1\"",
         "C:\\Program Files\\ZARVO\\ORLO"},
        {"no short names", [](auto& c) { c.shortNames = false; }, "",
         "-UNINSTALL_NOW \"C:\\Program Files\"", "C:\\Program Files\\ZARVO\\ORLO"},
        {"no short form to be had", [](auto& c) { c.shortPathFails = true; }, "",
         "-UNINSTALL_NOW \"C:\\Program Files\"", "C:\\Program Files\\ZARVO\\ORLO"},
        // Installed at a root: stored as "C:\\Zarvo\ORLO", the base folder is "C:\".
        {"a root", {}, "C:\\", "-UNINSTALL_NOW \"C:\"", "C:\\ZARVO\\ORLO"},
        {"a root, no short names", [](auto& c) { c.shortNames = false; }, "C:\\",
         "-UNINSTALL_NOW \"C:\"", "C:\\ZARVO\\ORLO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        os::sim::MachineConfig config;
        if (c.configure) c.configure(config);
        SetupFixture sim(config);
        Install(sim, c.destination);
        ASSERT_TRUE(sim.machine->DirectoryExists(c.programFolder));
        os::sim::ProgramStart start = FirstStage(sim, sim.UninstallString());
        ASSERT_FALSE(sim.machine->shellCalls.empty());
        const os::sim::ShellCall& call = sim.machine->shellCalls.back();
        EXPECT_EQ(call.verb, "Open");
        EXPECT_EQ(call.file, std::string(kTemp) + "uninst0.exe");
        EXPECT_EQ(call.parameters, c.parameters);
        EXPECT_EQ(call.directory, kTemp);
        EXPECT_EQ(call.show, os::kSwShowNormal);
        SecondStage(sim, start);
        EXPECT_FALSE(sim.machine->DirectoryExists(c.programFolder));
        EXPECT_TRUE(sim.NothingRegistered());
        EXPECT_TRUE(sim.machine->FileExists(std::string(kTemp) + "uninst0.exe"));
    }
}

// A short form too long for the first stage's buffer (the volume keeps no 8.3 names, the path
// is long) gives the long form, not an empty base folder.
TEST(Uninstall, BaseFolderTooLongForTheShortFormBufferIsPassedLong) {
    os::sim::MachineConfig config;
    config.shortNames = false;
    SetupFixture sim(config);
    const std::string base = "C:\\" + std::string(120, 'L') + "\\" + std::string(131, 'M');
    ASSERT_EQ(base.size(), 255u);
    ASSERT_TRUE(sim.machine->CreateDirectory(base.substr(0, 123)));
    ASSERT_TRUE(sim.machine->CreateDirectory(base));
    EXPECT_EQ(setup::BaseFolderOf(sim.Start(), base + "\\ZARVO\\ORLO\\"), base);
}

// Without a base folder (an installer outside a program folder, or no second argument) the copy
// removes the registry entries, the shortcut and the driver files, which lie in the Windows
// folder; no file or folder of the program folder.
TEST(Uninstall, NoBaseFolderRemovesTheDriverFilesButNoProgramFile) {
    for (bool firstStage : {true, false}) {
        SCOPED_TRACE(firstStage ? "installer in C:\\S" : "no second argument");
        SetupFixture sim;
        Install(sim);
        ASSERT_TRUE(sim.machine->CreateDirectory("C:\\WINDOWS\\system\\drivers"));
        ASSERT_TRUE(sim.machine->WriteFile("C:\\WINDOWS\\SYSTEM\\DRIVERS\\ZarvoORLO.SYS", "old"));
        os::sim::ProgramStart start{std::string(kTemp) + "uninst0.exe", {"-UNINSTALL_NOW"}, kTemp};
        if (firstStage) {
            ASSERT_TRUE(sim.machine->CreateDirectory("C:\\S"));
            ASSERT_TRUE(
                sim.machine->CopyFile(SetupFixture::Dist("SETUP.EXE"), "C:\\S\\SETUP.EXE", false));
            start = FirstStage(sim, "\"C:\\S\\SETUP.EXE\" -uninstall");
            EXPECT_EQ(sim.machine->shellCalls.back().parameters, "-UNINSTALL_NOW \"\"");
        } else {
            ASSERT_TRUE(
                sim.machine->CopyFile(SetupFixture::Dist("SETUP.EXE"), start.exePath, false));
        }
        SecondStage(sim, start);
        EXPECT_TRUE(sim.NothingRegistered());
        EXPECT_FALSE(sim.machine->FileExists("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\ZarvoORLO.SYS"));
        EXPECT_FALSE(sim.machine->FileExists("C:\\WINDOWS\\SYSTEM\\DRIVERS\\ZarvoORLO.SYS"));
        EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
        EXPECT_TRUE(sim.Lines("file delete C:\\Program").empty());
    }
}

// --- the two stages ------------------------------------------------------------------------------

// The copy takes the first free name, starts with the base folder, and stays behind; it stops
// the monitor first, waits 500 ms, and removes the entries, the shortcut, every installed file
// (those board INIs name included) and both folders.
TEST(Uninstall, BothStagesRemoveEverythingButTheCopy) {
    SetupFixture sim;
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Dist("A920.INI"),
                                       "[LOGO]\r\nFILENAME=logo.bmp\r\n[NT4 SHUTDOWN]\r\n"
                                       "BATCH FILE=shut.bat\r\nEXEC FILE=\r\n"));
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Dist("logo.bmp"), "BM"));
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Dist("shut.bat"), "@echo off"));
    Install(sim);
    ASSERT_TRUE(sim.machine->FileExists(SetupFixture::Installed("logo.bmp")));
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Installed("log.txt"), "* log\r\n"));
    ASSERT_TRUE(sim.machine->CreateDirectory("C:\\WINDOWS\\system\\drivers"));
    ASSERT_TRUE(sim.machine->WriteFile("C:\\WINDOWS\\SYSTEM\\DRIVERS\\ZarvoORLO.SYS", "old"));
    for (const char* taken : {"uninst0.exe", "uninst1.exe"})
        ASSERT_TRUE(sim.machine->WriteFile(std::string(kTemp) + taken, "earlier"));

    os::sim::ProgramStart start = FirstStage(sim, sim.UninstallString());
    const std::string copy = std::string(kTemp) + "uninst2.exe";
    EXPECT_EQ(start.exePath, copy);
    EXPECT_EQ(start.args, (std::vector<std::string>{"-UNINSTALL_NOW", "C:\\PROGRA~1"}));
    EXPECT_EQ(sim.Read(copy), sim.Read(SetupFixture::Installed("SETUP.EXE")));
    // Nothing is removed before the copy runs.
    EXPECT_FALSE(sim.NothingRegistered());

    const int before = sim.TranscriptSize();
    SecondStage(sim, start);
    EXPECT_TRUE(sim.NothingRegistered());
    EXPECT_TRUE(sim.KeyExists(SetupFixture::kRunKey));
    EXPECT_FALSE(sim.machine->DirectoryExists("C:\\Program Files\\ZARVO"));
    EXPECT_TRUE(sim.machine->DirectoryExists("C:\\Program Files"));
    EXPECT_FALSE(sim.machine->FileExists("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\ZarvoORLO.SYS"));
    EXPECT_FALSE(sim.machine->FileExists("C:\\WINDOWS\\SYSTEM\\DRIVERS\\ZarvoORLO.SYS"));
    EXPECT_EQ(sim.Read(copy), sim.Read(SetupFixture::Dist("SETUP.EXE")));
    EXPECT_EQ(sim.Read(std::string(kTemp) + "uninst0.exe"), "earlier");

    // The exit message first; the removal 500 ms later.
    int broadcast = sim.LineIndex("broadcast \"exitzarvoorlo\"", before);
    int firstDelete = sim.LineIndex("registry delete", before);
    ASSERT_NE(broadcast, -1);
    ASSERT_NE(firstDelete, -1);
    EXPECT_DOUBLE_EQ(sim.SecondsAt(firstDelete) - sim.SecondsAt(broadcast), 0.5);
}

// Started in the program folder (from a prompt there), the removal removes it all the same: the
// first stage starts the copy in the temporary folder, and a copy started in the program folder
// leaves it before it deletes anything. Where the temporary folder cannot be entered the copy
// removes everything else, and the folder it works in stays.
TEST(Uninstall, StartedInTheProgramFolderRemovesIt) {
    const std::string copy = std::string(kTemp) + "uninst0.exe";
    struct Case {
        const char* what;
        std::string exe;
        std::vector<std::string> args;
        bool tempFolderMissing;
    };
    const std::vector<Case> cases = {
        {"SETUP.EXE -UNINSTALL, Yes", SetupFixture::Installed("SETUP.EXE"), {"-UNINSTALL"}, false},
        {"the copy itself", copy, {"-UNINSTALL_NOW", "C:\\PROGRA~1"}, false},
        {"no temporary folder", SetupFixture::kSetupExe, {"-UNINSTALL_NOW", "C:\\PROGRA~1"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetupFixture sim;
        Install(sim);
        ASSERT_TRUE(sim.machine->CopyFile(SetupFixture::Dist("SETUP.EXE"), copy, false));
        if (c.tempFolderMissing) sim.machine->Config().tempFolder = "C:\\NOTEMP\\";
        RegisterPrograms(sim, [](SetupUser& user, const std::vector<std::string>& args) {
            if (!args.empty() && args[0] == "-UNINSTALL")
                user.Click(&TForm1::TabSheet5, &TForm1::Button9);
        });
        ASSERT_TRUE(sim.machine->Launch(c.exe, c.args, SetupFixture::kProgramFolder));
        sim.machine->RunPrograms();
        EXPECT_TRUE(sim.NothingRegistered());
        EXPECT_FALSE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
        EXPECT_FALSE(sim.machine->FileExists("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\ZarvoORLO.SYS"));
        EXPECT_EQ(sim.machine->DirectoryExists(SetupFixture::kProgramFolder), c.tempFolderMissing);
        EXPECT_EQ(sim.machine->DirectoryExists("C:\\Program Files\\ZARVO"), c.tempFolderMissing);
        EXPECT_TRUE(sim.machine->FileExists(copy));
    }
}

// "Unknow error!!" when the copy cannot be made (an installer with no SETUP.EXE beside it): the
// window closes and the installation stays.
TEST(Uninstall, CopyFailureShowsUnknowError) {
    SetupFixture sim;
    Install(sim);
    ASSERT_TRUE(sim.machine->CreateDirectory("C:\\OTHER"));
    ASSERT_TRUE(
        sim.machine->CopyFile(SetupFixture::Dist("SETUP.EXE"), "C:\\OTHER\\INSTALL.EXE", false));
    SetupUser user(sim, sim.Start({"-UNINSTALL"}, "C:\\OTHER\\INSTALL.EXE"));
    user.Click(&TForm1::TabSheet5, &TForm1::Button9);
    EXPECT_EQ(user.Run(), 0);
    EXPECT_EQ(user.Messages(), std::vector<std::string>{"Unknow error!!"});
    EXPECT_TRUE(sim.machine->shellCalls.empty());
    EXPECT_FALSE(sim.NothingRegistered());
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
}

// What the installation does not name stays, and so do the folders that hold it; names that
// could reach outside the program folder are not followed.
TEST(Uninstall, RemovesOnlyWhatTheInstallationNames) {
    SetupFixture sim;
    Install(sim);
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Installed("notes.txt"), "mine"));
    // A changed installation: a board named outside the folder, and a board INI naming files
    // outside it.
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Installed("ORLO.INI"),
                                       "[ORLO]\r\nA=A920.INI\r\nB=..\\EVIL.INI\r\n"));
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Installed("A920.INI"),
                                       "[LOGO]\r\nFILENAME=..\\..\\..\\WINDOWS\\win.ini\r\n"
                                       "[NT4 SHUTDOWN]\r\nBATCH FILE=C:\\keep.bat\r\n"));
    ASSERT_TRUE(sim.machine->WriteFile("C:\\Program Files\\ZARVO\\EVIL.INI", "[SYSTEM]\r\n"));
    ASSERT_TRUE(sim.machine->WriteFile("C:\\WINDOWS\\win.ini", "[windows]\r\n"));
    ASSERT_TRUE(sim.machine->WriteFile("C:\\keep.bat", "@echo off\r\n"));
    SecondStage(sim, FirstStage(sim, sim.UninstallString()));
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("notes.txt")));
    EXPECT_TRUE(sim.machine->FileExists("C:\\Program Files\\ZARVO\\EVIL.INI"));
    EXPECT_TRUE(sim.machine->FileExists("C:\\WINDOWS\\win.ini"));
    EXPECT_TRUE(sim.machine->FileExists("C:\\keep.bat"));
    for (const char* gone :
         {"ORLO.EXE", "ORLO.INI", "A920.INI", "SETUP.EXE", "WARNING.WAV", "skelvarind.dll"})
        EXPECT_FALSE(sim.machine->FileExists(SetupFixture::Installed(gone))) << gone;
    // The board INIs ORLO.INI no longer names stay too.
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("B910.INI")));
    EXPECT_TRUE(sim.machine->DirectoryExists(SetupFixture::kProgramFolder));
}

// Deleting the service and uninstall keys deletes their subkeys (the stand-in driver keeps its
// board in the service key's "Parameters"); deleting the Run value makes the Run key when it is
// missing, empty.
TEST(Uninstall, KeysGoWithTheirSubkeysAndTheRunKeyIsMadeWhenMissing) {
    SetupFixture sim;
    Install(sim);
    const std::string parameters = std::string(SetupFixture::kServiceKey) + "\\Parameters";
    const std::string extra = std::string(SetupFixture::kUninstallKey) + "\\Extra";
    for (const std::string& key : {parameters, extra}) {
        ASSERT_TRUE(sim.machine->RegCreateKey(os::RegRoot::LocalMachine, key));
        os::sim::RegValue value;
        value.name = "ChipId";
        value.isDword = true;
        value.dword = 0x92;
        ASSERT_TRUE(sim.machine->RegSet(os::RegRoot::LocalMachine, key, value));
    }
    ASSERT_TRUE(sim.machine->RegDeleteKey(os::RegRoot::LocalMachine, SetupFixture::kRunKey));
    SecondStage(sim, FirstStage(sim, sim.UninstallString()));
    EXPECT_TRUE(sim.NothingRegistered());
    EXPECT_FALSE(sim.KeyExists(parameters));
    EXPECT_FALSE(sim.KeyExists(extra));
    EXPECT_TRUE(sim.KeyExists(SetupFixture::kRunKey));
    EXPECT_TRUE(sim.machine->RegValues(os::RegRoot::LocalMachine, SetupFixture::kRunKey).empty());
}

// Windows deletes no read-only file: one that the user made read-only stays, and so does the
// folder holding it, also when the copy names it by the short form of the base folder.
TEST(Uninstall, ReadOnlyFileStaysThoughNamedByItsShortForm) {
    SetupFixture sim;
    Install(sim);
    ASSERT_TRUE(sim.machine->SetFileAttributes(SetupFixture::Installed("ORLO.EXE"),
                                               os::kFileAttributeReadOnly));
    os::sim::ProgramStart start = FirstStage(sim, sim.UninstallString());
    ASSERT_EQ(start.args, (std::vector<std::string>{"-UNINSTALL_NOW", "C:\\PROGRA~1"}));
    SecondStage(sim, start);
    EXPECT_TRUE(sim.NothingRegistered());
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
    EXPECT_FALSE(sim.machine->FileExists(SetupFixture::Installed("SETUP.EXE")));
    EXPECT_TRUE(sim.machine->DirectoryExists(SetupFixture::kProgramFolder));
}

// On 64-bit Windows the driver goes from SysWow64\DRIVERS, else from SYSTEM32\DRIVERS; the copy
// in SYSTEM\DRIVERS goes in both cases.
TEST(Uninstall, DriverFilesByTheBitsOfWindows) {
    for (bool wow64 : {false, true}) {
        SCOPED_TRACE(wow64 ? "64-bit" : "32-bit");
        os::sim::MachineConfig config;
        config.wow64 = wow64;
        SetupFixture sim(config);
        Install(sim);
        ASSERT_TRUE(sim.machine->CreateDirectory("C:\\WINDOWS\\system\\drivers"));
        const std::string system = "C:\\WINDOWS\\SYSTEM\\DRIVERS\\ZarvoORLO.SYS";
        const std::string system32 = "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\ZarvoORLO.SYS";
        const std::string sysWow64 = "C:\\WINDOWS\\SysWow64\\DRIVERS\\ZarvoORLO.SYS";
        ASSERT_TRUE(sim.machine->WriteFile(system, "old"));
        if (wow64) {
            ASSERT_TRUE(sim.machine->WriteFile(system32, "other"));
        }
        SecondStage(sim, FirstStage(sim, sim.UninstallString()));
        EXPECT_FALSE(sim.machine->FileExists(system));
        EXPECT_FALSE(sim.machine->FileExists(wow64 ? sysWow64 : system32));
        // A 32-bit driver file on 64-bit Windows is not the installer's.
        if (wow64) {
            EXPECT_TRUE(sim.machine->FileExists(system32));
        }
    }
}

// --- the round trip
// --------------------------------------------------------------------------------

// Installed from the distribution folder; Windows restarts and loads the driver from the
// installer's service key; at logon the monitor starts from its Run value, waits its 5 s and
// reads the board; the uninstall entry's command then removes everything while it runs: the
// exit message ends it (its last save first) before anything is deleted.
TEST(Uninstall, RoundTripWhileTheMonitorRuns) {
    SetupFixture sim;
    sim.machine->Config().driverAppearsAfterMs = -1; // not installed yet
    Install(sim);
    host::RestartWindows(*sim.machine);
    ASSERT_EQ(sim.machine->Config().driverAppearsAfterMs, 0);

    const int logon = sim.TranscriptSize();
    RegisterPrograms(sim, [](SetupUser& user, const std::vector<std::string>& args) {
        if (!args.empty() && args[0] == "-UNINSTALL")
            user.Click(&TForm1::TabSheet5, &TForm1::Button9, 1000);
    });
    host::LaunchSession(*sim.machine, {{30000, [&sim] { return sim.UninstallString(); }}});
    sim.machine->RunPrograms();

    auto at = [&](const std::string& part) { return sim.LineIndex(part, logon); };
    int monitorStart = at("start C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE \"5000\"");
    int driverOpened = at("driver opened");
    int firstStage = at("start C:\\Program Files\\Zarvo\\ORLO\\SETUP.EXE \"-UNINSTALL\"");
    int secondStage =
        at("start C:\\WINDOWS\\Temp\\uninst0.exe \"-UNINSTALL_NOW\" \"C:\\PROGRA~1\"");
    int exitMessage = at("broadcast \"exitzarvoorlo\"");
    int monitorEnd = at("end C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE (exit code 0)");
    int firstDelete = at("registry delete");
    ASSERT_NE(monitorStart, -1);
    ASSERT_NE(driverOpened, -1);
    EXPECT_LT(monitorStart, driverOpened);
    EXPECT_LT(driverOpened, firstStage);
    EXPECT_LT(firstStage, secondStage);
    EXPECT_LT(secondStage, exitMessage);
    EXPECT_LT(exitMessage, monitorEnd);
    EXPECT_LT(monitorEnd, firstDelete);
    // The monitor's own last save rewrote its Run value; the removal deleted it after.
    EXPECT_TRUE(sim.NothingRegistered());
    EXPECT_FALSE(sim.machine->DirectoryExists("C:\\Program Files\\ZARVO"));
    EXPECT_FALSE(sim.machine->FileExists("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\ZarvoORLO.SYS"));
    EXPECT_TRUE(sim.machine->FileExists("C:\\WINDOWS\\Temp\\uninst0.exe"));
    EXPECT_FALSE(sim.machine->MutexExists("ZarvoORLO"));
    std::vector<std::string> ended;
    for (const os::sim::ProgramExit& exit : sim.machine->programExits) {
        ended.push_back(exit.exePath);
        EXPECT_EQ(exit.exitCode, 0) << exit.exePath;
    }
    EXPECT_EQ(ended, (std::vector<std::string>{"C:\\WINDOWS\\explorer.exe",
                                               "C:\\Program Files\\Zarvo\\ORLO\\SETUP.EXE",
                                               "C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE",
                                               "C:\\WINDOWS\\Temp\\uninst0.exe"}));
}

} // namespace
