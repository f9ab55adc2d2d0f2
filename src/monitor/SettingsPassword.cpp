// The settings password of the main window: the prompt that guards the Configure page, and the
// "Set Password" button of the Setup page. The password is kept in plain text as [SYSTEM] PWD.
#include "monitor/MainForm.h"
#include "monitor/PasswordForms.h"
#include "ui/Application.h"

namespace monitor {

// The user changed the page, or the tray command "&Configure" made the Configure page active.
void TForm1::PageControl1Change(ui::Component*) {
    if (PageControl1.ActivePage() != &TabSheetConfigure) return;
    BtnViewLogFile.SetEnabled(program_.System.FileExists(program_.ExeDir + "log.txt"));
    if (Settings.Password.empty() || !program_.FormPassword) return;
    // Only the right password ends the prompt with mrOk. Every other end of it, "Cancel" (which
    // has made the Fan page active already) or a close by the system (Alt+F4, any WM_CLOSE),
    // goes back to the Fan page, made active from code, so that no prompt follows. Not at the
    // application's end, which ends the prompt as cancelled too: the program is going away.
    if (program_.FormPassword->ShowModal() == ui::mrOk || App().Terminated()) return;
    PageControl1.SetActivePage(&TabSheet1);
}

void TForm1::Button2Click(ui::Component*) {
    if (program_.FormChangePassword) program_.FormChangePassword->ShowModal();
}

void TForm1::SetPassword(const std::string& text) {
    Settings.Password = text;
    if (program_.Initialized) SaveSettings();
    if (text.empty()) App().ShowMessage("Password Cleared");
}

} // namespace monitor
