// The install step on the simulated machine: the wizard clicked through, then what it left (the
// files with their attributes, the registry entries in their order, the shortcut) and what it
// showed (both bars, every failure message); the administrator demand, the 64-bit driver, the
// missing and unsafe files, an earlier installation, a running monitor and a refused value.
#include "SetupFixture.h"

#include "host/Session.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using setup::TForm1;

namespace {

const std::vector<std::string> kBoards = {"A920.INI", "B910.INI", "N70.INI", "C930.INI"};
const std::vector<std::string> kFixedFiles = {"ORLO.EXE", "skelvarind.dll", "WARNING.WAV",
                                              "ORLO.INI", "SETUP.EXE"};

// The two bars as the restart page (or another) finds them.
struct Bars {
    int min1 = -1, max1 = -1, position1 = -1;
    int min2 = -1, max2 = -1, position2 = -1;
};

std::shared_ptr<Bars> WatchBars(SetupUser& user, setup::WizardPage page = &TForm1::TabSheet3) {
    auto bars = std::make_shared<Bars>();
    user.OnPage(page, [bars](TForm1& w) {
        *bars = Bars{w.ProgressBar1.Min, w.ProgressBar1.Max, w.ProgressBar1.Position(),
                     w.ProgressBar2.Min, w.ProgressBar2.Max, w.ProgressBar2.Position()};
    });
    return bars;
}

// The registry values written, in order, as "<last key name> <value name>".
std::vector<std::string> RegistryWrites(const SetupFixture& sim) {
    std::vector<std::string> writes;
    for (const std::string& line : sim.Lines("registry set ")) {
        auto name = line.find('"');
        auto end = line.find('"', name + 1);
        auto key = line.rfind('\\', name);
        writes.push_back(line.substr(key + 1, name - key - 2) + " " +
                         line.substr(name + 1, end - name - 1));
    }
    return writes;
}

// The file copies, in order, as "source -> target" (failed ones marked).
std::vector<std::string> Copies(const SetupFixture& sim) {
    std::vector<std::string> copies;
    for (const std::string& line : sim.Lines("file copy "))
        copies.push_back(line.substr(std::string("file copy ").size()));
    return copies;
}

std::string Driver32() {
    return "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\ZarvoORLO.SYS";
}

// Replaces the distribution's ORLO.INI section ORLO by these lines.
void WriteBoardList(SetupFixture& sim, const std::vector<std::string>& lines) {
    std::string text = "[ORLO]\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    ASSERT_TRUE(sim.machine->WriteFile(SetupFixture::Dist("ORLO.INI"), text));
}

// --- the whole step ------------------------------------------------------------------------------

TEST(InstallStep, ClickedThroughItLeavesFilesEntriesAndShortcut) {
    SetupFixture sim;
    // A distribution from a read-only medium: the copies must not stay read-only.
    for (const char* name : {"ZarvoORLO.SYS", "ORLO.EXE", "A920.INI"})
        sim.machine->SetFileAttributes(SetupFixture::Dist(name), os::kFileAttributeReadOnly);
    SetupUser user(sim, sim.Start());
    user.Install();
    auto bars = WatchBars(user);
    std::vector<std::string> copying;
    user.OnPage(&TForm1::TabSheet2, [&](TForm1& w) {
        copying = {w.Caption(), w.LabelSor.Caption(), w.LabelTrg.Caption(),
                   w.ActiveControl ? w.ActiveControl->Name() : "-"};
    });
    std::string finish;
    user.OnPage(&TForm1::TabSheet3, [&](TForm1& w) {
        finish = w.Caption() + " " + (w.ActiveControl ? w.ActiveControl->Name() : "-") +
                 (w.RadioButton1.Checked() ? " now" : " later");
    });
    EXPECT_EQ(user.Run(), 0);

    EXPECT_TRUE(user.Messages().empty());
    // The copying page keeps the focus where it was.
    EXPECT_EQ(copying,
              (std::vector<std::string>{"Copying Files", SetupFixture::Dist("ZarvoORLO.SYS"),
                                        Driver32(), "Button14"}));
    EXPECT_EQ(finish, "Finish Button12 now");

    const std::string to = "C:\\Program Files\\ZARVO\\ORLO\\";
    std::vector<std::string> expected = {
        SetupFixture::Dist("ZarvoORLO.SYS") + " -> " + Driver32(),
        SetupFixture::Dist("ORLO.EXE") + " -> " + to + "ORLO.EXE",
        SetupFixture::Dist("skelvarind.dll") + " -> " + to + "skelvarind.dll",
        SetupFixture::Dist("warning.wav") + " -> " + to + "WARNING.WAV",
        SetupFixture::Dist("ORLO.INI") + " -> " + to + "ORLO.INI",
        SetupFixture::Dist("SETUP.EXE") + " -> " + to + "SETUP.EXE"};
    for (const std::string& board : kBoards)
        expected.push_back(SetupFixture::Dist(board) + " -> " + to + board);
    EXPECT_EQ(Copies(sim), expected);
    for (const std::string& name : kFixedFiles) {
        std::string source = name == "WARNING.WAV" ? "warning.wav" : name;
        EXPECT_EQ(sim.Read(SetupFixture::Installed(name)), sim.Read(SetupFixture::Dist(source)))
            << name;
    }
    for (const std::string& board : kBoards)
        EXPECT_EQ(sim.Read(SetupFixture::Installed(board)), sim.Read(SetupFixture::Dist(board)));
    EXPECT_EQ(sim.Read(Driver32()), sim.Read(SetupFixture::Dist("ZarvoORLO.SYS")));
    for (const std::string& path :
         {Driver32(), SetupFixture::Installed("ORLO.EXE"), SetupFixture::Installed("A920.INI")})
        EXPECT_EQ(sim.machine->GetFileAttributes(path), os::kFileAttributeNormal) << path;

    EXPECT_EQ(bars->min1, 0);
    EXPECT_EQ(bars->max1, 14); // four boards + 10
    EXPECT_EQ(bars->position1, 10);
    EXPECT_EQ(bars->min2, 0);
    EXPECT_EQ(bars->max2, 6);
    EXPECT_EQ(bars->position2, 6);

    EXPECT_EQ(
        RegistryWrites(sim),
        (std::vector<std::string>{"zarvoorlo ErrorControl", "zarvoorlo Start", "zarvoorlo Type",
                                  "zarvoorlo DisplayName", "zarvoorlo Group", "run ZarvoORLO",
                                  "zarvoorlo DisplayName", "zarvoorlo UninstallString"}));
    struct DwordValue {
        const char* name;
        std::uint32_t value;
    };
    for (const DwordValue& v : {DwordValue{"ErrorControl", 1}, {"Start", 2}, {"Type", 1}}) {
        const os::sim::RegValue* value = sim.Reg(SetupFixture::kServiceKey, v.name);
        ASSERT_TRUE(value && value->isDword) << v.name;
        EXPECT_EQ(value->dword, v.value) << v.name;
    }
    EXPECT_EQ(sim.Reg(SetupFixture::kServiceKey, "DisplayName")->text, "ZarvoORLO");
    ASSERT_NE(sim.Reg(SetupFixture::kServiceKey, "Group"), nullptr);
    EXPECT_FALSE(sim.Reg(SetupFixture::kServiceKey, "Group")->isDword);
    EXPECT_EQ(sim.Reg(SetupFixture::kServiceKey, "Group")->text, "");
    EXPECT_EQ(sim.Reg(SetupFixture::kServiceKey, "ImagePath"), nullptr);
    EXPECT_EQ(sim.Reg(SetupFixture::kRunKey, "ZarvoORLO")->text,
              "\"C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE\" \"5000\"");
    EXPECT_EQ(sim.Reg(SetupFixture::kUninstallKey, "DisplayName")->text, "Zarvo Velmara (ORLO)");
    EXPECT_EQ(sim.Reg(SetupFixture::kUninstallKey, "UninstallString")->text,
              "\"C:\\Program Files\\Zarvo\\ORLO\\SETUP.EXE\" \"-UNINSTALL\"");

    os::ShellLink link;
    ASSERT_TRUE(sim.machine->ReadShellLink(SetupFixture::kDesktopLink, link));
    EXPECT_EQ(link.target, "C:\\Program Files\\ZARVO\\ORLO\\ORLO.EXE");
    EXPECT_EQ(link.description, "Velmara");
    EXPECT_EQ(link.showCommand, 5);
    // "later": no restart asked for.
    EXPECT_TRUE(sim.machine->exitWindowsRequests.empty());
}

// On the NT family without administrator rights nothing is copied or registered; the monitor
// has been told to end already and the two folders may exist. Other systems are not asked.
TEST(InstallStep, AdministratorRightsOnTheNtFamilyOnly) {
    struct Case {
        const char* what;
        os::VersionInfo version;
        bool asked;
    };
    const std::vector<Case> cases = {
        {"XP", {5, 1, 2600, os::kPlatformNT, ""}, true},
        {"2000", {5, 0, 2195, os::kPlatformNT, ""}, true},
        {"Server 2003", {5, 2, 3790, os::kPlatformNT, ""}, true},
        {"NT4", {4, 0, 1381, os::kPlatformNT, ""}, true},
        {"NT3", {3, 51, 1057, os::kPlatformNT, ""}, true},
        {"98", {4, 10, 2222, os::kPlatformWin9x, ""}, false},
        {"95", {4, 0, 950, os::kPlatformWin9x, ""}, false},
        {"Vista (no name)", {6, 0, 6000, os::kPlatformNT, ""}, false},
    };
    for (bool administrator : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (administrator ? " as administrator" : " as user"));
            os::sim::MachineConfig config;
            config.version = c.version;
            config.administrator = administrator;
            SetupFixture sim(config);
            SetupUser user(sim, sim.Start());
            user.Install();
            EXPECT_EQ(user.Run(), 0);
            bool refused = c.asked && !administrator;
            std::vector<std::string> messages;
            if (refused)
                messages = {
                    "User have not administrator privileges! Please Logo in to 'Administrator'!"};
            EXPECT_EQ(user.Messages(), messages);
            EXPECT_EQ(sim.Lines("service-control manager opened").size() +
                          sim.Lines("service-control manager refused").size(),
                      c.asked ? 1u : 0u);
            EXPECT_EQ(sim.machine->OpenServiceManagerHandles(), 0);
            EXPECT_EQ(Copies(sim).empty(), refused);
            EXPECT_EQ(RegistryWrites(sim).empty(), refused);
            EXPECT_EQ(sim.machine->FileExists(SetupFixture::kDesktopLink), !refused);
            // Told to end before anything else; the folders are there either way.
            EXPECT_EQ(sim.LineIndex("broadcast \"exitzarvoorlo\""), sim.LineIndex("broadcast"));
            EXPECT_NE(sim.LineIndex("broadcast"), -1);
            EXPECT_TRUE(sim.machine->DirectoryExists(SetupFixture::kProgramFolder));
        }
    }
}

