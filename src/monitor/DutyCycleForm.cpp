#include "monitor/DutyCycleForm.h"

namespace monitor {

TfrmDutyCycleForm::TfrmDutyCycleForm(ui::Application& app, MonitorProgram&)
    : ui::Form(app, "frmDutyCycleForm"), Timer1(this, "Timer1", 1000, false) {
    SetCaption("RPM/Duty-Cycle curve");
    BorderStyle = ui::TBorderStyle::bsSingle;
    BorderIcons = ui::biSystemMenu;
    SetBounds(0, 0, 497 + 6, 178 + 25);
}

} // namespace monitor
