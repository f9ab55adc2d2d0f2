// The Setup page on the simulated machine: the interval's refusals, typed keys, the two combo
// boxes, the speaker boxes, the logo's link, and the logon-start value "ZarvoORLO" that every
// settings save writes or deletes.
#include "SimFixture.h"

#include "monitor/WarningForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kBoardIni = "A920.INI";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::size_t CountContaining(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [&](const std::string& l) { return l.find(part) != std::string::npos; }));
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The Run value's data, or nothing when there is no such value.
std::optional<std::string> RunValue(const SimFixture& sim) {
    const os::sim::RegValue* value =
        sim.machine->RegGet(os::RegRoot::LocalMachine, kRunKey, "ZarvoORLO");
    if (!value) return std::nullopt;
    return value->text;
}

void SetRunValue(SimFixture& sim, const std::string& data) {
    ASSERT_TRUE(sim.machine->RegCreateKey(os::RegRoot::LocalMachine, kRunKey));
    os::sim::RegValue value;
    value.name = "ZarvoORLO";
    value.text = data;
    ASSERT_TRUE(sim.machine->RegSet(os::RegRoot::LocalMachine, kRunKey, value));
}

std::string LogonCommand(const std::string& exe) {
    return "\"" + exe + "\" \"5000\"";
}

// --- the interval ---------------------------------------------------------------------------

// Proposals beyond 100..10000 ms are refused: the position, the text and the running timer's
// interval stay. Nothing here saves (code sets no arrow; the refused arrows move nothing).
TEST(SetupPage, IntervalRefusesValuesOutsideItsRange) {
    struct Step {
        const char* what;
        std::function<void(ui::TUpDown&)> act;
        int position;
        const char* text;
    };
    const std::vector<Step> steps = {
        {"10100 from code", [](ui::TUpDown& u) { u.SetPosition(10100); }, 3000, "3.0 sec"},
        {"0 from code", [](ui::TUpDown& u) { u.SetPosition(0); }, 3000, "3.0 sec"},
        {"1500 from code", [](ui::TUpDown& u) { u.SetPosition(1500); }, 1500, "1.5 sec"},
        {"100 from code", [](ui::TUpDown& u) { u.SetPosition(100); }, 100, "0.1 sec"},
        {"arrow down to 0", [](ui::TUpDown& u) { u.UserArrow(false); }, 100, "0.1 sec"},
        {"10000 from code", [](ui::TUpDown& u) { u.SetPosition(10000); }, 10000, "10.0 sec"},
        {"arrow up to 10100", [](ui::TUpDown& u) { u.UserArrow(true); }, 10000, "10.0 sec"},
    };
    SimFixture sim;
    sim.At(2000, [&](TForm1& f) {
        for (const Step& step : steps) {
            step.act(f.UpDownInterval);
            EXPECT_EQ(f.UpDownInterval.Position(), step.position) << step.what;
            EXPECT_EQ(f.EditReflashInterval.Text(), step.text) << step.what;
            EXPECT_EQ(f.Timer1.Interval(), static_cast<std::uint32_t>(step.position)) << step.what;
        }
        EXPECT_EQ(CountContaining(sim.IniWrites(kBoardIni), "[INTERVAL]"), 0u);
    });
    sim.RunFor(3000);
}

// --- typed keys and the combo boxes ------------------------------------------------------------

TEST(SetupPage, TypedKeysChangeNothing) {
    SimFixture sim;
    sim.At(2000, [&](TForm1& f) {
        const std::size_t writes = sim.IniWrites(kBoardIni).size();
        for (char key : {'5', 'x', '\b', ' '}) {
            f.EditReflashInterval.UserKeyPress(key);
            f.ComboBoxWarningDefault.UserKeyPress(key);
            f.ComboBoxHowToLog.UserKeyPress(key);
        }
        EXPECT_EQ(f.EditReflashInterval.Text(), "3.0 sec");
        EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Ask Me");
        EXPECT_EQ(f.ComboBoxHowToLog.Text(), "Log if alert");
        EXPECT_EQ(sim.IniWrites(kBoardIni).size(), writes);
    });
    sim.RunFor(3000);
}

struct ComboCase {
    const char* what;
    std::function<ui::TComboBox&(TForm1&)> combo;
    int item;
    const char* written;
};

void PrintTo(const ComboCase& c, std::ostream* os) {
    *os << c.what;
}

class ComboChoice : public ::testing::TestWithParam<ComboCase> {};

