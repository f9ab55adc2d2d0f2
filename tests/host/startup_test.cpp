// Start-up and lifecycle of the monitor on the simulated machine: single instance, start delay,
// driver open, the construction's stops, VCore handling, exit message and page sizes.
#include "monitor/Driver.h"
#include "monitor/MainForm.h"
#include "monitor/MonitorProgram.h"
#include "monitor/SystemHelpers.h"
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/HeadlessPlatform.h"

#include "SimFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

using monitor::TForm1;

namespace {

// One monitor process on a fresh simulated machine with the distribution files installed.
class Startup : public ::testing::Test {
  protected:
    // Starts the monitor; `script` schedules the user's actions on its platform. The run ends
    // by itself or at `stopAfterMs` with the exit message.
    int Run(std::vector<std::string> args, std::uint32_t stopAfterMs,
            const std::function<void(ui::HeadlessPlatform&)>& script = {}) {
        sim.Restart(std::move(args));
        process = sim.process.get();
        platform = sim.platform.get();
        if (script) script(*platform);
        platform->At(machine->Tick() + stopAfterMs, [this] { SendExit(); });
        return monitor::MonitorMain(*process, *platform);
    }

    void SendExit() {
        process->BroadcastMessage(process->RegisterWindowMessage("EXITZarvoORLO"), 0, 0);
    }

    TForm1* Form1() const { return sim.Form1(); }
    std::vector<std::string> Messages() const { return sim.Messages(); }

    std::uint32_t CountCode(std::uint32_t code) const {
        return static_cast<std::uint32_t>(machine->RequestsWithCode(code).size());
    }

    SimFixture sim;
    os::sim::SimMachine* machine = sim.machine.get();
    os::sim::SimProcess* process = nullptr;
    ui::HeadlessPlatform* platform = nullptr;
};

TEST_F(Startup, ReachesTheTrayAndEndsOnTheExitMessage) {
    bool hiddenInTray = false, trayIconShown = false;
    ui::TCursor screenCursor = ui::TCursor::crHourGlass;
    int code = Run({}, 5000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 4000, [&] {
            hiddenInTray =
                Form1()->Minimized() && !Form1()->Active() && Form1()->TrayIcon1.Minimized();
            trayIconShown = Form1()->TrayIcon1.Visible();
            screenCursor = Form1()->App().ScreenCursor();
        });
    });
    // The wait and arrow cursors around the driver's opening are the system's, shown once: the
    // screen cursor stays the default, so edits keep their text cursor and links their hand.
    EXPECT_EQ(screenCursor, ui::TCursor::crDefault);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(hiddenInTray);
    EXPECT_TRUE(trayIconShown);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(CountCode(monitor::IOCTL_MBDRVR_READ_PCI), 1u);
    EXPECT_EQ(CountCode(monitor::IOCTL_MBDRVR_READ_MBID), 1u);
    auto sensors = machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS);
    ASSERT_GE(sensors.size(), 2u);
    std::vector<std::uint8_t> chipOnly(19, 0), withDivisors(19, 0);
    chipOnly[0] = 1;
    for (int i = 0; i < 4; ++i)
        withDivisors[static_cast<size_t>(i)] = 1;
    EXPECT_EQ(sensors[0].input, chipOnly);
    EXPECT_EQ(sensors[1].input, withDivisors);
    // The mutex is gone once the program has ended.
    EXPECT_FALSE(machine->MutexExists("ZarvoORLO"));
}

TEST_F(Startup, SecondInstanceAsksTheFirstToRestoreOnTheFanPage) {
    int secondCode = -1;
    bool restoredOnFanPage = false;
    Run({}, 10000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 2000,
             [&] { Form1()->PageControl1.SetActivePage(&Form1()->TabSheetConfigure); });
        p.At(machine->Tick() + 3000, [&] {
            auto second = machine->StartProcess(SimFixture::kExe);
            ui::HeadlessPlatform secondPlatform(*second);
            secondCode = monitor::MonitorMain(*second, secondPlatform);
            restoredOnFanPage =
                !Form1()->Minimized() && Form1()->PageControl1.ActivePage() == &Form1()->TabSheet1;
        });
    });
    EXPECT_EQ(secondCode, 1);
    EXPECT_TRUE(restoredOnFanPage);
    // The second instance opened no driver and created no window.
    EXPECT_EQ(CountCode(monitor::IOCTL_MBDRVR_READ_PCI), 1u);
}

