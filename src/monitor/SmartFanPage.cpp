// The Smart Fan page: its two control sets, their change and click rules, the Smart CPUFan box,
// the mode box, the manual duty and the button that opens the duty-cycle window.
#include "monitor/DutyCycleForm.h"
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

#include <algorithm>

namespace monitor {

namespace {

std::uint8_t LowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::string DutyText(int duty) {
    return FormatText("%d %%", duty);
}

std::string SpeedText(int rpm) {
    return FormatText("%d", rpm);
}

// Which point (0 Full, 1 Mid, 2 Low) `sender` is among `updowns`; -1 when none.
int PointOf(ui::Component* sender, ui::TUpDown* const updowns[3]) {
    for (int i = 0; i < 3; ++i)
        if (updowns[i] && updowns[i] == sender) return i;
    return -1;
}

// A change rule ignores a value beyond the bound the up-down already stands at.
bool BeyondItsBound(const ui::TUpDown& updown, int value) {
    return (updown.Position() == updown.Max() && value > updown.Max()) ||
           (updown.Position() == updown.Min() && value < updown.Min());
}

// Finds `sender` among the temperature (or duty) up-downs of the two sets: its set and point.
bool Locate(TForm1& form, ui::Component* sender, bool temperature, TForm1::SmartFanControls& set,
            int& point) {
    for (const TForm1::SmartFanControls& candidate :
         {form.BoardModeControls(), form.MainboardControls()}) {
        point = PointOf(sender, temperature ? candidate.Temp : candidate.Control);
        if (point >= 0) {
            set = candidate;
            return true;
        }
    }
    return false;
}

// The point a change rule is asked for, or -1: a sender that is no point up-down changes
// nothing here, and a value beyond the bound the up-down stands at is refused.
int ChangedPoint(TForm1& form, ui::Component* sender, short newValue, bool& allowChange,
                 bool temperature, TForm1::SmartFanControls& set) {
    int point = -1;
    if (!Locate(form, sender, temperature, set, point)) return -1;
    if (BeyondItsBound(*(temperature ? set.Temp : set.Control)[point], newValue)) {
        allowChange = false;
        return -1;
    }
    return point;
}

const std::uint8_t kTempRegisters[3] = {fanreg::kFullTemp, fanreg::kMidTemp, fanreg::kLowTemp};
const std::uint8_t kCountRegisters[3] = {fanreg::kFullCount, fanreg::kMidCount, fanreg::kLowCount};

} // namespace

TForm1::SmartFanControls TForm1::BoardModeControls() {
    return SmartFanControls{
        false,
        {&upFullTemp, &upMidTemp, &upLowTemp},
        {&upFullControl, &upMidControl, &upLowControl},
        {&txtFullTemp, &txtTemp1Temp, &txtMidTemp, &txtTemp2Temp, &txtLowTemp},
        {&txtFullControl, &txtTemp1Control, &txtMidControl, &txtTemp2Control, &txtLowControl},
        {&txtFullSpeed, &txtTemp1Speed, &txtMidSpeed, &txtTemp2Speed, &txtLowSpeed}};
}

TForm1::SmartFanControls TForm1::MainboardControls() {
    return SmartFanControls{
        true,
        {&upFullTemp1, &upMidTemp1, &upLowTemp1},
        {nullptr, &upMidControl1, &upLowControl1},
        {&txtFullTemp1, &txtTemp1Temp1, &txtMidTemp1, &txtTemp2Temp1, &txtLowTemp1},
        {&txtFullControl1, &txtTemp1Control1, &txtMidControl1, &txtTemp2Control1, &txtLowControl1},
        {&txtFullSpeed1, &txtTemp1Speed1, &txtMidSpeed1, &txtTemp2Speed1, &txtLowSpeed1}};
}

TForm1::SmartFanControls TForm1::ControlsInUse() {
    return program_.IsMiniPC ? BoardModeControls() : MainboardControls();
}

// Both sets lie at one place in the upper part of the page; the curve fills the lower part.
void TForm1::LayoutSmartFanPage() {
    auto pointEdit = [](ui::TEdit& edit, int left, int top, int width) {
        edit.SetBounds(left, top, width, 21);
        edit.SetText("0");
        edit.SetReadOnly(true);
        edit.SetTabStop(false);
        edit.SetColor(ui::clWindow);
    };
    auto upDown = [](ui::TUpDown& updown, int left, int top, int min, int max, int position) {
        updown.SetBounds(left, top, 15, 21);
        updown.SetRange(min, max);
        updown.SetPosition(position);
    };
    auto label = [](ui::TLabel& label, const char* caption, int left, int top, int width) {
        label.SetCaption(caption);
        label.SetBounds(left, top, width, 16);
    };
    // Columns: row labels, temperature (edit and up-down), duty (edit and up-down), speed.
    const int kTempLeft = 132, kDutyLeft = 236, kSpeedLeft = 312;
    const int kRowTop = 64, kRowStep = 22;

    // The start-up shows one of the two sets; the mainboard set is the form's.
    gbFintekSmartFan.SetCaption("   ");
    gbFintekSmartFan.SetBounds(4, 2, 478, 194);
    gbFintekSmartFan.SetVisible(false);
    cbSmartCPUFan.SetCaption("Enable Smart CPUFan");
    cbSmartCPUFan.SetBounds(8, 0, 130, 17);
    label(labQuickSetting, "Quick Setting", 236, 21, 72);
    cbQuickSetting.SetItems({"Lower Temperature", "Normal/Run", "Ultra Quiet", "By Temperature"});
    cbQuickSetting.SetText("Low Temperature");
    cbQuickSetting.SetBounds(312, 18, 150, 21);
    label(labTemperature, "Temperature", kTempLeft, 46, 90);
    label(labFanControl, "Fan Control", kDutyLeft, 46, 70);
    label(labFanSpeed, "Fan Speed", kSpeedLeft, 46, 70);
    ui::TLabel* rowLabels[5] = {&labFullSpeedBoundary, &labTemp1, &labLowNoiseBoundary, &labTemp2,
                                &labStartStopBoundary};
    const char* rowCaptions[5] = {"Full Speed Boundary", "Temp1", "Low Noise Boundary", "Temp2",
                                  "Start/Stop Boundary"};
    SmartFanControls board = BoardModeControls();
    for (int row = 0; row < 5; ++row) {
        int top = kRowTop + kRowStep * row;
        label(*rowLabels[row], rowCaptions[row], 8, top + 3, 120);
        pointEdit(*board.TempText[row], kTempLeft, top, 84);
        pointEdit(*board.ControlText[row], kDutyLeft, top, 52);
        pointEdit(*board.SpeedText[row], kSpeedLeft, top, 56);
    }
    for (ui::TEdit* between : {board.TempText[1], board.TempText[3], board.ControlText[1],
                               board.ControlText[3], board.SpeedText[1], board.SpeedText[3]})
        between->SetEnabled(false);
    upDown(upFullTemp, kTempLeft + 84, kRowTop, 61, 80, 76);
    upDown(upMidTemp, kTempLeft + 84, kRowTop + 2 * kRowStep, 31, 60, 31);
    upDown(upLowTemp, kTempLeft + 84, kRowTop + 4 * kRowStep, 0, 30, 0);
    upDown(upFullControl, kDutyLeft + 52, kRowTop, 81, 100, 81);
    upDown(upMidControl, kDutyLeft + 52, kRowTop + 2 * kRowStep, 51, 80, 61);
    upDown(upLowControl, kDutyLeft + 52, kRowTop + 4 * kRowStep, 30, 50, 41);

    gbFintekSmartFanForMB.SetCaption("Smart CPUFan");
    gbFintekSmartFanForMB.SetBounds(4, 2, 478, 194);
    label(labSmartFanFunction, "Smart CPUFan Function", 8, 21, 124);
    cbSmartFanFunction.SetItems({"Full Speed", "By Duty-Cycle", "By Temperature"});
    cbSmartFanFunction.SetBounds(kTempLeft, 18, 120, 21); // room for "By Temperature"
    btnDefault.SetCaption("Load Settings From BIOS");
    btnDefault.SetBounds(258, 16, 212, 25);
    label(labDutyCycle, "Duty-Cycle", 8, 45, 120);
    txtDutyCycle.SetBounds(kTempLeft, 42, 50, 21);
    txtDutyCycle.SetReadOnly(true);
    txtDutyCycle.SetTabStop(false);
    txtDutyCycle.SetColor(ui::clWindow);
    upDown(upDutyCycle, kTempLeft + 50, 42, 0, 99, 76);
    ShowManualDuty(false);
    btnDetectDutyCycle.SetCaption("Detect Duty-Cycle by Control Percent");
    btnDetectDutyCycle.SetBounds(258, 42, 212, 25);
    // The last row ends above the group box's bottom edge.
    const int kTop1 = 84, kStep1 = 21;
    label(labTemperature1, "Temperature", kTempLeft, 68, 90);
    label(labFanDuty1, "Fan Duty", kDutyLeft, 68, 70);
    label(labFanSpeed1, "Fan Speed", kSpeedLeft, 68, 70);
    ui::TLabel* rowLabels1[5] = {&labFullSpeedThreshold1, &labTemp1Calculated1,
                                 &labLowNoiseThreshold1, &labTemp2Calculated1,
                                 &labStartStopThreshold1};
    const char* rowCaptions1[5] = {"Full Speed Threshold ", "Temp1 (Calculated)",
                                   "Low Noise Threshold ", "Temp2 (Calculated)",
                                   "Start/Stop Threshold "};
    SmartFanControls mainboard = MainboardControls();
    for (int row = 0; row < 5; ++row) {
        int top = kTop1 + kStep1 * row;
        label(*rowLabels1[row], rowCaptions1[row], 8, top + 3, 120);
        pointEdit(*mainboard.TempText[row], kTempLeft, top, 84);
        pointEdit(*mainboard.ControlText[row], kDutyLeft, top, 52);
        pointEdit(*mainboard.SpeedText[row], kSpeedLeft, top, 56);
    }
    for (ui::TEdit* between :
         {mainboard.TempText[1], mainboard.TempText[3], mainboard.ControlText[1],
          mainboard.ControlText[3], mainboard.SpeedText[1], mainboard.SpeedText[3]})
        between->SetEnabled(false);
    // The full point runs at 100 % and full speed: nothing to show or set there.
    txtFullControl1.SetVisible(false);
    txtFullSpeed1.SetVisible(false);
    upDown(upFullTemp1, kTempLeft + 84, kTop1, 60, 100, 76);
    upDown(upMidTemp1, kTempLeft + 84, kTop1 + 2 * kStep1, 40, 59, 40);
    upDown(upLowTemp1, kTempLeft + 84, kTop1 + 4 * kStep1, 20, 39, 20);
    upDown(upMidControl1, kDutyLeft + 52, kTop1 + 2 * kStep1, 75, 99, 75);
    upDown(upLowControl1, kDutyLeft + 52, kTop1 + 4 * kStep1, 30, 74, 39);

    Chart1.Align = ui::TPanel::TAlign::alBottom;
    Chart1.SetBounds(0, 198, 486, 146);
    Chart1.BottomAxis.SetTitle("Temperature");
    Chart1.LeftAxis.SetTitle("RPM");
    Chart1.LeftAxis.Automatic = false;
    Chart1.LeftAxis.SetMinimum(5);
    Chart1.LeftAxis.SetMaximum(329);
    Chart1.LegendVisible = false;
    Chart1.TitleVisible = false;
    Chart1.View3D = false;
    Chart1.BackWallFilled = false;
    Series1.SeriesColor = ui::clRed;
}

void TForm1::BindSmartFanHandlers() {
    tabFintekSmartFan.OnShow = [this](ui::Component* s) { tabFintekSmartFanShow(s); };
    SmartFanControls sets[2] = {BoardModeControls(), MainboardControls()};
    for (const SmartFanControls& set : sets) {
        for (ui::TUpDown* updown : set.Temp) {
            updown->OnChangingEx = [this](ui::Component* s, bool& allow, short v,
                                          ui::TUpDownDirection d) {
                upFullTempChangingEx(s, allow, v, d);
            };
            updown->OnClickButton = [this](ui::Component* s, ui::TUDBtnType b) {
                upFullTempClick(s, b);
            };
        }
        for (ui::TUpDown* updown : set.Control) {
            if (!updown) continue;
            updown->OnChangingEx = [this](ui::Component* s, bool& allow, short v,
                                          ui::TUpDownDirection d) {
                upFullControlChangingEx(s, allow, v, d);
            };
            updown->OnClickButton = [this](ui::Component* s, ui::TUDBtnType b) {
                upFullControlClick(s, b);
            };
        }
    }
    cbSmartCPUFan.OnClick = [this](ui::Component* s) { cbSmartCPUFanClick(s); };
    cbSmartFanFunction.OnClick = [this](ui::Component* s) { cbSmartFanFunctionClick(s); };
    cbQuickSetting.OnClick = [this](ui::Component* s) { cbQuickSettingClick(s); };
    // Only the listed items can be chosen.
    for (ui::TComboBox* box : {&cbSmartFanFunction, &cbQuickSetting})
        box->OnKeyPress = [](ui::Component*, char& key) { key = 0; };
    upDutyCycle.OnChangingEx = [this](ui::Component* s, bool& allow, short v,
                                      ui::TUpDownDirection d) {
        upDutyCycleChangingEx(s, allow, v, d);
    };
    upDutyCycle.OnClickButton = [this](ui::Component* s, ui::TUDBtnType b) {
        upDutyCycleClick(s, b);
    };
    btnDefault.OnClick = [this](ui::Component* s) { btnDefaultClick(s); };
    btnDetectDutyCycle.OnClick = [this](ui::Component* s) { btnDetectDutyCycleClick(s); };
}

void TForm1::tabFintekSmartFanShow(ui::Component*) {
    PanelLogo.SetCaption("");
    TimerFanAnimate.SetEnabled(false);
    SizePage(610, 490, 500, 400);
    PlaceLogo();
}

// --- the point rules ---------------------------------------------------------------------------

void TForm1::upFullTempChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                  ui::TUpDownDirection) {
    SmartFanControls set;
    int point = ChangedPoint(*this, sender, newValue, allowChange, true, set);
    if (point < 0) return;
    int temps[3] = {set.Temp[0]->Position(), set.Temp[1]->Position(), set.Temp[2]->Position()};
    temps[point] = newValue;
    set.TempText[2 * point]->SetText(FormatTemperatureText(newValue, SystemLanguage));
    SmartFanControls inUse = ControlsInUse();
    inUse.TempText[1]->SetText(FormatTemperatureText((temps[0] + temps[1]) >> 1, SystemLanguage));
    inUse.TempText[3]->SetText(FormatTemperatureText((temps[1] + temps[2]) >> 1, SystemLanguage));
    // Full waits for its click rule.
    if (point > 0) FanChip().Write(kTempRegisters[point], LowByte(newValue));
}

