// The settings save and the Configure page on the simulated machine: what the user's clicks and
// arrows do to the controls and to the board INI, byte for byte.
#include "SimFixture.h"

#include "monitor/AttentionDialog.h"
#include "os/sim/ProfileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kBoardIni = "A920.INI";

// Lines "MONITOR", "LOW LIMIT", "HIGH LIMIT" of one channel section, as the save writes them.
std::vector<std::string> ChannelSection(const std::string& name, int monitor, int low, int high) {
    return {"[" + name + "]", "MONITOR=" + std::to_string(monitor),
            "LOW LIMIT=" + std::to_string(low), "HIGH LIMIT=" + std::to_string(high), ""};
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

size_t CountContaining(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(part) != std::string::npos;
    }));
}

struct Saved : ::testing::Test {
    SimFixture sim;
    // What the run left before its end (the final save at destruction comes after).
    std::string fileBeforeEnd;
    std::vector<std::string> writesBeforeEnd;
    std::vector<std::string> messagesBeforeEnd;

    void UseBoardIni(const std::vector<std::string>& lines) {
        sim.WriteProgramFile(kBoardIni, SimFixture::CrLf(lines));
    }
    // Runs three seconds; `check` sees the main window at the end.
    void Run(const std::function<void(TForm1&)>& check = {}) {
        bool reached = false;
        sim.RunFor(3000, [&](MonitorProgram& p) {
            fileBeforeEnd = sim.ReadProgramFile(kBoardIni);
            writesBeforeEnd = sim.IniWrites(kBoardIni);
            messagesBeforeEnd = sim.Messages();
            if (check) check(*p.Form1);
            reached = true;
        });
        EXPECT_TRUE(reached) << "the monitor did not run to the end";
    }
};

// Without a board INI every key has its default; the first save creates the file, so its
// sections and keys stand in the order of the writes.
TEST_F(Saved, FirstSaveCreatesTheBoardIniInWriteOrder) {
    ASSERT_TRUE(sim.machine->DeleteFile(SimFixture::ProgramPath(kBoardIni)));
    sim.At(1000, [](TForm1& f) { f.UpDownHighLimitFan0.UserArrow(true); });
    Run();

    std::vector<std::string> lines = {"[SYSTEM]",
                                      "TEMPERTURE=1",
                                      "USAGE=1",
                                      "VCORE=1",
                                      "FORM2=1",
                                      "Action when exceed the limitations=Ask Me",
                                      "How to log=Log if alert",
                                      "PWD=",
                                      "HiddenTrayIcon=0",
                                      "SHUTDOWN=0",
                                      "CPUTOP80=1",
                                      ""};
    for (int i = 0; i < 3; ++i) {
        for (const auto& l : ChannelSection("FAN" + std::to_string(i), 0, 0, i == 0 ? 100 : 0))
            lines.push_back(l);
        for (const auto& l : ChannelSection("TEMP" + std::to_string(i), 0, 0, 100))
            lines.push_back(l);
    }
    for (int i = 0; i < 9; ++i)
        for (const auto& l : ChannelSection("VIN" + std::to_string(i), 0, 0, 0))
            lines.push_back(l);
    lines.push_back("[INTERVAL]");
    lines.push_back("VALUE=3000");
    EXPECT_EQ(fileBeforeEnd, SimFixture::CrLf(lines));
}

// A save rewrites every key in place, changed or not; the file's other lines stay.
TEST_F(Saved, SaveRewritesTheShippedFileInPlace) {
    sim.At(1000, [](TForm1& f) { f.CheckBoxFan2.UserClick(); });
    Run([](TForm1& f) {
        EXPECT_TRUE(f.CheckBoxFan2.Checked());
        EXPECT_FALSE(f.UpDownLowLimitFan2.Enabled());
    });
    std::string expected = SimFixture::DataFile(kBoardIni) + SimFixture::kSmartFanConfigured;
    expected = Replaced(expected, "NAME=Power FAN\r\nMONITOR=0", "NAME=Power FAN\r\nMONITOR=1");
    expected = Replaced(expected, "SYSSPK=1\r\n",
                        "SYSSPK=1\r\nTEMPERTURE=1\r\nUSAGE=1\r\nVCORE=1\r\nFORM2=1\r\n");
    // The smart fan's start records the chip's BIOS settings.
    expected += "\r\n[BIOSSET]\r\nCONTROL=1\r\nPWMDUTY=157\r\nT1=70\r\nT2=50\r\nT3=30\r\nF1H=1\r\n"
                "F1L=244\r\nF2H=2\r\nF2L=113\r\nF3H=3\r\nF3L=232\r\n";
    EXPECT_EQ(fileBeforeEnd, expected);
    // Loading wrote the eleven BIOS settings, the smart fan's mode and the three ghost items,
    // activation the two speaker flags and the ghost monitor's; the click one save of 45 channel
    // keys, the interval and six options.
    EXPECT_EQ(writesBeforeEnd.size(), 12u + 6u + 52u);
    EXPECT_TRUE(sim.Messages().empty());
}

