// The installer's start and wizard on the simulated machine: its OS name, its program-wide
// values, the mode its first argument selects, the pages with their captions, texts and focus,
// the folder chooser, and the restart on the last page.
#include "SetupFixture.h"

#include "ui/Application.h"
#include "ui/ExtCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using setup::TForm1;

namespace {

// --- the OS name ------------------------------------------------------------------------------

TEST(SetupOSName, NamesEveryNineXVersionAfterNinetyFiveNinetyEight) {
    struct Case {
        std::uint32_t platform, major, minor;
        const char* name;
    };
    const std::vector<Case> cases = {
        {os::kPlatformWin32s, 3, 10, "32S"}, {os::kPlatformWin9x, 4, 0, "95"},
        {os::kPlatformWin9x, 4, 10, "98"},   {os::kPlatformWin9x, 4, 90, "98"},
        {os::kPlatformWin9x, 5, 0, "98"},    {os::kPlatformNT, 3, 51, "NT3"},
        {os::kPlatformNT, 4, 0, "NT4"},      {os::kPlatformNT, 5, 0, "2000"},
        {os::kPlatformNT, 5, 1, "XP"},       {os::kPlatformNT, 5, 2, "SERVER2003"},
        {os::kPlatformNT, 6, 0, ""},         {3, 5, 1, ""},
    };
    for (const Case& c : cases) {
        os::VersionInfo version{c.major, c.minor, 0, c.platform, ""};
        EXPECT_EQ(setup::OSNameOf(version), c.name)
            << c.platform << " " << c.major << "." << c.minor;
    }
}

// A failed version query shows its message at construction; the empty name then demands no
// administrator rights.
TEST(SetupOSName, FailedQueryShowsItsMessageAndDemandsNoRights) {
    os::sim::MachineConfig config;
    config.versionQueryFails = true;
    config.administrator = false;
    SetupFixture sim(config);
    SetupUser user(sim, sim.Start());
    std::string name = "?";
    user.OnPage(&TForm1::TabSheet1, [&](TForm1& w) { name = w.Program().OSName; });
    user.Install();
    EXPECT_EQ(user.Run(), 0);
    EXPECT_EQ(name, "");
    ASSERT_FALSE(user.platform.MessageBoxes().empty());
    EXPECT_EQ(user.platform.MessageBoxes()[0].text, "Error in GetVersionEx");
    EXPECT_EQ(user.platform.MessageBoxes()[0].caption, "Setup");
    EXPECT_TRUE(sim.Lines("service-control manager").empty());
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
}

// --- the program-wide values and the window ----------------------------------------------------

TEST(SetupStart, ProgramWideValuesFollowTheMachine) {
    struct Case {
        const char* what;
        std::function<void(os::sim::MachineConfig&)> configure;
        const char* winDir;
        const char* destDir;
        std::uint32_t wow64;
    };
    const std::vector<Case> cases = {
        {"32-bit XP", {}, "C:\\WINDOWS\\", "C:\\Program Files", 0},
        {"Windows on drive D:", [](auto& c) { c.windowsFolder = "D:\\WINNT"; }, "D:\\WINNT\\",
         "D:\\Program Files", 0},
        {"64-bit Windows", [](auto& c) { c.wow64 = true; }, "C:\\WINDOWS\\", "C:\\Program Files",
         1},
        {"no IsWow64Process",
         [](auto& c) {
             c.wow64 = true;
             c.wow64ProbeExists = false;
         },
         "C:\\WINDOWS\\", "C:\\Program Files", 0},
        {"IsWow64Process fails",
         [](auto& c) {
             c.wow64 = true;
             c.wow64ProbeFails = true;
         },
         "C:\\WINDOWS\\", "C:\\Program Files", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        os::sim::MachineConfig config;
        if (c.configure) c.configure(config);
        SetupFixture sim(config);
        SetupUser user(sim, sim.Start());
        setup::SetupProgram* program = nullptr;
        std::string label;
        user.OnPage(&TForm1::TabSheet6, [&](TForm1& w) {
            program = &w.Program();
            label = w.LabelDestDir.Caption();
            EXPECT_EQ(program->SetupDir, "C:\\DIST\\");
            EXPECT_EQ(program->WinDir, c.winDir);
            EXPECT_EQ(program->DestDir, c.destDir);
            EXPECT_EQ(program->IsWow64, c.wow64);
            EXPECT_EQ(program->OSName, "XP");
            EXPECT_EQ(program->ExitMessageId, sim.machine->RegisterWindowMessage("EXITZarvoORLO"));
        });
        user.Click(&TForm1::TabSheet1, &TForm1::Button2);
        user.Click(&TForm1::TabSheet6, &TForm1::Button15);
        EXPECT_EQ(user.Run(), 0);
        ASSERT_NE(program, nullptr);
        EXPECT_EQ(label, c.destDir);
    }
}

// The tab row lies above the client area: the page control moves 22 pixels up and the window
// loses as much of its height, so only the buttons change pages.
TEST(SetupStart, WindowHidesItsTabRow) {
    SetupFixture sim;
    SetupUser user(sim, sim.Start());
    bool checked = false;
    user.OnPage(&TForm1::TabSheet1, [&](TForm1& w) {
        checked = true;
        EXPECT_EQ(w.ClientWidth(), 386);
        EXPECT_EQ(w.ClientHeight(), 220 - 22);
        EXPECT_EQ(w.PageControl1.Top(), -22);
        EXPECT_EQ(w.PageControl1.Left(), 0);
        EXPECT_EQ(w.PageControl1.Height(), 220);
        EXPECT_EQ(w.BorderIcons, 0u);
        EXPECT_EQ(w.BorderStyle, ui::TBorderStyle::bsSingle);
        EXPECT_EQ(w.App().Title, "Setup");
        std::vector<std::string> pages;
        for (ui::TTabSheet* page : w.PageControl1.Pages())
            pages.push_back(page->Name());
        EXPECT_EQ(pages, (std::vector<std::string>{"TabSheet1", "TabSheet2", "TabSheet3",
                                                   "TabSheet5", "TabSheet6"}));
        w.Button3.UserClick();
    });
    EXPECT_EQ(user.Run(), 0);
    EXPECT_TRUE(checked);
}

// --- the mode ------------------------------------------------------------------------------------

// The first argument, upper-cased, is compared exactly: anything else shows the wizard.
TEST(SetupStart, FirstArgumentSelectsTheMode) {
    enum Mode { Wizard, Confirm, Silent };
    struct Case {
        std::vector<std::string> args;
        Mode mode;
    };
    const std::vector<Case> cases = {
        {{}, Wizard},
        {{"-uninstall"}, Confirm},
        {{"-Uninstall", "C:\\Other"}, Confirm},
        {{"-UNINSTALL_NOW", "C:\\PROGRA~1"}, Silent},
        {{"-Uninstall_Now"}, Silent},
        {{"-UNINSTALL "}, Wizard},
        {{"-UNINSTALLNOW"}, Wizard},
        {{"/UNINSTALL"}, Wizard},
        {{"", "-UNINSTALL"}, Wizard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : "\"" + c.args[0] + "\"");
        SetupFixture sim;
        SetupUser user(sim, sim.Start(c.args));
        std::string caption;
        ui::Control* focus = nullptr;
        ui::Control* expected = nullptr;
        auto look = [&](TForm1& w) {
            caption = w.Caption();
            focus = w.ActiveControl;
        };
        user.OnPage(&TForm1::TabSheet1, [&](TForm1& w) {
            look(w);
            expected = &w.Button2;
            w.Button3.UserClick();
        });
        user.OnPage(&TForm1::TabSheet5, [&](TForm1& w) {
            look(w);
            expected = &w.Button9;
            w.Button7.UserClick();
        });
        EXPECT_EQ(user.Run(), 0);
        bool removed = !sim.Lines("registry delete").empty() || !sim.Lines("broadcast").empty();
        switch (c.mode) {
        case Wizard:
            EXPECT_EQ(caption, "Welcome");
            break;
        case Confirm:
            EXPECT_EQ(caption, "Uninstall");
            break;
        case Silent:
            EXPECT_EQ(caption, ""); // no page ever showed
            break;
        }
        EXPECT_EQ(focus, expected);
        EXPECT_EQ(removed, c.mode == Silent);
        // "No" and "Cancel" leave everything as it was.
        EXPECT_TRUE(sim.Lines("file copy").empty());
    }
}

// --- the pages -----------------------------------------------------------------------------------

// Captions, focus and the page order of Next and Back on the welcome and destination pages.
TEST(SetupWizard, NextAndBackWalkTheFirstTwoPages) {
    SetupFixture sim;
    SetupUser user(sim, sim.Start());
    std::vector<std::string> shown;
    auto record = [&](TForm1& w) {
        std::string focus = w.ActiveControl ? w.ActiveControl->Name() : "-";
        shown.push_back(w.PageControl1.ActivePage()->Name() + " \"" + w.Caption() + "\" " + focus);
    };
    user.platform.At(sim.machine->Tick() + 400, [&] { record(*user.Wizard()); });
    user.platform.At(sim.machine->Tick() + 500, [&] { user.Wizard()->Button2.UserClick(); });
    user.platform.At(sim.machine->Tick() + 600, [&] { record(*user.Wizard()); });
    user.platform.At(sim.machine->Tick() + 700, [&] { user.Wizard()->Button8.UserClick(); });
    user.platform.At(sim.machine->Tick() + 800, [&] { record(*user.Wizard()); });
    user.platform.At(sim.machine->Tick() + 900, [&] { user.Wizard()->Button2.UserClick(); });
    user.platform.At(sim.machine->Tick() + 1000, [&] { user.Wizard()->Button15.UserClick(); });
    EXPECT_EQ(user.Run(), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "TabSheet1 \"Welcome\" Button2",
                         "TabSheet6 \"Choose Destination Location\" Button14",
                         "TabSheet1 \"Welcome\" Button2",
                     }));
    EXPECT_TRUE(sim.Lines("file copy").empty());
}

