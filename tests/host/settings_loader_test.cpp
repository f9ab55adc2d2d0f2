// The settings loader on the simulated machine: what the shipped and hand-made board INIs turn
// into on the pages, and the loader's messages and writes.
#include "SimFixture.h"

#include "monitor/SensorConversions.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kDegC = "\xB0"
                          "C/";
const std::string kDegF = "\xB0"
                          "F";

// "45°C/113°F"
std::string Temp(int c, int f) {
    return std::to_string(c) + kDegC + std::to_string(f) + kDegF;
}

struct Loaded : ::testing::Test {
    SimFixture sim;
    // The board INI writes of the run up to the check (before the final save).
    std::vector<std::string> writesBeforeEnd;

    // Runs the monitor and hands the running main window to `check` before the first polling
    // tick (100 ms after the activation) shows readings: what the loader left.
    void RunAndCheck(const std::function<void(TForm1&)>& check) {
        bool checked = false;
        sim.RunFor(50, [&](MonitorProgram& p) {
            check(*p.Form1);
            writesBeforeEnd = sim.IniWrites("A920.INI");
            checked = true;
        });
        EXPECT_TRUE(checked) << "the monitor did not reach its message loop";
    }
};

TEST_F(Loaded, DemoBoardFillsThePages) {
    RunAndCheck([&](TForm1& f) {
        MonitorProgram& p = f.Program();
        EXPECT_EQ(f.Caption(), "Velmara (ORLO) V3.0.11.001");
        EXPECT_EQ(f.BoardIniName, "A920.INI");
        EXPECT_EQ(f.SystemLanguage, "ENGLISH");

        // Fans: names, monitored rows locked, limits in the edits, green zeros.
        EXPECT_EQ(f.LabelFan0.Caption(), "CPU FAN : ");
        EXPECT_EQ(f.CheckBoxFan0.Caption(), "CPU FAN : ");
        EXPECT_TRUE(f.CheckBoxFan0.Checked());
        EXPECT_FALSE(f.UpDownLowLimitFan0.Enabled());
        EXPECT_FALSE(f.UpDownHighLimitFan0.Enabled());
        EXPECT_EQ(f.UpDownLowLimitFan0.Position(), 3000);
        EXPECT_EQ(f.EditLowLimitFan0.Text(), "3000");
        EXPECT_EQ(f.EditHighLimitFan0.Text(), "9000");
        EXPECT_FALSE(f.CheckBoxFan2.Checked());
        EXPECT_TRUE(f.UpDownLowLimitFan2.Enabled());
        for (int n = 0; n < 3; ++n)
            for (ui::TImage* image : f.ChannelRows.Fan[n].Digits)
                EXPECT_EQ(image->Picture().source, "GREEN0") << image->Name();
        for (ui::TPanel* panel : {&f.PanelFan0, &f.PanelFan1, &f.PanelFan2}) {
            EXPECT_EQ(panel->Caption(), "");
            EXPECT_TRUE(panel->BevelOuterNone);
            EXPECT_EQ(panel->Align, ui::TPanel::TAlign::alTop);
        }

        // Temperatures: Celsius and Fahrenheit texts, value box beside its label.
        EXPECT_EQ(f.LabelTemp0.Caption(), "CPU : ");
        EXPECT_EQ(f.EditTemp0.Text(), Temp(0, 32));
        EXPECT_EQ(f.EditTemp0.Left(), f.LabelTemp0.Left() + f.LabelTemp0.Width() + 2);
        EXPECT_EQ(f.EditLowLimitTemp0.Text(), Temp(10, 50));
        EXPECT_EQ(f.EditHighLimitTemp0.Text(), Temp(70, 158));
        EXPECT_EQ(f.EditLowLimitTemp2.Text(), Temp(0, 32));
        EXPECT_FALSE(f.ImageCalorwand.Visible());

        // Voltages: "%s :" captions, volt texts with one decimal, a disabled input greyed.
        EXPECT_EQ(f.LabelVIN1.Caption(), "+3.3V :");
        EXPECT_EQ(f.CheckBoxVIN1.Caption(), "+3.3V :");
        EXPECT_EQ(f.EditVIN1.Text(), "0 V");
        EXPECT_EQ(f.EditLowLimitVIN1.Text(), "3.0 V");
        EXPECT_EQ(f.EditHighLimitVIN1.Text(), "3.6 V");
        EXPECT_EQ(f.EditHighLimitVIN3.Text(), "13.0 V");
        EXPECT_FALSE(f.CheckBoxVIN8.Enabled());
        EXPECT_FALSE(f.EditVIN8.Enabled());
        EXPECT_EQ(f.EditVIN8.Color(), ui::clBtnFace);
        EXPECT_EQ(f.EditLowLimitVIN8.Color(), ui::clBtnFace);
        EXPECT_EQ(f.EditVIN7.Color(), ui::clWindow);
        EXPECT_EQ(f.Settings.Voltage[1].R1, 27u);
        EXPECT_EQ(f.Settings.Voltage[1].Symbol, "+");

        // Setup page and program-wide values.
        EXPECT_EQ(f.UpDownInterval.Position(), 3000);
        EXPECT_EQ(f.EditReflashInterval.Text(), "3.0 sec");
        EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Ask Me");
        EXPECT_EQ(f.ComboBoxHowToLog.Text(), "Log if alert");
        EXPECT_TRUE(f.CheckBoxCPUtoP80.Checked());
        EXPECT_TRUE(f.TrayIcon1.Visible());
        EXPECT_TRUE(f.ckTemperature.Checked() && f.ckLoading.Checked() && f.ckVCore.Checked());
        EXPECT_TRUE(f.tabFintekSmartFan.TabVisible());
        EXPECT_EQ(f.PanelLogo.Height(), 62);
        EXPECT_EQ(f.Settings.Nt4BatchFile, p.ExeDir);
        EXPECT_EQ(f.VCoreIndex, 0);
        EXPECT_EQ(f.CpuTempIndex, 0);
        EXPECT_TRUE(p.SmartFanEnabled);
        EXPECT_FALSE(p.IsMiniPC);
        ASSERT_TRUE(p.CpuTempAverage);
        EXPECT_EQ(p.CpuTempAverage->Count(), 0);
    });
    EXPECT_TRUE(sim.Messages().empty());
    // On XP the three ghost-monitor items write their keys back while loading.
    const std::vector<std::string>& writes = writesBeforeEnd;
    ASSERT_GE(writes.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(writes.begin(), writes.begin() + 3),
              (std::vector<std::string>{"[SYSTEM] TEMPERTURE=1", "[SYSTEM] USAGE=1",
                                        "[SYSTEM] VCORE=1"}));
}

