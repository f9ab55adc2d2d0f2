// The RPM curve of the Smart Fan page and the polling tick's refresh, which learns the fan's
// full speed whenever the chip reports a faster count than the stored one.
#include "monitor/DutyCycleForm.h"
#include "monitor/MainForm.h"
#include "monitor/SensorConversions.h"
#include "ui/IniFile.h"

namespace monitor {

void TForm1::DrawFanCurve(std::uint16_t full, std::uint16_t mid, std::uint16_t low) {
    Series1.Clear();
    bool points = true;
    int lowT = 0, midT = 0, fullT = 0;
    if (program_.IsMiniPC) {
        lowT = upLowTemp.Position();
        midT = upMidTemp.Position();
        fullT = upFullTemp.Position();
    } else if (cbSmartFanFunction.ItemIndex() == 2) {
        lowT = upLowTemp1.Position();
        midT = upMidTemp1.Position();
        fullT = upFullTemp1.Position();
    } else {
        points = false;
    }
    for (int t = 0; t <= 130; ++t) {
        int y = full;
        if (points) {
            if (t < lowT)
                y = 0;
            else if (t < (lowT + midT) / 2)
                y = low;
            else if (t < midT)
                y = (mid + low) >> 1;
            else if (t < (midT + fullT) / 2)
                y = mid;
            else if (t < fullT)
                y = (full + mid) >> 1;
        }
        Series1.Add(y, FormatTemperatureText(t, SystemLanguage), ui::clRed);
    }
}

void TForm1::RedrawFanCurve() {
    if (program_.IsMiniPC) {
        DrawFanCurve(SpeedOfDuty(upFullControl.Position(), FullSpeedRpm),
                     SpeedOfDuty(upMidControl.Position(), FullSpeedRpm),
                     SpeedOfDuty(upLowControl.Position(), FullSpeedRpm));
    } else {
        DrawFanCurve(FullSpeedOf(FullSpeedRpm), SpeedOfDuty(upMidControl1.Position(), FullSpeedRpm),
                     SpeedOfDuty(upLowControl1.Position(), FullSpeedRpm));
    }
}

void TForm1::SmartFanRefresh() {
    FanRegisters chip = FanChip();
    std::uint8_t storedHigh = chip.Read(fanreg::kFullSpeedCount);
    std::uint8_t storedLow = chip.Read(fanreg::kFullSpeedCount + 1);
    std::uint8_t currentHigh = chip.Read(fanreg::kCurrentCount);
    std::uint8_t currentLow = chip.Read(fanreg::kCurrentCount + 1);
    std::uint32_t current = RawCount(currentHigh, currentLow);
    // A count of 0 is no reading, not an infinitely fast fan.
    if (current == 0 || RawCount(storedHigh, storedLow) <= current) return;
    chip.Write(fanreg::kFullSpeedCount, currentHigh);
    chip.Write(fanreg::kFullSpeedCount + 1, currentLow);

    ui::TIniFile ini(program_.System, BoardIniPath());
    FullSpeedRpm = RpmOfCount(chip.ReadMaskedCount(fanreg::kFullSpeedCount));
    if (program_.frmDutyCycleForm) program_.frmDutyCycleForm->SetFullSpeedRpm(FullSpeedRpm);
    int stored[3];
    ReadStoredDuties(ini, stored);
    upMidControl1.SetPosition(HeldTo(stored[1], 75, 99));
    upLowControl1.SetPosition(HeldTo(stored[2], 30, 74));
    ShowMainboardDutyAndSpeedTexts(100, stored[0]);
    std::uint16_t full = FullSpeedOf(FullSpeedRpm);
    std::uint16_t mid = SpeedOfDuty(upMidControl1.Position(), FullSpeedRpm);
    std::uint16_t low = SpeedOfDuty(upLowControl1.Position(), FullSpeedRpm);
    if (cbSmartFanFunction.ItemIndex() == 2) {
        WritePointCounts(full, mid, low);
        ScaleFanCurve();
        DrawFanCurve(full, mid, low);
    } else {
        if (cbSmartFanFunction.ItemIndex() == 1) ShowManualDuty(true);
        ScaleFanCurve();
        std::uint16_t flat = HeldSpeed(RpmOfCount(chip.ReadRawCount(fanreg::kFullSpeedCount)));
        DrawFanCurve(flat, flat, flat);
    }
}

} // namespace monitor
