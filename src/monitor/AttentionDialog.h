// Asked at the next start after an automatic shutdown: keep "Shutdown" as the alarm action?
#pragma once

#include "monitor/MonitorProgram.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace monitor {

class TOKBottomDlgAttention : public ui::Form {
  public:
    TOKBottomDlgAttention(ui::Application& app, MonitorProgram& program);

    ui::TBevel Bevel1;
    ui::TLabel LabelAttention;
    ui::TLabel LabelText1;
    ui::TLabel LabelText2;
    ui::TLabel Label1;
    ui::TButton OKBtn;
    ui::TButton CancelBtn;
};

} // namespace monitor
