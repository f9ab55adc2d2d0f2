// The warning window on the simulated machine: its sound and speaker tones, its three steps,
// and the system shutdown by OS name, with the NT4 batch command; the fonts of its labels and
// of the attention dialog's.
#include "SimFixture.h"

#include "monitor/AttentionDialog.h"
#include "monitor/Driver.h"
#include "monitor/WarningForm.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

using Sounds = std::vector<std::pair<std::string, std::uint32_t>>;
const std::pair<std::string, std::uint32_t> kPlay{"warning.wav", 0x20009};
const std::pair<std::string, std::uint32_t> kStop{"", 0};
const std::vector<std::uint8_t> kHigh{0x04, 0x17}, kLow{0x02, 0x0B};
const std::string kFan0Entry =
    "Your 'CPU FAN' Speed exceed the limit , Action when exceed the limitations: Ask Me";

struct Warning : ::testing::Test {
    SimFixture sim;
    bool reachedEnd = false;

    // Fan 0 stopped from the start with "Ask Me": the first tick (at 100 ms) shows the window.
    void StoppedFan(std::vector<IniKey> keys = {}) {
        std::vector<IniKey> all = Monitored("FAN0", 3000, 9000);
        all.insert(all.end(), keys.begin(), keys.end());
        sim.WriteProgramFile("A920.INI", ScenarioBoardIni(all));
        StopFan92(sim.machine->Board(), 0);
    }
    monitor::TFormWarning* Window() const {
        return sim.Form1() ? sim.Form1()->Program().FormWarning : nullptr;
    }
    // The user presses a button of the window `delay` ms after it first shows.
    void PressWhenShown(std::function<ui::TButton&(monitor::TFormWarning&)> button,
                        std::uint32_t delay) {
        sim.platform->When([this] { return Window() && Window()->Visible(); },
                           [this, button] { button(*Window()).UserClick(); }, delay);
    }
    void Run(std::uint32_t ms, const std::function<void(TForm1&)>& check = {}) {
        sim.RunFor(ms, [&](MonitorProgram& p) {
            if (check) check(*p.Form1);
            reachedEnd = true;
        });
    }
    std::uint32_t RunMs(const os::sim::DriverRequest& r) const {
        return r.time - sim.machine->Config().startTick;
    }
    std::vector<os::sim::DriverRequest> Requests(std::uint32_t code) const {
        return sim.machine->RequestsWithCode(code);
    }
};

// --- sound and tones ----------------------------------------------------------------------------

struct SpeakerCase {
    const char* what;
    bool external, system;
    Sounds sounds;
    size_t tones, offs;
};
std::ostream& operator<<(std::ostream& os, const SpeakerCase& c) {
    return os << c.what;
}

class Speakers : public Warning, public ::testing::WithParamInterface<SpeakerCase> {};

