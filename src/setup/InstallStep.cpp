// The install step, "Next" on the destination page: stop a running monitor, copy the driver and
// the program files, register them, put the shortcut on the desktop and offer the restart.
#include "setup/BoardList.h"
#include "setup/RegistryEntries.h"
#include "setup/Wizard.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

namespace setup {

namespace {

// The operating systems that let only an administrator install a driver.
bool NeedsAdministrator(const std::string& os) {
    return os == "NT3" || os == "NT4" || os == "2000" || os == "XP" || os == "SERVER2003";
}

std::string CopyFailure(const std::string& name) {
    return "Copy " + name + " fail !!";
}

} // namespace

// Only an administrator may open the service-control manager for all access.
bool IsAdministrator(os::System& system) {
    os::Handle manager = system.OpenSCManager(os::kScManagerGenericAll);
    if (manager == os::kNoHandle) return false;
    system.CloseServiceHandle(manager);
    return true;
}

void TForm1::CopyFileShown(const std::string& source, const std::string& target,
                           const std::string& failure, bool advance) {
    os::System& system = program_.System;
    LabelSor.SetCaption(source);
    LabelTrg.SetCaption(target);
    App().ProcessMessages();
    system.SetFileAttributes(target, os::kFileAttributeNormal);
    if (!system.CopyFile(source, target, false)) App().ShowMessage(failure);
    // The copy took the source's attributes: a distribution on a CD-ROM is read-only.
    system.SetFileAttributes(target, os::kFileAttributeNormal);
    if (advance) ProgressBar1.SetPosition(ProgressBar1.Position() + 1);
}

// The logo, batch and exec files a board INI names, each copied when it lies in the
// distribution folder (the board INI's copy there is read, not the installed one).
void TForm1::CopyBoardFiles(const std::string& boardIni) {
    const std::string& from = program_.SetupDir;
    const std::string to = program_.DestDir + "\\ZARVO\\ORLO\\";
    ui::TIniFile ini(program_.System, from + boardIni);
    for (const BoardFileKey& key : kBoardFileKeys) {
        std::string name = ini.ReadString(key.section, key.key, "");
        if (IsPlainFileName(name) && program_.System.FileExists(from + name))
            CopyFileShown(from + name, to + name, CopyFailure(name), false);
    }
}

void TForm1::Button14Click(ui::Component*) {
    SetupProgram& p = program_;
    os::System& system = p.System;
    system.BroadcastMessage(p.ExitMessageId, 0, 0);
    system.Sleep(500);
    PageControl1.SetActivePage(&TabSheet2);

    std::vector<std::string> boards = ReadBoardList(system, p.SetupDir + "ORLO.INI");
    ProgressBar1.Min = 0;
    ProgressBar1.Max = static_cast<int>(boards.size()) + 10;
    ProgressBar1.SetPosition(0);

    system.CreateDirectory(p.DestDir + "\\ZARVO");
    system.CreateDirectory(p.DestDir + "\\ZARVO\\ORLO");
    if (NeedsAdministrator(p.OSName) && !IsAdministrator(system)) {
        App().ShowMessage(
            "User have not administrator privileges! Please Logo in to 'Administrator'!");
        Close();
        return;
    }

    const std::string folder = p.DestDir + "\\ZARVO\\ORLO\\";
    if (p.IsWow64)
        CopyFileShown(p.SetupDir + "ZarvoORLO64.SYS", p.WinDir + "SysWow64\\drivers\\ZarvoORLO.SYS",
                      "Copy ZarvoORLO.sys fail !!", true);
    else
        CopyFileShown(p.SetupDir + "ZarvoORLO.SYS", p.WinDir + "SYSTEM32\\DRIVERS\\ZarvoORLO.SYS",
                      "Copy ZarvoORLO.sys fail !!", true);
    CopyFileShown(p.SetupDir + "ORLO.EXE", folder + "ORLO.EXE", CopyFailure("ORLO.EXE"), true);
    CopyFileShown(p.SetupDir + "skelvarind.dll", folder + "skelvarind.dll",
                  CopyFailure("skelvarind.dll"), true);
    CopyFileShown(p.SetupDir + "warning.wav", folder + "WARNING.WAV", CopyFailure("WARNING.WAV"),
                  true);
    CopyFileShown(p.SetupDir + "ORLO.INI", folder + "ORLO.INI", CopyFailure("ORLO.INI"), true);
    CopyFileShown(p.SetupDir + "SETUP.EXE", folder + "SETUP.EXE", CopyFailure("SETUP.EXE"), true);

    for (const std::string& board : boards) {
        if (!IsPlainFileName(board)) {
            // A name that could reach outside the folders is not followed.
            App().ShowMessage(CopyFailure(board));
            ProgressBar1.SetPosition(ProgressBar1.Position() + 1);
            continue;
        }
        CopyFileShown(p.SetupDir + board, folder + board, CopyFailure(board), true);
        CopyBoardFiles(board);
    }

    RegisterDriverService(p, 1);
    RegisterAutoStart(p, 1);
    RegisterUninstallEntry(p, 1);
    CreateDesktopShortcut(system, p.DestDir + "\\ZARVO\\ORLO\\ORLO.EXE", "ORLO.lnk", "Velmara");
    PageControl1.SetActivePage(&TabSheet3);
}

} // namespace setup