struct DelayCase {
    std::vector<std::string> args;
    std::uint32_t firstRequestAtMs; // when the driver is first asked for anything
};

class StartDelay : public Startup, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(StartDelay, WaitsWhileMessagesAreDispatched) {
    bool dispatchedDuringDelay = false;
    Run(GetParam().args, 8000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 50, [&] { dispatchedDuringDelay = true; });
    });
    auto pci = machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_PCI);
    ASSERT_EQ(pci.size(), 1u);
    EXPECT_EQ(pci[0].time - machine->Config().startTick, GetParam().firstRequestAtMs);
    EXPECT_TRUE(dispatchedDuringDelay);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, StartDelay,
    ::testing::Values(DelayCase{{"5000"}, 5000}, DelayCase{{"0"}, 100}, DelayCase{{}, 0},
                      DelayCase{{""}, 0}, DelayCase{{"150"}, 200},
                      // Text that is no non-negative 32-bit decimal number means no wait.
                      DelayCase{{"abc"}, 0}, DelayCase{{"-5000"}, 0}, DelayCase{{"12abc"}, 0},
                      DelayCase{{"4294967296"}, 0}));

TEST_F(Startup, DriverThatAppearsAfterTenSecondsIsOpenedOnTheEleventhAttempt) {
    machine->Config().driverAppearsAfterMs = 10000;
    Run({}, 20000);
    EXPECT_EQ(machine->OpenAttempts(), 11);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(CountCode(monitor::IOCTL_MBDRVR_READ_PCI), 1u);
}

