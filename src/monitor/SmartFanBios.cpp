// The BIOS's smart-fan settings: the restore of the snapshot in [BIOSSET] and "Load Settings From
// BIOS", which makes the chip's BIOS values the monitor's own setting again.
#include "monitor/MainForm.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

namespace monitor {

namespace {

// The [BIOSSET] keys in the order of the restore request's registers (kBiosSetRegisters).
const char* const kRestoreKeys[11] = {"T1",  "T2",  "T3",  "F1H",     "F1L",    "F2H",
                                      "F2L", "F3H", "F3L", "PWMDUTY", "CONTROL"};

// The registers of snapshot bytes 1 to 10 (byte 0 is the mode register, read until ready).
const std::uint8_t kSnapshotRegisters[10] = {fanreg::kDuty, 0xA0, 0xA1, 0xA2, 0xA4,
                                             0xA5,          0xA6, 0xA7, 0xA8, 0xA9};

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
    std::uint8_t values[11];
    for (int i = 0; i < 11; ++i)
        values[i] = static_cast<std::uint8_t>(ini.ReadInteger("BIOSSET", kRestoreKeys[i], 0));
    program_.driver.RestoreFanRegisters(program_.DriverHandle, kBiosSetRegisters, values);
}

void TForm1::btnDefaultClick(ui::Component*) {
    PollingPause pause(App(), Timer1);
    RestoreBiosFanSettings();
    ui::TIniFile ini(program_.System, BoardIniPath());
    FanRegisters chip = FanChip();

    BiosFanSnapshot[0] = chip.ReadModeWhenReady();
    for (int i = 0; i < 10; ++i)
        BiosFanSnapshot[1 + i] = chip.Read(kSnapshotRegisters[i]);
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
    int duties[3] = {100, 0, 0};
    if (item == 2) {
        for (int point = 0; point < 3; ++point) {
            std::uint32_t count =
                MaskedCount(BiosFanSnapshot[5 + 2 * point], BiosFanSnapshot[6 + 2 * point]);
            duties[point] = DutyOfSpeed(RpmOfCount(count), FullSpeedRpm);
        }
        ShowManualDuty(false);
    } else if (item == 1) {
        std::uint32_t count = chip.ReadMaskedCount(fanreg::kCurrentCount);
        duties[0] = duties[1] = duties[2] = DutyOfSpeed(RpmOfCount(count), FullSpeedRpm);
        ShowManualDuty(true);
    } else {
        ShowManualDuty(false);
    }
    upMidControl1.SetPosition(HeldTo(duties[1], 75, 99));
    upLowControl1.SetPosition(HeldTo(duties[2], 30, 74));
    ShowMainboardDutyAndSpeedTexts(duties[0], duties[0]);
    SetDutyCycleFromRegister(BiosFanSnapshot[1]);
    ScaleFanCurve();
    if (item == 2) {
        EnableMainboardPoints(true);
        RedrawFanCurve();
    } else {
        EnableMainboardPoints(false);
        std::uint16_t flat = HeldSpeed(RpmOfCount(chip.ReadRawCount(fanreg::kFullSpeedCount)));
        DrawFanCurve(flat, flat, flat);
    }

    ini.WriteInteger("FINTEK", "FullTemp", fullTemp);
    ini.WriteInteger("FINTEK", "MidTemp", midTemp);
    ini.WriteInteger("FINTEK", "LowTemp", lowTemp);
    ini.WriteInteger("FINTEK", "FullControl", 100);
    ini.WriteInteger("FINTEK", "MidControl", duties[1]);
    ini.WriteInteger("FINTEK", "LowControl", duties[2]);
    ini.WriteInteger("FINTEK", "PWMDUTY", BiosFanSnapshot[1]);
    ini.WriteInteger("FINTEK", "ENABLED", code);
}

} // namespace monitor
