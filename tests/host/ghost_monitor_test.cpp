// The ghost-monitor feed on the simulated machine: loading skelvarind.dll at the first activation
// on the systems that have it, the calls of a whole run in their order, the library's messages,
// missing exports, the Setup page's boxes and the tray command; and the simulated machine's
// module loading itself.
#include "SimFixture.h"

#include "monitor/Driver.h"

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
const char* const kVCoreText = "1.504 V"; // VIN0 (VCore) reads 94 on chip 0x92

// The scenario board: TEMP0 is the CPU channel, VIN0 the VCore; no ghost-monitor keys, so the
// window and its three items default to on.
struct Ghost : ::testing::Test {
    Ghost() {
        sim.WriteProgramFile(kBoardIni, ScenarioBoardIni({}));
        sim.machine->Board().temperature[0] = 45;
        sim.machine->Board().voltage[0] = 94;
    }
    // The library calls since the machine started.
    const std::vector<std::string>& Calls() const { return sim.machine->libraryCalls; }
    std::size_t TickCount() const {
        std::size_t ticks = 0;
        for (const auto& r : sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS))
            ticks += r.input.at(0) == 0;
        return ticks;
    }
    bool TranscriptHas(const std::string& part) const {
        const auto& lines = sim.machine->Transcript();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(part) != std::string::npos;
        });
    }
    // The library's messages: caption "DLL", an "OK" button, owned by the main window.
    void ExpectLibraryMessages(const std::vector<std::string>& texts) const {
        EXPECT_EQ(sim.Messages(), texts);
        for (const ui::ShownMessageBox& box : sim.platform->MessageBoxes()) {
            EXPECT_EQ(box.caption, "DLL") << box.text;
            EXPECT_EQ(box.type, ui::kMbOk) << box.text;
            EXPECT_EQ(box.owner, "Form1") << box.text;
        }
    }
    SimFixture sim;
};