// The texts of every page as they stand, two blanks and "clocking" included, which buttons are
// disabled, and the picture of each page, drawn on the page's own colour.
TEST(SetupWizard, PagesHoldTheirTextsAndPictures) {
    SetupFixture sim;
    SetupUser user(sim, sim.Start());
    std::vector<std::string> texts;
    user.OnPage(&TForm1::TabSheet1, [&](TForm1& w) {
        for (ui::TTabSheet* page : w.PageControl1.Pages()) {
            std::function<void(const ui::Control&)> walk = [&](const ui::Control& c) {
                if (!c.Caption().empty() || dynamic_cast<const ui::TButton*>(&c))
                    texts.push_back(page->Name() + " " + c.Name() + " \"" + c.Caption() + "\"" +
                                    (c.Enabled() ? "" : " (disabled)"));
                if (auto* image = dynamic_cast<const ui::TImage*>(&c))
                    texts.push_back(page->Name() + " " + c.Name() + " picture " +
                                    image->Picture().source +
                                    (image->Transparent ? " transparent" : ""));
                for (const ui::Control* child : c.Children())
                    walk(*child);
            };
            for (const ui::Control* child : page->Children())
                walk(*child);
        }
        w.Button3.UserClick();
    });
    EXPECT_EQ(user.Run(), 0);
    const std::vector<std::string> expected = {
        "TabSheet1 Image1 picture SETUP transparent",
        "TabSheet1 Label1 \"Welcome to the Velmara (ORLO) Setup program. This program will "
        "install Velmara on  your computer. \"",
        "TabSheet1 Label2 \"It is strongly recommended that you exit all Windows programs before "
        "running this Setup program.\"",
        "TabSheet1 Label3 \"Click \"Cancel\" to quit Setup and then close any programs you have "
        "running. Click \"Next\" to install the Velmara\"",
        "TabSheet1 Button1 \"< &Back\" (disabled)",
        "TabSheet1 Button2 \"&Next >\"",
        "TabSheet1 Button3 \"Cancel\"",
        "TabSheet2 Image2 picture SETUP transparent",
        "TabSheet2 Label7 \"Copy\"",
        "TabSheet2 Label8 \"to\"",
        "TabSheet2 Label9 \"Register Driver :\"",
        "TabSheet2 Button4 \"< &Back\" (disabled)",
        "TabSheet2 Button5 \"&Next >\" (disabled)",
        "TabSheet2 Button6 \"Cancel\"",
        "TabSheet3 Image3 picture SETUP transparent",
        "TabSheet3 Label10 \"Setup has finished copying files to your computer. Before you can "
        "use the program. you must restart your computer.\"",
        "TabSheet3 Label11 \"Choose one of the following options and click \"Finish\" to "
        "complete Setup.\"",
        "TabSheet3 RadioButton1 \"Yes, I want to restart my computer now.\"",
        "TabSheet3 RadioButton2 \"No, I will restart my computer later.\"",
        "TabSheet3 Button13 \"< &Back\" (disabled)",
        "TabSheet3 Button12 \"&Finish\"",
        "TabSheet5 Image5 picture SETUP transparent",
        "TabSheet5 Label12 \"Are you sure you want to remove Velmara (ORLO)  from your computer "
        "?\"",
        "TabSheet5 Button9 \"&Yes\"",
        "TabSheet5 Button7 \"&No\"",
        "TabSheet6 Image6 picture SETUP transparent",
        "TabSheet6 Label4 \"Setup will install ORLO in the following directory.\"",
        "TabSheet6 Label5 \"To install to this directory, click Next.\"",
        "TabSheet6 Label6 \"To install to a different directory, click Browser and select "
        "another directory. You can choose not to install ORLO by clocking Cancel to exit "
        "Setup.\"",
        "TabSheet6 GroupBox1 \" Destination Directory \"",
        "TabSheet6 LabelDestDir \"C:\\Program Files\"",
        "TabSheet6 Button16 \"B&rowser..\"",
        "TabSheet6 Button8 \"< &Back\"",
        "TabSheet6 Button14 \"&Next >\"",
        "TabSheet6 Button15 \"Cancel\"",
    };
    EXPECT_EQ(texts, expected);
}

