// The main window as a user handles it by the system and the keyboard: a minimise by the
// system hides it into the tray and every way back is the tray icon's restore on the Fan page;
// Tab leaves out the read-only edits, an arrow key on a focused limit up-down changes the limit,
// Alt with a page tab's letter picks the page as a click on the tab does.
#include "SimFixture.h"

#include "monitor/PasswordForms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kBoardIni = "A920.INI";

struct RestoreRoad {
    const char* name;
    std::function<void(SimFixture&, TForm1&)> restore;
};
std::ostream& operator<<(std::ostream& os, const RestoreRoad& road) {
    return os << road.name;
}

class MinimisedByTheUser : public ::testing::TestWithParam<RestoreRoad> {};

// The user opens the window from the tray on the Setup page and minimises it by the caption's
// button; each road back shows the Fan page at its size, active.
TEST_P(MinimisedByTheUser, GoesToTheTrayAndComesBackOnTheFanPage) {
    SimFixture sim;
    std::vector<IniKey> keys = Monitored("FAN0", 3000, 9000);
    keys.push_back({"SYSTEM", "Action when exceed the limitations", "Ignore"});
    sim.WriteProgramFile(kBoardIni, ScenarioBoardIni(keys) + SimFixture::kSmartFanConfigured);
    SetFanCount92(sim.machine->Board(), 0, 250);
    sim.At(1000, [](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.PageControl1.UserSelect(&f.tabSetup);
        f.UserMinimize();
        EXPECT_TRUE(f.TrayIcon1.Minimized());
        EXPECT_TRUE(f.Minimized());
        EXPECT_FALSE(f.Active());
    });
    sim.At(2000, [](TForm1& f) {
        EXPECT_TRUE(f.Minimized()) << "in the tray until a road brings it back";
        EXPECT_EQ(f.PageControl1.ActivePage(), &f.tabSetup);
    });
    sim.At(2500, [&](TForm1& f) { GetParam().restore(sim, f); });
    bool checked = false;
    sim.RunFor(6000, [&](MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_FALSE(f.TrayIcon1.Minimized());
        EXPECT_FALSE(f.Minimized());
        EXPECT_TRUE(f.Active());
        EXPECT_EQ(f.PageControl1.ActivePage(), &f.TabSheet1);
        EXPECT_EQ(f.Width(), 383);
        EXPECT_EQ(f.Height(), 376);
        checked = true;
    });
    EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRoadBack, MinimisedByTheUser,
    ::testing::Values(
        RestoreRoad{"TrayClick", [](SimFixture&, TForm1& f) { f.TrayIcon1.UserLeftClick(); }},
        RestoreRoad{"TrayOpen", [](SimFixture&, TForm1& f) { f.Open1.UserClick(); }},
        RestoreRoad{"SecondStart",
                    [](SimFixture& sim, TForm1&) {
                        sim.process->BroadcastMessage(
                            sim.process->RegisterWindowMessage("OpenZarvoORLO"), 0, 0);
                    }},
        RestoreRoad{"LimitAlarm",
                    [](SimFixture& sim, TForm1&) { StopFan92(sim.machine->Board(), 0); }},
        RestoreRoad{"SystemRestore", [](SimFixture&, TForm1& f) { f.UserRestore(); }}),
    [](const auto& info) { return std::string(info.param.name); });

class MainWindowKeys : public ::testing::Test {
  protected:
    // FAN0 unmonitored, so that its limits can change, from 3000 to 9000 RPM.
    void Start(std::vector<IniKey> keys = {}) {
        std::vector<IniKey> all = {{"FAN0", "LOW LIMIT", "3000"}, {"FAN0", "HIGH LIMIT", "9000"}};
        all.insert(all.end(), keys.begin(), keys.end());
        sim.WriteProgramFile(kBoardIni, ScenarioBoardIni(all) + SimFixture::kSmartFanConfigured);
        sim.At(1000, [](TForm1& f) { f.TrayIcon1.UserLeftClick(); });
    }
    SimFixture sim;
};

// On every page Tab stops at no read-only edit; on the Configure page it reaches the limit
// up-downs.
TEST_F(MainWindowKeys, TabLeavesOutTheReadOnlyEditsOnEveryPage) {
    Start();
    sim.At(1500, [](TForm1& f) {
        for (ui::TTabSheet* page : f.PageControl1.Pages()) {
            if (!page->TabVisible()) continue;
            f.PageControl1.SetActivePage(page);
            std::vector<ui::Control*> stops = f.TabStops();
            for (ui::Control* stop : stops) {
                auto* edit = dynamic_cast<ui::TEdit*>(stop);
                EXPECT_FALSE(edit && edit->ReadOnly()) << page->Name() << ": " << stop->Name();
            }
            if (page == &f.TabSheetConfigure) {
                EXPECT_NE(std::find(stops.begin(), stops.end(), &f.UpDownLowLimitFan0),
                          stops.end());
                EXPECT_NE(std::find(stops.begin(), stops.end(), &f.CheckBoxFan0), stops.end());
            }
            for (std::size_t i = 0; i < stops.size(); ++i)
                f.UserKeyDown(ui::kVkTab);
            auto* edit = dynamic_cast<ui::TEdit*>(f.ActiveControl);
            EXPECT_FALSE(edit && edit->ReadOnly()) << page->Name();
        }
    });
    sim.RunFor(2000);
}

// The arrow keys on the focused low limit of FAN0 move it by its step, show it in its edit and
// save it, as clicks on its arrows do.
TEST_F(MainWindowKeys, ArrowKeysChangeTheFocusedLimit) {
    Start();
    int step = 0;
    std::string shown;
    sim.At(1500, [&](TForm1& f) {
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
        f.UpDownLowLimitFan0.SetFocus();
        step = f.UpDownLowLimitFan0.Increment;
        f.UserKeyDown(ui::kVkUp);
        f.UserKeyDown(ui::kVkUp);
        f.UserKeyDown(ui::kVkDown);
        shown = f.EditLowLimitFan0.Text();
    });
    sim.RunFor(2000, [&](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->UpDownLowLimitFan0.Position(), 3000 + step);
    });
    ASSERT_GT(step, 0);
    EXPECT_NE(shown.find(std::to_string(3000 + step)), std::string::npos) << shown;
    const std::vector<std::string> writes = sim.IniWrites(kBoardIni);
    EXPECT_NE(
        std::find(writes.begin(), writes.end(), "[FAN0] LOW LIMIT=" + std::to_string(3000 + step)),
        writes.end());
}

// Alt+S and Alt+F pick their pages; Alt+C picks the Configure page as a click on its tab does:
// the password prompt comes.
TEST_F(MainWindowKeys, AltWithATabsLetterPicksItsPage) {
    Start({{"SYSTEM", "PWD", "Secret"}});
    bool prompted = false;
    sim.platform->When(
        [&] { return sim.Form1() && sim.Form1()->Program().FormPassword->Visible(); },
        [&] {
            prompted = true;
            sim.Form1()->Program().FormPassword->UserKeyDown(ui::kVkEscape);
        });
    std::vector<std::string> pages;
    sim.At(1500, [&](TForm1& f) {
        for (char letter : {'s', 'F', 'c'}) {
            EXPECT_TRUE(f.UserMnemonic(letter)) << letter;
            pages.push_back(f.PageControl1.ActivePage()->Name());
        }
    });
    sim.RunFor(2500);
    EXPECT_TRUE(prompted);
    // Cancelling the prompt went back to the Fan page.
    EXPECT_EQ(pages, (std::vector<std::string>{"tabSetup", "TabSheet1", "TabSheet1"}));
}

} // namespace