void TForm1::upFullTempClick(ui::Component* sender, ui::TUDBtnType) {
    if (program_.Initialized) SaveSmartFanSettings();
    SmartFanControls set;
    int point = -1;
    if (!Locate(*this, sender, true, set, point)) return;
    FanChip().Write(kTempRegisters[point], LowByte(set.Temp[point]->Position()));
    RedrawFanCurve();
}

void TForm1::upFullControlChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                     ui::TUpDownDirection) {
    SmartFanControls set;
    int point = ChangedPoint(*this, sender, newValue, allowChange, false, set);
    if (point < 0) return;
    int duties[3];
    for (int i = 0; i < 3; ++i)
        duties[i] = set.Control[i] ? set.Control[i]->Position() : 100;
    duties[point] = newValue;
    set.ControlText[2 * point]->SetText(DutyText(newValue));
    SmartFanControls inUse = ControlsInUse();
    inUse.ControlText[1]->SetText(DutyText((duties[1] + duties[0]) >> 1));
    inUse.ControlText[3]->SetText(DutyText((duties[1] + duties[2]) >> 1));
    std::uint16_t full =
        inUse.Mainboard ? FullSpeedOf(FullSpeedRpm) : SpeedOfDuty(duties[0], FullSpeedRpm);
    ShowSpeedTexts(inUse, full, SpeedOfDuty(duties[1], FullSpeedRpm),
                   SpeedOfDuty(duties[2], FullSpeedRpm));
}

