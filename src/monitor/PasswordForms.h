// The settings-password prompt and the change-password window.
#pragma once

#include "monitor/MonitorProgram.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace monitor {

class TFormPassword : public ui::Form {
  public:
    TFormPassword(ui::Application& app, MonitorProgram& program);
    ui::TGroupBox GroupBox1;
    ui::TEdit Password;
    ui::TButton Button1;
    ui::TButton Button2;
};

class TFormChangePassword : public ui::Form {
  public:
    TFormChangePassword(ui::Application& app, MonitorProgram& program);
    ui::TGroupBox GroupBox1;
    ui::TEdit NewPassword;
    ui::TGroupBox GroupBox2;
    ui::TEdit ConfirmPassword;
    ui::TButton Button1;
    ui::TButton Button2;
};

} // namespace monitor
