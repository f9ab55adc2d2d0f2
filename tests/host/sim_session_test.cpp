// The end of a session on the simulated machine: the system ends every other program still
// running, at once, whatever it waits for; one that has not run yet runs nothing.
#include "host/Session.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(SimSession, EndingTheOtherProgramsEndsThemAtOnce) {
    const TestSandbox sandbox("orlo-session");
    os::sim::SimMachine machine(sandbox);
    for (const char* program : {"sleeper", "late", "ender"})
        machine.WriteFile(std::string("C:\\") + program + ".exe",
                          os::sim::SimMachine::ProgramImage(program));
    bool sleeperWoke = false, lateRan = false, unwound = false;
    machine.RegisterProgram("sleeper", [&](os::sim::SimProcess& process) {
        struct Unwinding {
            bool& done;
            os::sim::SimProcess& process;
            // A wait while the end unwinds the program returns at once.
            ~Unwinding() {
                process.Sleep(1000);
                done = true;
            }
        } unwinding{unwound, process};
        process.Sleep(3600000);
        sleeperWoke = true;
        return 1;
    });
    machine.RegisterProgram("late", [&](os::sim::SimProcess&) {
        lateRan = true;
        return 1;
    });
    machine.RegisterProgram("ender", [&](os::sim::SimProcess& process) {
        process.Sleep(1000);
        machine.Launch("C:\\late.exe");
        machine.EndOtherPrograms(process);
        return 0;
    });
    ASSERT_TRUE(machine.Launch("C:\\sleeper.exe"));
    ASSERT_TRUE(machine.Launch("C:\\ender.exe"));
    machine.RunPrograms();

    EXPECT_FALSE(sleeperWoke);
    EXPECT_TRUE(unwound);
    EXPECT_FALSE(lateRan);
    EXPECT_EQ(machine.ElapsedMs(), 1000u);
    ASSERT_EQ(machine.programExits.size(), 3u);
    for (const os::sim::ProgramExit& exit : machine.programExits)
        EXPECT_EQ(exit.endedBySystem, exit.exePath != "C:\\ender.exe") << exit.exePath;
}

// A logoff asks every window first: when one refuses, every window hears that the session goes
// on, and no program is ended; else the system ends each program once its windows have answered
// WM_ENDSESSION, so that its code runs no further.
TEST(SimSession, ALogoffAsksEveryWindowAndEndsTheProgramsOnlyWhenAllAllow) {
    struct Window : os::WindowSink {
        os::sim::SimProcess& process;
        std::intptr_t allow;
        std::vector<std::string>& heard;
        Window(os::sim::SimProcess& p, std::intptr_t a, std::vector<std::string>& h)
            : process(p), allow(a), heard(h) {
            process.AttachWindow(this);
        }
        ~Window() override { process.DetachWindow(this); }
        std::intptr_t Deliver(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t) override {
            heard.push_back(std::to_string(msg) + (wParam ? "+" : ""));
            return msg == 0x11 ? allow : 0;
        }
    };
    for (const bool refused : {true, false}) {
        SCOPED_TRACE(refused ? "a window refuses" : "all allow");
        const TestSandbox sandbox("orlo-logoff");
        os::sim::SimMachine machine(sandbox);
        for (const char* program : {"windowed", "shell"})
            machine.WriteFile(std::string("C:\\") + program + ".exe",
                              os::sim::SimMachine::ProgramImage(program));
        std::vector<std::string> heard;
        bool ranOn = false, ended = false;
        machine.RegisterProgram("windowed", [&](os::sim::SimProcess& process) {
            Window first(process, 1, heard), second(process, refused ? 0 : 1, heard);
            for (int i = 0; i < 10; ++i)
                process.WaitForMessage(1000);
            // The end-session answers let nothing more of it run.
            process.AnswerSentMessages();
            ranOn = true;
            return 0;
        });
        machine.RegisterProgram("shell", [&](os::sim::SimProcess& process) {
            process.Sleep(2000);
            ended = host::EndSession(process);
            return 0;
        });
        ASSERT_TRUE(machine.Launch("C:\\windowed.exe"));
        ASSERT_TRUE(machine.Launch("C:\\shell.exe"));
        machine.RunPrograms();
        EXPECT_EQ(ended, !refused);
        EXPECT_EQ(ranOn, refused);
        EXPECT_EQ(heard, (std::vector<std::string>{"17", "17", refused ? "22" : "22+",
                                                   refused ? "22" : "22+"}));
        ASSERT_EQ(machine.programExits.size(), 2u);
        EXPECT_EQ(machine.programExits[0].endedBySystem, !refused);
    }
}

// The folders programs work in: one started from outside works in its own folder; what the
// session's shell starts (the Run values) works in the shell's folder, the system folder, and
// what that starts without naming a folder works there too. A bare sound file name is looked for
// as the system searches, from the program's folder on.
TEST(SimSession, ProgramsWorkInTheirStartersFolderAndFindTheirSoundFromThere) {
    const TestSandbox sandbox("orlo-folders");
    os::sim::SimMachine machine(sandbox);
    ASSERT_TRUE(machine.CreateDirectory("C:\\APP"));
    for (const char* program : {"starter", "child"})
        machine.WriteFile(std::string("C:\\APP\\") + program + ".exe",
                          os::sim::SimMachine::ProgramImage(program));
    machine.WriteFile("C:\\APP\\warning.wav", "RIFF");
    ASSERT_TRUE(machine.RegCreateKey(os::RegRoot::LocalMachine, kRunKey));
    os::sim::RegValue run;
    run.name = "Starter";
    run.text = "C:\\APP\\starter.exe";
    ASSERT_TRUE(machine.RegSet(os::RegRoot::LocalMachine, kRunKey, run));
    std::vector<std::string> folders;
    bool soundFound = false;
    machine.RegisterProgram("starter", [&](os::sim::SimProcess& process) {
        folders.push_back(process.CurrentDirectory);
        soundFound = process.PlaySound("warning.wav", os::kSndFilename | os::kSndAsync);
        process.ShellExecute(0, "open", "C:\\APP\\child.exe", "", "", os::kSwShowNormal);
        return 0;
    });
    machine.RegisterProgram("child", [&](os::sim::SimProcess& process) {
        folders.push_back(process.CurrentDirectory);
        return 0;
    });
    ASSERT_TRUE(machine.Launch("C:\\APP\\child.exe"));
    host::LaunchSession(machine, {});
    machine.RunPrograms();
    EXPECT_EQ(folders, (std::vector<std::string>{"C:\\APP\\", "C:\\WINDOWS\\system32",
                                                 "C:\\WINDOWS\\system32"}));
    EXPECT_TRUE(soundFound);
}

} // namespace