void TForm1::upFullControlClick(ui::Component* sender, ui::TUDBtnType) {
    if (program_.Initialized) SaveSmartFanSettings();
    SmartFanControls set;
    int point = -1;
    if (!Locate(*this, sender, false, set, point)) return;
    std::uint16_t speed = SpeedOfDuty(set.Control[point]->Position(), FullSpeedRpm);
    FanChip().WriteCount(kCountRegisters[point], CountOfRpm(speed));
    RedrawFanCurve();
}

// ORLO.INI is asked anew; when it no longer lists the board the keys go into the board INI found
// at start-up, so that the click rule that saves goes on to its register write.
void TForm1::SaveSmartFanSettings() {
    const std::string boardIni = BoardIniNameForSave();
    if (boardIni.empty()) return;
    ui::TIniFile ini(program_.System, program_.ExeDir + boardIni);
    bool mini = program_.IsMiniPC;
    if (mini)
        WritePointKeys(ini, {upFullTemp.Position(), upMidTemp.Position(), upLowTemp.Position(),
                             upFullControl.Position(), upMidControl.Position(),
                             upLowControl.Position()});
    else
        WritePointKeys(ini, {upFullTemp1.Position(), upMidTemp1.Position(), upLowTemp1.Position(),
                             100, upMidControl1.Position(), upLowControl1.Position()});
}

