// The BIOS's smart-fan settings: the restore of the snapshot in [BIOSSET] and "Load Settings From
// BIOS", which makes the chip's BIOS values the monitor's own setting again.
#include "monitor/MainForm.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

namespace monitor {

namespace {

// Keeps the polling timer off and the hourglass up while it lives; puts both back however the
// work ends, so a failed INI write does not leave the monitor without polling.
class PollingPause {
  public:
    PollingPause(ui::Application& app, ui::TTimer& timer) : app_(app), timer_(timer) {
        app_.SetScreenCursor(ui::TCursor::crHourGlass);
        timer_.SetEnabled(false);
    }
    ~PollingPause() {
        timer_.SetEnabled(true);
        app_.SetScreenCursor(ui::TCursor::crDefault);
    }
    PollingPause(const PollingPause&) = delete;
    PollingPause& operator=(const PollingPause&) = delete;

  private:
    ui::Application& app_;
    ui::TTimer& timer_;
};

} // namespace

void TForm1::RestoreBiosFanSettings() {
    ui::TIniFile ini(program_.System, BoardIniPath());
    // The request names the registers in an order of its own: each takes its snapshot key.
    std::uint8_t values[kSnapshotSize];
    for (int i = 0; i < kSnapshotSize; ++i) {
        int byte = 0;
        while (kSnapshotRegisters[byte] != kBiosSetRegisters[i])
            ++byte;
        values[i] = static_cast<std::uint8_t>(ini.ReadInteger("BIOSSET", kBiosSetKeys[byte], 0));
    }
    program_.driver.RestoreFanRegisters(program_.DriverHandle, kBiosSetRegisters, values);
}

void TForm1::ReadBiosFanSnapshot() {
    FanRegisters chip = FanChip();
    BiosFanSnapshot[0] = chip.ReadModeWhenReady();
    for (int i = 1; i < kSnapshotSize; ++i)
        BiosFanSnapshot[i] = chip.Read(kSnapshotRegisters[i]);
}

void TForm1::TakeBiosDuties(int item, int duties[3]) {
    duties[0] = 100;
    duties[1] = duties[2] = 0;
    if (item == 2) {
        for (int point = 0; point < 3; ++point) {
            std::uint32_t count =
                MaskedCount(BiosFanSnapshot[5 + 2 * point], BiosFanSnapshot[6 + 2 * point]);
            duties[point] = DutyOfSpeed(RpmOfCount(count), FullSpeedRpm);
        }
    } else if (item == 1) {
        std::uint32_t count = FanChip().ReadMaskedCount(fanreg::kCurrentCount);
        duties[0] = duties[1] = duties[2] = DutyOfSpeed(RpmOfCount(count), FullSpeedRpm);
    }
    ShowManualDuty(item == 1);
    upMidControl1.SetPosition(HeldTo(duties[1], 75, 99));
    upLowControl1.SetPosition(HeldTo(duties[2], 30, 74));
    ShowMainboardDutyAndSpeedTexts(duties[0], duties[0]);
    SetDutyCycleFromRegister(BiosFanSnapshot[1]);
}

void TForm1::btnDefaultClick(ui::Component*) {
    PollingPause pause(App(), Timer1);
    RestoreBiosFanSettings();
    ui::TIniFile ini(program_.System, BoardIniPath());
    FanRegisters chip = FanChip();

    ReadBiosFanSnapshot();
    int code = ModeCode(BiosFanSnapshot[0]);
    BiosFanSnapshot[0] = static_cast<std::uint8_t>(code);
    int item = ModeItemOfCode(code);
    cbSmartFanFunction.SetItemIndex(item);

    upFullTemp1.SetPosition(HeldTo(BiosFanSnapshot[2], 60, 100));
    upMidTemp1.SetPosition(HeldTo(BiosFanSnapshot[3], 40, 59));
    upLowTemp1.SetPosition(HeldTo(BiosFanSnapshot[4], 20, 39));
    int fullTemp = upFullTemp1.Position(), midTemp = upMidTemp1.Position();
    int lowTemp = upLowTemp1.Position();
    ShowTemperatureTexts(MainboardControls(), fullTemp, midTemp, lowTemp);

    FullSpeedRpm = RpmOfCount(chip.ReadMaskedCount(fanreg::kFullSpeedCount));
    int duties[3];
    TakeBiosDuties(item, duties);
    ScaleFanCurve();
    if (item == 2) {
        EnableMainboardPoints(true);
        RedrawFanCurve();
    } else {
        EnableMainboardPoints(false);
        std::uint16_t flat = HeldSpeed(RpmOfCount(chip.ReadRawCount(fanreg::kFullSpeedCount)));
        DrawFanCurve(flat, flat, flat);
    }

    WritePointKeys(ini, {fullTemp, midTemp, lowTemp, 100, duties[1], duties[2]});
    ini.WriteInteger("FINTEK", "PWMDUTY", BiosFanSnapshot[1]);
    ini.WriteInteger("FINTEK", "ENABLED", code);
}

} // namespace monitor