TEST_F(Startup, DriverThatNeverAppearsEndsTheProgramWithOneMessage) {
    machine->Config().driverAppearsAfterMs = -1;
    bool windowShown = false;
    int code = Run({}, 400000, [&](ui::HeadlessPlatform& p) {
        p.When([&] { return Form1() && Form1()->Visible(); }, [&] { windowShown = true; });
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(machine->OpenAttempts(), 255);
    EXPECT_EQ(Messages(), std::vector<std::string>{"ORLO: Open Driver faild 2 ! \n"});
    // It sleeps after the last failed attempt too.
    EXPECT_GE(machine->ElapsedMs(), 255000u);
    EXPECT_LT(machine->ElapsedMs(), 256000u);
    EXPECT_FALSE(windowShown);
    EXPECT_TRUE(machine->DriverRequests().empty());
}

struct StopCase {
    const char* what;
    std::function<void(BoardState&)> board;
    std::vector<std::string> messages;
};

class StartupStop : public Startup, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StartupStop, ShowsItsMessageAndEndsWithoutSaving) {
    GetParam().board(machine->Board());
    bool windowShown = false;
    int code = Run({}, 60000, [&](ui::HeadlessPlatform& p) {
        p.When([&] { return Form1() && Form1()->Visible(); }, [&] { windowShown = true; });
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Messages(), GetParam().messages);
    EXPECT_FALSE(windowShown);
    for (const auto& line : machine->Transcript())
        EXPECT_EQ(line.find("ini write"), std::string::npos) << line;
    // The loop ended at once: the run did not last until the scripted exit.
    EXPECT_LT(machine->ElapsedMs(), 1000u);
}

int Bit(std::uint32_t code) {
    return board_code_index(code);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartupStop,
    ::testing::Values(
        StopCase{"pci",
                 [](BoardState& b) { b.fail_mask = 1u << Bit(0x222018); },
                 {"Get PCI Info Fail!!"}},
        StopCase{"zero id", [](BoardState& b) { b.board_id[0] = 0; }, {"Incorrect BIOS ID"}},
        // A failed id request hands back zeros, so the id is refused.
        StopCase{"mbid request",
                 [](BoardState& b) { b.fail_mask = 1u << Bit(0x222010); },
                 {"IOCTL_MBDRVR_READ_MBID", "Incorrect BIOS ID"}},
        StopCase{"chip", [](BoardState& b) { b.chip_id = 0x55; }, {"Unknown Hardware Monitor!!"}},
        StopCase{"divisor",
                 [](BoardState& b) {
                     b.chip_id = 0x90;
                     b.fan_divisor[0] = 2;
                     b.fan_divisor[1] = 0;
                     b.fan_divisor[2] = 2;
                 },
                 {"Read fan divisor fail"}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

TEST_F(Startup, ZeroDivisorIsAcceptedOnChip92) {
    machine->Board().chip_id = 0x92;
    machine->Board().fan_divisor[0] = machine->Board().fan_divisor[1] = 0;
    Run({}, 3000);
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    EXPECT_EQ(machine->Transcript().back().find("exit"), std::string::npos);
}

std::vector<std::vector<std::uint8_t>> VCoreInputs(const os::sim::SimMachine& machine) {
    std::vector<std::vector<std::uint8_t>> inputs;
    for (const auto& r : machine.RequestsWithCode(monitor::IOCTL_SET_VCORE))
        inputs.push_back(r.input);
    return inputs;
}

TEST_F(Startup, VCoreIsSetAtStartAndResumeAndResetAtCloseOnChip91) {
    machine->Board().chip_id = 0x91;
    for (auto& d : machine->Board().fan_divisor)
        d = 2;
    machine->Board().vcore_reply = 0x37;
    Run({}, 60000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 2000, [&] {
            machine->Board().vcore_reply = 0x38;
            process->BroadcastMessage(ui::WM_POWERBROADCAST, ui::PBT_APMRESUMESUSPEND, 0);
            process->BroadcastMessage(ui::WM_POWERBROADCAST, 4, 0); // suspend: nothing
        });
        p.At(machine->Tick() + 3000, [&] { Form1()->Exit1.UserClick(); });
    });
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(VCoreInputs(*machine), (std::vector<Bytes>{{1, 0}, {1, 0}, {0, 0x38}}));
    EXPECT_LT(machine->ElapsedMs(), 10000u); // the Exit item ended the program
}

TEST_F(Startup, ExitMessageSkipsTheCloseStepsButClosesTheDriver) {
    machine->Board().chip_id = 0x91;
    for (auto& d : machine->Board().fan_divisor)
        d = 2;
    Run({}, 3000);
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(VCoreInputs(*machine), (std::vector<Bytes>{{1, 0}}));
    bool closed = false;
    for (const auto& line : machine->Transcript())
        closed = closed || line.find("driver closed") != std::string::npos;
    EXPECT_TRUE(closed);
}

TEST_F(Startup, NoVCoreRequestsAndNoFanRestoreOnOtherChips) {
    machine->Board().chip_id = 0x90;
    for (auto& d : machine->Board().fan_divisor)
        d = 2;
    Run({}, 60000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 2000, [&] {
            process->BroadcastMessage(ui::WM_POWERBROADCAST, ui::PBT_APMRESUMESUSPEND, 0);
        });
        p.At(machine->Tick() + 3000, [&] { Form1()->Exit1.UserClick(); });
    });
    EXPECT_TRUE(VCoreInputs(*machine).empty());
    EXPECT_EQ(CountCode(monitor::IOCTL_MBDRVR_SMART_FAN_RESOTRE), 0u);
}

TEST_F(Startup, FailedVCoreSetShowsItsMessageAndGoesOnWithZero) {
    machine->Board().chip_id = 0x91;
    for (auto& d : machine->Board().fan_divisor)
        d = 2;
    machine->Board().fail_mask = 1u << Bit(0x222014);
    std::uint8_t saved = 0xFF;
    Run({}, 60000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 2000, [&] {
            saved = Form1()->Program().SavedVCore;
            Form1()->Exit1.UserClick();
        });
    });
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"IOCTL_SET_VCORE fail", "IOCTL_RESET_VCORE fail"}));
}

