// The settings password on the simulated machine: the change-password window with its refusals,
// the prompt on the Configure page (by tab and by the tray command), the "View Log File" button
// that opening the page sets, and the password kept in [SYSTEM] PWD across a restart.
#include "SimFixture.h"

#include "monitor/Driver.h"
#include "monitor/PasswordForms.h"
#include "monitor/SystemHelpers.h"
#include "os/sim/ProfileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

using monitor::MonitorProgram;
using monitor::TForm1;

namespace {

const std::string kBoardIni = "A920.INI";

// The user types `keys` into whatever edit of `form` has the focus at each key.
void Type(ui::Form& form, const std::string& keys) {
    for (char key : keys) {
        auto* edit = dynamic_cast<ui::TEdit*>(form.ActiveControl);
        ASSERT_NE(edit, nullptr) << form.Name() << " has no edit with the focus";
        edit->UserKeyPress(key);
    }
}

std::string Erase(std::size_t characters) {
    return std::string(characters, '\b');
}

// The board INI as installed, with its password replaced.
std::string BoardIniWithPassword(const std::string& line) {
    std::string ini = SimFixture::DataFile(kBoardIni) + SimFixture::kSmartFanConfigured;
    const std::string shipped = "PWD=\r\n";
    ini.replace(ini.find(shipped), shipped.size(), line + "\r\n");
    return ini;
}

// The value of [SYSTEM] PWD as the program reads it.
std::string StoredPassword(SimFixture& sim) {
    return sim.process->GetPrivateProfileString("SYSTEM", "PWD", "?",
                                                SimFixture::ProgramPath(kBoardIni));
}

// The index of the first transcript line holding `part`; the transcript's size when none does.
std::size_t TranscriptIndex(const SimFixture& sim, const std::string& part) {
    const auto& lines = sim.machine->Transcript();
    auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    });
    return static_cast<std::size_t>(it - lines.begin());
}

// --- the change-password window ---------------------------------------------------------------

struct ChangeCase {
    const char* what;
    std::string newPassword; // typed into NewPassword, Enter moving on to ConfirmPassword
    std::string confirm;     // typed into ConfirmPassword
    bool byEnter;            // Enter in ConfirmPassword, else a click on "OK"
    std::vector<std::string> messages;
    std::string stored;     // the password afterwards (the INI's starts as "old")
    std::string storedLine; // the PWD line of the board INI afterwards
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.what;
}

const char* const kTooShort = "New Password must contain unless 3 characters";
const char* const kNotEqual = "New Password and Confirm New Password are not equal";

class ChangePassword : public ::testing::TestWithParam<ChangeCase> {};

