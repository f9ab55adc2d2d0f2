// The settings-password prompt and the change-password window, both shown modally over the main
// window.
#pragma once

#include "monitor/MonitorProgram.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace monitor {

// Guards the Configure page: only the right password (ending it with mrOk) or "Cancel" ends it;
// a close by the system ends it as cancelled, which the main window takes as "Cancel".
class TFormPassword : public ui::Form {
  public:
    TFormPassword(ui::Application& app, MonitorProgram& program);
    ui::TGroupBox GroupBox1;
    ui::TEdit Password;
    ui::TButton Button1;
    ui::TButton Button2;

    void FormActivate(ui::Component* sender);
    void Button1Click(ui::Component* sender);
    void PasswordKeyPress(ui::Component* sender, char& key);
    void Button2Click(ui::Component* sender);

  private:
    void CheckPassword();
    MonitorProgram& program_;
};

// Sets, changes or clears the password; it does not ask for the current one.
class TFormChangePassword : public ui::Form {
  public:
    TFormChangePassword(ui::Application& app, MonitorProgram& program);
    ui::TGroupBox GroupBox1;
    ui::TEdit NewPassword;
    ui::TGroupBox GroupBox2;
    ui::TEdit ConfirmPassword;
    ui::TButton Button1;
    ui::TButton Button2;

    void FormActivate(ui::Component* sender);
    void NewPasswordKeyPress(ui::Component* sender, char& key);
    void Button1Click(ui::Component* sender);
    void ConfirmPasswordKeyPress(ui::Component* sender, char& key);
    void Button2Click(ui::Component* sender);

  private:
    void Accept();
    MonitorProgram& program_;
};

} // namespace monitor