// The Windows 9x path reads the id from the BIOS segment through the first matching selector.
TEST_F(Startup, UnnamedSystemReadsTheIdThroughTheSelectorWalk) {
    machine->Config().version = {6, 0, 6000, os::kPlatformNT, ""};
    os::LdtEntry other{0xFFFF, 0x0000, 0x0E, 0, 0, 0}; // base 0xE0000: no match
    machine->selectors[15] = other;
    machine->PutBoardIdInBios("ZRV-A920", 0x1F7);
    machine->selectors[0x2F7] = machine->selectors[0x1F7]; // a later match, never asked
    machine->Board().board_id[0] = 0;                      // the driver's id is not asked for
    Run({}, 3000);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(CountCode(monitor::IOCTL_MBDRVR_READ_MBID), 0u);
    EXPECT_EQ(machine->selectorQueries.back(), 0x1F7u);
}

TEST_F(Startup, SelectorWalkWithoutMatchEndsAfterSelectorFFFF) {
    machine->Config().version = {4, 10, 1998, os::kPlatformWin9x, ""};
    Run({}, 3000);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Incorrect BIOS ID"});
    ASSERT_EQ(machine->selectorQueries.size(), 8192u);
    EXPECT_EQ(machine->selectorQueries.front(), 7u);
    EXPECT_EQ(machine->selectorQueries.back(), 0xFFFFu);
}

struct SizeCase {
    int ppi;
    std::function<void(TForm1&)> show;
    int width, height;
};

class PageSize : public Startup, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PageSize, FollowsThePixelsPerInch) {
    machine->Config().pixelsPerInch = GetParam().ppi;
    int width = 0, height = 0;
    Run({}, 60000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 2000, [&] {
            GetParam().show(*Form1());
            width = Form1()->Width();
            height = Form1()->Height();
            Form1()->Exit1.UserClick();
        });
    });
    EXPECT_EQ(width, GetParam().width);
    EXPECT_EQ(height, GetParam().height);
}

void ShowFan(TForm1& f) {
    f.Open1.UserClick();
}
void ShowConfigure(TForm1& f) {
    f.Setup1.UserClick();
}
void ShowSetup(TForm1& f) {
    f.TrayIcon1.UserLeftClick();
    f.PageControl1.UserSelect(&f.tabSetup);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageSize,
    ::testing::Values(SizeCase{96, ShowFan, 383, 376}, SizeCase{97, ShowFan, 480, 455},
                      SizeCase{96, ShowConfigure, 555, 338}, SizeCase{120, ShowConfigure, 676, 418},
                      SizeCase{96, ShowSetup, 383, 366}, SizeCase{144, ShowSetup, 383, 400}));

TEST_F(Startup, FanPageShowRestartsTheAnimationAndOtherPagesStopIt) {
    bool onFan = false, offConfigure = true;
    Run({}, 60000, [&](ui::HeadlessPlatform& p) {
        p.At(machine->Tick() + 2000, [&] {
            Form1()->Setup1.UserClick();
            offConfigure = Form1()->TimerFanAnimate.Enabled();
            Form1()->PageControl1.UserSelect(&Form1()->TabSheet1);
            onFan = Form1()->TimerFanAnimate.Enabled() && Form1()->TimerFanAnimate.Interval() == 1;
            Form1()->Exit1.UserClick();
        });
    });
    EXPECT_FALSE(offConfigure);
    EXPECT_TRUE(onFan);
}

} // namespace