struct BoxCase {
    const char* what;
    std::vector<std::string> ini;
    std::function<ui::TCheckBox&(TForm1&)> box;
    int ignoreIndex;
    bool checkedAfter;
    std::string section;
    bool incorrectRange;
};

void PrintTo(const BoxCase& c, std::ostream* os) {
    *os << c.what;
}

class MonitorBox : public Saved, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MonitorBox, ClickFollowsTheRangeRule) {
    const BoxCase& c = GetParam();
    UseBoardIni(c.ini);
    sim.At(1000, [&](TForm1& f) {
        f.Program().IgnoreFlags[c.ignoreIndex] = true;
        c.box(f).UserClick();
    });
    Run([&](TForm1& f) {
        ui::TCheckBox& box = c.box(f);
        EXPECT_EQ(box.Checked(), c.checkedAfter);
        const bool spinnersFree = !c.checkedAfter;
        int rowsFound = 0;
        auto checkRow = [&](const auto& row) {
            if (row.MonitorBox != &box) return;
            ++rowsFound;
            EXPECT_EQ(row.LowUpDown->Enabled(), spinnersFree);
            EXPECT_EQ(row.HighUpDown->Enabled(), spinnersFree);
        };
        for (const auto& row : f.ChannelRows.Fan)
            checkRow(row);
        for (const auto& row : f.ChannelRows.Temperature)
            checkRow(row);
        for (const auto& row : f.ChannelRows.Voltage)
            checkRow(row);
        EXPECT_EQ(rowsFound, 1);
        EXPECT_FALSE(f.Program().IgnoreFlags[c.ignoreIndex]);
    });
    EXPECT_EQ(os::sim::ProfileGetString(fileBeforeEnd, c.section, "MONITOR", ""),
              c.checkedAfter ? "1" : "0");

