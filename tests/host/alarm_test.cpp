// The limit alarm on the simulated machine: a fan that stops raises "fan0" with each of the
// four actions; the texts, the log entry, the tray restore, and the alarms that are dropped.
#include "SimFixture.h"

#include "monitor/AttentionDialog.h"
#include "monitor/Driver.h"
#include "monitor/WarningForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kFan0Message = "Your 'CPU FAN' Speed exceed the limit";

std::string Entry(const std::string& message, const std::string& action) {
    return message + " , Action when exceed the limitations: " + action;
}

struct Alarm : ::testing::Test {
    SimFixture sim;
    bool warningShown = false;
    bool reachedEnd = false;

    // Fan 0 monitored from 3000 to 9000 RPM, stopped from the start; the action as given.
    void StoppedFan(const std::string& action, std::vector<IniKey> keys = {}) {
        std::vector<IniKey> all = Monitored("FAN0", 3000, 9000);
        all.push_back({"SYSTEM", "Action when exceed the limitations", action});
        all.insert(all.end(), keys.begin(), keys.end());
        sim.WriteProgramFile("A920.INI", ScenarioBoardIni(all));
        StopFan92(sim.machine->Board(), 0);
        sim.platform->When([&] { return Warning() && Warning()->Visible(); },
                           [&] { warningShown = true; });
    }
    monitor::TFormWarning* Warning() const {
        return sim.Form1() ? sim.Form1()->Program().FormWarning : nullptr;
    }
    int Run(std::uint32_t ms, const std::function<void(TForm1&)>& check = {}) {
        return sim.RunFor(ms, [&](MonitorProgram& p) {
            if (check) check(*p.Form1);
            reachedEnd = true;
        });
    }
    std::vector<std::string> Entries() const {
        return LinesContaining(sim.ReadProgramFile("log.txt"), "exceed the limit");
    }
    size_t Ticks() const {
        size_t ticks = 0;
        for (const auto& r : sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS))
            if (r.input.at(0) == 0) ++ticks;
        return ticks;
    }
};

// The window comes up with the channel's texts and closes by itself once the fan spins again;
// the entry follows the closing and ends in an empty line.
TEST_F(Alarm, AskMeShowsTheWindowUntilTheFanSpinsAgain) {
    StoppedFan("Ask Me");
    sim.machine->BoardScript = [](BoardState& b, std::uint32_t ms) {
        if (ms >= 5000) SetFanCount92(b, 0, 250);
    };
    sim.At(1000, [&](TForm1& f) {
        EXPECT_TRUE(Warning()->Visible());
        EXPECT_FALSE(f.TrayIcon1.Minimized());
        EXPECT_TRUE(f.Visible());
        EXPECT_EQ(f.PageControl1.ActivePage(), &f.TabSheet1);
        EXPECT_EQ(f.Program().AlarmChannel, "fan0");
        EXPECT_EQ(Warning()->LabelMsg.Caption(), kFan0Message);
        EXPECT_EQ(Warning()->LabelIgnore.Caption(), "Ignore 'CPU FAN' warning message");
        EXPECT_EQ(Warning()->LabelDateTime.Caption(), "12/10/2026 9:00:00 AM");
        EXPECT_TRUE(Entries().empty());
    });
    Run(7000, [&](TForm1& f) {
        EXPECT_FALSE(Warning()->Visible());
        EXPECT_EQ(f.Program().AlarmChannel, "");
    });
    EXPECT_TRUE(reachedEnd);
    EXPECT_EQ(Entries(), std::vector<std::string>{Entry(kFan0Message, "Ask Me")});
    std::string log = sim.ReadProgramFile("log.txt");
    EXPECT_NE(log.find(Entry(kFan0Message, "Ask Me") + "\r\n\r\n"), std::string::npos);
}

// Ignore shows nothing and nothing holds the channel back: every tick restores the window
// and logs again.
TEST_F(Alarm, IgnoreAlarmsAndLogsOnEveryTick) {
    StoppedFan("Ignore");
    Run(3500, [&](TForm1& f) {
        EXPECT_FALSE(f.TrayIcon1.Minimized());
        EXPECT_TRUE(f.Program().IgnoreFlags[0]);
        EXPECT_EQ(f.Program().AlarmChannel, "fan0");
        EXPECT_EQ(Warning()->LabelMsg.Caption(), kFan0Message);
    });
    EXPECT_FALSE(warningShown);
    EXPECT_GE(Ticks(), 4u);
    EXPECT_EQ(Entries(), std::vector<std::string>(Ticks(), Entry(kFan0Message, "Ignore")));
}

