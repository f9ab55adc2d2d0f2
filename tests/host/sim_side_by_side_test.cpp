// Programs side by side on the simulated machine, where what one does meets another as it would
// on Windows: messages sent between them, the folders they work in, the files of running
// programs, and the end of the session.
#include "SetupFixture.h"

#include "host/Session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using setup::TForm1;

namespace {

void Install(SetupFixture& sim) {
    SetupUser user(sim, sim.Start());
    user.Install();
    ASSERT_EQ(user.Run(), 0);
    ASSERT_TRUE(user.Messages().empty());
}

// The installer run again from the distribution folder, `afterMs` after the logon, while the
// monitor started from the Run value runs.
void ReinstallAfterLogon(SetupFixture& sim, std::uint32_t afterMs) {
    RegisterPrograms(sim, [](SetupUser& user, const std::vector<std::string>& args) {
        if (args.empty()) user.Install();
    });
    host::LaunchSession(*sim.machine,
                        {{afterMs, [] { return std::string(SetupFixture::kSetupExe); }}});
    sim.machine->RunPrograms();
}

// A monitor that finds no driver retries it once a second for up to 255 s, dispatching its
// messages between the tries: the installer's exit message is answered at its next try, not when
// it gives up, and the installer goes on. The retries do not look at the application's end: the
// monitor runs on until they are over, and its program file cannot be replaced meanwhile.
TEST(SideBySide, TheExitMessageIsAnsweredByAMonitorRetryingTheDriver) {
    SetupFixture sim;
    sim.machine->Config().driverAppearsAfterMs = -1;
    Install(sim);
    const int logon = sim.TranscriptSize();
    ReinstallAfterLogon(sim, 10000);

    const int broadcast = sim.LineIndex("broadcast \"exitzarvoorlo\"", logon);
    const int firstCopy = sim.LineIndex("file copy C:\\DIST\\ZarvoORLO.SYS", broadcast);
    const int failureBox = sim.LineIndex("Open Driver faild", logon);
    ASSERT_NE(broadcast, -1);
    ASSERT_NE(firstCopy, -1);
    EXPECT_LE(sim.SecondsAt(firstCopy) - sim.SecondsAt(broadcast), 1.5);
    EXPECT_LT(firstCopy, failureBox);
    EXPECT_NE(sim.LineIndex("message box [Setup]: Copy ORLO.EXE fail !!", broadcast), -1);
    EXPECT_EQ(sim.LineIndex("fail !!", broadcast),
              sim.LineIndex("Copy ORLO.EXE fail !!", broadcast));
}

// The removal while the monitor started at logon waits out its start delay (no window yet, so no
// exit message reaches it): Windows deletes no running program's file, so ORLO.EXE stays, and so
// does the folder holding it; everything else goes.
TEST(SideBySide, TheRemovalLeavesTheFileOfAMonitorInItsStartDelay) {
    SetupFixture sim;
    Install(sim);
    host::RestartWindows(*sim.machine);
    RegisterPrograms(sim, [](SetupUser& user, const std::vector<std::string>& args) {
        if (!args.empty() && args[0] == "-UNINSTALL")
            user.Click(&TForm1::TabSheet5, &TForm1::Button9, 300);
    });
    host::LaunchSession(*sim.machine,
                        {{500, [&sim] { return sim.UninstallString(); }}, {4000, {}, true}});
    sim.machine->RunPrograms();

    EXPECT_TRUE(sim.NothingRegistered());
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
    for (const char* gone : {"ORLO.INI", "A920.INI", "SETUP.EXE", "WARNING.WAV", "skelvarind.dll"})
        EXPECT_FALSE(sim.machine->FileExists(SetupFixture::Installed(gone))) << gone;
    EXPECT_TRUE(sim.machine->DirectoryExists(SetupFixture::kProgramFolder));
    EXPECT_NE(sim.LineIndex("end C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE (ended by the system)"),
              -1);
}

// What Windows refuses: a folder on a CD-ROM; deleting, writing or replacing the file of a
// running program (reading and copying it are fine, and once it has ended it goes).
TEST(SideBySide, WindowsRefusesCdRomFoldersAndChangesToRunningProgramFiles) {
    SetupFixture sim;
    os::sim::SimMachine& machine = *sim.machine;
    machine.AddDrive('d', os::kDriveCdRom, "ORLO");
    EXPECT_FALSE(machine.CreateDirectory("D:\\ZARVO"));
    EXPECT_FALSE(machine.DirectoryExists("D:\\ZARVO"));
    EXPECT_TRUE(machine.CreateDirectory("C:\\ZARVO"));

    const std::string exe = "C:\\ZARVO\\ORLO.EXE";
    ASSERT_TRUE(machine.WriteFile(exe, "image"));
    ASSERT_TRUE(machine.WriteFile("C:\\ZARVO\\NEW.EXE", "new"));
    auto running = machine.StartProcess(exe);
    struct Case {
        const char* what;
        std::function<bool()> change;
        bool allowed;
    };
    const std::vector<Case> cases = {
        {"delete", [&] { return machine.DeleteFile(exe); }, false},
        {"delete by another spelling", [&] { return machine.DeleteFile("c:\\zarvo\\orlo.exe"); },
         false},
        {"write", [&] { return machine.WriteFile(exe, "other"); }, false},
        {"append", [&] { return machine.AppendFile(exe, "more"); }, false},
        {"copy over", [&] { return machine.CopyFile("C:\\ZARVO\\NEW.EXE", exe, false); }, false},
        {"move over", [&] { return machine.MoveFileReplace("C:\\ZARVO\\NEW.EXE", exe); }, false},
        {"copy from", [&] { return machine.CopyFile(exe, "C:\\ZARVO\\COPY.EXE", false); }, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.change(), c.allowed) << c.what;
    EXPECT_EQ(sim.Read(exe), "image");
    running.reset();
    EXPECT_TRUE(machine.DeleteFile(exe));
}

} // namespace