// One showing from 100 ms until Ignore at 1900 ms: the sound loops while it is shown, the
// tones come every 500 ms from 600 ms, and hiding stops what the flags started.
TEST_P(Speakers, SoundWhileTheWindowIsShown) {
    const SpeakerCase& c = GetParam();
    StoppedFan(
        {{"SYSTEM", "EXTSPK", c.external ? "1" : "0"}, {"SYSTEM", "SYSSPK", c.system ? "1" : "0"}});
    PressWhenShown([](monitor::TFormWarning& w) -> ui::TButton& { return w.IgnoreButton; }, 1800);
    Run(1950, [&](TForm1&) { EXPECT_FALSE(Window()->Visible()); });
    EXPECT_EQ(sim.machine->sounds, c.sounds);
    auto tones = Requests(monitor::IOCTL_MBDRVR_SPEAKER_TONE);
    ASSERT_EQ(tones.size(), c.tones);
    for (size_t i = 0; i < tones.size(); ++i) {
        EXPECT_EQ(RunMs(tones[i]), 600 + 500 * i);
        EXPECT_EQ(tones[i].input, i % 2 == 0 ? kHigh : kLow);
        EXPECT_EQ(tones[i].outSize, 0u);
    }
    auto offs = Requests(monitor::IOCTL_MBDRVR_SPEAKER_OFF);
    ASSERT_EQ(offs.size(), c.offs);
    if (!offs.empty()) {
        EXPECT_EQ(RunMs(offs[0]), 1900u);
        EXPECT_TRUE(offs[0].input.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, Speakers,
                         ::testing::Values(SpeakerCase{"Neither", false, false, {}, 0, 0},
                                           SpeakerCase{
                                               "OnlyExternal", true, false, {kPlay, kStop}, 0, 0},
                                           SpeakerCase{"OnlySystem", false, true, {}, 3, 1},
                                           SpeakerCase{"Both", true, true, {kPlay, kStop}, 3, 1}),
                         [](const auto& info) { return std::string(info.param.what); });

// The tone toggle is never reset: the second showing starts with the tone after the last one
// of the first. Each hiding switches the speaker off once.
TEST_F(Warning, TonesContinueTheirAlternationAcrossShowings) {
    StoppedFan({{"SYSTEM", "SYSSPK", "1"}});
    PressWhenShown([](monitor::TFormWarning& w) -> ui::TButton& { return w.IgnoreButton; }, 1800);
    // Hidden at 1900 ms; the next tick (the main window restarts its timer at 100 ms on its
    // activation) shows it again at 2000 ms; the exit message hides it at 3300 ms.
    Run(3300);
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> tones;
    for (const auto& r : Requests(monitor::IOCTL_MBDRVR_SPEAKER_TONE))
        tones.push_back({RunMs(r), r.input});
    EXPECT_EQ(tones, (std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>{
                         {600, kHigh}, {1100, kLow}, {1600, kHigh}, {2500, kLow}, {3000, kHigh}}));
    std::vector<std::uint32_t> offs;
    for (const auto& r : Requests(monitor::IOCTL_MBDRVR_SPEAKER_OFF))
        offs.push_back(RunMs(r));
    EXPECT_EQ(offs, (std::vector<std::uint32_t>{1900, 3300}));
    EXPECT_TRUE(sim.machine->sounds.empty());
}

// Activated again while shown, the window starts the sound anew; the tones keep their rhythm.
TEST_F(Warning, ReactivationRestartsTheSoundButNotTheTones) {
    StoppedFan({{"SYSTEM", "EXTSPK", "1"}, {"SYSTEM", "SYSSPK", "1"}});
    sim.At(1000, [&](TForm1& f) {
        f.App().Activate(&f);
        f.App().Activate(Window());
    });
    Run(1700);
    EXPECT_EQ(sim.machine->sounds, (Sounds{kPlay, kPlay, kStop}));
    std::vector<std::uint32_t> times;
    for (const auto& r : Requests(monitor::IOCTL_MBDRVR_SPEAKER_TONE))
        times.push_back(RunMs(r));
    EXPECT_EQ(times, (std::vector<std::uint32_t>{600, 1100, 1600}));
}

// --- fonts ---------------------------------------------------------------------------------

// The labels of both windows carry the colour, style and size their windows name; the others
// keep the class library's default font.
TEST_F(Warning, LabelsCarryTheFontsTheirWindowsName) {
    struct FontCase {
        const char* label;
        std::function<const ui::Control&(MonitorProgram&)> control;
        ui::TColor color;
        ui::TFontStyles style;
        int size;
    };
    using monitor::TFormWarning;
    using monitor::TOKBottomDlgAttention;
    auto warning = [](ui::TLabel TFormWarning::*member) {
        return [member](MonitorProgram& p) -> const ui::Control& { return p.FormWarning->*member; };
    };
    auto attention = [](ui::TLabel TOKBottomDlgAttention::*member) {
        return [member](MonitorProgram& p) -> const ui::Control& {
            return p.OKBottomDlgAttention->*member;
        };
    };
    const FontCase cases[] = {
        {"Label1", warning(&TFormWarning::Label1), ui::clRed, ui::fsBold, 14},
        {"LabelMsg", warning(&TFormWarning::LabelMsg), ui::clBlue, ui::fsBold, 8},
        {"LabelDateTime", warning(&TFormWarning::LabelDateTime), ui::clBlue, ui::fsBold, 8},
        {"LabelIgnore", warning(&TFormWarning::LabelIgnore), ui::clWindowText, ui::fsBold, 8},
        {"Label4", warning(&TFormWarning::Label4), ui::clWindowText, ui::fsBold, 8},
        {"Label5", warning(&TFormWarning::Label5), ui::clWindowText, ui::fsBold, 8},
        {"LabelAttention", attention(&TOKBottomDlgAttention::LabelAttention), ui::clBlue,
         ui::fsBold, 8},
        {"LabelText1", attention(&TOKBottomDlgAttention::LabelText1), ui::clWindowText, 0, 8},
        {"LabelText2", attention(&TOKBottomDlgAttention::LabelText2), ui::clWindowText, 0, 8},
        {"Label1 (attention)", attention(&TOKBottomDlgAttention::Label1), ui::clWindowText, 0, 8},
    };
    Run(200, [&](TForm1& f) {
        for (const FontCase& c : cases) {
            const ui::TFont& font = c.control(f.Program()).Font();
            EXPECT_EQ(font.Color, c.color) << c.label;
            EXPECT_EQ(font.Style, c.style) << c.label;
            EXPECT_EQ(font.Size, c.size) << c.label;
            EXPECT_EQ(font.Name, "MS Sans Serif") << c.label;
        }
    });
    EXPECT_TRUE(reachedEnd);
}

// --- Ignore and Disable
// -----------------------------------------------------------------------------

// Both steps look the channel up exactly; without a match they leave the window as it is.
TEST_F(Warning, StepsWithoutMatchingChannelDoNothing) {
    StoppedFan();
    sim.At(1000, [&](TForm1& f) {
        f.Program().AlarmChannel = "FAN0";
        Window()->IgnoreButton.UserClick();
        Window()->DisalbeButton.UserClick();
        EXPECT_TRUE(Window()->Visible());
        for (bool flag : f.Program().IgnoreFlags)
            EXPECT_FALSE(flag);
        EXPECT_TRUE(f.CheckBoxFan0.Checked());
        f.Program().AlarmChannel = "fan0";
        Window()->DisalbeButton.UserClick();
        EXPECT_FALSE(f.CheckBoxFan0.Checked());
        EXPECT_NE(sim.ReadProgramFile("A920.INI").find("NAME=CPU FAN\r\nMONITOR=0\r\n"),
                  std::string::npos);
    });
    Run(1500, [&](TForm1&) { EXPECT_FALSE(Window()->Visible()); });
    EXPECT_EQ(LinesContaining(sim.ReadProgramFile("log.txt"), "exceed"),
              std::vector<std::string>{kFan0Entry});
}

// A close by the system (Alt+F4, any WM_CLOSE; the window has no close box) ends the showing
// without a step: the sound and the tones stop as at every hiding and the alarm logs its entry,
// but no ignore flag is set, the monitor box stays checked and nothing is shut down. The channel
// still out of range, the next tick warns again, as after "Ignore".
TEST_F(Warning, ClosedBySystemEndsTheShowingWithoutAStep) {
    StoppedFan({{"SYSTEM", "EXTSPK", "1"}, {"SYSTEM", "SYSSPK", "1"}});
    sim.platform->When([this] { return Window() && Window()->Visible(); },
                       [this] { Window()->UserClose(); }, 800);
    bool hiddenAfterClose = false;
    sim.At(950, [&](TForm1& f) {
        hiddenAfterClose = !Window()->Visible();
        EXPECT_EQ(f.Program().AlarmChannel, "fan0");
        EXPECT_EQ(LinesContaining(sim.ReadProgramFile("log.txt"), "exceed"),
                  std::vector<std::string>{kFan0Entry});
    });
    Run(1500, [&](TForm1& f) {
        EXPECT_TRUE(Window()->Visible()); // warned again at the next tick
        for (bool flag : f.Program().IgnoreFlags)
            EXPECT_FALSE(flag);
        EXPECT_TRUE(f.CheckBoxFan0.Checked());
    });
    EXPECT_TRUE(reachedEnd);
    EXPECT_TRUE(hiddenAfterClose);
    EXPECT_EQ(sim.machine->sounds, (Sounds{kPlay, kStop, kPlay, kStop}));
    std::vector<std::uint32_t> offs;
    for (const auto& r : Requests(monitor::IOCTL_MBDRVR_SPEAKER_OFF))
        offs.push_back(RunMs(r));
    EXPECT_EQ(offs, (std::vector<std::uint32_t>{900, 1500}));
    EXPECT_TRUE(sim.machine->exitWindowsRequests.empty());
    EXPECT_TRUE(sim.Messages().empty());
}

// --- the system shutdown
// ----------------------------------------------------------------------------

struct ShutdownCase {
    const char* what;
    os::VersionInfo version;
    bool batchFile;
    const char* osAtShutdown; // the system reports this version when the step runs; "" = same
    bool buttonEnabled;
    std::vector<std::uint32_t> exitRequests;
    bool privileged;
    std::vector<std::string> commands;
};
std::ostream& operator<<(std::ostream& os, const ShutdownCase& c) {
    return os << c.what;
}

class Shutdown : public Warning, public ::testing::WithParamInterface<ShutdownCase> {};

const os::VersionInfo kXP{5, 1, 2600, os::kPlatformNT, ""};
const os::VersionInfo kNT4{4, 0, 1381, os::kPlatformNT, ""};
const os::VersionInfo kNT3{3, 51, 1057, os::kPlatformNT, ""};
const os::VersionInfo k98{4, 10, 1998, os::kPlatformWin9x, ""};
const char* const kBatchCommand =
    "\"C:\\Program Files\\ZARVO\\ORLO\\shut.bat\" C: C:\\PROGRA~1\\ZARVO\\ORLO";

// The step stops the sound, asks for the shutdown by the method of the OS name, and ends the
// program whatever the request did.
TEST_P(Shutdown, PicksTheMethodByTheOSName) {
    const ShutdownCase& c = GetParam();
    sim.machine->Config().version = c.version;
    std::vector<IniKey> keys;
    if (c.batchFile) {
        keys.push_back({"NT4 SHUTDOWN", "BATCH FILE", " shut.bat "});
        sim.WriteProgramFile("shut.bat", "@echo off\r\n");
    }
    sim.WriteProgramFile("A920.INI", ScenarioBoardIni(keys));
    sim.At(500, [&](TForm1& f) {
        EXPECT_EQ(Window()->ShutdownButton.Enabled(), c.buttonEnabled);
        if (*c.osAtShutdown) sim.machine->Config().version = k98;
        Window()->ShutdownButtonClick(nullptr);
        EXPECT_TRUE(f.App().Terminated());
    });
    Run(2000);
    EXPECT_FALSE(reachedEnd);
    ASSERT_FALSE(sim.machine->sounds.empty());
    EXPECT_EQ(sim.machine->sounds.front(), kStop);
    EXPECT_EQ(sim.machine->exitWindowsRequests, c.exitRequests);
    EXPECT_EQ(sim.machine->privilegeChanges.size(), c.privileged ? 2u : 0u);
    EXPECT_EQ(sim.machine->execCommands, c.commands);
    // The step itself never sets the shutdown flag.
    EXPECT_NE(sim.ReadProgramFile("A920.INI").find("SHUTDOWN=0\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, Shutdown,
    ::testing::Values(
        ShutdownCase{"Win98", kXP, false, "98", true, {os::kEwxShutdown}, false, {}},
        ShutdownCase{"NT3WithBatchFile", kNT3, true, "", true, {os::kEwxPowerOff}, true, {}},
        ShutdownCase{"NT4WithBatchFile", kNT4, true, "", true, {}, false, {kBatchCommand}},
        ShutdownCase{"NT4WithoutBatchFile", kNT4, false, "", false, {os::kEwxPowerOff}, true, {}},
        ShutdownCase{"XP", kXP, true, "", true, {os::kEwxPowerOff}, true, {}}),
    [](const auto& info) { return std::string(info.param.what); });

// The user's ShutDown in the shown window ends the program; the alarm still logs its entry.
TEST_F(Warning, UserShutdownEndsTheProgramWithoutTheFlag) {
    StoppedFan();
    PressWhenShown([](monitor::TFormWarning& w) -> ui::TButton& { return w.ShutdownButton; }, 300);
    Run(3000);
    EXPECT_FALSE(reachedEnd);
    EXPECT_EQ(sim.machine->exitWindowsRequests, std::vector<std::uint32_t>{os::kEwxPowerOff});
    EXPECT_NE(sim.ReadProgramFile("A920.INI").find("SHUTDOWN=0\r\n"), std::string::npos);
    EXPECT_EQ(LinesContaining(sim.ReadProgramFile("log.txt"), "exceed"),
              std::vector<std::string>{kFan0Entry});
}

// --- the NT4 batch command
// ---------------------------------------------------------------------------

struct CommandCase {
    const char* what;
    std::string batch;
    std::function<void(os::sim::SimMachine&)> setup;
    std::string command;
};
std::ostream& operator<<(std::ostream& os, const CommandCase& c) {
    return os << c.what;
}

class BatchCommand : public ::testing::TestWithParam<CommandCase> {};

// The quoted batch path, its drive, and the short form of its folder, or the long form when
// the short one cannot be had or does not fit its 255 characters.
TEST_P(BatchCommand, GivesTheDriveAndTheFolder) {
    const CommandCase& c = GetParam();
    SimFixture sim;
    if (c.setup) c.setup(*sim.machine);
    EXPECT_EQ(monitor::Nt4ShutdownCommand(*sim.process, c.batch), c.command);
}

// A folder of 30 eight-letter names: its short form is as long as the long one.
std::string DeepFolder() {
    std::string folder = "C:";
    for (int i = 0; i < 30; ++i)
        folder += "\\FOLDER" + std::to_string(10 + i);
    return folder;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BatchCommand,
    ::testing::Values(
        CommandCase{"ProgramFolder", "C:\\Program Files\\ZARVO\\ORLO\\shut.bat", {}, kBatchCommand},
        CommandCase{"NoShortForm", "C:\\Program Files\\ZARVO\\ORLO\\shut.bat",
                    [](os::sim::SimMachine& m) { m.Config().shortPathFails = true; },
                    "\"C:\\Program Files\\ZARVO\\ORLO\\shut.bat\" C: C:\\Program "
                    "Files\\ZARVO\\ORLO"},
        CommandCase{"ShortFormTooLong", DeepFolder() + "\\shut.bat",
                    [](os::sim::SimMachine& m) {
                        std::string folder = "C:";
                        for (int i = 0; i < 30; ++i) {
                            folder += "\\FOLDER" + std::to_string(10 + i);
                            m.CreateDirectory(folder);
                        }
                        ASSERT_TRUE(m.DirectoryExists(folder));
                    },
                    "\"" + DeepFolder() + "\\shut.bat\" C: " + DeepFolder()},
        CommandCase{"RootKeepsItsBackslash", "C:\\shut.bat", {}, "\"C:\\shut.bat\" C: C:\\"},
        CommandCase{"NetworkPath",
                    "\\\\server\\share\\tools\\shut.bat",
                    {},
                    "\"\\\\server\\share\\tools\\shut.bat\" \\\\server\\share "
                    "\\\\server\\share\\tools"},
        CommandCase{"BareName", "shut.bat", {}, "\"shut.bat\"  "}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
