// The privilege switch and the privileged shutdown on the simulated machine.
#include "common/Privilege.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

struct Case {
    const char* what;
    bool tokenFails, lookupFails, adjustFails, exitFails;
    bool result;
    std::vector<std::uint32_t> requests;
    std::vector<std::pair<std::string, bool>> changes;
};

TEST(ShutdownWindows, SwitchesThePrivilegeAroundTheRequest) {
    const std::pair<std::string, bool> on{"SeShutdownPrivilege", true},
        off{"SeShutdownPrivilege", false};
    const Case cases[] = {
        {"all well", false, false, false, false, true, {8}, {on, off}},
        {"request refused", false, false, false, true, false, {8}, {on, off}},
        // No valid token or privilege id: no adjustment and no request at all.
        {"token", true, false, false, false, false, {}, {}},
        {"lookup", false, true, false, false, false, {}, {}},
        {"adjust refused", false, false, true, false, false, {}, {on}},
    };
    for (const Case& c : cases) {
        TestSandbox sandbox("orlo-privilege");
        os::sim::SimMachine machine(sandbox);
        machine.Config().tokenOpenFails = c.tokenFails;
        machine.Config().privilegeLookupFails = c.lookupFails;
        machine.Config().privilegeAdjustFails = c.adjustFails;
        machine.Config().exitWindowsFails = c.exitFails;
        auto process = machine.StartProcess("C:\\ORLO.EXE");
        EXPECT_EQ(common::ShutdownWindows(*process, os::kEwxPowerOff), c.result) << c.what;
        EXPECT_EQ(machine.exitWindowsRequests, c.requests) << c.what;
        EXPECT_EQ(machine.privilegeChanges, c.changes) << c.what;
        for (const auto& line : machine.Transcript())
            EXPECT_EQ(line.find("invalid"), std::string::npos) << c.what << ": " << line;
        process.reset();
    }
}

} // namespace