// The window asks for no old password. One or two bytes are refused before the texts are
// compared; a refusal leaves the window open with the focus in NewPassword (both edits emptied,
// as the window's activation does when the box closes) and stores nothing.
TEST_P(ChangePassword, AcceptsOrRefusesTheNewPassword) {
    const ChangeCase& c = GetParam();
    SimFixture sim;
    sim.WriteProgramFile(kBoardIni, BoardIniWithPassword("PWD=old"));
    bool openAfterOk = false, focusBack = false, emptied = false;
    std::string storedWhileRunning, lineWhileRunning;
    sim.At(1000, [](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.PageControl1.UserSelect(&f.tabSetup);
        f.Button2.UserClick(); // "Set Password": modal until closed
    });
    sim.At(1500, [&](TForm1& f) {
        monitor::TFormChangePassword& w = *f.Program().FormChangePassword;
        ASSERT_TRUE(w.Visible() && w.Modal());
        ASSERT_EQ(w.ActiveControl, &w.NewPassword);
        Type(w, c.newPassword + "\r");
        ASSERT_EQ(w.ActiveControl, &w.ConfirmPassword);
        Type(w, c.confirm);
        if (c.byEnter)
            Type(w, "\r");
        else
            w.Button1.UserClick();
    });
    sim.At(2000, [&](TForm1& f) {
        monitor::TFormChangePassword& w = *f.Program().FormChangePassword;
        openAfterOk = w.Visible();
        focusBack = w.ActiveControl == &w.NewPassword;
        emptied = w.NewPassword.Text().empty() && w.ConfirmPassword.Text().empty();
        if (openAfterOk) w.Button2.UserClick(); // "Cancel"
    });
    sim.RunFor(3000, [&](MonitorProgram& p) {
        storedWhileRunning = p.Form1->Settings.Password;
        lineWhileRunning = LinesContaining(sim.ReadProgramFile(kBoardIni), "PWD=").at(0);
        EXPECT_FALSE(p.FormChangePassword->Visible());
    });
    const bool refused = !c.messages.empty() && c.messages[0] != "Password Cleared";
    EXPECT_EQ(sim.Messages(), c.messages);
    EXPECT_EQ(openAfterOk, refused);
    if (refused) {
        EXPECT_TRUE(focusBack && emptied);
    }
    EXPECT_EQ(storedWhileRunning, c.stored);
    EXPECT_EQ(lineWhileRunning, c.storedLine);
    EXPECT_EQ(StoredPassword(sim), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangePassword,
    ::testing::Values(
        ChangeCase{"three characters are taken", "abc", "abc", true, {}, "abc", "PWD=abc"},
        ChangeCase{"by the OK button", "Pass1", "Pass1", false, {}, "Pass1", "PWD=Pass1"},
        ChangeCase{
            "two characters twice are refused", "ab", "ab", true, {kTooShort}, "old", "PWD=old"},
        ChangeCase{"one character is refused before the texts are compared",
                   "a",
                   "b",
                   false,
                   {kTooShort},
                   "old",
                   "PWD=old"},
        ChangeCase{"one double-byte character counts two bytes",
                   "\xA4\x40",
                   "\xA4\x40",
                   true,
                   {kTooShort},
                   "old",
                   "PWD=old"},
        ChangeCase{"unequal texts are refused", "abc", "abd", true, {kNotEqual}, "old", "PWD=old"},
        ChangeCase{"letter case counts", "abc", "ABC", false, {kNotEqual}, "old", "PWD=old"},
        ChangeCase{"an empty new password with a confirmation is unequal",
                   "",
                   "abc",
                   true,
                   {kNotEqual},
                   "old",
                   "PWD=old"},
        ChangeCase{
            "both empty clear the password", "", "", false, {"Password Cleared"}, "", "PWD="},
        // The INI read removes the blanks around a value and enclosing quotes: such a password
        // is stored in double quotes so that it reads back as typed.
        ChangeCase{"blanks at the ends are kept",
                   " my pass ",
                   " my pass ",
                   true,
                   {},
                   " my pass ",
                   "PWD=\" my pass \""},
        ChangeCase{
            "enclosing quotes are kept", "'abc'", "'abc'", true, {}, "'abc'", "PWD=\"'abc'\""}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// "Password Cleared" comes after the save has written the empty password.
TEST(ChangePasswordOrder, ClearedIsShownAfterTheSave) {
    SimFixture sim;
    sim.WriteProgramFile(kBoardIni, BoardIniWithPassword("PWD=old"));
    sim.At(1000, [](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.Button2.UserClick();
    });
    sim.At(1500, [](TForm1& f) { f.Program().FormChangePassword->Button1.UserClick(); });
    sim.RunFor(2000);
    const std::size_t save = TranscriptIndex(sim, "[SYSTEM] PWD=");
    const std::size_t box = TranscriptIndex(sim, "Password Cleared");
    ASSERT_LT(box, sim.machine->Transcript().size());
    EXPECT_LT(save, box);
}

// "Cancel" (or Esc) closes the window and changes nothing; a later showing starts empty.
TEST(ChangePasswordCancel, ChangesNothingAndTheNextShowingIsEmpty) {
    SimFixture sim;
    sim.WriteProgramFile(kBoardIni, BoardIniWithPassword("PWD=old"));
    std::vector<std::string> textsAtSecondShowing;
    sim.At(1000, [](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.Button2.UserClick();
    });
    sim.At(1500, [](TForm1& f) {
        monitor::TFormChangePassword& w = *f.Program().FormChangePassword;
        Type(w, "newpass\rnewpass");
        w.Button2.UserClick();
    });
    sim.At(2000, [](TForm1& f) { f.Button2.UserClick(); });
    sim.At(2500, [&](TForm1& f) {
        monitor::TFormChangePassword& w = *f.Program().FormChangePassword;
        textsAtSecondShowing = {w.NewPassword.Text(), w.ConfirmPassword.Text()};
        Type(w, "other\rother");
        w.UserKeyDown(ui::kVkEscape);
    });
    sim.RunFor(3000, [](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->Settings.Password, "old");
        EXPECT_FALSE(p.FormChangePassword->Visible());
    });
    EXPECT_EQ(textsAtSecondShowing, (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(sim.Messages().empty());
}

// A close by the system (Alt+F4, any WM_CLOSE) is "Cancel": nothing changes, no box.
TEST(ChangePasswordCancel, ClosedBySystemChangesNothing) {
    SimFixture sim;
    sim.WriteProgramFile(kBoardIni, BoardIniWithPassword("PWD=old"));
    sim.At(1000, [](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.Button2.UserClick();
    });
    sim.At(1500, [](TForm1& f) {
        monitor::TFormChangePassword& w = *f.Program().FormChangePassword;
        ASSERT_TRUE(w.Visible() && w.Modal());
        Type(w, "newpass\rnewpass");
        w.UserClose();
    });
    sim.RunFor(2000, [](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->Settings.Password, "old");
        EXPECT_FALSE(p.FormChangePassword->Visible());
    });
    EXPECT_EQ(StoredPassword(sim), "old");
    EXPECT_TRUE(sim.Messages().empty());
}

// --- the prompt on the Configure page -----------------------------------------------------------

class Prompt : public ::testing::Test {
  protected:
    Prompt() { sim.WriteProgramFile(kBoardIni, BoardIniWithPassword("PWD=Secret")); }
    static monitor::TFormPassword& PromptOf(TForm1& f) { return *f.Program().FormPassword; }
    // A closed prompt ends its modal run when the handler that closed it has returned.
    static bool PromptOpen(TForm1& f) { return PromptOf(f).Visible() && PromptOf(f).Modal(); }
    std::size_t SensorReads() const {
        return sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS).size();
    }
    SimFixture sim;
};

// Wrong texts, the right one in another letter case included, show "Password Error" and keep the
// prompt open with the typed text and the focus in the edit, as often as the user tries; the
// polling goes on underneath. The right text ends it on the Configure page.
TEST_F(Prompt, OnlyTheRightPasswordOpensTheConfigurePage) {
    std::size_t readsAtOpen = 0, readsLater = 0;
    sim.At(1000, [&](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
    });
    sim.At(1500, [&](TForm1& f) {
        monitor::TFormPassword& w = PromptOf(f);
        ASSERT_TRUE(PromptOpen(f));
        EXPECT_EQ(w.ActiveControl, &w.Password);
        readsAtOpen = SensorReads();
        for (const std::string wrong : {"secret", "SECRET", "Secret ", "x"}) {
            Type(w, wrong + "\r");
            EXPECT_TRUE(PromptOpen(f)) << wrong;
            EXPECT_EQ(w.Password.Text(), wrong);
            EXPECT_EQ(w.ActiveControl, &w.Password);
            Type(w, Erase(wrong.size()));
        }
        w.Button1.UserClick(); // an empty text is wrong as well
        EXPECT_TRUE(PromptOpen(f));
    });
    sim.At(9000, [&](TForm1& f) {
        readsLater = SensorReads();
        Type(PromptOf(f), "Secret");
        PromptOf(f).Button1.UserClick();
    });
    sim.At(9500, [&](TForm1& f) {
        EXPECT_FALSE(PromptOpen(f));
        EXPECT_EQ(f.PageControl1.ActivePage(), &f.TabSheetConfigure);
    });
    sim.RunFor(10000, [](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->PageControl1.ActivePage(), &p.Form1->TabSheetConfigure);
    });
    EXPECT_EQ(sim.Messages(), std::vector<std::string>(5, "Password Error"));
    EXPECT_GT(readsLater, readsAtOpen);
}

// "Cancel" and Esc end the prompt on the Fan page, which shows no prompt of its own; the next
// opening of the Configure page asks again.
TEST_F(Prompt, CancelReturnsToTheFanPage) {
    int promptsSeen = 0;
    sim.At(1000, [&](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
    });
    sim.At(1500, [&](TForm1& f) {
        promptsSeen += PromptOpen(f);
        PromptOf(f).Button2.UserClick();
        EXPECT_EQ(f.PageControl1.ActivePage(), &f.TabSheet1);
    });
    sim.At(2000, [&](TForm1& f) {
        EXPECT_FALSE(PromptOpen(f));
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
    });
    sim.At(2500, [&](TForm1& f) {
        promptsSeen += PromptOpen(f);
        PromptOf(f).UserKeyDown(ui::kVkEscape);
    });
    sim.RunFor(3000, [](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->PageControl1.ActivePage(), &p.Form1->TabSheet1);
        EXPECT_FALSE(p.FormPassword->Visible());
    });
    EXPECT_EQ(promptsSeen, 2);
    EXPECT_TRUE(sim.Messages().empty());
}

