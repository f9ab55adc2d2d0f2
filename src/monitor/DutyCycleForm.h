// The RPM/duty-cycle curve window of the smart fan.
#pragma once

#include "monitor/MonitorProgram.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"

namespace monitor {

class TfrmDutyCycleForm : public ui::Form {
  public:
    TfrmDutyCycleForm(ui::Application& app, MonitorProgram& program);

    ui::TTimer Timer1;

    void SetFullSpeedRpm(double rpm) { fullSpeedRpm_ = rpm; }
    void SetDevice(os::Handle device) { device_ = device; }
    double FullSpeedRpm() const { return fullSpeedRpm_; }
    os::Handle Device() const { return device_; }

  private:
    double fullSpeedRpm_ = 0;
    os::Handle device_ = os::kInvalidHandle;
};

} // namespace monitor
