// The smart fan at start-up, a step of the settings loader on chip 0x92 with the smart fan on:
// the question whether to take the BIOS's configuration, the BIOS snapshot in [BIOSSET], and the
// Smart Fan page with its set of controls filled and the chip programmed.
#include "monitor/MainForm.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

namespace monitor {

void TForm1::SmartFanStartup(ui::TIniFile& ini) {
    bool fromBios = false;
    if (!ini.SectionExists("FINTEK"))
        fromBios = App().MessageBox("Load smart-fan configuration from BIOS?", "INFO",
                                    ui::kMbYesNo | ui::kMbIconInformation) == ui::kIdYes;

    ReadBiosFanSnapshot();
    for (int i = 0; i < kSnapshotSize; ++i)
        ini.WriteInteger("BIOSSET", kBiosSetKeys[i], BiosFanSnapshot[i]);
    ShowManualDuty(false);

    if (program_.IsMiniPC)
        SmartFanStartupBoardMode(ini);
    else
        SmartFanStartupMainboard(ini, fromBios);
}

void TForm1::SmartFanStartupBoardMode(ui::TIniFile& ini) {
    gbFintekSmartFan.SetVisible(true);
    gbFintekSmartFanForMB.SetVisible(false);
    // Stores ENABLED = 4, selects the user's curve and turns the chip's automatic control on.
    cbSmartCPUFan.SetChecked(true);
    // The stored mode is 4 now, the user's points, whatever it was before.
    ini.ReadInteger("FINTEK", "ENABLED", 0);
    EnableBoardModePoints(true);

    SmartFanControls set = BoardModeControls();
    SetStoredTemperatures(set, ini);
    int fullTemp = HeldTo(upFullTemp.Position(), 61, 80);
    int midTemp = HeldTo(upMidTemp.Position(), 31, 60);
    int lowTemp = HeldTo(upLowTemp.Position(), 0, 30);
    ShowTemperatureTexts(set, fullTemp, midTemp, lowTemp);
    FanRegisters chip = FanChip();
    chip.Write(fanreg::kFullTemp, static_cast<std::uint8_t>(fullTemp));
    chip.Write(fanreg::kMidTemp, static_cast<std::uint8_t>(midTemp));
    chip.Write(fanreg::kLowTemp, static_cast<std::uint8_t>(lowTemp));

    FullSpeedRpm = RpmOfCount(chip.ReadMaskedCount(fanreg::kFullSpeedCount));
    int stored[3];
    ReadStoredDuties(ini, stored);
    upFullControl.SetPosition(HeldTo(stored[0], 81, 100));
    upMidControl.SetPosition(HeldTo(stored[1], 51, 80));
    upLowControl.SetPosition(HeldTo(stored[2], 30, 50));
    int fullDuty = upFullControl.Position(), midDuty = upMidControl.Position();
    int lowDuty = upLowControl.Position();
    std::uint16_t full = SpeedOfDuty(fullDuty, FullSpeedRpm);
    std::uint16_t mid = SpeedOfDuty(midDuty, FullSpeedRpm);
    std::uint16_t low = SpeedOfDuty(lowDuty, FullSpeedRpm);
    ShowDutyTexts(set, fullDuty, fullDuty, midDuty, lowDuty);
    ShowSpeedTexts(set, full, mid, low);
    WritePointCounts(full, mid, low);

    WritePointKeys(ini, {upFullTemp.Position(), upMidTemp.Position(), upLowTemp.Position(),
                         fullDuty, midDuty, lowDuty});
    ScaleFanCurve();
    DrawFanCurve(full, mid, low);
}

void TForm1::SmartFanStartupMainboard(ui::TIniFile& ini, bool fromBios) {
    gbFintekSmartFan.SetVisible(false);
    gbFintekSmartFanForMB.SetVisible(true);
    FanRegisters chip = FanChip();
    SmartFanControls set = MainboardControls();
    int item = 0;
    if (fromBios) {
        int code = ModeCode(BiosFanSnapshot[0]);
        BiosFanSnapshot[0] = static_cast<std::uint8_t>(code);
        item = ModeItemOfCode(code);
        cbSmartFanFunction.SetItemIndex(item);
        upFullTemp1.SetPosition(BiosFanSnapshot[2]);
        upMidTemp1.SetPosition(BiosFanSnapshot[3]);
        upLowTemp1.SetPosition(BiosFanSnapshot[4]);
    } else {
        int enabled = ini.ReadInteger("FINTEK", "ENABLED", 0);
        if (enabled > 7 || enabled < 4) {
            enabled = 4;
            ini.WriteInteger("FINTEK", "ENABLED", 4);
        }
        item = ModeItemOfCode(enabled);
        cbSmartFanFunction.SetItemIndex(item);
        SetStoredTemperatures(set, ini);
    }
    int fullTemp = HeldTo(upFullTemp1.Position(), 60, 100);
    int midTemp = HeldTo(upMidTemp1.Position(), 40, 59);
    int lowTemp = HeldTo(upLowTemp1.Position(), 20, 39);
    ShowTemperatureTexts(set, fullTemp, midTemp, lowTemp);
    if (!fromBios && item == 2) {
        chip.Write(fanreg::kFullTemp, static_cast<std::uint8_t>(fullTemp));
        chip.Write(fanreg::kMidTemp, static_cast<std::uint8_t>(midTemp));
        chip.Write(fanreg::kLowTemp, static_cast<std::uint8_t>(lowTemp));
    }
    FullSpeedRpm = RpmOfCount(chip.ReadMaskedCount(fanreg::kFullSpeedCount));

    if (fromBios) {
        int duties[3];
        TakeBiosDuties(item, duties);
        ini.WriteInteger("FINTEK", "ENABLED", BiosFanSnapshot[0]);
        ini.WriteInteger("FINTEK", "PWMDUTY", BiosFanSnapshot[1]);
        WritePointKeys(ini, {fullTemp, midTemp, lowTemp, 100, duties[1], duties[2]});
    } else {
        int stored[3];
        ReadStoredDuties(ini, stored);
        upMidControl1.SetPosition(HeldTo(stored[1], 75, 99));
        upLowControl1.SetPosition(HeldTo(stored[2], 30, 74));
        ShowMainboardDutyAndSpeedTexts(100, stored[0]);
        SetDutyCycleFromRegister(
            static_cast<std::uint8_t>(ini.ReadInteger("FINTEK", "PWMDUTY", 100) & 0xFF));
        if (item == 2)
            WritePointCounts(FullSpeedOf(FullSpeedRpm),
                             SpeedOfDuty(upMidControl1.Position(), FullSpeedRpm),
                             SpeedOfDuty(upLowControl1.Position(), FullSpeedRpm));
        else if (item == 1)
            ShowManualDuty(true);
    }
    cbSmartFanFunctionClick(&cbSmartFanFunction);
}

} // namespace monitor
