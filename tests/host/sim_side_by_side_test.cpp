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
// it gives up, and the installer goes on. (The retries do not look at the application's end: the
// monitor runs on until they are over.)
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
}

} // namespace