// --- the folder chooser ------------------------------------------------------------------------

// The chooser opens on the base folder and its drive; Ok takes the folder the list shows,
// Cancel leaves everything as it was, and so does a close by the system (Alt+F4, any WM_CLOSE).
TEST(SetupWizard, FolderChooserOkTakesTheFolderAndCancelNothing) {
    for (const char* way : {"Ok", "Cancel", "Alt+F4"}) {
        SCOPED_TRACE(way);
        const bool ok = std::string(way) == "Ok";
        SetupFixture sim;
        sim.machine->AddDrive('d', os::kDriveFixed, "DATA");
        sim.machine->CreateDirectory("D:\\Apps");
        sim.machine->CreateDirectory("D:\\Apps\\Tools");
        SetupUser user(sim, sim.Start());
        std::string openedOn, openedDrive, caption;
        ui::Control* focus = nullptr;
        std::string destDir, label;
        user.Click(&TForm1::TabSheet1, &TForm1::Button2);
        user.Click(&TForm1::TabSheet6, &TForm1::Button16);
        user.platform.When([&] { return user.Chooser() && user.Chooser()->Visible(); },
                           [&] {
                               setup::TForm2& c = *user.Chooser();
                               openedOn = c.DirectoryListBox1.Directory();
                               openedDrive = std::string(1, c.DriveComboBox1.Drive());
                               caption = c.Caption();
                               focus = c.ActiveControl;
                               EXPECT_EQ(focus, &c.Button1);
                               // Drive D:, then its folder Apps, opened by a double click.
                               auto& items = c.DriveComboBox1.Items();
                               for (size_t i = 0; i < items.size(); ++i)
                                   if (items[i] == "d: [DATA]")
                                       c.DriveComboBox1.UserSelect(static_cast<int>(i));
                               auto& folders = c.DirectoryListBox1.Items();
                               for (size_t i = 0; i < folders.size(); ++i)
                                   if (folders[i].text == "Apps")
                                       c.DirectoryListBox1.UserOpen(static_cast<int>(i));
                               if (std::string(way) == "Alt+F4")
                                   c.UserClose();
                               else
                                   (ok ? c.Button1 : c.Button2).UserClick();
                           },
                           300);
        user.platform.When(
            [&] { return user.Chooser() && !user.Chooser()->Visible() && !openedOn.empty(); },
            [&] {
                destDir = user.Wizard()->Program().DestDir;
                label = user.Wizard()->LabelDestDir.Caption();
                user.Wizard()->Button15.UserClick();
            },
            100);
        EXPECT_EQ(user.Run(), 0);
        EXPECT_EQ(caption, "Choose Directory");
        EXPECT_EQ(openedOn, "C:\\Program Files");
        EXPECT_EQ(openedDrive, "c");
        const char* expected = ok ? "D:\\Apps" : "C:\\Program Files";
        EXPECT_EQ(destDir, expected);
        EXPECT_EQ(label, expected);
    }
}

