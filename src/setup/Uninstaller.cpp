#include "setup/Uninstaller.h"

#include "setup/BoardList.h"
#include "setup/RegistryEntries.h"
#include "setup/Wizard.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

namespace setup {

namespace {

const std::string kProgramSuffix = "\\ZARVO\\ORLO\\";
constexpr std::uint32_t kShortPathBuffer = 255;

// The temporary folder, ending in a backslash: where the copy lives and works.
std::string TemporaryFolder(os::System& system) {
    std::string temp = system.GetTempPath();
    if (temp.empty() || temp.back() != '\\') temp += '\\';
    return temp;
}

} // namespace

std::string TemporaryCopyName(os::System& system, const std::string& tempFolder) {
    std::string name;
    for (int i = 0; i < 10000; ++i) {
        name = tempFolder + "uninst" + std::to_string(i) + ".exe";
        if (!system.FileExists(name)) break;
    }
    return name;
}

std::string BaseFolderOf(os::System& system, const std::string& setupDir) {
    if (setupDir.size() < kProgramSuffix.size()) return "";
    std::string base = setupDir.substr(0, setupDir.size() - kProgramSuffix.size());
    std::string shortBase;
    std::uint32_t length = system.GetShortPathName(base, shortBase, kShortPathBuffer);
    // No short form (a folder that does not exist, a failed call) or one too long for the
    // buffer: the long form, which the quotes keep whole.
    if (length == 0 || length >= kShortPathBuffer) return base;
    return shortBase;
}

std::string SecondStageParameters(std::string baseFolder) {
    while (!baseFolder.empty() && baseFolder.back() == '\\')
        baseFolder.pop_back();
    return "-UNINSTALL_NOW \"" + baseFolder + "\"";
}

void TForm1::Button9Click(ui::Component*) {
    os::System& system = program_.System;
    const std::string temp = TemporaryFolder(system);
    std::string copy = TemporaryCopyName(system, temp);
    if (!system.CopyFile(program_.SetupDir + "SETUP.EXE", copy, false)) {
        App().ShowMessage("Unknow error!!");
        Close();
        return;
    }
    // The copy works in the temporary folder: a program's working folder cannot be removed.
    system.ShellExecute(Handle(), "Open", copy,
                        SecondStageParameters(BaseFolderOf(system, program_.SetupDir)), temp,
                        os::kSwShowNormal);
    App().Terminate();
}

void RemoveInstallation(SetupProgram& program, const std::string& baseFolder) {
    os::System& system = program.System;
    // Leave the folder it was started in, which it could not remove while working there. When
    // the temporary folder cannot be entered the removal goes on: at worst that folder stays.
    system.SetCurrentDirectory(TemporaryFolder(system));
    system.BroadcastMessage(program.ExitMessageId, 0, 0);
    system.Sleep(500);
    RegisterDriverService(program, 0);
    RegisterAutoStart(program, 0);
    RegisterUninstallEntry(program, 0);
    DeleteDesktopShortcut(system, "ORLO.lnk");
    RemoveInstalledFiles(program, baseFolder);
}

void RemoveInstalledFiles(SetupProgram& program, const std::string& baseFolder) {
    os::System& system = program.System;
    const std::string folder = baseFolder + "\\ZARVO\\ORLO";
    // Without a base folder, "\ZARVO\ORLO" would name a folder on the current drive.
    std::vector<std::string> boards;
    if (!baseFolder.empty()) boards = ReadBoardList(system, folder + "\\ORLO.INI");

    // The driver files lie in the Windows folder, whatever the base folder.
    system.DeleteFile(program.WinDir + (program.IsWow64 ? "SysWow64\\DRIVERS\\ZarvoORLO.SYS"
                                                        : "SYSTEM32\\DRIVERS\\ZarvoORLO.SYS"));
    system.DeleteFile(program.WinDir + "SYSTEM\\DRIVERS\\ZarvoORLO.SYS");
    if (baseFolder.empty()) return;

    for (const char* name : {"ZarvoORLO.SYS", "ORLO.EXE", "ORLO.INI", "SETUP.EXE", "log.txt",
                             "WARNING.WAV", "skelvarind.dll"})
        system.DeleteFile(folder + "\\" + name);

    for (const std::string& board : boards) {
        if (!IsPlainFileName(board)) continue;
        ui::TIniFile ini(system, folder + "\\" + board);
        for (const BoardFileKey& key : kBoardFileKeys) {
            std::string name = ini.ReadString(key.section, key.key, "");
            if (IsPlainFileName(name) && system.FileExists(folder + "\\" + name))
                system.DeleteFile(folder + "\\" + name);
        }
        system.DeleteFile(folder + "\\" + board);
    }
    system.RemoveDirectory(folder);
    system.RemoveDirectory(baseFolder + "\\ZARVO");
}

} // namespace setup
