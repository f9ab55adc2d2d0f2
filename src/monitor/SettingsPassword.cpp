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
    // Only the right password or "Cancel" (back to the Fan page) ends the prompt.
    if (!Settings.Password.empty() && program_.FormPassword) program_.FormPassword->ShowModal();
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