// A close by the system (Alt+F4, any WM_CLOSE) ends the prompt as "Cancel" does: back on the
// Fan page, from the tab and from the tray command alike, and the next opening asks again. The
// Fan page's show handler runs once for each return, "Cancel" included (whose own handler has
// made the page active before the prompt's end makes it active once more).
TEST_F(Prompt, ClosedBySystemReturnsToTheFanPage) {
    int fanShows = 0;
    std::vector<int> showsAtReturn;
    std::vector<std::string> pageAtReturn;
    auto closeAndLookLater = [&](std::uint32_t at, bool byCancel) {
        sim.At(at, [&, byCancel](TForm1& f) {
            ASSERT_TRUE(PromptOpen(f));
            Type(PromptOf(f), "Sec");
            if (byCancel)
                PromptOf(f).Button2.UserClick();
            else
                PromptOf(f).UserClose();
        });
        sim.At(at + 300, [&](TForm1& f) {
            EXPECT_FALSE(PromptOpen(f));
            pageAtReturn.push_back(f.PageControl1.ActivePage()->Name());
            showsAtReturn.push_back(fanShows);
        });
    };
    sim.At(900, [&](TForm1& f) {
        f.TabSheet1.OnShow = [&fanShows, shown = f.TabSheet1.OnShow](ui::Component* s) {
            ++fanShows;
            if (shown) shown(s);
        };
        f.TrayIcon1.UserLeftClick();
    });
    sim.At(1000, [](TForm1& f) { f.PageControl1.UserSelect(&f.TabSheetConfigure); });
    closeAndLookLater(1500, false);
    sim.At(2000, [](TForm1& f) { f.Setup1.UserClick(); });
    closeAndLookLater(2500, false);
    sim.At(3000, [](TForm1& f) { f.PageControl1.UserSelect(&f.TabSheetConfigure); });
    closeAndLookLater(3500, true);
    sim.RunFor(4000, [](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->PageControl1.ActivePage(), &p.Form1->TabSheet1);
    });
    EXPECT_EQ(pageAtReturn, std::vector<std::string>(3, "TabSheet1"));
    EXPECT_EQ(showsAtReturn, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(sim.Messages().empty());
}