// --- the boxes and buttons ---------------------------------------------------------------------

void TForm1::cbSmartCPUFanClick(ui::Component*) {
    bool on = cbSmartCPUFan.Checked();
    ui::TIniFile ini(program_.System, BoardIniPath());
    ini.WriteInteger("FINTEK", "ENABLED", on ? 4 : 0);
    cbQuickSetting.SetItemIndex(3);
    FanChip().Write(fanreg::kMode, on ? 0x11 : 0);
}

void TForm1::cbSmartFanFunctionClick(ui::Component*) {
    ui::TIniFile ini(program_.System, BoardIniPath());
    FanRegisters chip = FanChip();
    int item = cbSmartFanFunction.ItemIndex();
    if (item == 2) {
        ShowManualDuty(false);
        EnableMainboardPoints(true);
        std::uint16_t full = FullSpeedOf(FullSpeedRpm);
        std::uint16_t mid = SpeedOfDuty(upMidControl1.Position(), FullSpeedRpm);
        std::uint16_t low = SpeedOfDuty(upLowControl1.Position(), FullSpeedRpm);
        chip.Write(fanreg::kMode, 1);
        chip.Write(fanreg::kDuty, 157);
        SmartFanControls set = MainboardControls();
        for (int i = 0; i < 3; ++i)
            chip.Write(kTempRegisters[i], LowByte(set.Temp[i]->Position()));
        WritePointCounts(full, mid, low);
        ScaleFanCurve();
        DrawFanCurve(full, mid, low);
    } else {
        EnableMainboardPoints(false);
        if (item != 0) {
            ShowManualDuty(true);
            chip.Write(fanreg::kMode, 6);
            chip.Write(fanreg::kDuty, LowByte(ini.ReadInteger("FINTEK", "PWMDUTY", 255)));
        } else {
            ShowManualDuty(false);
            chip.Write(fanreg::kMode, 4);
        }
        // No points: the full point at count 0, the others "stopped".
        const std::uint8_t points[9][2] = {{0xA0, 0},    {0xA1, 0},    {0xA2, 0},
                                           {0xA4, 0},    {0xA5, 0},    {0xA6, 0xFF},
                                           {0xA7, 0xFF}, {0xA8, 0xFF}, {0xA9, 0xFF}};
        for (const auto& point : points)
            chip.Write(point[0], point[1]);
        ScaleFanCurve();
        std::uint16_t flat = HeldSpeed(RpmOfCount(chip.ReadRawCount(fanreg::kFullSpeedCount)));
        DrawFanCurve(flat, flat, flat);
    }
    ini.WriteInteger("FINTEK", "ENABLED", item == 1 ? 6 : item == 2 ? 5 : 4);
}

