#include "monitor/PasswordForms.h"

namespace monitor {

TFormPassword::TFormPassword(ui::Application& app, MonitorProgram&)
    : ui::Form(app, "FormPassword"), GroupBox1(this, "GroupBox1"), Password(&GroupBox1, "Password"),
      Button1(this, "Button1"), Button2(this, "Button2") {
    SetCaption("Password");
    BorderStyle = ui::TBorderStyle::bsSingle;
    BorderIcons = 0;
    SetBounds(0, 0, 260, 150);
    GroupBox1.SetCaption("Input Password");
    GroupBox1.SetBounds(8, 8, 236, 56);
    Password.PasswordChar = '*';
    Password.SetBounds(12, 20, 210, 21);
    Button1.SetCaption("OK");
    Button1.SetBounds(40, 76, 75, 25);
    Button2.SetCaption("Cancel");
    Button2.SetBounds(136, 76, 75, 25);
}

TFormChangePassword::TFormChangePassword(ui::Application& app, MonitorProgram&)
    : ui::Form(app, "FormChangePassword"), GroupBox1(this, "GroupBox1"),
      NewPassword(&GroupBox1, "NewPassword"), GroupBox2(this, "GroupBox2"),
      ConfirmPassword(&GroupBox2, "ConfirmPassword"), Button1(this, "Button1"),
      Button2(this, "Button2") {
    SetCaption("Change Password");
    BorderStyle = ui::TBorderStyle::bsSingle;
    BorderIcons = 0;
    SetBounds(0, 0, 260, 210);
    GroupBox1.SetCaption("New Password");
    GroupBox1.SetBounds(8, 8, 236, 56);
    NewPassword.PasswordChar = '*';
    NewPassword.SetBounds(12, 20, 210, 21);
    GroupBox2.SetCaption("Confirm New Password");
    GroupBox2.SetBounds(8, 70, 236, 56);
    ConfirmPassword.PasswordChar = '*';
    ConfirmPassword.SetBounds(12, 20, 210, 21);
    Button1.SetCaption("OK");
    Button1.SetBounds(40, 138, 75, 25);
    Button2.SetCaption("Cancel");
    Button2.SetBounds(136, 138, 75, 25);
}

} // namespace monitor