// The application's end while the prompt is open (the installer's exit message) ends the
// prompt as cancelled; nothing follows it: no page is made active, no box, and the final save
// runs as after any run.
TEST_F(Prompt, ApplicationEndWhileThePromptIsOpenRunsNothingMore) {
    int fanShows = 0;
    sim.At(1000, [&](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
    });
    const int code = sim.RunFor(1500, [&](MonitorProgram& p) {
        ASSERT_TRUE(PromptOpen(*p.Form1));
        p.Form1->TabSheet1.OnShow = [&fanShows](ui::Component*) { ++fanShows; };
        p.Form1->PageControl1.OnChange = [&fanShows](ui::Component*) { fanShows += 100; };
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(fanShows, 0);
    EXPECT_TRUE(sim.Messages().empty());
    const std::vector<std::string> writes = sim.IniWrites(kBoardIni);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "[SYSTEM] PWD=Secret"), 1);
}

// The tray command "&Configure" restores the window on the Configure page and asks; an earlier
// right entry is not remembered.
TEST_F(Prompt, TrayCommandConfigureAsksEveryTime) {
    int promptsSeen = 0;
    sim.At(900, [](TForm1& f) { EXPECT_TRUE(f.Minimized()); });
    for (std::uint32_t at : {1000u, 2000u}) {
        sim.At(at, [](TForm1& f) { f.Setup1.UserClick(); });
        sim.At(at + 500, [&](TForm1& f) {
            EXPECT_FALSE(f.Minimized());
            EXPECT_EQ(f.PageControl1.ActivePage(), &f.TabSheetConfigure);
            promptsSeen += PromptOpen(f);
            Type(PromptOf(f), "Secret\r");
        });
        sim.At(at + 800, [](TForm1& f) { EXPECT_FALSE(PromptOpen(f)); });
    }
    sim.RunFor(3000, [](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->PageControl1.ActivePage(), &p.Form1->TabSheetConfigure);
    });
    EXPECT_EQ(promptsSeen, 2);
    EXPECT_TRUE(sim.Messages().empty());
}