void TForm1::upDutyCycleChangingEx(ui::Component*, bool& allowChange, short newValue,
                                   ui::TUpDownDirection) {
    if (BeyondItsBound(upDutyCycle, newValue)) {
        allowChange = false;
        return;
    }
    txtDutyCycle.SetText(DutyText(newValue));
}

void TForm1::upDutyCycleClick(ui::Component*, ui::TUDBtnType) {
    std::uint8_t value = DutyRegisterOfPercent(upDutyCycle.Position());
    FanChip().Write(fanreg::kDuty, value);
    ui::TIniFile(program_.System, BoardIniPath()).WriteInteger("FINTEK", "PWMDUTY", value);
}

void TForm1::btnDetectDutyCycleClick(ui::Component*) {
    TfrmDutyCycleForm* window = program_.frmDutyCycleForm;
    if (!window) return;
    window->Show();
    window->Series1.Clear();
    window->Timer1.SetEnabled(true);
}

// --- shared steps ------------------------------------------------------------------------------

void TForm1::ScaleFanCurve() {
    Chart1.LeftAxis.SetMinimum(0);
    Chart1.LeftAxis.SetMaximum(FullSpeedRpm + 500);
}

void TForm1::SetDutyCycleFromRegister(std::uint8_t pwm) {
    // Held to the up-down's range before it is set, so that the text beside it shows the
    // position it takes (255 is 100 %, shown as 99).
    upDutyCycle.SetPosition(std::min(pwm * 100 / 255, upDutyCycle.Max()));
    float percent = pwm * 100 / 255.0f;
    if (percent - static_cast<float>(upDutyCycle.Position()) > 0.5f)
        upDutyCycle.SetPosition(upDutyCycle.Position() + 1);
}