// --- the restart ---------------------------------------------------------------------------------

// Finish with "Yes" takes a fresh OS name: 9x restarts directly, everything else through the
// shutdown privilege. The window stays, and Finish with "No" then ends the program.
TEST(SetupWizard, RestartByTheOSNameOfTheMoment) {
    struct Case {
        const char* what;
        std::function<void(os::sim::MachineConfig&)> atFinish;
        bool privileged;
        bool versionMessage;
    };
    const std::vector<Case> cases = {
        {"XP", {}, true, false},
        {"ME",
         [](auto& c) {
             c.version = {4, 90, 3000, os::kPlatformWin9x, ""};
         },
         false, false},
        {"98",
         [](auto& c) {
             c.version = {4, 10, 2222, os::kPlatformWin9x, ""};
         },
         false, false},
        {"Vista (no name)",
         [](auto& c) {
             c.version = {6, 0, 6000, os::kPlatformNT, ""};
         },
         true, false},
        {"failed version query", [](auto& c) { c.versionQueryFails = true; }, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetupFixture sim;
        SetupUser user(sim, sim.Start());
        user.Install("", true);
        bool stayed = false;
        user.OnPage(
            &TForm1::TabSheet3,
            [&](TForm1&) {
                if (c.atFinish) c.atFinish(sim.machine->Config());
            },
            100);
        // After Finish with "Yes": still there; then "No" and Finish again.
        user.platform.When([&] { return !sim.machine->exitWindowsRequests.empty(); },
                           [&] {
                               TForm1& w = *user.Wizard();
                               stayed = w.Visible() && w.TabSheet3.Showing();
                               w.RadioButton2.UserClick();
                               w.Button12.UserClick();
                           },
                           1000);
        EXPECT_EQ(user.Run(), 0);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(sim.machine->exitWindowsRequests, std::vector<std::uint32_t>{os::kEwxReboot});
        using Change = std::pair<std::string, bool>;
        std::vector<Change> changes;
        if (c.privileged) changes = {{"SeShutdownPrivilege", true}, {"SeShutdownPrivilege", false}};
        EXPECT_EQ(sim.machine->privilegeChanges, changes);
        auto messages = user.Messages();
        EXPECT_EQ(std::count(messages.begin(), messages.end(), "Error in GetVersionEx"),
                  c.versionMessage ? 1 : 0);
    }
}

} // namespace