    size_t saves = CountContaining(writesBeforeEnd, "[SYSTEM] CPUTOP80=");
    if (c.incorrectRange) {
        EXPECT_EQ(sim.Messages(), std::vector<std::string>{"Incorrect Limit Range!!"});
        // The re-entered handler saved before the message showed; the outer one after it.
        EXPECT_EQ(saves, 2u);
        const auto& transcript = sim.machine->Transcript();
        auto box = std::find_if(transcript.begin(), transcript.end(), [](const std::string& l) {
            return l.find("Incorrect Limit Range!!") != std::string::npos;
        });
        ASSERT_NE(box, transcript.end());
        EXPECT_EQ(CountContaining(std::vector<std::string>(transcript.begin(), box), "CPUTOP80="),
                  1u);
    } else {
        EXPECT_TRUE(sim.Messages().empty());
        EXPECT_EQ(saves, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, MonitorBox,
    ::testing::Values(BoxCase{"equal limits",
                              {"[FAN2]", "LOW LIMIT=3000", "HIGH LIMIT=3000"},
                              [](TForm1& f) -> ui::TCheckBox& { return f.CheckBoxFan2; },
                              2,
                              false,
                              "FAN2",
                              true},
                      BoxCase{"low above high",
                              {"[VIN6]", "LOW LIMIT=5000", "HIGH LIMIT=4000"},
                              [](TForm1& f) -> ui::TCheckBox& { return f.CheckBoxVIN6; },
                              12,
                              false,
                              "VIN6",
                              true},
                      BoxCase{"low below high",
                              {"[VIN4]", "LOW LIMIT=2000", "HIGH LIMIT=8000"},
                              [](TForm1& f) -> ui::TCheckBox& { return f.CheckBoxVIN4; },
                              10,
                              true,
                              "VIN4",
                              false},
                      BoxCase{"unchecking frees the limits",
                              {"[TEMP1]", "MONITOR=1", "LOW LIMIT=10", "HIGH LIMIT=70"},
                              [](TForm1& f) -> ui::TCheckBox& { return f.CheckBoxTemp1; },
                              4,
                              false,
                              "TEMP1",
                              false}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

struct ArrowCase {
    const char* what;
    std::vector<std::string> ini;
    std::function<ui::TUpDown&(TForm1&)> spinner;
    std::function<ui::TEdit&(TForm1&)> edit;
    bool up;
    int position;
    std::string text;
    std::string savedWrite; // empty: nothing saved
};

void PrintTo(const ArrowCase& c, std::ostream* os) {
    *os << c.what;
}

class SpinnerArrow : public Saved, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(SpinnerArrow, ShowsAcceptsOrRefuses) {
    const ArrowCase& c = GetParam();
    UseBoardIni(c.ini);
    sim.At(1000, [&](TForm1& f) { c.spinner(f).UserArrow(c.up); });
    Run([&](TForm1& f) {
        EXPECT_EQ(c.spinner(f).Position(), c.position);
        EXPECT_EQ(c.edit(f).Text(), c.text);
    });
    size_t saves = CountContaining(writesBeforeEnd, "[SYSTEM] CPUTOP80=");
    if (c.savedWrite.empty()) {
        EXPECT_EQ(saves, 0u);
    } else {
        EXPECT_EQ(saves, 1u);
        EXPECT_EQ(CountContaining(writesBeforeEnd, c.savedWrite), 1u) << c.savedWrite;
    }
}

#define SPIN(name) [](TForm1& f) -> ui::TUpDown& { return f.name; }
#define EDIT(name) [](TForm1& f) -> ui::TEdit& { return f.name; }

INSTANTIATE_TEST_SUITE_P(Arrows, SpinnerArrow,
                         ::testing::Values(ArrowCase{"fan step",
                                                     {"[FAN2]", "HIGH LIMIT=9000"},
                                                     SPIN(UpDownHighLimitFan2),
                                                     EDIT(EditHighLimitFan2),
                                                     true,
                                                     9100,
                                                     "9100",
                                                     "[FAN2] HIGH LIMIT=9100"},
                                           ArrowCase{"fan at its maximum",
                                                     {"[FAN0]", "HIGH LIMIT=10000"},
                                                     SPIN(UpDownHighLimitFan0),
                                                     EDIT(EditHighLimitFan0),
                                                     true,
                                                     10000,
                                                     "10000",
                                                     ""},
                                           ArrowCase{"fan at its minimum",
                                                     {"[FAN1]", "LOW LIMIT=0"},
                                                     SPIN(UpDownLowLimitFan1),
                                                     EDIT(EditLowLimitFan1),
                                                     false,
                                                     0,
                                                     "0",
                                                     ""},
                                           ArrowCase{"temperature step",
                                                     {"[TEMP2]", "HIGH LIMIT=90"},
                                                     SPIN(UpDownHighLimitTemp2),
                                                     EDIT(EditHighLimitTemp2),
                                                     true,
                                                     91,
                                                     "91\xB0"
                                                     "C/195\xB0"
                                                     "F",
                                                     "[TEMP2] HIGH LIMIT=91"},
                                           ArrowCase{"temperature 101 refused",
                                                     {"[TEMP2]", "HIGH LIMIT=100"},
                                                     SPIN(UpDownHighLimitTemp2),
                                                     EDIT(EditHighLimitTemp2),
                                                     true,
                                                     100,
                                                     "100\xB0"
                                                     "C/212\xB0"
                                                     "F",
                                                     ""},
                                           ArrowCase{"temperature -1 refused",
                                                     {"[TEMP0]", "LOW LIMIT=0"},
                                                     SPIN(UpDownLowLimitTemp0),
                                                     EDIT(EditLowLimitTemp0),
                                                     false,
                                                     0,
                                                     "0\xB0"
                                                     "C/32\xB0"
                                                     "F",
                                                     ""},
                                           ArrowCase{"negative rail",
                                                     {"[VIN6]", "SYMBOL=-", "LOW LIMIT=4900"},
                                                     SPIN(UpDownLowLimitVIN6),
                                                     EDIT(EditLowLimitVIN6),
                                                     true,
                                                     5000,
                                                     "-5.0 V",
                                                     "[VIN6] LOW LIMIT=5000"},
                                           ArrowCase{"positive rail drops the hundredths",
                                                     {"[VIN4]", "HIGH LIMIT=3350"},
                                                     SPIN(UpDownHighLimitVIN4),
                                                     EDIT(EditHighLimitVIN4),
                                                     false,
                                                     3250,
                                                     "3.2 V",
                                                     "[VIN4] HIGH LIMIT=3250"},
                                           ArrowCase{"interval",
                                                     {"[INTERVAL]", "VALUE=3000"},
                                                     SPIN(UpDownInterval),
                                                     EDIT(EditReflashInterval),
                                                     true,
                                                     3100,
                                                     "3.1 sec",
                                                     "[INTERVAL] VALUE=3100"},
                                           ArrowCase{"interval above 10 s refused",
                                                     {"[INTERVAL]", "VALUE=10000"},
                                                     SPIN(UpDownInterval),
                                                     EDIT(EditReflashInterval),
                                                     true,
                                                     10000,
                                                     "10.0 sec",
                                                     ""}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

#undef SPIN
#undef EDIT

TEST_F(Saved, IntervalArrowSetsTheRunningTimerAtOnce) {
    sim.At(1000, [](TForm1& f) { f.UpDownInterval.UserArrow(false); });
    Run([](TForm1& f) { EXPECT_EQ(f.Timer1.Interval(), 2900u); });
}

TEST_F(Saved, UnwritableBoardIniShowsOneBoxAndTheProgramGoesOn) {
    std::string before;
    sim.At(1000, [&](TForm1&) {
        before = sim.ReadProgramFile(kBoardIni);
        sim.machine->SetReadOnly(SimFixture::ProgramPath(kBoardIni), true);
    });
    sim.At(1500, [](TForm1& f) { f.CheckBoxFan2.UserClick(); });
    Run([](TForm1& f) { EXPECT_TRUE(f.CheckBoxFan2.Checked()); });
    const std::string box = "Unable to write to " + SimFixture::ProgramPath(kBoardIni) + ".";
    EXPECT_EQ(messagesBeforeEnd, std::vector<std::string>{box});
    EXPECT_EQ(fileBeforeEnd, before);
    // The final save at the window's destruction fails the same way, and is shown the same way.
    EXPECT_EQ(sim.Messages(), (std::vector<std::string>{box, box}));
}

// A stored fan or voltage limit above its spinner's range: the spinner holds its upper bound,
// the edit shows that bound, the tick watches it (a fan at 11,029 RPM is above 10,000) and the
// next save writes it.
TEST_F(Saved, StoredLimitAboveTheRangeIsHeldToTheBound) {
    sim.WriteProgramFile(
        kBoardIni, ScenarioBoardIni({{"SYSTEM", "Action when exceed the limitations", "Ignore"},
                                     {"FAN0", "MONITOR", "1"},
                                     {"FAN0", "LOW LIMIT", "500"},
                                     {"FAN0", "HIGH LIMIT", "12000"},
                                     {"VIN1", "LOW LIMIT", "20000"},
                                     {"VIN1", "HIGH LIMIT", "16000"}}));
    SetFanCount92(sim.machine->Board(), 0, 136); // 1500000 / 136 = 11029 RPM
    Run([](TForm1& f) {
        EXPECT_EQ(f.UpDownHighLimitFan0.Position(), 10000);
        EXPECT_EQ(f.EditHighLimitFan0.Text(), "10000");
        EXPECT_EQ(f.UpDownLowLimitVIN1.Position(), 15000);
        EXPECT_EQ(f.EditLowLimitVIN1.Text(), "15.0 V");
        EXPECT_EQ(f.UpDownHighLimitVIN1.Position(), 15000);
        EXPECT_EQ(f.EditHighLimitVIN1.Text(), "15.0 V");
        EXPECT_EQ(f.Image1.Picture().source.rfind("RED", 0), 0u) << f.Image1.Picture().source;
    });
    EXPECT_FALSE(LinesContaining(sim.ReadProgramFile("log.txt"), "Speed exceed the limit").empty());
    const std::string saved = sim.ReadProgramFile(kBoardIni);
    EXPECT_EQ(os::sim::ProfileGetString(saved, "FAN0", "HIGH LIMIT", ""), "10000");
    EXPECT_EQ(os::sim::ProfileGetString(saved, "VIN1", "LOW LIMIT", ""), "15000");
    EXPECT_EQ(os::sim::ProfileGetString(saved, "VIN1", "HIGH LIMIT", ""), "15000");
}

// ORLO.INI no longer lists the board during the run (it changed, or it was removed): the save
// goes into the board INI found at start-up, and into no other file.
class SavedWithoutIndexEntry : public Saved, public ::testing::WithParamInterface<bool> {};

TEST_P(SavedWithoutIndexEntry, SaveGoesIntoTheStartUpBoardIni) {
    const bool removed = GetParam();
    sim.At(1000, [&](TForm1&) {
        if (removed)
            ASSERT_TRUE(sim.machine->DeleteFile(SimFixture::ProgramPath("ORLO.INI")));
        else
            sim.WriteProgramFile("ORLO.INI", SimFixture::CrLf({"[ORLO]", "ZRV-OTHR=OTHER.INI"}));
    });
    sim.At(1500, [](TForm1& f) { f.CheckBoxFan2.UserClick(); });
    Run([](TForm1& f) { EXPECT_TRUE(f.CheckBoxFan2.Checked()); });
    // The start's own writes (the smart fan's twelve among them), then one whole save of 52 keys
    // (45 channel keys, the interval, six [SYSTEM] keys), and the final save's 52.
    EXPECT_EQ(writesBeforeEnd.size(), 12u + 6u + 52u);
    EXPECT_EQ(CountContaining(writesBeforeEnd, "[FAN2] MONITOR=1"), 1u);
    EXPECT_EQ(sim.IniWrites(kBoardIni).size(), 12u + 6u + 52u + 52u);
    EXPECT_EQ(os::sim::ProfileGetString(sim.ReadProgramFile(kBoardIni), "FAN2", "MONITOR", ""),
              "1");
    for (const std::string& line : sim.machine->Transcript()) {
        if (line.find("ini write") != std::string::npos) {
            EXPECT_NE(line.find(kBoardIni), std::string::npos) << line;
        }
    }
    EXPECT_TRUE(messagesBeforeEnd.empty());
    EXPECT_FALSE(sim.ProgramFileExists("0"));
    EXPECT_FALSE(sim.ProgramFileExists("OTHER.INI"));
}

INSTANTIATE_TEST_SUITE_P(IndexChanges, SavedWithoutIndexEntry, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "Removed" : "ListsAnotherBoard");
                         });

// ORLO.INI names another board INI for this board now: the save takes the name it gives (it
// is asked anew at every save), not the one found at start-up.
TEST_F(Saved, SaveFollowsANewIndexEntry) {
    sim.At(1000, [&](TForm1&) {
        sim.WriteProgramFile("ORLO.INI", SimFixture::CrLf({"[ORLO]", "ZRV-A920=NEW.INI"}));
    });
    sim.At(1500, [](TForm1& f) { f.CheckBoxFan2.UserClick(); });
    Run();
    // The click's save and the final save, both into NEW.INI; A920.INI keeps the start's writes.
    EXPECT_EQ(sim.IniWrites(kBoardIni).size(), 12u + 6u);
    EXPECT_EQ(sim.IniWrites("NEW.INI").size(), 52u + 52u);
    EXPECT_EQ(CountContaining(sim.IniWrites("NEW.INI"), "[FAN2] MONITOR=1"), 2u);
}

TEST_F(Saved, NextStartLoadsWhatWasSaved) {
    sim.At(1000, [](TForm1& f) {
        f.UpDownHighLimitFan2.UserArrow(true);
        f.CheckBoxVIN4.UserClick();
    });
    Run();
    sim.Restart();
    Run([](TForm1& f) {
        EXPECT_EQ(f.UpDownHighLimitFan2.Position(), 9100);
        EXPECT_EQ(f.EditHighLimitFan2.Text(), "9100");
        EXPECT_TRUE(f.CheckBoxVIN4.Checked());
    });
    EXPECT_TRUE(sim.Messages().empty());
}

// The attention dialog answered "Yes" clears the loaded shutdown flag; the next save writes it
// cleared, with "Shutdown" as the action.
TEST_F(Saved, SaveAfterTheAttentionDialogWritesTheClearedFlag) {
    UseBoardIni({"[SYSTEM]", "SHUTDOWN=1"});
    sim.platform->When(
        [&] {
            TForm1* f = sim.Form1();
            return f && f->Program().OKBottomDlgAttention &&
                   f->Program().OKBottomDlgAttention->Visible();
        },
        [&] { sim.Form1()->Program().OKBottomDlgAttention->UserKeyDown(ui::kVkReturn); }, 500);
    sim.At(2000, [](TForm1& f) { f.CheckBoxCPUtoP80.UserClick(); });
    Run();
    EXPECT_EQ(CountContaining(writesBeforeEnd, "[SYSTEM] SHUTDOWN=0"), 1u);
    EXPECT_EQ(
        CountContaining(writesBeforeEnd, "[SYSTEM] Action when exceed the limitations=Shutdown"),
        1u);
    EXPECT_EQ(CountContaining(writesBeforeEnd, "[SYSTEM] CPUTOP80=0"), 1u);
}

TEST_F(Saved, HiddenTrayIconBoxHidesTheIconAndSaves) {
    sim.At(1000, [](TForm1& f) { f.CheckBoxHiddenTrayIcon.UserClick(); });
    Run([](TForm1& f) { EXPECT_FALSE(f.TrayIcon1.Visible()); });
    EXPECT_EQ(CountContaining(writesBeforeEnd, "[SYSTEM] HiddenTrayIcon=1"), 1u);
}

} // namespace