// A hand-made board INI in place of the demo board's, and what the loader makes of it.
struct IniCase {
    const char* what;
    std::vector<std::string> lines;
    std::function<void(TForm1&)> check;
    std::vector<std::string> messages = {};
};

void PrintTo(const IniCase& c, std::ostream* os) {
    *os << c.what;
}

class LoaderCases : public Loaded, public ::testing::WithParamInterface<IniCase> {};

TEST_P(LoaderCases, LoadAsDescribed) {
    sim.WriteProgramFile("A920.INI", SimFixture::CrLf(GetParam().lines));
    RunAndCheck(GetParam().check);
    EXPECT_EQ(sim.Messages(), GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(
    BoardIni, LoaderCases,
    ::testing::Values(
        IniCase{"roles by exact name, last match wins",
                {"[VIN2]", "NAME=VCore", "[VIN5]", "NAME=VCore", "[VIN7]", "NAME=vcore", "[TEMP1]",
                 "NAME=cpu"},
                [](TForm1& f) {
                    EXPECT_EQ(f.VCoreIndex, 5);
                    EXPECT_EQ(f.CpuTempIndex, 0);
                }},
        IniCase{"CPU on the third temperature",
                {"[TEMP2]", "NAME=CPU"},
                [](TForm1& f) { EXPECT_EQ(f.CpuTempIndex, 2); }},
        IniCase{"missing keys give the section names and defaults",
                {"[TEMP1]", "HINT=no name here"},
                [](TForm1& f) {
                    EXPECT_EQ(f.LabelTemp1.Caption(), "TEMP1 : ");
                    EXPECT_EQ(f.LabelVIN4.Caption(), "VIN4 :");
                    EXPECT_EQ(f.Caption(), "Velmara (ORLO) V3.0.11.001");
                    EXPECT_EQ(f.Settings.Temperature[1].Hint, "no name here");
                    EXPECT_EQ(f.UpDownHighLimitTemp1.Position(), 100);
                    EXPECT_EQ(f.EditHighLimitTemp1.Text(), Temp(100, 212));
                    EXPECT_EQ(f.UpDownInterval.Position(), 3000);
                    EXPECT_TRUE(f.CheckBoxCPUtoP80.Checked());
                    EXPECT_FALSE(f.tabFintekSmartFan.TabVisible());
                }},
        IniCase{"refused temperature limits stop at 51",
                {"[TEMP0]", "LOW LIMIT=150", "HIGH LIMIT=-5", "[TEMP1]", "LOW LIMIT=51"},
                [](TForm1& f) {
                    EXPECT_EQ(f.UpDownLowLimitTemp0.Position(), 51);
                    EXPECT_EQ(f.EditLowLimitTemp0.Text(), Temp(51, 123));
                    EXPECT_EQ(f.UpDownHighLimitTemp0.Position(), 51);
                    EXPECT_EQ(f.EditHighLimitTemp0.Text(), Temp(51, 123));
                    EXPECT_EQ(f.EditLowLimitTemp1.Text(), Temp(51, 123));
                }},
        IniCase{"a limit equal to the form position runs no handler",
                {"[FAN0]", "LOW LIMIT=0", "HIGH LIMIT=0x1F4", "[VIN0]", "LOW LIMIT=0",
                 "HIGH LIMIT=12abc", "[VIN1]", "HIGH LIMIT=3300"},
                [](TForm1& f) {
                    EXPECT_EQ(f.EditLowLimitFan0.Text(), "0");
                    EXPECT_EQ(f.EditHighLimitFan0.Text(), "500");
                    EXPECT_EQ(f.EditLowLimitVIN0.Text(), "0");
                    EXPECT_EQ(f.EditHighLimitVIN0.Text(), "0");
                    EXPECT_EQ(f.EditHighLimitVIN1.Text(), "3.3 V");
                }},
        IniCase{"monitored channels need low below high",
                {"[FAN1]", "MONITOR=1", "[VIN3]", "MONITOR=yes", "LOW LIMIT=5000",
                 "HIGH LIMIT=4000", "[TEMP2]", "MONITOR=2", "LOW LIMIT=20", "HIGH LIMIT=30"},
                [](TForm1& f) {
                    EXPECT_FALSE(f.CheckBoxFan1.Checked());
                    EXPECT_TRUE(f.UpDownLowLimitFan1.Enabled());
                    // "yes" is no number: the default, unmonitored
                    EXPECT_FALSE(f.CheckBoxVIN3.Checked());
                    EXPECT_TRUE(f.CheckBoxTemp2.Checked());
                    EXPECT_FALSE(f.UpDownHighLimitTemp2.Enabled());
                },
                {"Incorrect Limit Range!!"}},
        IniCase{"a disabled fan is greyed and keeps its form pictures",
                {"[FAN1]", "ENABLED=0", "NAME=Aux", "[FAN2]", "ENABLED=yes"},
                [](TForm1& f) {
                    const TForm1::FanRow& row = f.ChannelRows.Fan[1];
                    for (ui::Control* c : std::initializer_list<ui::Control*>{
                             row.NameLabel, row.UnitLabel, row.RangeLabel, row.MonitorBox,
                             row.LowUpDown, row.HighUpDown, row.LowEdit, row.HighEdit})
                        EXPECT_FALSE(c->Enabled()) << c->Name();
                    EXPECT_EQ(row.LowEdit->Color(), ui::clBtnFace);
                    EXPECT_EQ(f.LabelFan1.Caption(), "Aux : ");
                    for (ui::TImage* image : row.Digits)
                        EXPECT_EQ(image->Picture().kind, ui::TPicture::Kind::None);
                    EXPECT_TRUE(f.CheckBoxFan2.Enabled());
                    EXPECT_EQ(f.Image15.Picture().source, "GREEN0");
                }},
        IniCase{"a disabled temperature is greyed",
                {"[TEMP1]", "ENABLED=0"},
                [](TForm1& f) {
                    EXPECT_FALSE(f.EditTemp1.Enabled());
                    EXPECT_FALSE(f.LabelTemp1.Enabled());
                    EXPECT_FALSE(f.UpDownLowLimitTemp1.Enabled());
                    EXPECT_EQ(f.EditTemp1.Color(), ui::clBtnFace);
                    EXPECT_EQ(f.EditHighLimitTemp1.Color(), ui::clBtnFace);
                    EXPECT_TRUE(f.EditTemp2.Enabled());
                }},
        IniCase{"combo texts are read without regard to case",
                {"[SYSTEM]", "Action when exceed the limitations=shutdown",
                 "How to log=EVERY 5 minute"},
                [](TForm1& f) {
                    EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Shutdown");
                    EXPECT_EQ(f.ComboBoxHowToLog.Text(), "Every 5 minute");
                }},
        IniCase{"unknown combo texts give the defaults",
                {"[SYSTEM]", "Action when exceed the limitations=panic", "How to log=hourly"},
                [](TForm1& f) {
                    EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Ask Me");
                    EXPECT_EQ(f.ComboBoxHowToLog.Text(), "Log if alert");
                }},
        IniCase{"refused interval keeps the form value and text",
                {"[INTERVAL]", "VALUE=20000"},
                [](TForm1& f) {
                    EXPECT_EQ(f.UpDownInterval.Position(), 1000);
                    EXPECT_EQ(f.EditReflashInterval.Text(), "");
                }},
        IniCase{"interval equal to the form value changes nothing",
                {"[INTERVAL]", "VALUE=1000"},
                [](TForm1& f) { EXPECT_EQ(f.EditReflashInterval.Text(), ""); }},
        IniCase{"only the interval's low 16 bits count",
                {"[INTERVAL]", "VALUE=67536"},
                [](TForm1& f) {
                    EXPECT_EQ(f.UpDownInterval.Position(), 2000);
                    EXPECT_EQ(f.EditReflashInterval.Text(), "2.0 sec");
                }},
        IniCase{"options, password, batch file and logo",
                {"[SYSTEM]", "HiddenTrayIcon=1", "CPUTOP80=0", "PWD=Secret 1", "MINIPC=1", "SN=042",
                 "[NT4 SHUTDOWN]", "BATCH FILE=  shut.bat \t", "[LOGO]",
                 "URL=http://example.invalid/", "HEIGHT=40"},
                [](TForm1& f) {
                    EXPECT_TRUE(f.CheckBoxHiddenTrayIcon.Checked());
                    EXPECT_FALSE(f.TrayIcon1.Visible());
                    EXPECT_FALSE(f.CheckBoxCPUtoP80.Checked());
                    EXPECT_EQ(f.Settings.Password, "Secret 1");
                    EXPECT_EQ(f.Caption(), "Velmara (ORLO) V3.0.11.042");
                    EXPECT_EQ(f.Settings.Nt4BatchFile, f.Program().ExeDir + "shut.bat");
                    EXPECT_TRUE(f.Program().IsMiniPC);
                    EXPECT_EQ(f.Settings.Logo.Url, "");
                    EXPECT_EQ(f.PanelLogo.Height(), 42);
                }},
        IniCase{"ghost items off stay unticked and write nothing",
                {"[SYSTEM]", "TEMPERTURE=0", "USAGE=1"},
                [](TForm1& f) {
                    EXPECT_FALSE(f.ckTemperature.Checked());
                    EXPECT_TRUE(f.ckTemperature.Enabled());
                    EXPECT_TRUE(f.ckLoading.Checked());
                }}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(Loaded, GhostItemsOffWriteOnlyTheOthers) {
    sim.WriteProgramFile("A920.INI", SimFixture::CrLf({"[SYSTEM]", "TEMPERTURE=0", "VCORE=1"}));
    RunAndCheck([](TForm1&) {});
    // The first activation then writes the ghost monitor's own key.
    EXPECT_EQ(writesBeforeEnd, (std::vector<std::string>{"[SYSTEM] USAGE=1", "[SYSTEM] VCORE=1",
                                                         "[SYSTEM] FORM2=1"}));
}

TEST_F(Loaded, GhostItemsAreGreyedAndUnwrittenOutsideTheirSystems) {
    sim.machine->Config().version = {4, 0, 1381, os::kPlatformNT, "Service Pack 6"};
    RunAndCheck([](TForm1& f) {
        EXPECT_EQ(f.Program().OSName, "NT4");
        for (ui::TCheckBox* box :
             {&f.CheckBoxShowTransparentForm, &f.ckTemperature, &f.ckLoading, &f.ckVCore}) {
            EXPECT_FALSE(box->Checked()) << box->Name();
            EXPECT_FALSE(box->Enabled()) << box->Name();
        }
    });
    for (const std::string& write : writesBeforeEnd) {
        EXPECT_EQ(write.find("TEMPERTURE"), std::string::npos);
        EXPECT_EQ(write.find("USAGE"), std::string::npos);
    }
}

TEST_F(Loaded, EastAsianLanguagesUseTheDoubleByteDegreeSigns) {
    sim.machine->Config().lcid = 0x0411;
    RunAndCheck([](TForm1& f) {
        EXPECT_EQ(f.SystemLanguage, "JAPANESE");
        EXPECT_EQ(f.EditTemp0.Text(), "0\xA2J/32\xA2K");
        EXPECT_EQ(f.EditLowLimitTemp0.Text(), "10\xA2J/50\xA2K");
    });
}

TEST_F(Loaded, TheExternalProbeShowsItsPicture) {
    const char id[] = "ZRV-C930";
    for (int i = 0; i < 8; ++i)
        sim.machine->Board().board_id[i] = static_cast<unsigned char>(id[i]);
    sim.machine->Board().chip_id = 0x60;
    for (auto& d : sim.machine->Board().fan_divisor)
        d = 2;
    RunAndCheck([](TForm1& f) {
        EXPECT_EQ(f.BoardIniName, "C930.INI");
        EXPECT_TRUE(f.ImageCalorwand.Visible());
        EXPECT_FALSE(f.LabelTemp2.Visible());
        EXPECT_EQ(f.CheckBoxTemp2.Caption(), "Calorwand : ");
        EXPECT_EQ(f.CheckBoxTemp2.Font().Color, ui::clBlue);
        EXPECT_TRUE(f.CheckBoxTemp2.Checked());
        EXPECT_EQ(f.CheckBoxTemp1.Font().Color, ui::clWindowText);
        EXPECT_FALSE(f.CheckBoxFan2.Enabled());
        EXPECT_FALSE(f.tabFintekSmartFan.TabVisible());
    });
    EXPECT_TRUE(sim.Messages().empty());
}

// Boards of the index found by their ids: a short id, a key in other letter case, a negative
// rail with its texts.
TEST_F(Loaded, ShortIdAndNegativeRails) {
    const char id[] = "ZRV-N70";
    for (int i = 0; i < 8; ++i)
        sim.machine->Board().board_id[i] = static_cast<unsigned char>(id[i]);
    sim.machine->Board().chip_id = 0x90;
    for (auto& d : sim.machine->Board().fan_divisor)
        d = 2;
    sim.WriteProgramFile("ORLO.INI", SimFixture::CrLf({"[ORLO]", "zrv-n70=N70.INI"}));
    RunAndCheck([](TForm1& f) {
        EXPECT_EQ(f.BoardIniName, "N70.INI");
        EXPECT_EQ(f.Settings.Voltage[4].Symbol, "-");
        EXPECT_EQ(f.EditLowLimitVIN4.Text(), "-11.0 V");
        EXPECT_EQ(f.EditHighLimitVIN5.Text(), "-5.5 V");
        EXPECT_EQ(f.EditHighLimitVIN3.Text(), "13.0 V");
        EXPECT_TRUE(f.CheckBoxVIN4.Checked());
    });
    EXPECT_TRUE(sim.Messages().empty());
}

TEST_F(Loaded, Chip91BoardWithTheCpuOnTheSecondTemperature) {
    const char id[] = "ZRV-B910";
    for (int i = 0; i < 8; ++i)
        sim.machine->Board().board_id[i] = static_cast<unsigned char>(id[i]);
    sim.machine->Board().chip_id = 0x91;
    for (auto& d : sim.machine->Board().fan_divisor)
        d = 2;
    RunAndCheck([](TForm1& f) {
        EXPECT_EQ(f.CpuTempIndex, 1);
        EXPECT_EQ(f.ComboBoxWarningDefault.Text(), "Disable");
        EXPECT_EQ(f.ComboBoxHowToLog.Text(), "Every 5 minute");
        EXPECT_EQ(f.UpDownInterval.Position(), 2000);
        EXPECT_FALSE(f.CheckBoxCPUtoP80.Checked());
        EXPECT_FALSE(f.tabFintekSmartFan.TabVisible());
    });
    EXPECT_TRUE(sim.Messages().empty());
}

// Not in the index: the message, the end of the program, and no write anywhere (the final save
// finds no board INI to write either).
TEST_F(Loaded, UnknownBoardEndsTheProgramAndWritesNothing) {
    sim.machine->Board().board_id[3] = 'X';
    int code = sim.RunFor(60000);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{"Unknow mainboard type!!"});
    EXPECT_LT(sim.machine->ElapsedMs(), 1000u);
    for (const std::string& line : sim.machine->Transcript()) {
        EXPECT_EQ(line.find("ini write"), std::string::npos) << line;
        EXPECT_EQ(line.find("registry"), std::string::npos) << line;
    }
    EXPECT_FALSE(sim.ProgramFileExists("0"));
}

// An unknown board leaves no board INI name at all: the final save writes no board key, but it
// still brings the Run value in line with its box (checked, as the value exists at the start):
// the value then names the running program.
TEST_F(Loaded, UnknownBoardFinalSaveStillBringsTheRunValueInLine) {
    const char* const runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_TRUE(sim.machine->RegCreateKey(os::RegRoot::LocalMachine, runKey));
    ASSERT_TRUE(
        sim.machine->RegSet(os::RegRoot::LocalMachine, runKey,
                            os::sim::RegValue{"ZarvoORLO", false, "\"D:\\OLD\\ORLO.EXE\"", 0}));
    sim.machine->Board().board_id[3] = 'X';
    EXPECT_EQ(sim.RunFor(60000), 0);
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{"Unknow mainboard type!!"});
    for (const std::string& line : sim.machine->Transcript())
        EXPECT_EQ(line.find("ini write"), std::string::npos) << line;
    const os::sim::RegValue* value =
        sim.machine->RegGet(os::RegRoot::LocalMachine, runKey, "ZarvoORLO");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text, "\"" + std::string(SimFixture::kExe) + "\" \"5000\"");
    EXPECT_FALSE(sim.ProgramFileExists("0"));
}

TEST_F(Loaded, UnwritableBoardIniAtStartEndsTheProgramAfterOneBox) {
    sim.machine->SetReadOnly(SimFixture::ProgramPath("A920.INI"), true);
    bool shown = false;
    sim.platform->When([&] { return sim.Form1() && sim.Form1()->Visible(); },
                       [&] { shown = true; });
    int code = sim.RunFor(60000);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(shown);
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{"Unable to write to " +
                                                       SimFixture::ProgramPath("A920.INI") + "."});
    EXPECT_LT(sim.machine->ElapsedMs(), 1000u);
}

