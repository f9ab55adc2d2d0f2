// The ghost monitor: the maker's library skelvarind.dll draws a translucent window with the CPU
// temperature, the CPU usage and the VCore. The monitor loads it at the first activation (on
// 2000, XP and Server 2003 only), switches the window on and off, chooses its items, feeds it on
// every tick and unloads it when the main window is destroyed. Each export is looked up by name
// when it is needed; a missing one is skipped, except where a message names it.
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

namespace monitor {

namespace {

const char kLibraryName[] = "skelvarind.dll";

// Calls the held library's export `name` when it has one; true when it did.
bool CallIfExported(MonitorProgram& p, const char* name,
                    const std::vector<os::System::ExportArgument>& args = {}) {
    if (p.LibraryHandle == os::kNoHandle) return false;
    std::uintptr_t procedure = p.System.GetProcAddress(p.LibraryHandle, name);
    if (!procedure) return false;
    p.System.CallExport(procedure, args);
    return true;
}

// The library's messages: a plain box with the caption "DLL", owned by the main window.
void ShowLibraryMessage(TForm1& form, const std::string& text) {
    form.App().MessageBox(text, "DLL", ui::kMbOk, &form);
}

std::int32_t Flag(const ui::TCheckBox& box) {
    return box.Checked() ? 1 : 0;
}

} // namespace

// At the first activation: load the library, start it, and apply [SYSTEM] FORM2 to the tray
// item, the box and the ghost window.
void TForm1::LoadGhostLibrary() {
    MonitorProgram& p = program_;
    if (!HasGhostMonitor(p.OSName)) {
        CheckBoxShowTransparentForm.SetChecked(false);
        CheckBoxShowTransparentForm.SetEnabled(false);
        return;
    }
    const os::Handle library = p.System.LoadLibrary(kLibraryName);
    if (library == os::kNoHandle) {
        ShowLibraryMessage(*this, "Load DLL Fail");
        return;
    }
    const std::uintptr_t init = p.System.GetProcAddress(library, "InitInstance");
    if (!init) {
        // Not used again in this run, not even at the end.
        ShowLibraryMessage(*this, "Get InitInstance Fail");
        p.System.FreeLibrary(library);
        return;
    }
    p.System.CallExport(init, {});
    p.LibraryHandle = library;

    // Checking the box runs its handler, which writes FORM2 and shows the window already; the
    // window is asked once more all the same, as the library tolerates.
    const bool on = ui::TIniFile(p.System, BoardIniPath()).ReadBool("SYSTEM", "FORM2", true);
    ExtraForm1.SetChecked(on);
    CheckBoxShowTransparentForm.SetChecked(on);
    UpdateGhostMonitor(on);
}

// When the main window is destroyed, with the library held.
void TForm1::UnloadGhostLibrary() {
    MonitorProgram& p = program_;
    const os::Handle library = p.LibraryHandle;
    // No tick feeds the library from here on, not even under the message box.
    p.LibraryHandle = os::kNoHandle;
    if (const std::uintptr_t destroy = p.System.GetProcAddress(library, "DestoryInstance"))
        p.System.CallExport(destroy, {});
    else
        ShowLibraryMessage(*this, "Get DestoryInstance Fail");
    p.System.FreeLibrary(library);
}

void TForm1::UpdateGhostMonitor(bool on) {
    MonitorProgram& p = program_;
    std::uintptr_t show = 0, hide = 0;
    if (p.LibraryHandle != os::kNoHandle) {
        show = p.System.GetProcAddress(p.LibraryHandle, "ShowTranslucentForm");
        hide = p.System.GetProcAddress(p.LibraryHandle, "HideTranslucentForm");
    }
    // A library without one of them is never asked to show or hide again in this run.
    if (!show || !hide) p.GhostFormAvailable = false;
    if (p.GhostFormAvailable) p.System.CallExport(on ? show : hide, {});
    SendGhostItems();
}

// The library learns the three item boxes' states (CPU temperature, CPU usage, VCore).
void TForm1::SendGhostItems() {
    CallIfExported(program_, "SetItems", {Flag(ckTemperature), Flag(ckLoading), Flag(ckVCore)});
}

// The box, the tray item's check mark and [SYSTEM] FORM2 change together; this handler runs at
// any time, before start-up has completed too.
void TForm1::CheckBoxShowTransparentFormClick(ui::Component*) {
    const bool on = CheckBoxShowTransparentForm.Checked();
    ExtraForm1.SetChecked(on);
    ui::TIniFile(program_.System, BoardIniPath()).WriteBool("SYSTEM", "FORM2", on);
    UpdateGhostMonitor(on);
}

void TForm1::ExtraForm1Click(ui::Component*) {
    CheckBoxShowTransparentForm.SetChecked(!CheckBoxShowTransparentForm.Checked());
}

// The tick's feed: the CPU temperature in whole degrees (256: no reading) and the VCore text as
// its value box shows it, whether or not the ghost window is on.
void TForm1::GhostSetCPUTemperature(std::int32_t celsius) {
    CallIfExported(program_, "SetCPUTemperature", {celsius});
}

void TForm1::GhostSetCPUVCore(const std::string& text) {
    CallIfExported(program_, "SetCPUVCore", {text});
}

} // namespace monitor