// Without a password the Configure page opens freely, from the tab and from the tray.
TEST(PromptWithoutPassword, ConfigurePageOpensFreely) {
    SimFixture sim;
    bool asked = false;
    sim.At(1000, [&](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
        asked = asked || f.Program().FormPassword->Visible();
        f.PageControl1.UserSelect(&f.tabSetup);
        f.Setup1.UserClick();
        asked = asked || f.Program().FormPassword->Visible();
    });
    sim.RunFor(2000, [](MonitorProgram& p) {
        EXPECT_EQ(p.Form1->PageControl1.ActivePage(), &p.Form1->TabSheetConfigure);
    });
    EXPECT_FALSE(asked);
}

// Opening the Configure page enables "View Log File" only while log.txt exists, password or
// not; other pages leave the button alone.
TEST(PromptWithoutPassword, ConfigurePageFollowsTheLogFile) {
    SimFixture sim;
    std::vector<bool> enabled;
    sim.At(1000, [&](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        ASSERT_TRUE(sim.ProgramFileExists("log.txt")); // the first tick's line
        ASSERT_TRUE(sim.machine->DeleteFile(SimFixture::ProgramPath("log.txt")));
        f.PageControl1.UserSelect(&f.tabSetup);
        enabled.push_back(f.BtnViewLogFile.Enabled());
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
        enabled.push_back(f.BtnViewLogFile.Enabled());
        sim.WriteProgramFile("log.txt", "line\r\n");
        f.PageControl1.UserSelect(&f.tabSetup);
        enabled.push_back(f.BtnViewLogFile.Enabled());
        f.PageControl1.UserSelect(&f.TabSheetConfigure);
        enabled.push_back(f.BtnViewLogFile.Enabled());
    });
    sim.RunFor(1500);
    EXPECT_EQ(enabled, (std::vector<bool>{true, false, false, true}));
}

// --- the password across runs -------------------------------------------------------------------

// Set in one run, the password guards the next: it is read back from [SYSTEM] PWD exactly as it
// was typed, blanks included.
TEST(PasswordAcrossRuns, SurvivesARestart) {
    SimFixture sim;
    const std::string password = " two words ";
    sim.At(1000, [&](TForm1& f) {
        f.TrayIcon1.UserLeftClick();
        f.Button2.UserClick();
    });
    sim.At(1500, [&](TForm1& f) {
        Type(*f.Program().FormChangePassword, password + "\r" + password + "\r");
    });
    sim.RunFor(2000);

    sim.Restart();
    std::string loaded;
    std::vector<bool> openAfter;
    sim.At(1000, [&](TForm1& f) {
        loaded = f.Settings.Password;
        f.Setup1.UserClick();
    });
    sim.At(1500, [&](TForm1& f) { Type(*f.Program().FormPassword, "two words\r"); });
    sim.At(1600, [&](TForm1& f) {
        monitor::TFormPassword& w = *f.Program().FormPassword;
        openAfter.push_back(w.Visible());
        Type(w, Erase(9) + password + "\r");
    });
    sim.At(1700, [&](TForm1& f) { openAfter.push_back(f.Program().FormPassword->Visible()); });
    sim.RunFor(2000);
    EXPECT_EQ(loaded, password);
    EXPECT_EQ(openAfter, (std::vector<bool>{true, false}));
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{"Password Error"});
}

// What the save writes reads back as the text it was made from (by the INI rules that the Wine
// test ini_rules checks against Windows); a text the read keeps is written as it is.
TEST(ProfileValue, ReadsBackAsTheText) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", false},   {"abc", false},     {"a b", false},   {" a", true},    {"a ", true},
        {"\ta", true}, {"'a'", true},      {"\"a\"", true},  {"'a\"", false}, {"\"", false},
        {"a'", false}, {"\"a b\" ", true}, {"x=y;z", false},
    };
    for (const auto& [text, quoted] : cases) {
        const std::string value = monitor::ProfileValueFor(text);
        EXPECT_EQ(value != text, quoted) << "[" << text << "]";
        std::string ini;
        ASSERT_TRUE(os::sim::ProfileSetString(ini, "SYSTEM", "PWD", value));
        EXPECT_EQ(os::sim::ProfileGetString(ini, "SYSTEM", "PWD", "?"), text) << "[" << text << "]";
    }
}

} // namespace