// A 32-bit installer on 64-bit Windows installs the 64-bit driver below SysWow64 and names it
// in ImagePath, the first value of the service key.
TEST(InstallStep, SixtyFourBitWindowsGetsTheSixtyFourBitDriver) {
    os::sim::MachineConfig config;
    config.wow64 = true;
    SetupFixture sim(config);
    SetupUser user(sim, sim.Start());
    user.Install();
    auto bars = WatchBars(user);
    EXPECT_EQ(user.Run(), 0);
    EXPECT_TRUE(user.Messages().empty());
    const std::string target = "C:\\WINDOWS\\SysWow64\\drivers\\ZarvoORLO.SYS";
    EXPECT_EQ(sim.Read(target), sim.Read(SetupFixture::Dist("ZarvoORLO64.SYS")));
    EXPECT_FALSE(sim.machine->FileExists(Driver32()));
    std::vector<std::string> writes = RegistryWrites(sim);
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0], "zarvoorlo ImagePath");
    EXPECT_EQ(writes[1], "zarvoorlo ErrorControl");
    EXPECT_EQ(sim.Reg(SetupFixture::kServiceKey, "ImagePath")->text,
              "SysWow64\\Drivers\\ZarvoORLO.sys");
    // ImagePath takes no step of the driver bar.
    EXPECT_EQ(bars->position2, 6);
}