// Disable unchecks the box, which unlocks the limits and saves; no further alarm.
TEST_F(Alarm, DisableUnchecksAndSavesTheMonitorBox) {
    StoppedFan("Disable");
    std::string saved;
    Run(3500, [&](TForm1& f) {
        EXPECT_FALSE(f.CheckBoxFan0.Checked());
        EXPECT_TRUE(f.UpDownLowLimitFan0.Enabled());
        EXPECT_EQ(f.Image1.Picture().source, "GREEN0");
        saved = sim.ReadProgramFile("A920.INI");
    });
    EXPECT_FALSE(warningShown);
    EXPECT_NE(saved.find("[FAN0]\r\nENABLED=1\r\nNAME=CPU FAN\r\nMONITOR=0\r\n"),
              std::string::npos);
    EXPECT_EQ(Entries(), std::vector<std::string>{Entry(kFan0Message, "Disable")});
}

// Shutdown saves the flag, asks for the power-off and ends the program; the next start asks
// once whether to keep the action ("No": back to "Ask Me"), the start after that no more.
TEST_F(Alarm, ShutdownEndsTheProgramAndTheNextStartAsksOnce) {
    StoppedFan("Shutdown");
    Run(5000);
    EXPECT_FALSE(reachedEnd);
    EXPECT_EQ(sim.machine->exitWindowsRequests, std::vector<std::uint32_t>{os::kEwxPowerOff});
    EXPECT_EQ(sim.machine->privilegeChanges,
              (std::vector<std::pair<std::string, bool>>{{"SeShutdownPrivilege", true},
                                                         {"SeShutdownPrivilege", false}}));
    EXPECT_NE(sim.ReadProgramFile("A920.INI").find("SHUTDOWN=1\r\n"), std::string::npos);
    EXPECT_EQ(Entries(), std::vector<std::string>{Entry(kFan0Message, "Shutdown")});

    int dialogs = 0;
    for (int run = 2; run <= 3; ++run) {
        sim.Restart();
        SetFanCount92(sim.machine->Board(), 0, 250);
        auto dialog = [this] {
            return sim.Form1() && sim.Form1()->Program().OKBottomDlgAttention &&
                   sim.Form1()->Program().OKBottomDlgAttention->Visible();
        };
        sim.platform->When(dialog, [&] {
            ++dialogs;
            // Esc: the dialog's cancel button, "No".
            sim.Form1()->Program().OKBottomDlgAttention->UserKeyDown(ui::kVkEscape);
        });
        reachedEnd = false;
        Run(2000, [&](TForm1& f) {
            EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Ask Me");
            EXPECT_FALSE(f.Settings.Shutdown);
        });
        EXPECT_TRUE(reachedEnd);
        EXPECT_EQ(dialogs, 1) << "run " << run;
        std::string ini = sim.ReadProgramFile("A920.INI");
        EXPECT_NE(ini.find("SHUTDOWN=0\r\n"), std::string::npos);
        EXPECT_NE(ini.find("Action when exceed the limitations=Ask Me\r\n"), std::string::npos);
    }
}

// Ask Me answered with Ignore: the entry still names the configured action. (The main window,
// active again, restarts the polling timer at 100 ms: the alarm comes back at the next tick.)
TEST_F(Alarm, EntryNamesTheConfiguredActionWhateverTheUserPressed) {
    StoppedFan("Ask Me");
    sim.platform->When([&] { return Warning() && Warning()->Visible(); },
                       [&] { Warning()->IgnoreButton.UserClick(); }, 500);
    Run(650, [&](TForm1& f) {
        EXPECT_TRUE(f.Program().IgnoreFlags[0]);
        EXPECT_FALSE(Warning()->Visible());
    });
    EXPECT_EQ(Entries(), std::vector<std::string>{Entry(kFan0Message, "Ask Me")});
}

// The restore brings the Fan page up whichever page the user had open.
TEST_F(Alarm, RestoreSwitchesToTheFanPage) {
    StoppedFan("Ignore");
    SetFanCount92(sim.machine->Board(), 0, 250);
    sim.machine->BoardScript = [](BoardState& b, std::uint32_t ms) {
        if (ms >= 3000) StopFan92(b, 0);
    };
    sim.At(1000, [&](TForm1& f) {
        f.TrayIcon1.Restore();
        f.PageControl1.UserSelect(&f.tabSetup);
        ASSERT_EQ(f.PageControl1.ActivePage(), &f.tabSetup);
        f.TrayIcon1.Minimize();
    });
    Run(4500, [&](TForm1& f) {
        EXPECT_FALSE(f.TrayIcon1.Minimized());
        EXPECT_EQ(f.PageControl1.ActivePage(), &f.TabSheet1);
    });
    EXPECT_FALSE(Entries().empty());
}

