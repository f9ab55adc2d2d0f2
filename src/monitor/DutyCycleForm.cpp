#include "monitor/DutyCycleForm.h"

#include "monitor/SmartFanRegisters.h"
#include "monitor/SystemHelpers.h"
#include "ui/Application.h"

namespace monitor {

namespace {
constexpr int kSamplesPerStep = 20;
constexpr std::uint32_t kSampleWaitMs = 100;
// The fan needs time to settle at the first duty of the sweep.
constexpr std::uint32_t kFirstSampleWaitMs = 15000;
} // namespace

TfrmDutyCycleForm::TfrmDutyCycleForm(ui::Application& app, MonitorProgram& program)
    : ui::Form(app, "frmDutyCycleForm"), Panel1(this, "Panel1"), Chart1(&Panel1, "Chart1"),
      Series1(&Chart1, "Series1"), Timer1(this, "Timer1", 1000, false), program_(program) {
    SetCaption("RPM/Duty-Cycle curve");
    BorderStyle = ui::TBorderStyle::bsSingle;
    BorderIcons = ui::biSystemMenu;
    SetClientSize(497, 178);
    Panel1.Align = ui::TPanel::TAlign::alClient;
    Panel1.BevelOuterNone = true;
    Panel1.SetCaption("");
    Panel1.SetBounds(0, 0, 497, 178);
    Chart1.Align = ui::TPanel::TAlign::alClient;
    Chart1.SetBounds(0, 0, 497, 178);
    Chart1.BottomAxis.SetTitle("Duty-Cycle (%)");
    Chart1.LeftAxis.SetTitle("RPM");
    Chart1.LeftAxis.Automatic = false;
    Chart1.LegendVisible = false;
    Chart1.TitleVisible = false;
    Chart1.View3D = false;
    Chart1.BackWallFilled = false;
    Chart1.BackWallColor = ui::clWhite;
    Series1.SeriesColor = ui::clRed;
    Timer1.OnTimer = [this](ui::Component* s) { Timer1Timer(s); };
    FormCreate(this);
}

void TfrmDutyCycleForm::FormCreate(ui::Component*) {
    Timer1.SetEnabled(false);
    device_ = os::kInvalidHandle;
}

std::uint8_t TfrmDutyCycleForm::ReadFanRegister(os::Handle device, std::uint8_t reg) {
    return program_.driver.ReadFanRegister(device, reg);
}

void TfrmDutyCycleForm::WriteFanRegister(os::Handle device, std::uint8_t reg, std::uint8_t value) {
    program_.driver.WriteFanRegister(device, reg, value);
}

std::uint32_t TfrmDutyCycleForm::AverageCount(std::uint32_t firstWaitMs) {
    std::uint32_t sum = 0;
    for (int sample = 0; sample < kSamplesPerStep; ++sample) {
        program_.System.Sleep(sample == 0 ? firstWaitMs : kSampleWaitMs);
        std::uint8_t high = ReadFanRegister(device_, fanreg::kCurrentCount);
        sum += MaskedCount(high, ReadFanRegister(device_, fanreg::kCurrentCount + 1));
    }
    return sum / kSamplesPerStep;
}

void TfrmDutyCycleForm::Timer1Timer(ui::Component*) {
    MonitorProgram& p = program_;
    if (!p.SweepIdle) return;
    p.SweepIdle = false;
    if (device_ == os::kInvalidHandle || !(fullSpeedRpm_ > 0)) {
        p.SweepIdle = true;
        Timer1.SetEnabled(false);
        return;
    }
    App().SetScreenCursor(ui::TCursor::crHourGlass);
    std::uint8_t keptHigh = ReadFanRegister(device_, fanreg::kCurrentCount);
    std::uint8_t keptLow = ReadFanRegister(device_, fanreg::kCurrentCount + 1);
    std::uint8_t keptMode = ReadFanRegister(device_, fanreg::kMode);
    std::uint8_t keptDuty = ReadFanRegister(device_, fanreg::kDuty);
    WriteFanRegister(device_, fanreg::kMode, 6);
    Chart1.LeftAxis.SetMinimum(0);
    Chart1.LeftAxis.SetMaximum(fullSpeedRpm_ + 500);
    Series1.Clear();

    for (int duty = 0; duty <= 100; duty += 5) {
        WriteFanRegister(device_, fanreg::kDuty, DutyRegisterOfPercent(duty));
        std::uint32_t average = AverageCount(duty == 0 ? kFirstSampleWaitMs : kSampleWaitMs);
        // The 0 % point is 0 RPM whatever the fan still does.
        double rpm = duty == 0 ? 0 : RpmOfCount(average);
        Series1.Add(rpm, FormatText("%d", duty), ui::clRed);
        Chart1.Repaint();
        App().ProcessMessages();
    }

    WriteFanRegister(device_, fanreg::kCurrentCount, keptHigh);
    WriteFanRegister(device_, fanreg::kCurrentCount + 1, keptLow);
    WriteFanRegister(device_, fanreg::kDuty, keptDuty);
    WriteFanRegister(device_, fanreg::kMode, keptMode);
    App().SetScreenCursor(ui::TCursor::crDefault);
    Timer1.SetEnabled(false);
    p.SweepIdle = true;
}

} // namespace monitor