// --- missing and unsafe files
// ----------------------------------------------------------------------

// A file missing from the distribution shows its message and the step goes on; the file bar
// still advances for it.
TEST(InstallStep, MissingFileShowsItsMessageAndTheStepGoesOn) {
    struct Case {
        const char* missing;
        const char* message;
        int max1, end1;
    };
    const std::vector<Case> cases = {
        {"ZarvoORLO.SYS", "Copy ZarvoORLO.sys fail !!", 14, 10},
        {"ORLO.EXE", "Copy ORLO.EXE fail !!", 14, 10},
        {"skelvarind.dll", "Copy skelvarind.dll fail !!", 14, 10},
        {"warning.wav", "Copy WARNING.WAV fail !!", 14, 10},
        {"SETUP.EXE", "Copy SETUP.EXE fail !!", 14, 10},
        {"B910.INI", "Copy B910.INI fail !!", 14, 10},
        // No board list: no board INI, and the bar runs 0..10 to 6.
        {"ORLO.INI", "Copy ORLO.INI fail !!", 10, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        SetupFixture sim;
        ASSERT_TRUE(sim.machine->DeleteFile(SetupFixture::Dist(c.missing)));
        SetupUser user(sim, sim.Start());
        user.Install();
        auto bars = WatchBars(user);
        EXPECT_EQ(user.Run(), 0);
        EXPECT_EQ(user.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(bars->max1, c.max1);
        EXPECT_EQ(bars->position1, c.end1);
        EXPECT_EQ(sim.machine->FileExists(SetupFixture::Installed("A920.INI")),
                  std::string(c.missing) != "ORLO.INI");
        EXPECT_TRUE(sim.machine->FileExists(SetupFixture::kDesktopLink));
        EXPECT_NE(sim.Reg(SetupFixture::kRunKey, "ZarvoORLO"), nullptr);
    }
}

// A board INI brings the logo, batch and exec files it names when they lie beside it; a name
// that is missing gives no message, one that cannot be copied gives its own. Names that could
// reach outside the folders are not followed, in ORLO.INI or in a board INI.
TEST(InstallStep, BoardFilesComeAlongWhenTheyLieBesideTheInstaller) {
    SetupFixture sim;
    WriteBoardList(sim,
                   {"ZRV-1=MY.INI", "ZRV-2=  OTHER.INI  ", "ZRV-3=..\\EVIL.INI", "ZRV-4=MY.INI"});
    auto write = [&](const std::string& path, const std::string& text) {
        ASSERT_TRUE(sim.machine->WriteFile(path, text)) << path;
    };
    write(SetupFixture::Dist("MY.INI"), "[LOGO]\r\nFILENAME=logo.bmp\r\n[NT4 SHUTDOWN]\r\n"
                                        "BATCH FILE=shut.bat\r\nEXEC FILE=halt.exe\r\n");
    write(SetupFixture::Dist("shut.bat"), "@echo off");
    write(SetupFixture::Dist("halt.exe"), "MZ halt");
    sim.machine->SetLocked(SetupFixture::Dist("halt.exe"), true);
    write(SetupFixture::Dist("OTHER.INI"),
          "[LOGO]\r\nFILENAME=..\\..\\WINDOWS\\win.ini\r\n[NT4 SHUTDOWN]\r\n"
          "BATCH FILE=C:\\evil.bat\r\nEXEC FILE=sub/x.exe\r\n");
    write("C:\\EVIL.INI", "[SYSTEM]\r\n");
    write("C:\\evil.bat", "@echo off\r\n");
    write("C:\\WINDOWS\\win.ini", "[windows]\r\n");

    SetupUser user(sim, sim.Start());
    user.Install();
    auto bars = WatchBars(user);
    EXPECT_EQ(user.Run(), 0);
    EXPECT_EQ(user.Messages(),
              (std::vector<std::string>{"Copy halt.exe fail !!", "Copy ..\\EVIL.INI fail !!",
                                        "Copy halt.exe fail !!"}));
    // Four lines: the file bar runs 0..14 and ends at 6 + 4; files named inside board INIs
    // take no step.
    EXPECT_EQ(bars->max1, 14);
    EXPECT_EQ(bars->position1, 10);
    // The logo is missing from the distribution: no message, nothing copied.
    EXPECT_FALSE(sim.machine->FileExists(SetupFixture::Installed("logo.bmp")));
    EXPECT_EQ(sim.Read(SetupFixture::Installed("shut.bat")), "@echo off");
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("MY.INI")));
    EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("OTHER.INI")));
    EXPECT_FALSE(sim.machine->FileExists(SetupFixture::Installed("halt.exe")));
    EXPECT_FALSE(sim.machine->FileExists("C:\\Program Files\\ZARVO\\EVIL.INI"));
    // MY.INI is listed twice and copied twice.
    std::vector<std::string> copies = Copies(sim);
    EXPECT_EQ(std::count_if(
                  copies.begin(), copies.end(),
                  [](const std::string& c) { return c.find("MY.INI ->") != std::string::npos; }),
              2);
    for (const std::string& copy : copies) {
        EXPECT_EQ(copy.find("evil"), std::string::npos) << copy;
        EXPECT_EQ(copy.find("win.ini"), std::string::npos) << copy;
        EXPECT_EQ(copy.find("EVIL"), std::string::npos) << copy;
    }
}

