// The presets of the board-mode set ("Quick Setting"): three built-in curves and the user's.
#include "monitor/MainForm.h"
#include "ui/IniFile.h"

namespace monitor {

namespace {

// Full, Mid and Low temperatures, then Full, Mid and Low duties.
const int kPresets[3][6] = {
    {61, 31, 0, 100, 80, 50}, // "Lower Temperature"
    {80, 50, 0, 100, 65, 40}, // "Normal/Run"
    {80, 60, 20, 81, 61, 30}, // "Ultra Quiet"
};
const char* const kPointKeys[6] = {"FullTemp",    "MidTemp",    "LowTemp",
                                   "FullControl", "MidControl", "LowControl"};
const int kUserCurve = 3; // "By Temperature": the points stored in [FINTEK]

} // namespace

void TForm1::cbQuickSettingClick(ui::Component*) {
    int item = cbQuickSetting.ItemIndex();
    if (item < 0 || item > kUserCurve) return;
    ui::TIniFile ini(program_.System, BoardIniPath());
    int values[6];
    for (int i = 0; i < 6; ++i)
        values[i] =
            item == kUserCurve ? ini.ReadInteger("FINTEK", kPointKeys[i], 0) : kPresets[item][i];
    EnableBoardModePoints(item == kUserCurve);
    // Each change runs the up-down's change rule: texts, and the Mid and Low points at once.
    SmartFanControls set = BoardModeControls();
    for (int i = 0; i < 3; ++i)
        set.Temp[i]->SetPosition(values[i]);
    for (int i = 0; i < 3; ++i)
        set.Control[i]->SetPosition(values[3 + i]);

    // A stored value outside its range was shown as it was; the texts show the held points.
    int temps[3], duties[3];
    for (int i = 0; i < 3; ++i) {
        temps[i] = set.Temp[i]->Position();
        duties[i] = set.Control[i]->Position();
    }
    std::uint16_t full = SpeedOfDuty(duties[0], FullSpeedRpm);
    std::uint16_t mid = SpeedOfDuty(duties[1], FullSpeedRpm);
    std::uint16_t low = SpeedOfDuty(duties[2], FullSpeedRpm);
    ShowTemperatureTexts(set, temps[0], temps[1], temps[2]);
    ShowDutyTexts(set, duties[0], duties[0], duties[1], duties[2]);
    ShowSpeedTexts(set, full, mid, low);
    FanRegisters chip = FanChip();
    chip.Write(fanreg::kFullTemp, static_cast<std::uint8_t>(temps[0]));
    chip.Write(fanreg::kMidTemp, static_cast<std::uint8_t>(temps[1]));
    chip.Write(fanreg::kLowTemp, static_cast<std::uint8_t>(temps[2]));
    WritePointCounts(full, mid, low);
    ScaleFanCurve();
    DrawFanCurve(full, mid, low);
    ini.WriteInteger("FINTEK", "ENABLED", item + 1);
}

} // namespace monitor
