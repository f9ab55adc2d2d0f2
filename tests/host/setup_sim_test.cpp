// The host command setup-sim: its options, good and bad, and a whole run of it (install from
// the distribution's CD-ROM, restart, logon, removal) on a machine whose Windows lies on D:.
#include "setup/host/SetupSim.h"

#include "HostCommand.h"
#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

TEST(SetupSim, OptionsAreReadOrNamedAsFaulty) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::string seconds = "--seconds takes a whole number of seconds up to 255600, not ";
    const std::vector<Case> cases = {
        {{"--machine", "m", "--data", "d", "--dest", "D:\\Apps", "--seconds", "60", "--keep"}, ""},
        {{"--seconds", "0x10"}, ""},
        {{"--dest", "D:\\"}, ""},
        {{"--help"}, "help"},
        {{"--seconds", "abc"}, seconds + "\"abc\""},
        {{"--seconds", "-5"}, seconds + "\"-5\""},
        {{"--seconds", "255601"}, seconds + "\"255601\""},
        {{"--seconds"}, "--seconds needs a value"},
        {{"--dest"}, "--dest needs a value"},
        {{"--verbose"}, "unknown option --verbose"},
    };
    for (const Case& c : cases) {
        setup::SetupSimOptions options;
        EXPECT_EQ(setup::ParseSetupSimArguments(c.args, options), c.error) << c.args[0];
    }
    setup::SetupSimOptions options;
    ASSERT_EQ(setup::ParseSetupSimArguments(cases[0].args, options), "");
    EXPECT_EQ(options.machineFile, "m");
    EXPECT_EQ(options.dataDir, "d");
    EXPECT_EQ(options.destination, "D:\\Apps");
    EXPECT_EQ(options.seconds, 60u);
    EXPECT_FALSE(options.uninstall);
}

// A whole round trip leaves only the shell and the temporary copy of the installer. The
// distribution's CD-ROM takes a letter the machine does not use: with Windows on D:, the
// installation goes onto D:. With Windows in C:\Program Data, whose short name is PROGRA~2, the
// removal takes C:\PROGRA~1 for the program's base folder, which is C:\Program Files.
TEST(SetupSim, RunsTheRoundTripAndLeavesOnlyTheShellAndTheCopy) {
    const std::string registry =
        "--- registry ---\n"
        "  HKLM\\System\\CurrentControlSet\\Services\\ZarvoORLO: no such key\n"
        "  HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\n"
        "  HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZarvoORLO: "
        "no such key\n";
    struct Case {
        std::string windowsFolder;
        std::vector<std::string> lines;
        std::string left;
    };
    const std::vector<Case> cases = {
        {"D:\\WINNT",
         {"--- the user runs E:\\SETUP.EXE ---",
          "file copy E:\\ORLO.EXE -> D:\\Program Files\\ZARVO\\ORLO\\ORLO.EXE\n",
          "the driver loads from D:\\WINNT\\system32\\drivers\\ZarvoORLO.sys",
          "start D:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE \"5000\"",
          "folder remove D:\\PROGRA~1\\ZARVO\n"},
         "--- files on drive C: ---\n"
         "  C:\\WINDOWS\\Temp\\uninst0.exe\n"
         "--- files on drive D: ---\n"
         "  D:\\WINNT\\explorer.exe\n"},
        {"C:\\Program Data\\WIN",
         {"the driver loads from C:\\Program Data\\WIN\\system32\\drivers\\ZarvoORLO.sys",
          "start C:\\WINDOWS\\Temp\\uninst0.exe \"-UNINSTALL_NOW\" \"C:\\PROGRA~1\"\n",
          "file delete C:\\PROGRA~1\\ZARVO\\ORLO\\ORLO.EXE\n",
          "folder remove C:\\PROGRA~1\\ZARVO\n"},
         "--- files on drive C: ---\n"
         "  C:\\Program Data\\WIN\\explorer.exe\n"
         "  C:\\WINDOWS\\Temp\\uninst0.exe\n"},
    };
    const TestSandbox folder("setup-sim-roundtrip");
    std::filesystem::create_directories(folder.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windowsFolder);
        const std::filesystem::path machineFile = folder.Path() / "round-trip.machine";
        std::ofstream(machineFile) << "windows-folder=" << c.windowsFolder << "\n";
        setup::SetupSimOptions options;
        options.machineFile = machineFile.string();
        options.seconds = 10;
        const CommandRun run = RunCommand(
            [&](std::FILE* out) { return setup::RunSetupOnSimulatedMachine(options, out); });
        EXPECT_EQ(run.status, 0);
        for (const std::string& line : c.lines)
            EXPECT_NE(run.out.find(line), std::string::npos) << line;
        EXPECT_EQ(run.out.find("fail"), std::string::npos);
        const std::size_t files = run.out.find("--- files on drive C: ---");
        ASSERT_NE(files, std::string::npos);
        EXPECT_EQ(run.out.substr(files), c.left + registry);
    }
}