// The digit display, driven as the polling tick drives it.
struct DigitCase {
    std::string colour;
    std::uint32_t value;
    std::vector<std::string> pictures; // empty: unchanged from the loader's green zeros
};

TEST_F(Loaded, DigitDisplayShowsFiveDigits) {
    const DigitCase cases[] = {
        {"green", 2500, {"GREEN0", "GREEN2", "GREEN5", "GREEN0", "GREEN0"}},
        {"red", 99999, {"RED9", "RED9", "RED9", "RED9", "RED9"}},
        {"RED", 10203, {"RED1", "RED0", "RED2", "RED0", "RED3"}},
        {"Red", 7, {"GREEN0", "GREEN0", "GREEN0", "GREEN0", "GREEN7"}},
        {"red", 100000, {}},
    };
    RunAndCheck([&](TForm1& f) {
        for (const DigitCase& c : cases) {
            ui::TImage* const* images = f.ChannelRows.Fan[1].Digits;
            f.ShowLedNumber("green", 0, images);
            int repaints = images[4]->RepaintCount();
            f.ShowLedNumber(c.colour, c.value, images);
            std::vector<std::string> expected = c.pictures;
            if (expected.empty()) expected.assign(5, "GREEN0");
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(images[i]->Picture().source, expected[static_cast<size_t>(i)])
                    << c.colour << " " << c.value << " digit " << i;
            EXPECT_EQ(images[4]->RepaintCount(), repaints + (c.pictures.empty() ? 0 : 1));
        }
    });
}

} // namespace