// Files of an earlier installation, read-only ones included, are replaced.
TEST(InstallStep, ReadOnlyEarlierInstallationIsReplaced) {
    SetupFixture sim;
    sim.machine->InstallFolder(ORLO_DATA_DIR, SetupFixture::kProgramFolder);
    for (const std::string& path :
         {SetupFixture::Installed("ORLO.EXE"), SetupFixture::Installed("A920.INI"), Driver32()}) {
        ASSERT_TRUE(sim.machine->WriteFile(path, "old")) << path;
        sim.machine->SetFileAttributes(path, os::kFileAttributeReadOnly);
    }
    SetupUser user(sim, sim.Start());
    user.Install();
    EXPECT_EQ(user.Run(), 0);
    EXPECT_TRUE(user.Messages().empty());
    EXPECT_EQ(sim.Read(SetupFixture::Installed("ORLO.EXE")),
              sim.Read(SetupFixture::Dist("ORLO.EXE")));
    EXPECT_EQ(sim.Read(SetupFixture::Installed("A920.INI")),
              sim.Read(SetupFixture::Dist("A920.INI")));
    EXPECT_EQ(sim.Read(Driver32()), sim.Read(SetupFixture::Dist("ZarvoORLO.SYS")));
    EXPECT_EQ(sim.machine->GetFileAttributes(SetupFixture::Installed("ORLO.EXE")),
              os::kFileAttributeNormal);
}