struct UnwritableCase {
    const char* action;
    std::function<void(Alarm&)> check;
};
std::ostream& operator<<(std::ostream& os, const UnwritableCase& c) {
    return os << c.action;
}

class UnwritableBoardIni : public Alarm, public ::testing::WithParamInterface<UnwritableCase> {};

// A board INI that cannot be written when Disable or Shutdown saves: the save's error box is
// shown, and the alarm goes on with its next step and its entry.
TEST_P(UnwritableBoardIni, AlarmGoesOnWithItsNextStep) {
    const UnwritableCase& c = GetParam();
    StoppedFan(c.action);
    SetFanCount92(sim.machine->Board(), 0, 250);
    sim.machine->BoardScript = [](BoardState& b, std::uint32_t ms) {
        if (ms >= 2000) StopFan92(b, 0);
    };
    const std::string ini = SimFixture::ProgramPath("A920.INI");
    std::string before;
    sim.At(1000, [&](TForm1&) {
        sim.machine->SetReadOnly(ini, true);
        before = sim.ReadProgramFile("A920.INI");
    });
    Run(4000);
    EXPECT_FALSE(warningShown);
    EXPECT_EQ(sim.ReadProgramFile("A920.INI"), before);
    ASSERT_FALSE(sim.Messages().empty());
    EXPECT_EQ(sim.Messages().front(), "Unable to write to " + ini + ".");
    EXPECT_EQ(Entries(), std::vector<std::string>{Entry(kFan0Message, c.action)});
    c.check(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, UnwritableBoardIni,
    ::testing::Values(UnwritableCase{"Disable",
                                     [](Alarm& a) {
                                         EXPECT_TRUE(a.reachedEnd);
                                         EXPECT_TRUE(a.sim.machine->exitWindowsRequests.empty());
                                     }},
                      UnwritableCase{"Shutdown",
                                     [](Alarm& a) {
                                         EXPECT_FALSE(a.reachedEnd);
                                         EXPECT_EQ(a.sim.machine->exitWindowsRequests,
                                                   std::vector<std::uint32_t>{os::kEwxPowerOff});
                                     }}),
    [](const auto& info) { return std::string(info.param.action); });

// An alarm for another channel while the window shows changes nothing and logs nothing.
TEST_F(Alarm, AlarmWhileTheWarningIsShownIsDropped) {
    StoppedFan("Ask Me");
    sim.At(1500, [&](TForm1& f) {
        f.RaiseLimitAlarm("temp1");
        EXPECT_EQ(f.Program().AlarmChannel, "fan0");
        EXPECT_EQ(Warning()->LabelMsg.Caption(), kFan0Message);
    });
    Run(2500);
    EXPECT_EQ(Entries(), std::vector<std::string>{Entry(kFan0Message, "Ask Me")});
}

// While the attention dialog is up an alarm does nothing at all: no restore, no text, no entry.
TEST_F(Alarm, AlarmWhileTheAttentionDialogIsShownIsDropped) {
    StoppedFan("Ignore", {{"SYSTEM", "SHUTDOWN", "1"}});
    sim.At(500, [&](TForm1& f) {
        ASSERT_TRUE(f.Program().OKBottomDlgAttention->Visible());
        f.RaiseLimitAlarm("fan0");
        EXPECT_TRUE(f.TrayIcon1.Minimized());
        EXPECT_EQ(f.Program().AlarmChannel, "");
        EXPECT_EQ(Warning()->LabelMsg.Caption(), "Your FAN 1 Speed exceed the limit");
        f.Program().OKBottomDlgAttention->OKBtn.UserClick();
    });
    Run(550, [&](TForm1& f) { EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Shutdown"); });
    EXPECT_TRUE(Entries().empty());
}

// The attention dialog closed by the system (Alt+F4, any WM_CLOSE) ends with a result other
// than mrOk: the action becomes "Ask Me", as with "No".
TEST_F(Alarm, AttentionDialogClosedBySystemSetsAskMe) {
    StoppedFan("Shutdown", {{"SYSTEM", "SHUTDOWN", "1"}});
    sim.At(500, [&](TForm1& f) {
        ASSERT_TRUE(f.Program().OKBottomDlgAttention->Visible());
        f.Program().OKBottomDlgAttention->UserClose();
    });
    Run(550, [&](TForm1& f) {
        EXPECT_FALSE(f.Program().OKBottomDlgAttention->Visible());
        EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Ask Me");
        EXPECT_FALSE(f.Settings.Shutdown);
    });
    EXPECT_TRUE(reachedEnd);
    EXPECT_NE(sim.ReadProgramFile("A920.INI").find("Action when exceed the limitations=Ask Me\r\n"),
              std::string::npos);
}

// The warning close does nothing while the window is hidden.
TEST_F(Alarm, CloseWhileHiddenKeepsTheChannel) {
    StoppedFan("Ignore");
    Run(500, [&](TForm1& f) {
        ASSERT_EQ(f.Program().AlarmChannel, "fan0");
        monitor::CloseWarning(f.Program());
        EXPECT_EQ(f.Program().AlarmChannel, "fan0");
    });
}

struct ActionCase {
    const char* what;
    std::string comboText;
    std::string word;
    bool shows;
};
std::ostream& operator<<(std::ostream& os, const ActionCase& c) {
    return os << c.what;
}

class Action : public Alarm, public ::testing::WithParamInterface<ActionCase> {};

// The action is the combo box's text compared upper-cased; any other text means Ask Me.
TEST_P(Action, ComesFromTheComboTextInAnyCase) {
    const ActionCase& c = GetParam();
    StoppedFan("Ask Me");
    sim.At(50, [&](TForm1& f) { f.ComboBoxWarningDefault.SetText(c.comboText); });
    Run(500);
    EXPECT_EQ(warningShown, c.shows);
    ASSERT_FALSE(Entries().empty());
    EXPECT_EQ(Entries().front(), Entry(kFan0Message, c.word));
}

INSTANTIATE_TEST_SUITE_P(Texts, Action,
                         ::testing::Values(ActionCase{"LowerIgnore", "ignore", "Ignore", false},
                                           ActionCase{"MixedDisable", "dIsAbLe", "Disable", false},
                                           ActionCase{"UpperShutdown", "SHUTDOWN", "Shutdown",
                                                      false},
                                           ActionCase{"AskMe", "Ask Me", "Ask Me", true},
                                           ActionCase{"Other", "Beep", "Ask Me", true},
                                           ActionCase{"Empty", "", "Ask Me", true}),
                         [](const auto& info) { return std::string(info.param.what); });

struct TextCase {
    const char* what;
    std::vector<IniKey> keys;
    std::function<void(BoardState&)> board;
    std::string message, ignore;
};
std::ostream& operator<<(std::ostream& os, const TextCase& c) {
    return os << c.what;
}

class Texts : public Alarm, public ::testing::WithParamInterface<TextCase> {};

// Each kind of channel has its message format, filled with the channel's name (not the key).
TEST_P(Texts, NameTheChannel) {
    const TextCase& c = GetParam();
    std::vector<IniKey> keys = c.keys;
    keys.push_back({"SYSTEM", "Action when exceed the limitations", "Ignore"});
    sim.WriteProgramFile("A920.INI", ScenarioBoardIni(keys));
    if (c.board) c.board(sim.machine->Board());
    Run(500, [&](TForm1&) {
        EXPECT_EQ(Warning()->LabelMsg.Caption(), c.message);
        EXPECT_EQ(Warning()->LabelIgnore.Caption(), c.ignore);
    });
    EXPECT_EQ(Entries(), std::vector<std::string>(Ticks(), Entry(c.message, "Ignore")));
}

std::vector<IniKey> Plus(std::vector<IniKey> a, const IniKey& b) {
    a.push_back(b);
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Channels, Texts,
    ::testing::Values(TextCase{"FanWithoutName",
                               Plus(Monitored("FAN2", 3000, 9000), {"FAN2", "NAME", ""}),
                               [](BoardState& b) { StopFan92(b, 2); },
                               "Your '' Speed exceed the limit", "Ignore '' warning message"},
                      TextCase{"Temperature",
                               Plus(Monitored("TEMP2", 0, 30), {"TEMP2", "NAME", "Chipset"}),
                               {},
                               "Your 'Chipset' Temperature exceed the limit",
                               "Ignore 'Chipset' warning message"},
                      TextCase{"Voltage",
                               Plus(Monitored("VIN8", 3000, 3600), {"VIN8", "NAME", "+3.3V"}),
                               {},
                               "Your '+3.3V' Voltage exceed the limit",
                               "Ignore '+3.3V' warning message"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