// Choosing an item saves at once: the chosen text, with all the other settings.
TEST_P(ComboChoice, SavesAtOnce) {
    const ComboCase& c = GetParam();
    SimFixture sim;
    sim.At(2000, [&](TForm1& f) {
        c.combo(f).UserSelect(c.item);
        const std::vector<std::string> writes = sim.IniWrites(kBoardIni);
        EXPECT_EQ(CountContaining(writes, c.written), 1u) << c.written;
        EXPECT_EQ(CountContaining(writes, "[SYSTEM] CPUTOP80="), 1u);
    });
    sim.RunFor(3000);
}

INSTANTIATE_TEST_SUITE_P(
    Combos, ComboChoice,
    ::testing::Values(
        ComboCase{"action", [](TForm1& f) -> ui::TComboBox& { return f.ComboBoxWarningDefault; }, 2,
                  "[SYSTEM] Action when exceed the limitations=Disable"},
        ComboCase{"logging rule", [](TForm1& f) -> ui::TComboBox& { return f.ComboBoxHowToLog; }, 3,
                  "[SYSTEM] How to log=Every 5 minute"}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

// --- the speaker boxes --------------------------------------------------------------------------

// The activation sets the boxes from the INI; a box it changes writes its key back at once. A
// click writes its own key and the warning window's flag, without the common save.
TEST(SetupPage, SpeakerBoxesWriteTheirOwnKeys) {
    SimFixture sim;
    sim.WriteProgramFile(kBoardIni,
                         Replaced(SimFixture::DataFile(kBoardIni), "SYSSPK=1\r\n", "SYSSPK=0\r\n"));
    sim.At(2000, [&](TForm1& f) {
        std::vector<std::string> writes = sim.IniWrites(kBoardIni);
        EXPECT_EQ(CountContaining(writes, "[SYSTEM] EXTSPK=1"), 1u);
        EXPECT_EQ(CountContaining(writes, "[SYSTEM] SYSSPK="), 0u);
        EXPECT_TRUE(f.cbExternalSpeak.Checked());
        EXPECT_FALSE(f.cbSysSpeak.Checked());

        f.cbSysSpeak.UserClick();
        f.cbExternalSpeak.UserClick();
        writes = sim.IniWrites(kBoardIni);
        EXPECT_EQ(CountContaining(writes, "[SYSTEM] SYSSPK=1"), 1u);
        EXPECT_EQ(CountContaining(writes, "[SYSTEM] EXTSPK=0"), 1u);
        EXPECT_EQ(CountContaining(writes, "[SYSTEM] CPUTOP80="), 0u);
        EXPECT_TRUE(f.Program().FormWarning->SystemSpeaker);
        EXPECT_FALSE(f.Program().FormWarning->ExternalSpeaker);
    });
    sim.RunFor(3000);
    EXPECT_NE(sim.ReadProgramFile(kBoardIni).find("EXTSPK=0\r\nSYSSPK=1\r\n"), std::string::npos);
}

// --- the logo -----------------------------------------------------------------------------------

TEST(SetupPage, LogoClickOpensTheLinkWhenThereIsOne) {
    for (const std::string url : {"http://www.zarvo.example/", ""}) {
        SimFixture sim;
        sim.WriteProgramFile(kBoardIni, Replaced(SimFixture::DataFile(kBoardIni), "[LOGO]\r\n",
                                                 "[LOGO]\r\nURL=" + url + "\r\n"));
        sim.At(2000, [](TForm1& f) { f.ImageLogo.UserClick(); });
        sim.RunFor(3000);
        if (url.empty()) {
            EXPECT_TRUE(sim.machine->shellCalls.empty());
            continue;
        }
        ASSERT_EQ(sim.machine->shellCalls.size(), 1u);
        const os::sim::ShellCall& call = sim.machine->shellCalls[0];
        EXPECT_EQ(call.verb, "Open");
        EXPECT_EQ(call.file, url);
        EXPECT_EQ(call.parameters, "");
        EXPECT_EQ(call.directory, "");
        EXPECT_EQ(call.show, 1);
    }
}

// --- the logon-start value ----------------------------------------------------------------------

struct RunCase {
    const char* what;
    std::optional<std::string> before; // the value's data when the program starts
    std::string exe;                   // the program started
    std::function<void(TForm1&)> act;  // the user at 1 s (none: no save until the end)
    bool checkedAtStart;
    std::optional<std::string> whileRunning; // at the run's end, before the final save
    std::optional<std::string> afterEnd;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.what;
}

const std::string kMovedExe = "C:\\Tools\\ORLO\\ORLO.EXE";

class LogonStart : public ::testing::TestWithParam<RunCase> {};

TEST_P(LogonStart, FollowsTheBoxAtEverySave) {
    const RunCase& c = GetParam();
    SimFixture sim;
    if (c.before) SetRunValue(sim, *c.before);
    if (c.exe != SimFixture::kExe) {
        sim.InstallDistribution(c.exe.substr(0, c.exe.rfind('\\')));
        RestartFrom(sim, c.exe);
    }
    bool checkedAtStart = false;
    sim.At(900, [&](TForm1& f) { checkedAtStart = f.CheckBoxLaunch.Checked(); });
    if (c.act) sim.At(1000, c.act);
    std::optional<std::string> whileRunning;
    sim.RunFor(3000, [&](MonitorProgram&) { whileRunning = RunValue(sim); });
    EXPECT_EQ(checkedAtStart, c.checkedAtStart);
    EXPECT_EQ(whileRunning, c.whileRunning);
    EXPECT_EQ(RunValue(sim), c.afterEnd);
    EXPECT_TRUE(sim.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogonStart,
    ::testing::Values(
        RunCase{"box on writes the running program's path", std::nullopt, SimFixture::kExe,
                [](TForm1& f) { f.CheckBoxLaunch.UserClick(); }, false,
                LogonCommand(SimFixture::kExe), LogonCommand(SimFixture::kExe)},
        RunCase{"box off deletes the value", LogonCommand(SimFixture::kExe), SimFixture::kExe,
                [](TForm1& f) { f.CheckBoxLaunch.UserClick(); }, true, std::nullopt, std::nullopt},
        RunCase{"the box set at start saves nothing; the final save rewrites the value",
                LogonCommand("C:\\Setup\\Elsewhere\\ORLO.EXE"),
                SimFixture::kExe,
                {},
                true,
                LogonCommand("C:\\Setup\\Elsewhere\\ORLO.EXE"),
                LogonCommand(SimFixture::kExe)},
        RunCase{"after the folder moved, any save repairs the path", LogonCommand(SimFixture::kExe),
                kMovedExe, [](TForm1& f) { f.UpDownHighLimitFan2.UserArrow(true); }, true,
                LogonCommand(kMovedExe), LogonCommand(kMovedExe)},
        RunCase{"any non-empty data counts as present", std::string("x"), SimFixture::kExe,
                [](TForm1& f) { f.CheckBoxCPUtoP80.UserClick(); }, true,
                LogonCommand(SimFixture::kExe), LogonCommand(SimFixture::kExe)},
        RunCase{"empty data counts as absent, and a save deletes it", std::string(""),
                SimFixture::kExe, [](TForm1& f) { f.CheckBoxCPUtoP80.UserClick(); }, false,
                std::nullopt, std::nullopt}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// A Run key that cannot be opened: the box starts unchecked and a save changes nothing, silently.
TEST(LogonStartFailure, UnopenableKeyChangesNothing) {
    SimFixture sim;
    ASSERT_TRUE(sim.machine->RegCreateKey(os::RegRoot::LocalMachine, kRunKey));
    ASSERT_TRUE(
        sim.machine->RegSet(os::RegRoot::LocalMachine, kRunKey,
                            os::sim::RegValue{"ZarvoORLO", false, "\"C:\\x.exe\" \"5000\"", 0}));
    sim.machine->readOnlyKeys.insert("hklm\\software\\microsoft\\windows\\currentversion\\run");
    sim.At(1000, [](TForm1& f) {
        EXPECT_FALSE(f.CheckBoxLaunch.Checked());
        f.CheckBoxLaunch.UserClick();
    });
    sim.RunFor(3000);
    // The value the user cannot reach stays as it was.
    EXPECT_EQ(RunValue(sim), std::optional<std::string>("\"C:\\x.exe\" \"5000\""));
    EXPECT_TRUE(sim.Messages().empty());
}

// A refused write shows the registry class's error in the exception box; the program goes on,
// and the final save shows it once more.
TEST(LogonStartFailure, RefusedWriteShowsTheRegistryError) {
    SimFixture sim;
    ASSERT_TRUE(sim.machine->RegCreateKey(os::RegRoot::LocalMachine, kRunKey));
    sim.machine->writeRefusedKeys.insert("hklm\\software\\microsoft\\windows\\currentversion\\run");
    std::vector<std::string> messagesBeforeEnd;
    sim.At(1000, [](TForm1& f) { f.CheckBoxLaunch.UserClick(); });
    sim.At(2000, [](TForm1& f) { f.CheckBoxCPUtoP80.UserClick(); });
    sim.RunFor(3000, [&](MonitorProgram& p) {
        messagesBeforeEnd = sim.Messages();
        EXPECT_TRUE(p.Form1->CheckBoxLaunch.Checked());
    });
    const std::string box = "Failed to set data for 'ZarvoORLO'";
    EXPECT_EQ(messagesBeforeEnd, (std::vector<std::string>{box, box}));
    EXPECT_EQ(sim.Messages(), (std::vector<std::string>{box, box, box}));
    EXPECT_EQ(RunValue(sim), std::nullopt);
}

} // namespace
