// The RPM/duty-cycle curve window of the smart fan: steps the chip's manual duty from 0 % to
// 100 % and draws the fan's measured speed at each step.
#pragma once

#include "monitor/MonitorProgram.h"
#include "ui/Chart.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"

#include <cstdint>

namespace monitor {

class TfrmDutyCycleForm : public ui::Form {
  public:
    TfrmDutyCycleForm(ui::Application& app, MonitorProgram& program);

    ui::TPanel Panel1;
    ui::TChart Chart1;
    ui::TLineSeries Series1;
    ui::TTimer Timer1;

    void FormCreate(ui::Component* sender);
    void SetFullSpeedRpm(double rpm) { fullSpeedRpm_ = rpm; }
    void SetDevice(os::Handle device) { device_ = device; }
    double FullSpeedRpm() const { return fullSpeedRpm_; }
    os::Handle Device() const { return device_; }

    // The same requests and failure messages as the main window's pair, on the handle given.
    std::uint8_t ReadFanRegister(os::Handle device, std::uint8_t reg);
    void WriteFanRegister(os::Handle device, std::uint8_t reg, std::uint8_t value);

    // One whole sweep, in the timer's first tick (about 57 s); later ticks inside it return.
    void Timer1Timer(ui::Component* sender);

  private:
    // The average of 20 samples of the fan's count; `firstWaitMs` before the first sample, 100 ms
    // before each other one.
    std::uint32_t AverageCount(std::uint32_t firstWaitMs);

    MonitorProgram& program_;
    double fullSpeedRpm_ = 0;
    os::Handle device_ = os::kInvalidHandle;
};

} // namespace monitor
