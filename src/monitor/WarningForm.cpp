#include "monitor/WarningForm.h"

namespace monitor {

TFormWarning::TFormWarning(ui::Application& app, MonitorProgram& program)
    : ui::Form(app, "FormWarning"), Label1(this, "Label1"), LabelMsg(this, "LabelMsg"),
      LabelIgnore(this, "LabelIgnore"), Label4(this, "Label4"), Label5(this, "Label5"),
      IgnoreButton(this, "IgnoreButton"), DisalbeButton(this, "DisalbeButton"),
      ShutdownButton(this, "ShutdownButton"), LabelDateTime(this, "LabelDateTime"),
      Timer1(this, "Timer1", 500, false), program_(program) {
    SetCaption("ORLO");
    BorderStyle = ui::TBorderStyle::bsSingle;
    SetBounds(0, 0, 356, 283);
    Label1.SetCaption("Warning!!");
    Label1.SetFontColor(ui::clRed);
    Label1.SetBounds(120, 8, 120, 24);
    LabelMsg.SetCaption("Your FAN 1 Speed exceed the limit");
    LabelMsg.SetFontColor(ui::clBlue);
    LabelMsg.SetBounds(16, 40, 320, 16);
    LabelIgnore.SetCaption("Ignore this warning message");
    LabelIgnore.SetBounds(112, 96, 230, 16);
    Label4.SetCaption("No more monitor this item");
    Label4.SetBounds(112, 136, 230, 16);
    Label5.SetCaption("Exit Windows Now");
    Label5.SetBounds(112, 176, 230, 16);
    IgnoreButton.SetCaption("&Ignore");
    IgnoreButton.SetBounds(16, 90, 81, 25);
    DisalbeButton.SetCaption("&Disable");
    DisalbeButton.SetBounds(16, 130, 81, 25);
    ShutdownButton.SetCaption("&ShutDown");
    ShutdownButton.SetBounds(16, 170, 81, 25);
    LabelDateTime.SetCaption("00/00/00 00:00:00 PM");
    LabelDateTime.SetFontColor(ui::clBlue);
    LabelDateTime.SetBounds(16, 64, 320, 16);
    (void)program_;
}

} // namespace monitor