// --- the registry and the shortcut
// ------------------------------------------------------------------

// A value that cannot be written ends the step in the class library's error box, on the copying
// page; a service key that cannot be made shows its own message and the step goes on.
TEST(InstallStep, RegistryFailures) {
    struct Case {
        const char* what;
        bool unopenable; // else: opens, refuses its values
        std::vector<std::string> messages;
        const char* page;
        bool laterEntries;
    };
    const std::vector<Case> cases = {
        {"a refused value", false, {"Failed to set data for 'ErrorControl'"}, "TabSheet2", false},
        {"an unopenable key", true, {"Register ORLO Driver fail!!"}, "TabSheet3", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetupFixture sim;
        std::string key = "hklm\\system\\currentcontrolset\\services\\zarvoorlo";
        if (c.unopenable)
            sim.machine->readOnlyKeys.insert(key);
        else
            sim.machine->writeRefusedKeys.insert(key);
        SetupUser user(sim, sim.Start());
        user.Install();
        std::string page;
        std::uint32_t boxType = 0;
        user.platform.When([&] { return !user.platform.MessageBoxes().empty(); },
                           [&] {
                               TForm1& w = *user.Wizard();
                               page = w.PageControl1.ActivePage()->Name();
                               boxType = user.platform.MessageBoxes()[0].type;
                               // Nothing on the copying page ends the program: the user must.
                               if (page == "TabSheet2") w.Close();
                           });
        EXPECT_EQ(user.Run(), 0);
        EXPECT_EQ(user.Messages(), c.messages);
        EXPECT_EQ(page, c.page);
        EXPECT_EQ(boxType & ui::kMbIconError, c.unopenable ? 0u : ui::kMbIconError);
        EXPECT_EQ(sim.Reg(SetupFixture::kRunKey, "ZarvoORLO") != nullptr, c.laterEntries);
        EXPECT_EQ(sim.KeyExists(SetupFixture::kUninstallKey), c.laterEntries);
        EXPECT_EQ(sim.machine->FileExists(SetupFixture::kDesktopLink), c.laterEntries);
        EXPECT_TRUE(sim.machine->FileExists(SetupFixture::Installed("ORLO.EXE")));
    }
}

// Without an all-users desktop, or when the link cannot be saved, there is no shortcut and no
// message.
TEST(InstallStep, ShortcutFailuresAreSilent) {
    for (bool noDesktop : {true, false}) {
        SCOPED_TRACE(noDesktop ? "no all-users desktop" : "the link is not saved");
        os::sim::MachineConfig config;
        if (noDesktop)
            config.commonDesktop = "";
        else
            config.shellLinkFails = true;
        SetupFixture sim(config);
        SetupUser user(sim, sim.Start());
        user.Install();
        bool finished = false;
        user.OnPage(&TForm1::TabSheet3, [&](TForm1&) { finished = true; });
        EXPECT_EQ(user.Run(), 0);
        EXPECT_TRUE(finished);
        EXPECT_TRUE(user.Messages().empty());
        EXPECT_FALSE(sim.machine->FileExists(SetupFixture::kDesktopLink));
    }
}

// --- a running monitor
// ------------------------------------------------------------------------------

// Installing over a running monitor: the exit message ends it (its settings saved) before the
// first file is copied, so the new files are the distribution's.
TEST(InstallStep, RunningMonitorEndsBeforeAnyFileIsTouched) {
    SetupFixture sim;
    {
        SetupUser first(sim, sim.Start());
        first.Install();
        ASSERT_EQ(first.Run(), 0);
    }
    const int secondRun = sim.TranscriptSize();
    RegisterPrograms(sim, [](SetupUser& user, const std::vector<std::string>&) { user.Install(); });
    host::LaunchSession(*sim.machine,
                        {{20000, [] { return std::string(SetupFixture::kSetupExe); }}});
    sim.machine->RunPrograms();

    auto after = [&](const std::string& part) { return sim.LineIndex(part, secondRun); };
    int monitorStarted = after("start C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE \"5000\"");
    int driverOpened = after("driver opened");
    int broadcast = after("broadcast \"exitzarvoorlo\"");
    int monitorEnded = after("end C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE");
    int firstCopy = after("file copy");
    ASSERT_NE(monitorStarted, -1);
    EXPECT_LT(monitorStarted, driverOpened);
    EXPECT_LT(driverOpened, broadcast);
    EXPECT_LT(broadcast, monitorEnded);
    EXPECT_LT(monitorEnded, firstCopy);
    // The monitor's last save went into the old files; the copies replaced them.
    EXPECT_LT(after("ini write C:\\Program Files\\Zarvo\\ORLO\\A920.INI"), monitorEnded);
    EXPECT_EQ(sim.Read(SetupFixture::Installed("A920.INI")),
              sim.Read(SetupFixture::Dist("A920.INI")));
    for (const os::sim::ProgramExit& exit : sim.machine->programExits)
        EXPECT_EQ(exit.exitCode, 0) << exit.exePath;
}

} // namespace