std::vector<std::string> Fed(std::size_t ticks) {
    std::vector<std::string> calls;
    for (std::size_t i = 0; i < ticks; ++i) {
        calls.push_back("SetCPUTemperature 45");
        calls.push_back(std::string("SetCPUVCore ") + kVCoreText);
    }
    return calls;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Windows XP, the library present and [SYSTEM] FORM2 missing: the first activation starts the
// library, checks the box (whose handler writes FORM2 = 1 and shows the window) and shows the
// window once more; every tick then feeds the CPU temperature and the VCore text, and the
// destruction ends the library before unloading it.
TEST_F(Ghost, CallsOfAWholeRunInTheirOrder) {
    sim.RunFor(2500, [](MonitorProgram& p) {
        TForm1& f = *p.Form1;
        EXPECT_TRUE(f.CheckBoxShowTransparentForm.Checked());
        EXPECT_TRUE(f.CheckBoxShowTransparentForm.Enabled());
        EXPECT_TRUE(f.ExtraForm1.Checked());
        EXPECT_NE(p.LibraryHandle, os::kNoHandle);
        EXPECT_EQ(f.EditVIN0.Text(), kVCoreText);
    });
    ASSERT_GE(TickCount(), 3u);
    const std::vector<std::string> start = {"InitInstance", "ShowTranslucentForm", "SetItems 1 1 1",
                                            "ShowTranslucentForm", "SetItems 1 1 1"};
    EXPECT_EQ(Calls(), Joined(Joined(start, Fed(TickCount())), {"DestoryInstance"}));
    EXPECT_EQ(sim.IniWrites(kBoardIni).at(3), "[SYSTEM] FORM2=1"); // after the three items
    EXPECT_TRUE(sim.Messages().empty());
    EXPECT_TRUE(TranscriptHas("library free skelvarind.dll"));
}

// FORM2 = 0: the window is hidden (the box stays off, so its handler does not run) and the tray
// item unchecked; the feed goes on all the same.
TEST_F(Ghost, WindowOffStillFeedsTheLibrary) {
    sim.WriteProgramFile(kBoardIni, ScenarioBoardIni({{"SYSTEM", "FORM2", "0"}}));
    sim.RunFor(1500, [](MonitorProgram& p) {
        EXPECT_FALSE(p.Form1->CheckBoxShowTransparentForm.Checked());
        EXPECT_FALSE(p.Form1->ExtraForm1.Checked());
    });
    const std::vector<std::string> start = {"InitInstance", "HideTranslucentForm",
                                            "SetItems 1 1 1"};
    EXPECT_EQ(Calls(), Joined(Joined(start, Fed(TickCount())), {"DestoryInstance"}));
}

// The tray command "&Ghost Monitor" turns the box over; the box's handler moves the check mark,
// writes FORM2 and shows or hides the window, then hands over the items.
TEST_F(Ghost, TrayCommandTogglesTheWindow) {
    std::vector<bool> checks;
    sim.At(2000, [&](TForm1& f) {
        sim.machine->libraryCalls.clear();
        f.ExtraForm1.UserClick();
        checks = {f.CheckBoxShowTransparentForm.Checked(), f.ExtraForm1.Checked()};
        f.ExtraForm1.UserClick();
        checks.push_back(f.CheckBoxShowTransparentForm.Checked());
        checks.push_back(f.ExtraForm1.Checked());
        f.CheckBoxShowTransparentForm.UserClick();
        checks.push_back(f.ExtraForm1.Checked());
        EXPECT_EQ(sim.machine->libraryCalls,
                  (std::vector<std::string>{"HideTranslucentForm", "SetItems 1 1 1",
                                            "ShowTranslucentForm", "SetItems 1 1 1",
                                            "HideTranslucentForm", "SetItems 1 1 1"}));
    });
    sim.RunFor(2500);
    EXPECT_EQ(checks, (std::vector<bool>{false, false, true, true, false}));
    std::vector<std::string> form2;
    for (const std::string& w : sim.IniWrites(kBoardIni))
        if (w.find("FORM2") != std::string::npos) form2.push_back(w);
    EXPECT_EQ(form2, (std::vector<std::string>{"[SYSTEM] FORM2=1", "[SYSTEM] FORM2=0",
                                               "[SYSTEM] FORM2=1", "[SYSTEM] FORM2=0"}));
}

// Unchecking "VCore": the library learns on, on, off and only VCORE is written; the tick still
// sends the VCore text.
TEST_F(Ghost, ItemBoxesSendAllThreeAndWriteTheirOwnKey) {
    std::size_t writesBefore = 0;
    sim.At(2000, [&](TForm1& f) {
        sim.machine->libraryCalls.clear();
        writesBefore = sim.IniWrites(kBoardIni).size();
        f.ckVCore.UserClick();
        f.ckLoading.UserClick();
    });
    sim.RunFor(3500);
    const std::vector<std::string>& calls = Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "SetItems 1 1 0");
    EXPECT_EQ(calls[1], "SetItems 1 0 0");
    EXPECT_NE(std::find(calls.begin(), calls.end(), std::string("SetCPUVCore ") + kVCoreText),
              calls.end());
    const std::vector<std::string> writes = sim.IniWrites(kBoardIni);
    EXPECT_EQ(std::vector<std::string>(writes.begin() + static_cast<long>(writesBefore),
                                       writes.begin() + static_cast<long>(writesBefore) + 2),
              (std::vector<std::string>{"[SYSTEM] VCORE=0", "[SYSTEM] USAGE=0"}));
    EXPECT_EQ(sim.process->GetPrivateProfileString("SYSTEM", "VCORE", "?",
                                                   SimFixture::ProgramPath(kBoardIni)),
              "0");
}

// --- what is missing -------------------------------------------------------------------------

struct MissingCase {
    const char* what;
    std::vector<std::string> exports; // of the library in the program folder; none: no file
    bool noFile;
    std::vector<std::string> messages;
    std::vector<std::string> calls; // of a run of two ticks and a toggle of the window at 1.5 s
};

void PrintTo(const MissingCase& c, std::ostream* os) {
    *os << c.what;
}

std::vector<std::string> Without(const std::string& name) {
    std::vector<std::string> exports = SimFixture::GhostExports();
    exports.erase(std::find(exports.begin(), exports.end(), name));
    return exports;
}