void TForm1::ShowManualDuty(bool show) {
    labDutyCycle.SetVisible(show);
    txtDutyCycle.SetVisible(show);
    upDutyCycle.SetVisible(show);
}

void TForm1::EnableMainboardPoints(bool enabled) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &txtFullTemp1, &txtMidTemp1, &txtLowTemp1, &upFullTemp1, &upMidTemp1, &upLowTemp1,
             &txtMidControl1, &txtLowControl1, &upMidControl1, &upLowControl1})
        c->SetEnabled(enabled);
}

void TForm1::EnableBoardModePoints(bool enabled) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &txtFullTemp, &txtMidTemp, &txtLowTemp, &upFullTemp, &upMidTemp, &upLowTemp,
             &txtFullControl, &txtMidControl, &txtLowControl, &upFullControl, &upMidControl,
             &upLowControl})
        c->SetEnabled(enabled);
}

void TForm1::ShowTemperatureTexts(const SmartFanControls& set, int full, int mid, int low) {
    const int values[5] = {full, (full + mid) >> 1, mid, (mid + low) >> 1, low};
    for (int i = 0; i < 5; ++i)
        set.TempText[i]->SetText(FormatTemperatureText(values[i], SystemLanguage));
}

void TForm1::ShowSpeedTexts(const SmartFanControls& set, int full, int mid, int low) {
    const int values[5] = {full, (full + mid) >> 1, mid, (mid + low) >> 1, low};
    for (int i = 0; i < 5; ++i)
        set.SpeedText[i]->SetText(SpeedText(values[i]));
}

void TForm1::ShowDutyTexts(const SmartFanControls& set, int full, int fullForHalf, int mid,
                           int low) {
    const int values[5] = {full, (mid + fullForHalf) >> 1, mid, (mid + low) >> 1, low};
    for (int i = 0; i < 5; ++i)
        set.ControlText[i]->SetText(DutyText(values[i]));
}

void TForm1::ShowMainboardDutyAndSpeedTexts(int fullDuty, int fullForHalf) {
    SmartFanControls set = MainboardControls();
    int mid = upMidControl1.Position(), low = upLowControl1.Position();
    ShowDutyTexts(set, fullDuty, fullForHalf, mid, low);
    ShowSpeedTexts(set, FullSpeedOf(FullSpeedRpm), SpeedOfDuty(mid, FullSpeedRpm),
                   SpeedOfDuty(low, FullSpeedRpm));
}

void TForm1::WritePointKeys(ui::TIniFile& ini, const std::array<int, 6>& values) {
    const char* const keys[6] = {"FullTemp",    "MidTemp",    "LowTemp",
                                 "FullControl", "MidControl", "LowControl"};
    for (int i = 0; i < 6; ++i)
        ini.WriteInteger("FINTEK", keys[i], values[static_cast<std::size_t>(i)]);
}

void TForm1::SetStoredTemperatures(const SmartFanControls& set, ui::TIniFile& ini) {
    const char* const keys[3] = {"FullTemp", "MidTemp", "LowTemp"};
    for (int i = 0; i < 3; ++i)
        set.Temp[i]->SetPosition(ini.ReadInteger("FINTEK", keys[i], 0));
}

void TForm1::ReadStoredDuties(ui::TIniFile& ini, int duties[3]) {
    const char* const keys[3] = {"FullControl", "MidControl", "LowControl"};
    for (int i = 0; i < 3; ++i)
        duties[i] = ini.ReadInteger("FINTEK", keys[i], 0) & 0xFF;
}

void TForm1::WritePointCounts(std::uint16_t full, std::uint16_t mid, std::uint16_t low) {
    FanRegisters chip = FanChip();
    const std::uint16_t speeds[3] = {full, mid, low};
    for (int i = 0; i < 3; ++i)
        chip.WriteCount(kCountRegisters[i], CountOfRpm(speeds[i]));
}

} // namespace monitor
