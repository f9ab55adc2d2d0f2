#include "monitor/PasswordForms.h"

#include "monitor/MainForm.h"
#include "ui/Application.h"

namespace monitor {

namespace {

constexpr char kEnter = 13;

// Both windows: a single border without border icons (no close box), over the main window;
// Esc clicks "Cancel".
void SetUpPasswordWindow(ui::Form& form, const char* caption, int height, ui::TButton& ok,
                         ui::TButton& cancel) {
    form.SetCaption(caption);
    form.BorderStyle = ui::TBorderStyle::bsSingle;
    form.BorderIcons = 0;
    form.Position = ui::TPosition::poMainFormCenter;
    form.SetBounds(0, 0, 260, height);
    const int buttonTop = height - 72;
    ok.SetCaption("OK");
    ok.SetBounds(40, buttonTop, 75, 25);
    cancel.SetCaption("Cancel");
    cancel.SetBounds(136, buttonTop, 75, 25);
    cancel.Cancel = true;
}

// A group with one edit that shows each character as "*".
void SetUpPasswordEdit(ui::TGroupBox& group, const char* caption, int top, ui::TEdit& edit) {
    group.SetCaption(caption);
    group.SetBounds(8, top, 236, 56);
    edit.PasswordChar = '*';
    edit.SetBounds(12, 20, 210, 21);
}

} // namespace

// --- the prompt -----------------------------------------------------------------------------

TFormPassword::TFormPassword(ui::Application& app, MonitorProgram& program)
    : ui::Form(app, "FormPassword"), GroupBox1(this, "GroupBox1"), Password(&GroupBox1, "Password"),
      Button1(this, "Button1"), Button2(this, "Button2"), program_(program) {
    SetUpPasswordWindow(*this, "Password", 150, Button1, Button2);
    SetUpPasswordEdit(GroupBox1, "Input Password", 8, Password);
    OnActivate = [this](ui::Component* s) { FormActivate(s); };
    Button1.OnClick = [this](ui::Component* s) { Button1Click(s); };
    Password.OnKeyPress = [this](ui::Component* s, char& k) { PasswordKeyPress(s, k); };
    Button2.OnClick = [this](ui::Component* s) { Button2Click(s); };
}

void TFormPassword::FormActivate(ui::Component*) {
    Password.SetText("");
    Password.SetFocus();
}

void TFormPassword::Button1Click(ui::Component*) {
    CheckPassword();
}

void TFormPassword::PasswordKeyPress(ui::Component*, char& key) {
    if (key != kEnter) return;
    key = 0;
    CheckPassword();
}

void TFormPassword::Button2Click(ui::Component*) {
    Close();
    // Made active from code, the Fan page runs no page-change handler: no prompt again.
    if (program_.Form1) program_.Form1->PageControl1.SetActivePage(&program_.Form1->TabSheet1);
}

// Byte for byte, letter case included; no limit on the attempts.
void TFormPassword::CheckPassword() {
    if (!program_.Form1) return;
    const std::string typed = Password.Text();
    if (typed == program_.Form1->Settings.Password) {
        // The one way out that keeps the Configure page: the prompt ends with mrOk.
        SetModalResult(ui::mrOk);
        return;
    }
    App().ShowMessage("Password Error");
    // Closing the box activates the prompt again, and its activation empties the edit: the
    // typed text is put back, and the focus with it.
    Password.SetText(typed);
    Password.SetFocus();
}

// --- the change-password window -----------------------------------------------------------------

TFormChangePassword::TFormChangePassword(ui::Application& app, MonitorProgram& program)
    : ui::Form(app, "FormChangePassword"), GroupBox1(this, "GroupBox1"),
      NewPassword(&GroupBox1, "NewPassword"), GroupBox2(this, "GroupBox2"),
      ConfirmPassword(&GroupBox2, "ConfirmPassword"), Button1(this, "Button1"),
      Button2(this, "Button2"), program_(program) {
    SetUpPasswordWindow(*this, "Change Password", 210, Button1, Button2);
    SetUpPasswordEdit(GroupBox1, "New Password", 8, NewPassword);
    SetUpPasswordEdit(GroupBox2, "Confirm New Password", 70, ConfirmPassword);
    OnActivate = [this](ui::Component* s) { FormActivate(s); };
    NewPassword.OnKeyPress = [this](ui::Component* s, char& k) { NewPasswordKeyPress(s, k); };
    Button1.OnClick = [this](ui::Component* s) { Button1Click(s); };
    ConfirmPassword.OnKeyPress = [this](ui::Component* s, char& k) {
        ConfirmPasswordKeyPress(s, k);
    };
    Button2.OnClick = [this](ui::Component* s) { Button2Click(s); };
}

void TFormChangePassword::FormActivate(ui::Component*) {
    NewPassword.SetText("");
    ConfirmPassword.SetText("");
    NewPassword.SetFocus();
}

void TFormChangePassword::NewPasswordKeyPress(ui::Component*, char& key) {
    if (key != kEnter) return;
    key = 0;
    ConfirmPassword.SetFocus();
}

void TFormChangePassword::Button1Click(ui::Component*) {
    Accept();
}

void TFormChangePassword::ConfirmPasswordKeyPress(ui::Component*, char& key) {
    if (key != kEnter) return;
    key = 0;
    Accept();
}

void TFormChangePassword::Button2Click(ui::Component*) {
    Close();
}

// The length counts bytes as stored; one or two are refused before the texts are compared, so
// two empty edits pass both tests and clear the password.
void TFormChangePassword::Accept() {
    // A copy: a message box's closing re-activates this window, which empties the edits.
    const std::string text = NewPassword.Text();
    if (text.size() == 1 || text.size() == 2) {
        App().ShowMessage("New Password must contain unless 3 characters");
        NewPassword.SetFocus();
        return;
    }
    if (text != ConfirmPassword.Text()) {
        App().ShowMessage("New Password and Confirm New Password are not equal");
        NewPassword.SetFocus();
        return;
    }
    if (program_.Form1) program_.Form1->SetPassword(text);
    Close();
}

} // namespace monitor