class MissingExport : public Ghost, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingExport, IsHandledAsDescribed) {
    const MissingCase& c = GetParam();
    if (c.noFile)
        ASSERT_TRUE(sim.machine->DeleteFile(SimFixture::ProgramPath("skelvarind.dll")));
    else
        sim.WriteGhostLibrary(c.exports);
    bool boxEnabled = false, on = false, checkMark = false;
    sim.At(1500, [&](TForm1& f) {
        f.ExtraForm1.UserClick(); // the window off, or on where it never came on
        boxEnabled = f.CheckBoxShowTransparentForm.Enabled();
        on = f.CheckBoxShowTransparentForm.Checked();
        checkMark = f.ExtraForm1.Checked();
    });
    sim.RunFor(1500 + 100);
    ASSERT_EQ(TickCount(), 2u);
    ExpectLibraryMessages(c.messages);
    EXPECT_EQ(Calls(), c.calls);
    // A library loaded is unloaded again, whatever it lacks.
    EXPECT_EQ(TranscriptHas("library load skelvarind.dll:"),
              TranscriptHas("library free skelvarind.dll"));
    // Without a library the box stays off and enabled at the activation; the check mark and
    // FORM2 follow it whatever the library can do.
    EXPECT_TRUE(boxEnabled);
    EXPECT_EQ(on, c.calls.empty());
    EXPECT_EQ(checkMark, on);
    EXPECT_EQ(sim.process->GetPrivateProfileString("SYSTEM", "FORM2", "?",
                                                   SimFixture::ProgramPath(kBoardIni)),
              on ? "1" : "0");
}