TEST(OSName, Table) {
    struct Case {
        os::VersionInfo version;
        const char* name;
    } cases[] = {
        {{3, 1, 0, os::kPlatformWin32s, ""}, "32S"},
        {{4, 0, 950, os::kPlatformWin9x, ""}, "95"},
        {{4, 10, 1998, os::kPlatformWin9x, ""}, "98"},
        {{4, 90, 3000, os::kPlatformWin9x, ""}, "ME"},
        {{4, 20, 0, os::kPlatformWin9x, ""}, ""},
        {{3, 51, 1057, os::kPlatformNT, ""}, "NT3"},
        {{4, 0, 1381, os::kPlatformNT, ""}, "NT4"},
        {{4, 9, 0, os::kPlatformNT, ""}, "NT4"},
        {{5, 0, 2195, os::kPlatformNT, ""}, "2000"},
        {{5, 1, 2600, os::kPlatformNT, ""}, "XP"},
        {{5, 2, 3790, os::kPlatformNT, ""}, "SERVER2003"},
        {{5, 7, 0, os::kPlatformNT, ""}, "SERVER2003"},
        {{6, 0, 6000, os::kPlatformNT, ""}, ""},
        {{10, 0, 19041, os::kPlatformNT, ""}, ""},
        {{5, 1, 0, 3, ""}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(monitor::OSNameOf(c.version), c.name)
            << c.version.platformId << " " << c.version.majorVersion << "."
            << c.version.minorVersion;
}

TEST(LanguageName, Table) {
    struct Case {
        std::uint32_t lcid;
        const char* name;
    } cases[] = {
        {0x0409, "ENGLISH"},
        {0x0804, "CHINESE_SIMPLIFIED"},
        {0x0404, "CHINESE_TRADITIONAL"},
        {0x0C04, "CHINESE_TRADITIONAL"},
        {0x1004, "CHINESE_TRADITIONAL"},
        {0x1404, "CHINESE_TRADITIONAL"},
        {0x0411, "JAPANESE"},
        {0x0412, "KOREAN"},
        {0x0407, "GERMAN"},
        {0x042B, "ENGLISH"},
        {0x0417, "ENGLISH"},
        {0x0436, "AFRIKAANS"},
        {0x0438, "FAEROESE"},
        {0x0439, "ENGLISH"},
        {0x0000, "NEUTRAL"},
        {0x042D, "BASQUE"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(monitor::LanguageNameOf(c.lcid), c.name) << std::hex << c.lcid;
}

TEST(FormatText, FormatsWithoutAFixedLimit) {
    EXPECT_EQ(monitor::FormatText("%d", 45), "45");
    const char* empty = "";
    EXPECT_EQ(monitor::FormatText(empty), "");
    std::string name(12000, 'x');
    std::string text = monitor::FormatText("%s - %s%ld\n", name.c_str(), "fan 1 RPM, ", 17L);
    EXPECT_EQ(text, name + " - fan 1 RPM, 17\n");
}

TEST(PostCode, DecimalDigitsAreSentAsHexadecimal) {
    EXPECT_EQ(monitor::PostCodeValue(9), 0x9u);
    EXPECT_EQ(monitor::PostCodeValue(45), 0x45u);
    EXPECT_EQ(monitor::PostCodeValue(100), 0x100u);
    EXPECT_EQ(monitor::PostCodeValue(256), 0x256u);
}

// Restoring from the tray shows the window again, but its page stays shown all along: only a
// page change runs a show handler (a missing logo picture is reported on those alone).
TEST(TrayRestore, RunsNoShowHandlerOfThePageThatStaysActive) {
    SimFixture sim;
    std::string ini = sim.ReadProgramFile("A920.INI");
    ini.replace(ini.find("[LOGO]\r\nENABLED=0"), 17, "[LOGO]\r\nENABLED=1\r\nFILENAME=missing.bmp");
    sim.WriteProgramFile("A920.INI", ini);
    std::size_t boxesAfterStart = 0, boxesAfterRestores = 0;
    sim.At(1000, [&](TForm1& f) {
        boxesAfterStart = sim.Messages().size();
        for (int i = 0; i < 3; ++i) {
            f.TrayIcon1.Minimize();
            f.TrayIcon1.UserLeftClick();
        }
        boxesAfterRestores = sim.Messages().size();
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
    });
    sim.RunFor(2000);
    const std::string box = "Cannot open file \"" + SimFixture::ProgramPath("missing.bmp") +
                            "\". The system cannot find the file specified.";
    EXPECT_EQ(boxesAfterStart, 1u);
    EXPECT_EQ(boxesAfterRestores, 1u);
    EXPECT_EQ(sim.Messages(), (std::vector<std::string>{box, box}));
}

// An exception that is no class-library error leaves the program at once; the windows are
// destroyed (their destruction saves and closes the driver) while the program-wide values they
// use still exist. Under AddressSanitizer a wrong order shows as a use after free.
TEST(UnexpectedException, LeavesAfterTheWindowsAreDestroyed) {
    SimFixture sim;
    sim.At(3000, [](TForm1&) { throw std::runtime_error("unexpected"); });
    EXPECT_THROW(sim.RunFor(5000), std::runtime_error);
    EXPECT_FALSE(sim.Form1());
}
