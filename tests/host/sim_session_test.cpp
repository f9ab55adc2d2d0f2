// The end of a session on the simulated machine: the system ends every other program still
// running, at once, whatever it waits for; one that has not run yet runs nothing.
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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

} // namespace