// A logo whose file name is too long for the file system is no file beside the installer, so
// none is copied; the monitor started at logon shows the picture error and runs on until the
// removal.
TEST(SetupSim, ALogoNameTooLongIsNotCopiedAndThePictureErrorShows) {
    const TestSandbox data("setup-sim-data");
    const std::string logo = std::string(256, 'a') + ".bmp";
    WriteDataWithLogo(data, logo);
    setup::SetupSimOptions options;
    options.dataDir = data.Path().string();
    options.seconds = 10;
    const CommandRun run =
        RunCommand([&](std::FILE* out) { return setup::RunSetupOnSimulatedMachine(options, out); });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find("file copy D:\\" + logo), std::string::npos);
    for (const std::string& line :
         {"message box [ORLO]: Cannot open file \"C:\\Program Files\\Zarvo\\ORLO\\" + logo +
              "\". The system cannot find the file specified.\n",
          std::string("folder remove C:\\PROGRA~1\\ZARVO\n")})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

// The destination is the folder its name gives, the long or the short one, in any case.
TEST(SetupSim, TheDestinationIsTheFolderItsNameGives) {
    for (const char* destination : {"C:\\PROGRA~1", "c:\\progra~1", "C:\\Program Files"}) {
        SCOPED_TRACE(destination);
        setup::SetupSimOptions options;
        options.destination = destination;
        options.seconds = 6;
        const CommandRun run = RunCommand(
            [&](std::FILE* out) { return setup::RunSetupOnSimulatedMachine(options, out); });
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("user: opens C:\\Program Files in the folder chooser"),
                  std::string::npos);
        EXPECT_NE(
            run.out.find("file copy D:\\ORLO.EXE -> C:\\Program Files\\ZARVO\\ORLO\\ORLO.EXE\n"),
            std::string::npos);
    }
}

// With --keep the session ends after --seconds: the logoff ends the monitor whether it is still
// in its five-second start delay (no window yet) or runs in the tray. In the tray its windows
// answer the end-session messages (the application terminates), and the system ends it then: no
// exit message, no final save, no unloading of the overlay library.
TEST(SetupSim, TheSessionsEndEndsTheMonitorInItsStartDelayToo) {
    struct Case {
        unsigned seconds;
        int inTray; // 1: it has windows at the logoff; 0: none yet; -1: either
    };
    const std::string monitor =
        "end C:\\Program Files\\Zarvo\\ORLO\\ORLO.EXE (ended by the system)";
    for (const Case& c : std::vector<Case>{{0, 0}, {3, 0}, {5, -1}, {6, 1}}) {
        SCOPED_TRACE("--seconds " + std::to_string(c.seconds));
        setup::SetupSimOptions options;
        options.uninstall = false;
        options.seconds = c.seconds;
        const CommandRun run = RunCommand(
            [&](std::FILE* out) { return setup::RunSetupOnSimulatedMachine(options, out); });
        EXPECT_EQ(run.status, 0);
        const std::size_t end = run.out.find("--- the session ends ---\n");
        ASSERT_NE(end, std::string::npos);
        const std::size_t ended = run.out.find(monitor, end);
        EXPECT_NE(ended, std::string::npos);
        EXPECT_LT(ended, run.out.find("--- files on drive C: ---", end));
        const std::string logoff = run.out.substr(end, ended - end);
        if (c.inTray >= 0) {
            EXPECT_EQ(logoff.find(" terminate\n") != std::string::npos, c.inTray == 1) << logoff;
        }
        for (const char* never : {"exitzarvoorlo", "ini write", "DestoryInstance"})
            EXPECT_EQ(logoff.find(never), std::string::npos) << never;
    }
}

} // namespace