const std::vector<std::string> kTwoTicks = Fed(2);

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingExport,
    ::testing::Values(
        MissingCase{"no library file", {}, true, {"Load DLL Fail"}, {}},
        // Unloaded at once and not used again, not even at the end: no message then.
        MissingCase{
            "no InitInstance", Without("InitInstance"), false, {"Get InitInstance Fail"}, {}},
        MissingCase{"no DestoryInstance",
                    Without("DestoryInstance"),
                    false,
                    {"Get DestoryInstance Fail"},
                    Joined(Joined({"InitInstance", "ShowTranslucentForm", "SetItems 1 1 1",
                                   "ShowTranslucentForm", "SetItems 1 1 1"},
                                  kTwoTicks),
                           {"HideTranslucentForm", "SetItems 1 1 1"})},
        // The first request (on, at the activation) finds no hide export: the library is never
        // asked to show or hide again in this run.
        MissingCase{"no HideTranslucentForm",
                    Without("HideTranslucentForm"),
                    false,
                    {},
                    Joined(Joined({"InitInstance", "SetItems 1 1 1", "SetItems 1 1 1"}, kTwoTicks),
                           {"SetItems 1 1 1", "DestoryInstance"})},
        MissingCase{"no ShowTranslucentForm",
                    Without("ShowTranslucentForm"),
                    false,
                    {},
                    Joined(Joined({"InitInstance", "SetItems 1 1 1", "SetItems 1 1 1"}, kTwoTicks),
                           {"SetItems 1 1 1", "DestoryInstance"})},
        MissingCase{"no SetItems",
                    Without("SetItems"),
                    false,
                    {},
                    Joined(Joined({"InitInstance", "ShowTranslucentForm", "ShowTranslucentForm"},
                                  kTwoTicks),
                           {"HideTranslucentForm", "DestoryInstance"})},
        MissingCase{"no SetCPUVCore: the temperature still goes",
                    Without("SetCPUVCore"),
                    false,
                    {},
                    {"InitInstance", "ShowTranslucentForm", "SetItems 1 1 1", "ShowTranslucentForm",
                     "SetItems 1 1 1", "SetCPUTemperature 45", "SetCPUTemperature 45",
                     "HideTranslucentForm", "SetItems 1 1 1", "DestoryInstance"}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// A file that is no library fails to load as a missing one does.
TEST_F(Ghost, FileThatIsNoLibraryFailsToLoad) {
    sim.WriteProgramFile("skelvarind.dll", "MZ something else");
    sim.RunFor(500);
    EXPECT_EQ(sim.Messages(), std::vector<std::string>{"Load DLL Fail"});
}

// Missing SetCPUTemperature and SetCPUVCore are looked up again at every tick.
TEST_F(Ghost, MissingFeedExportsAreLookedUpEveryTick) {
    sim.WriteGhostLibrary({"InitInstance", "DestoryInstance", "ShowTranslucentForm",
                           "HideTranslucentForm", "SetItems"});
    sim.RunFor(2500);
    std::size_t lookups = 0;
    for (const std::string& line : sim.machine->Transcript())
        lookups +=
            line.find("library lookup skelvarind.dll SetCPUVCore: missing") != std::string::npos;
    EXPECT_EQ(lookups, TickCount());
    EXPECT_TRUE(sim.Messages().empty());
}

// --- the feed's values ---------------------------------------------------------------------------

// A disabled CPU or VCore channel sends nothing; a temperature without a reading goes as 256.
TEST_F(Ghost, FeedFollowsTheChannels) {
    struct Case {
        const char* what;
        std::vector<IniKey> keys;
        bool chip60NoReading;
        // What each tick sends, from the values the run's last tick left.
        std::function<std::vector<std::string>(TForm1&)> perTick;
    };
    const std::vector<Case> cases = {
        {"CPU channel disabled",
         {{"TEMP0", "ENABLED", "0"}},
         false,
         [](TForm1&) { return std::vector<std::string>{"SetCPUVCore 1.504 V"}; }},
        {"VCore channel disabled",
         {{"VIN0", "ENABLED", "0"}},
         false,
         [](TForm1&) { return std::vector<std::string>{"SetCPUTemperature 45"}; }},
        {"the roles go by name",
         {{"TEMP0", "NAME", "Board"},
          {"TEMP2", "NAME", "CPU"},
          {"VIN0", "NAME", "Vcc"},
          {"VIN2", "NAME", "VCore"}},
         false,
         [](TForm1& f) {
             return std::vector<std::string>{"SetCPUTemperature 50",
                                             "SetCPUVCore " + f.EditVIN2.Text()};
         }},
        {"no reading goes as 256",
         {},
         true,
         [](TForm1& f) {
             return std::vector<std::string>{"SetCPUTemperature 256",
                                             "SetCPUVCore " + f.EditVIN0.Text()};
         }},
    };
    for (const Case& c : cases) {
        SimFixture run;
        run.WriteProgramFile(kBoardIni, ScenarioBoardIni(c.keys));
        BoardState& board = run.machine->Board();
        board.temperature[0] = 45;
        board.temperature[2] = 50;
        board.voltage[0] = 94;
        board.voltage[2] = 150;
        if (c.chip60NoReading) {
            board.chip_id = 0x60;
            for (auto& divisor : board.fan_divisor)
                divisor = 2;
            board.temperature[0] = 0x80;
        }
        std::vector<std::string> perTick;
        run.RunFor(1500, [&](MonitorProgram& p) { perTick = c.perTick(*p.Form1); });
        std::vector<std::string> fed;
        for (const std::string& call : run.machine->libraryCalls)
            if (call.rfind("SetCPU", 0) == 0) fed.push_back(call);
        std::vector<std::string> expected;
        for (int tick = 0; tick < 2; ++tick)
            expected.insert(expected.end(), perTick.begin(), perTick.end());
        EXPECT_EQ(fed, expected) << c.what;
    }
}

// --- the systems
// -----------------------------------------------------------------------------------

struct SystemCase {
    const char* name;
    os::VersionInfo version;
    bool loads;
};

void PrintTo(const SystemCase& c, std::ostream* os) {
    *os << c.name;
}

class GhostSystems : public Ghost, public ::testing::WithParamInterface<SystemCase> {};

// Only 2000, XP and Server 2003 load the library. Elsewhere the four boxes are off and greyed,
// nothing is loaded, and the tray command still moves the check mark and writes FORM2.
TEST_P(GhostSystems, LoadOnlyWhereTheLibraryIsUsed) {
    const SystemCase& c = GetParam();
    sim.machine->Config().version = c.version;
    // Where the driver is not asked for the board id, it is read from the BIOS.
    sim.machine->PutBoardIdInBios("ZRV-A920", 0x1F7);
    std::vector<bool> states;
    sim.At(2000, [&](TForm1& f) {
        for (ui::TCheckBox* box :
             {&f.CheckBoxShowTransparentForm, &f.ckTemperature, &f.ckLoading, &f.ckVCore})
            states.push_back(box->Enabled() || box->Checked());
        f.ExtraForm1.UserClick();
        states.push_back(f.ExtraForm1.Checked());
        f.ExtraForm1.UserClick();
        states.push_back(f.ExtraForm1.Checked());
    });
    sim.RunFor(2500);
    EXPECT_TRUE(sim.Messages().empty());
    EXPECT_EQ(TranscriptHas("library load"), c.loads);
    EXPECT_EQ(!Calls().empty(), c.loads);
    const bool on = c.loads; // the boxes, enabled and checked, where the library is used
    EXPECT_EQ(states, (std::vector<bool>{on, on, on, on, !on, on}));
    std::vector<std::string> form2;
    for (const std::string& w : sim.IniWrites(kBoardIni))
        if (w.find("FORM2") != std::string::npos) form2.push_back(w);
    // Where loaded, the activation wrote FORM2 = 1 before the two toggles.
    std::vector<std::string> toggles = {"[SYSTEM] FORM2=1", "[SYSTEM] FORM2=0"};
    if (c.loads) toggles = {"[SYSTEM] FORM2=1", "[SYSTEM] FORM2=0", "[SYSTEM] FORM2=1"};
    EXPECT_EQ(form2, toggles);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, GhostSystems,
    ::testing::Values(SystemCase{"Win95", {4, 0, 950, os::kPlatformWin9x, ""}, false},
                      SystemCase{"Win98", {4, 10, 1998, os::kPlatformWin9x, ""}, false},
                      SystemCase{"WinME", {4, 90, 3000, os::kPlatformWin9x, ""}, false},
                      SystemCase{"NT4", {4, 0, 1381, os::kPlatformNT, "Service Pack 6"}, false},
                      SystemCase{"Win2000", {5, 0, 2195, os::kPlatformNT, ""}, true},
                      SystemCase{"Server2003", {5, 2, 3790, os::kPlatformNT, ""}, true},
                      SystemCase{"Vista", {6, 0, 6000, os::kPlatformNT, ""}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- module loading on the simulated machine
// -------------------------------------------------------

// A bare name is searched for in the program's folder, the system folder, the Windows folder and
// the current folder; a path is taken as it is.
TEST(SimulatedModules, SearchFindsTheFirstLibraryFile) {
    struct Case {
        const char* what;
        std::string file; // where the library lies
        std::string name; // what is loaded
        bool loads;
        std::uint32_t error;
    };
    const std::vector<Case> cases = {
        {"program folder", "C:\\Program Files\\ZARVO\\ORLO\\lib.dll", "LIB.DLL", true, 0},
        {"system folder", "C:\\WINDOWS\\system32\\lib.dll", "lib.dll", true, 0},
        {"Windows folder", "C:\\WINDOWS\\lib.dll", "lib.dll", true, 0},
        {"current folder", "C:\\Work\\lib.dll", "lib.dll", true, 0},
        {"a full path", "C:\\Elsewhere\\lib.dll", "C:\\Elsewhere\\lib.dll", true, 0},
        {"a folder not searched", "C:\\Elsewhere\\lib.dll", "lib.dll", false,
         os::kErrorModNotFound},
    };
    for (const Case& c : cases) {
        SimFixture sim;
        sim.machine->CreateDirectory("C:\\Work");
        sim.machine->CreateDirectory("C:\\Elsewhere");
        sim.machine->WriteFile(c.file, os::sim::LibraryImage({"F"}));
        sim.process->CurrentDirectory = "C:\\Work";
        os::Handle module = sim.process->LoadLibrary(c.name);
        EXPECT_EQ(module != os::kNoHandle, c.loads) << c.what;
        if (!c.loads) {
            EXPECT_EQ(sim.process->GetLastError(), c.error) << c.what;
        }
    }
}

// Exports are found by their exact name; each call is recorded; a freed module's exports are
// gone, and calling one fails the test as it would crash the program.
TEST(SimulatedModules, LookupCallAndFree) {
    SimFixture sim;
    os::sim::SimProcess& process = *sim.process;
    os::Handle module = process.LoadLibrary("skelvarind.dll");
    ASSERT_NE(module, os::kNoHandle);
    EXPECT_EQ(process.LoadLibrary("SKELVARIND.DLL"), module); // loaded once, counted twice
    EXPECT_EQ(process.GetProcAddress(module, "setitems"), 0u);
    EXPECT_EQ(process.GetLastError(), os::kErrorProcNotFound);
    std::uintptr_t items = process.GetProcAddress(module, "SetItems");
    ASSERT_NE(items, 0u);
    process.CallExport(items, {1, 0, 256});
    process.CallExport(process.GetProcAddress(module, "SetCPUVCore"), {std::string("1.5 V")});
    EXPECT_EQ(sim.machine->libraryCalls,
              (std::vector<std::string>{"SetItems 1 0 256", "SetCPUVCore 1.5 V"}));
    process.FreeLibrary(module);
    EXPECT_NE(process.GetProcAddress(module, "SetItems"), 0u);
    process.FreeLibrary(module);
    EXPECT_EQ(process.GetProcAddress(module, "SetItems"), 0u);
    EXPECT_THROW(process.CallExport(items, {}), std::logic_error);
}

} // namespace
