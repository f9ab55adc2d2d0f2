// The warning window: shows the current limit alarm and offers Ignore, Disable and ShutDown.
#pragma once

#include "monitor/MonitorProgram.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace monitor {

class TFormWarning : public ui::Form {
  public:
    TFormWarning(ui::Application& app, MonitorProgram& program);

    ui::TLabel Label1;
    ui::TLabel LabelMsg;
    ui::TLabel LabelIgnore;
    ui::TLabel Label4;
    ui::TLabel Label5;
    ui::TButton IgnoreButton;
    ui::TButton DisalbeButton;
    ui::TButton ShutdownButton;
    ui::TLabel LabelDateTime;
    ui::TTimer Timer1;

    bool ExternalSpeaker = false;
    bool SystemSpeaker = false;

  private:
    MonitorProgram& program_;
};

} // namespace monitor
