#include "monitor/MainForm.h"

#include "monitor/DutyCycleForm.h"
#include "monitor/SystemHelpers.h"
#include "ui/Application.h"

namespace monitor {

TForm1::TForm1(ui::Application& app, MonitorProgram& program)
    : ui::Form(app, "Form1"), PanelLogo(this, "PanelLogo"), ImageLogo(&PanelLogo, "ImageLogo"),
      PageControl1(this, "PageControl1"), TabSheet1(&PageControl1, "TabSheet1"),
      TabSheetConfigure(&PageControl1, "TabSheetConfigure"), tabSetup(&PageControl1, "tabSetup"),
      tabFintekSmartFan(&PageControl1, "tabFintekSmartFan"), TabSheet5(&PageControl1, "TabSheet5"),
      PanelFanColumn(&TabSheet1, "PanelFanColumn"), PanelFan0(&PanelFanColumn, "PanelFan0"),
      LabelFan0(&PanelFan0, "LabelFan0"), AnimateFan0(&PanelFan0, "AnimateFan0"),
      PanelRPMFan0(&PanelFan0, "PanelRPMFan0"), Image1(&PanelRPMFan0, "Image1"),
      Image2(&PanelRPMFan0, "Image2"), Image3(&PanelRPMFan0, "Image3"),
      Image4(&PanelRPMFan0, "Image4"), Image5(&PanelRPMFan0, "Image5"),
      Label8(&PanelFan0, "Label8"), PanelFan1(&PanelFanColumn, "PanelFan1"),
      LabelFan1(&PanelFan1, "LabelFan1"), AnimateFan1(&PanelFan1, "AnimateFan1"),
      PanelRPMFan1(&PanelFan1, "PanelRPMFan1"), Image6(&PanelRPMFan1, "Image6"),
      Image7(&PanelRPMFan1, "Image7"), Image8(&PanelRPMFan1, "Image8"),
      Image9(&PanelRPMFan1, "Image9"), Image10(&PanelRPMFan1, "Image10"),
      Label9(&PanelFan1, "Label9"), PanelFan2(&PanelFanColumn, "PanelFan2"),
      LabelFan2(&PanelFan2, "LabelFan2"), AnimateFan2(&PanelFan2, "AnimateFan2"),
      PanelRPMFan2(&PanelFan2, "PanelRPMFan2"), Image11(&PanelRPMFan2, "Image11"),
      Image12(&PanelRPMFan2, "Image12"), Image13(&PanelRPMFan2, "Image13"),
      Image14(&PanelRPMFan2, "Image14"), Image15(&PanelRPMFan2, "Image15"),
      Label10(&PanelFan2, "Label10"), LabelTemp0(&TabSheet1, "LabelTemp0"),
      EditTemp0(&TabSheet1, "EditTemp0"), LabelTemp1(&TabSheet1, "LabelTemp1"),
      EditTemp1(&TabSheet1, "EditTemp1"), LabelTemp2(&TabSheet1, "LabelTemp2"),
      EditTemp2(&TabSheet1, "EditTemp2"), ImageCalorwand(&TabSheet1, "ImageCalorwand"),
      LabelVIN0(&TabSheet1, "LabelVIN0"), EditVIN0(&TabSheet1, "EditVIN0"),
      LabelVIN1(&TabSheet1, "LabelVIN1"), EditVIN1(&TabSheet1, "EditVIN1"),
      LabelVIN2(&TabSheet1, "LabelVIN2"), EditVIN2(&TabSheet1, "EditVIN2"),
      LabelVIN3(&TabSheet1, "LabelVIN3"), EditVIN3(&TabSheet1, "EditVIN3"),
      LabelVIN4(&TabSheet1, "LabelVIN4"), EditVIN4(&TabSheet1, "EditVIN4"),
      LabelVIN5(&TabSheet1, "LabelVIN5"), EditVIN5(&TabSheet1, "EditVIN5"),
      LabelVIN6(&TabSheet1, "LabelVIN6"), EditVIN6(&TabSheet1, "EditVIN6"),
      LabelVIN7(&TabSheet1, "LabelVIN7"), EditVIN7(&TabSheet1, "EditVIN7"),
      LabelVIN8(&TabSheet1, "LabelVIN8"), EditVIN8(&TabSheet1, "EditVIN8"),
      CheckBoxFan0(&TabSheetConfigure, "CheckBoxFan0"),
      EditLowLimitFan0(&TabSheetConfigure, "EditLowLimitFan0"),
      UpDownLowLimitFan0(&TabSheetConfigure, "UpDownLowLimitFan0"),
      Label11(&TabSheetConfigure, "Label11"),
      EditHighLimitFan0(&TabSheetConfigure, "EditHighLimitFan0"),
      UpDownHighLimitFan0(&TabSheetConfigure, "UpDownHighLimitFan0"),
      CheckBoxFan1(&TabSheetConfigure, "CheckBoxFan1"),
      EditLowLimitFan1(&TabSheetConfigure, "EditLowLimitFan1"),
      UpDownLowLimitFan1(&TabSheetConfigure, "UpDownLowLimitFan1"),
      Label15(&TabSheetConfigure, "Label15"),
      EditHighLimitFan1(&TabSheetConfigure, "EditHighLimitFan1"),
      UpDownHighLimitFan1(&TabSheetConfigure, "UpDownHighLimitFan1"),
      CheckBoxFan2(&TabSheetConfigure, "CheckBoxFan2"),
      EditLowLimitFan2(&TabSheetConfigure, "EditLowLimitFan2"),
      UpDownLowLimitFan2(&TabSheetConfigure, "UpDownLowLimitFan2"),
      Label16(&TabSheetConfigure, "Label16"),
      EditHighLimitFan2(&TabSheetConfigure, "EditHighLimitFan2"),
      UpDownHighLimitFan2(&TabSheetConfigure, "UpDownHighLimitFan2"),
      CheckBoxTemp0(&TabSheetConfigure, "CheckBoxTemp0"),
      EditLowLimitTemp0(&TabSheetConfigure, "EditLowLimitTemp0"),
      UpDownLowLimitTemp0(&TabSheetConfigure, "UpDownLowLimitTemp0"),
      LabelRangeTemp0(&TabSheetConfigure, "LabelRangeTemp0"),
      EditHighLimitTemp0(&TabSheetConfigure, "EditHighLimitTemp0"),
      UpDownHighLimitTemp0(&TabSheetConfigure, "UpDownHighLimitTemp0"),
      CheckBoxTemp1(&TabSheetConfigure, "CheckBoxTemp1"),
      EditLowLimitTemp1(&TabSheetConfigure, "EditLowLimitTemp1"),
      UpDownLowLimitTemp1(&TabSheetConfigure, "UpDownLowLimitTemp1"),
      LabelRangeTemp1(&TabSheetConfigure, "LabelRangeTemp1"),
      EditHighLimitTemp1(&TabSheetConfigure, "EditHighLimitTemp1"),
      UpDownHighLimitTemp1(&TabSheetConfigure, "UpDownHighLimitTemp1"),
      CheckBoxTemp2(&TabSheetConfigure, "CheckBoxTemp2"),
      EditLowLimitTemp2(&TabSheetConfigure, "EditLowLimitTemp2"),
      UpDownLowLimitTemp2(&TabSheetConfigure, "UpDownLowLimitTemp2"),
      LabelRangeTemp2(&TabSheetConfigure, "LabelRangeTemp2"),
      EditHighLimitTemp2(&TabSheetConfigure, "EditHighLimitTemp2"),
      UpDownHighLimitTemp2(&TabSheetConfigure, "UpDownHighLimitTemp2"),
      CheckBoxVIN0(&TabSheetConfigure, "CheckBoxVIN0"),
      EditLowLimitVIN0(&TabSheetConfigure, "EditLowLimitVIN0"),
      UpDownLowLimitVIN0(&TabSheetConfigure, "UpDownLowLimitVIN0"),
      LabelRangeVIN0(&TabSheetConfigure, "LabelRangeVIN0"),
      EditHighLimitVIN0(&TabSheetConfigure, "EditHighLimitVIN0"),
      UpDownHighLimitVIN0(&TabSheetConfigure, "UpDownHighLimitVIN0"),
      CheckBoxVIN1(&TabSheetConfigure, "CheckBoxVIN1"),
      EditLowLimitVIN1(&TabSheetConfigure, "EditLowLimitVIN1"),
      UpDownLowLimitVIN1(&TabSheetConfigure, "UpDownLowLimitVIN1"),
      LabelRangeVIN1(&TabSheetConfigure, "LabelRangeVIN1"),
      EditHighLimitVIN1(&TabSheetConfigure, "EditHighLimitVIN1"),
      UpDownHighLimitVIN1(&TabSheetConfigure, "UpDownHighLimitVIN1"),
      CheckBoxVIN2(&TabSheetConfigure, "CheckBoxVIN2"),
      EditLowLimitVIN2(&TabSheetConfigure, "EditLowLimitVIN2"),
      UpDownLowLimitVIN2(&TabSheetConfigure, "UpDownLowLimitVIN2"),
      LabelRangeVIN2(&TabSheetConfigure, "LabelRangeVIN2"),
      EditHighLimitVIN2(&TabSheetConfigure, "EditHighLimitVIN2"),
      UpDownHighLimitVIN2(&TabSheetConfigure, "UpDownHighLimitVIN2"),
      CheckBoxVIN3(&TabSheetConfigure, "CheckBoxVIN3"),
      EditLowLimitVIN3(&TabSheetConfigure, "EditLowLimitVIN3"),
      UpDownLowLimitVIN3(&TabSheetConfigure, "UpDownLowLimitVIN3"),
      LabelRangeVIN3(&TabSheetConfigure, "LabelRangeVIN3"),
      EditHighLimitVIN3(&TabSheetConfigure, "EditHighLimitVIN3"),
      UpDownHighLimitVIN3(&TabSheetConfigure, "UpDownHighLimitVIN3"),
      CheckBoxVIN4(&TabSheetConfigure, "CheckBoxVIN4"),
      EditLowLimitVIN4(&TabSheetConfigure, "EditLowLimitVIN4"),
      UpDownLowLimitVIN4(&TabSheetConfigure, "UpDownLowLimitVIN4"),
      LabelRangeVIN4(&TabSheetConfigure, "LabelRangeVIN4"),
      EditHighLimitVIN4(&TabSheetConfigure, "EditHighLimitVIN4"),
      UpDownHighLimitVIN4(&TabSheetConfigure, "UpDownHighLimitVIN4"),
      CheckBoxVIN5(&TabSheetConfigure, "CheckBoxVIN5"),
      EditLowLimitVIN5(&TabSheetConfigure, "EditLowLimitVIN5"),
      UpDownLowLimitVIN5(&TabSheetConfigure, "UpDownLowLimitVIN5"),
      LabelRangeVIN5(&TabSheetConfigure, "LabelRangeVIN5"),
      EditHighLimitVIN5(&TabSheetConfigure, "EditHighLimitVIN5"),
      UpDownHighLimitVIN5(&TabSheetConfigure, "UpDownHighLimitVIN5"),
      CheckBoxVIN6(&TabSheetConfigure, "CheckBoxVIN6"),
      EditLowLimitVIN6(&TabSheetConfigure, "EditLowLimitVIN6"),
      UpDownLowLimitVIN6(&TabSheetConfigure, "UpDownLowLimitVIN6"),
      LabelRangeVIN6(&TabSheetConfigure, "LabelRangeVIN6"),
      EditHighLimitVIN6(&TabSheetConfigure, "EditHighLimitVIN6"),
      UpDownHighLimitVIN6(&TabSheetConfigure, "UpDownHighLimitVIN6"),
      CheckBoxVIN7(&TabSheetConfigure, "CheckBoxVIN7"),
      EditLowLimitVIN7(&TabSheetConfigure, "EditLowLimitVIN7"),
      UpDownLowLimitVIN7(&TabSheetConfigure, "UpDownLowLimitVIN7"),
      LabelRangeVIN7(&TabSheetConfigure, "LabelRangeVIN7"),
      EditHighLimitVIN7(&TabSheetConfigure, "EditHighLimitVIN7"),
      UpDownHighLimitVIN7(&TabSheetConfigure, "UpDownHighLimitVIN7"),
      CheckBoxVIN8(&TabSheetConfigure, "CheckBoxVIN8"),
      EditLowLimitVIN8(&TabSheetConfigure, "EditLowLimitVIN8"),
      UpDownLowLimitVIN8(&TabSheetConfigure, "UpDownLowLimitVIN8"),
      LabelRangeVIN8(&TabSheetConfigure, "LabelRangeVIN8"),
      EditHighLimitVIN8(&TabSheetConfigure, "EditHighLimitVIN8"),
      UpDownHighLimitVIN8(&TabSheetConfigure, "UpDownHighLimitVIN8"), Label27(&tabSetup, "Label27"),
      EditReflashInterval(&tabSetup, "EditReflashInterval"),
      UpDownInterval(&tabSetup, "UpDownInterval"), Label28(&tabSetup, "Label28"),
      ComboBoxWarningDefault(&tabSetup, "ComboBoxWarningDefault"), Label30(&tabSetup, "Label30"),
      ComboBoxHowToLog(&tabSetup, "ComboBoxHowToLog"),
      CheckBoxHiddenTrayIcon(&tabSetup, "CheckBoxHiddenTrayIcon"),
      CheckBoxLaunch(&tabSetup, "CheckBoxLaunch"), CheckBoxCPUtoP80(&tabSetup, "CheckBoxCPUtoP80"),
      GroupBox6(&tabSetup, "GroupBox6"), cbExternalSpeak(&GroupBox6, "cbExternalSpeak"),
      cbSysSpeak(&GroupBox6, "cbSysSpeak"), gbTransparent(&tabSetup, "gbTransparent"),
      CheckBoxShowTransparentForm(&gbTransparent, "CheckBoxShowTransparentForm"),
      ckTemperature(&gbTransparent, "ckTemperature"), ckLoading(&gbTransparent, "ckLoading"),
      ckVCore(&gbTransparent, "ckVCore"), BtnViewLogFile(&tabSetup, "BtnViewLogFile"),
      Button2(&tabSetup, "Button2"), Timer1(this, "Timer1", 1000, false),
      TimerFanAnimate(this, "TimerFanAnimate", 450, true),
      TimerClearLog(this, "TimerClearLog", 3600000, true),
      PopupMenuTrayIcon(this, "PopupMenuTrayIcon"), Open1(this, "Open1", "&Open"),
      Setup1(this, "Setup1", "&Configure"), N1(this, "N1", "-"),
      ExtraForm1(this, "ExtraForm1", "&Ghost Monitor"), N2(this, "N2", "-"),
      Exit1(this, "Exit1", "&Exit"), TrayIcon1(this, "TrayIcon1"), program_(program) {
    program_.Form1 = this;
    Layout();
    BindHandlers();
    try {
        Construct();
    } catch (...) {
        // The window object goes away with the exception: leave no pointer to it behind.
        if (program_.Form1 == this) program_.Form1 = nullptr;
        throw;
    }
}

TForm1::~TForm1() {
    if (program_.Form1 == this) program_.Form1 = nullptr;
}

// The form values of the window and its controls.
void TForm1::Layout() {
    SetCaption("ORLO");
    BorderStyle = ui::TBorderStyle::bsSingle;
    SetBounds(0, 0, 383, 376);
    PanelLogo.Align = ui::TPanel::TAlign::alBottom;
    PanelLogo.BevelOuterNone = true;
    PanelLogo.SetBounds(0, 349, 377, 49);
    PanelLogo.SetCaption("PanelLogo");
    ImageLogo.SetBounds(0, 0, 377, 49);
    PageControl1.SetBounds(0, 0, 377, 349);
    TabSheet1.SetCaption("&Fan");
    TabSheetConfigure.SetCaption("&Configure");
    tabSetup.SetCaption("&Setup");
    tabFintekSmartFan.SetCaption("S&mart Fan");
    TabSheet5.SetCaption("TabSheet5");

    LayoutFanPage();
    LayoutConfigurePage();
    LayoutSmartFanPage();

    Label27.SetCaption("Reflash Interval");
    Label27.SetBounds(16, 16, 120, 16);
    EditReflashInterval.SetBounds(150, 12, 80, 21);
    UpDownInterval.SetBounds(230, 12, 16, 21);
    UpDownInterval.SetRange(100, 10000);
    UpDownInterval.Increment = 100;
    UpDownInterval.SetPosition(1000);
    Label28.SetCaption("Action when exceed the limitations");
    Label28.SetBounds(16, 46, 200, 16);
    ComboBoxWarningDefault.SetItems({"Ask Me", "Ignore", "Disable", "Shutdown"});
    ComboBoxWarningDefault.SetText("Ask Me");
    ComboBoxWarningDefault.SetBounds(220, 42, 140, 21);
    Label30.SetCaption("How to log");
    Label30.SetBounds(16, 74, 200, 16);
    ComboBoxHowToLog.SetItems({"Automated", "Log if alert", "Every 1 minute", "Every 5 minute",
                               "Every 10 minute", "Every 30 minute", "Every 1 hour"});
    ComboBoxHowToLog.SetBounds(220, 70, 140, 21);
    CheckBoxHiddenTrayIcon.SetCaption("Hidden tray icon");
    CheckBoxHiddenTrayIcon.SetBounds(16, 100, 200, 17);
    CheckBoxLaunch.SetCaption("&Launch ORLO on startup");
    CheckBoxLaunch.SetBounds(16, 120, 200, 17);
    CheckBoxCPUtoP80.SetCaption("Report the CPU temperture to P80");
    CheckBoxCPUtoP80.SetBounds(16, 140, 250, 17);
    GroupBox6.SetCaption("Warning Tone Device");
    GroupBox6.SetBounds(16, 164, 170, 64);
    cbExternalSpeak.SetCaption("External Speaker");
    cbExternalSpeak.SetBounds(10, 18, 150, 17);
    cbSysSpeak.SetCaption("System Speaker");
    cbSysSpeak.SetBounds(10, 40, 150, 17);
    // The ghost-monitor box is the group's title.
    gbTransparent.SetCaption("");
    gbTransparent.SetBounds(196, 164, 170, 100);
    CheckBoxShowTransparentForm.SetCaption("Show CPU Ghost Monitor");
    CheckBoxShowTransparentForm.SetBounds(8, 0, 150, 17);
    ckTemperature.SetCaption("CPU Temperaure");
    ckTemperature.SetBounds(20, 24, 140, 17);
    ckLoading.SetCaption("CPU Usage");
    ckLoading.SetBounds(20, 48, 140, 17);
    ckVCore.SetCaption("VCore");
    ckVCore.SetBounds(20, 72, 140, 17);
    BtnViewLogFile.SetCaption("View Log File");
    BtnViewLogFile.SetBounds(16, 236, 84, 25);
    Button2.SetCaption("Set Password");
    Button2.SetBounds(104, 236, 84, 25);

    TrayIcon1.Hint = "ORLO hardware monitor";
    TrayIcon1.PopupMenu = &PopupMenuTrayIcon;
    PopupMenuTrayIcon.Items = {&Open1, &Setup1, &N1, &ExtraForm1, &N2, &Exit1};
}

// Left: the three fan panels stacked (the loader aligns them to the top of their column).
// Right: one row per temperature and per voltage, a name label and a read-only value box.
void TForm1::LayoutFanPage() {
    ChannelRowSet rows = MakeChannelRows();
    PanelFanColumn.BevelOuterNone = true;
    PanelFanColumn.SetBounds(4, 4, 206, 291);
    ui::TPanel* panels[] = {&PanelFan0, &PanelFan1, &PanelFan2};
    ui::TAnimate* fans[] = {&AnimateFan0, &AnimateFan1, &AnimateFan2};
    ui::TPanel* digitPanels[] = {&PanelRPMFan0, &PanelRPMFan1, &PanelRPMFan2};
    for (int n = 0; n < kFanCount; ++n) {
        FanRow& row = rows.Fan[n];
        panels[n]->SetBounds(0, 97 * n, 206, 97);
        panels[n]->SetCaption(panels[n]->Name());
        row.NameLabel->SetCaption(row.NameLabel->Name());
        row.NameLabel->SetBounds(4, 2, 198, 16);
        fans[n]->SetBounds(2, 22, 65, 65);
        fans[n]->StopFrame = 6;
        digitPanels[n]->SetBounds(72, 36, 129, 33);
        digitPanels[n]->SetColor(ui::clBlack);
        digitPanels[n]->SetCaption("");
        digitPanels[n]->BevelOuterNone = true;
        static const int kDigitLeft[5] = {0, 24, 48, 72, 97};
        for (int d = 0; d < 5; ++d) {
            ui::TImage* image = row.Digits[d];
            int left = n == 2 && d == 4 ? 96 : kDigitLeft[d];
            image->SetBounds(left, 0, 32, 32);
            image->AutoSize = true;
            image->Transparent = true;
        }
        row.UnitLabel->SetCaption("(RPM)");
        row.UnitLabel->SetBounds(116, 74, 40, 16);
    }
    auto layoutReading = [](SensorRow& row, int line) {
        int top = 6 + 24 * line;
        row.NameLabel->SetCaption(row.NameLabel->Name());
        row.NameLabel->SetBounds(214, top + 3, 70, 16);
        row.ValueBox->SetBounds(286, top, 80, 21);
        row.ValueBox->SetReadOnly(true);
        row.ValueBox->SetTabStop(false);
        row.ValueBox->SetColor(ui::clWindow);
    };
    for (int k = 0; k < kTempCount; ++k)
        layoutReading(rows.Temperature[k], k);
    for (int k = 0; k < kVoltCount; ++k)
        layoutReading(rows.Voltage[k], kTempCount + k);
    // The external probe's picture stands in for the third temperature's name label.
    ImageCalorwand.SetBounds(214, 6 + 24 * 2, 70, 21);
    ImageCalorwand.SetVisible(false);
}

// Two columns: fans and temperatures on the left, voltages on the right. Each row: the monitor
// box, the low limit's edit and up-down, "~", the high limit's edit and up-down.
void TForm1::LayoutConfigurePage() {
    ChannelRowSet rows = MakeChannelRows();
    ui::TLabel* ranges[kChannelCount] = {
        &Label11,         &Label15,        &Label16,        &LabelRangeTemp0, &LabelRangeTemp1,
        &LabelRangeTemp2, &LabelRangeVIN0, &LabelRangeVIN1, &LabelRangeVIN2,  &LabelRangeVIN3,
        &LabelRangeVIN4,  &LabelRangeVIN5, &LabelRangeVIN6, &LabelRangeVIN7,  &LabelRangeVIN8};
    struct Limits {
        int max, step, high;
        const char* editText;
        int editWidth; // room for the longest limit text: "100°C/212°F", "-15.0 V"
    };
    auto layoutRow = [](ui::TCheckBox* box, ui::TEdit* lowEdit, ui::TUpDown* low, ui::TLabel* range,
                        ui::TEdit* highEdit, ui::TUpDown* high, int column, int line,
                        const Limits& limits) {
        int x = column == 0 ? 2 : 294;
        const int w = limits.editWidth;
        int top = 8 + 30 * line;
        box->SetCaption(box->Name());
        box->SetHint("Monitor this item");
        box->SetBounds(x, top + 2, 92, 17);
        for (ui::TEdit* edit : {lowEdit, highEdit}) {
            edit->SetText(limits.editText);
            edit->SetReadOnly(true);
            edit->SetTabStop(false);
            edit->SetColor(ui::clWindow);
        }
        lowEdit->SetBounds(x + 93, top, w, 21);
        low->SetBounds(x + 93 + w, top, 15, 21);
        range->SetCaption("~");
        range->SetBounds(x + 110 + w, top + 3, 10, 16);
        highEdit->SetBounds(x + 120 + w, top, w, 21);
        high->SetBounds(x + 120 + 2 * w, top, 15, 21);
        for (ui::TUpDown* updown : {low, high}) {
            updown->SetRange(0, limits.max);
            updown->Increment = limits.step;
        }
        low->SetPosition(0);
        high->SetPosition(limits.high);
    };
    // The fan rows as wide as the temperature rows below them, for one column of "~".
    const Limits fan{10000, 100, 0, "0", 77};
    const Limits temperature{100, 1, 100, "-1", 77};
    const Limits voltage{15000, 100, 0, "0", 56};
    for (int n = 0; n < kFanCount; ++n) {
        FanRow& r = rows.Fan[n];
        layoutRow(r.MonitorBox, r.LowEdit, r.LowUpDown, r.RangeLabel, r.HighEdit, r.HighUpDown, 0,
                  n, fan);
    }
    for (int n = 0; n < kTempCount; ++n) {
        SensorRow& r = rows.Temperature[n];
        layoutRow(r.MonitorBox, r.LowEdit, r.LowUpDown, ranges[kFanCount + n], r.HighEdit,
                  r.HighUpDown, 0, kFanCount + n, temperature);
    }
    for (int n = 0; n < kVoltCount; ++n) {
        SensorRow& r = rows.Voltage[n];
        layoutRow(r.MonitorBox, r.LowEdit, r.LowUpDown, ranges[kFanCount + kTempCount + n],
                  r.HighEdit, r.HighUpDown, 1, n, voltage);
    }
}

TForm1::ChannelRowSet TForm1::MakeChannelRows() {
    ChannelRowSet r;
    r.Fan[0] = FanRow{&LabelFan0,
                      &Label8,
                      &Label11,
                      &CheckBoxFan0,
                      &UpDownLowLimitFan0,
                      &UpDownHighLimitFan0,
                      {&Image1, &Image2, &Image3, &Image4, &Image5},
                      &EditLowLimitFan0,
                      &EditHighLimitFan0};
    r.Fan[1] = FanRow{&LabelFan1,
                      &Label9,
                      &Label15,
                      &CheckBoxFan1,
                      &UpDownLowLimitFan1,
                      &UpDownHighLimitFan1,
                      {&Image6, &Image7, &Image8, &Image9, &Image10},
                      &EditLowLimitFan1,
                      &EditHighLimitFan1};
    r.Fan[2] = FanRow{&LabelFan2,
                      &Label10,
                      &Label16,
                      &CheckBoxFan2,
                      &UpDownLowLimitFan2,
                      &UpDownHighLimitFan2,
                      {&Image11, &Image12, &Image13, &Image14, &Image15},
                      &EditLowLimitFan2,
                      &EditHighLimitFan2};
    r.Temperature[0] =
        SensorRow{&LabelTemp0,    &EditTemp0,           &EditHighLimitTemp0,  &EditLowLimitTemp0,
                  &CheckBoxTemp0, &UpDownLowLimitTemp0, &UpDownHighLimitTemp0};
    r.Temperature[1] =
        SensorRow{&LabelTemp1,    &EditTemp1,           &EditHighLimitTemp1,  &EditLowLimitTemp1,
                  &CheckBoxTemp1, &UpDownLowLimitTemp1, &UpDownHighLimitTemp1};
    r.Temperature[2] =
        SensorRow{&LabelTemp2,    &EditTemp2,           &EditHighLimitTemp2,  &EditLowLimitTemp2,
                  &CheckBoxTemp2, &UpDownLowLimitTemp2, &UpDownHighLimitTemp2};
    r.Voltage[0] =
        SensorRow{&LabelVIN0,    &EditVIN0,           &EditHighLimitVIN0,  &EditLowLimitVIN0,
                  &CheckBoxVIN0, &UpDownLowLimitVIN0, &UpDownHighLimitVIN0};
    r.Voltage[1] =
        SensorRow{&LabelVIN1,    &EditVIN1,           &EditHighLimitVIN1,  &EditLowLimitVIN1,
                  &CheckBoxVIN1, &UpDownLowLimitVIN1, &UpDownHighLimitVIN1};
    r.Voltage[2] =
        SensorRow{&LabelVIN2,    &EditVIN2,           &EditHighLimitVIN2,  &EditLowLimitVIN2,
                  &CheckBoxVIN2, &UpDownLowLimitVIN2, &UpDownHighLimitVIN2};
    r.Voltage[3] =
        SensorRow{&LabelVIN3,    &EditVIN3,           &EditHighLimitVIN3,  &EditLowLimitVIN3,
                  &CheckBoxVIN3, &UpDownLowLimitVIN3, &UpDownHighLimitVIN3};
    r.Voltage[4] =
        SensorRow{&LabelVIN4,    &EditVIN4,           &EditHighLimitVIN4,  &EditLowLimitVIN4,
                  &CheckBoxVIN4, &UpDownLowLimitVIN4, &UpDownHighLimitVIN4};
    r.Voltage[5] =
        SensorRow{&LabelVIN5,    &EditVIN5,           &EditHighLimitVIN5,  &EditLowLimitVIN5,
                  &CheckBoxVIN5, &UpDownLowLimitVIN5, &UpDownHighLimitVIN5};
    r.Voltage[6] =
        SensorRow{&LabelVIN6,    &EditVIN6,           &EditHighLimitVIN6,  &EditLowLimitVIN6,
                  &CheckBoxVIN6, &UpDownLowLimitVIN6, &UpDownHighLimitVIN6};
    r.Voltage[7] =
        SensorRow{&LabelVIN7,    &EditVIN7,           &EditHighLimitVIN7,  &EditLowLimitVIN7,
                  &CheckBoxVIN7, &UpDownLowLimitVIN7, &UpDownHighLimitVIN7};
    r.Voltage[8] =
        SensorRow{&LabelVIN8,    &EditVIN8,           &EditHighLimitVIN8,  &EditLowLimitVIN8,
                  &CheckBoxVIN8, &UpDownLowLimitVIN8, &UpDownHighLimitVIN8};
    return r;
}

void TForm1::BindHandlers() {
    OnActivate = [this](ui::Component* s) { FormActivate(s); };
    OnClose = [this](ui::Component* s, ui::TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](ui::Component* s) { FormDestroy(s); };
    TrayIcon1.OnClick = [this](ui::Component* s) { TrayIcon1Click(s); };
    TrayIcon1.OnRestore = [this](ui::Component* s) { TrayIcon1Restore(s); };
    Open1.OnClick = [this](ui::Component* s) { Open1Click(s); };
    Setup1.OnClick = [this](ui::Component* s) { Setup1Click(s); };
    Exit1.OnClick = [this](ui::Component* s) { Exit1Click(s); };
    TabSheet1.OnShow = [this](ui::Component* s) { TabSheet1Show(s); };
    TabSheetConfigure.OnShow = [this](ui::Component* s) { TabSheetConfigureShow(s); };
    tabSetup.OnShow = [this](ui::Component* s) { tabSetupShow(s); };
    PageControl1.OnChange = [this](ui::Component* s) { PageControl1Change(s); };
    cbExternalSpeak.OnClick = [this](ui::Component* s) { cbExternalSpeakClick(s); };
    cbSysSpeak.OnClick = [this](ui::Component* s) { cbSysSpeakClick(s); };
    Timer1.OnTimer = [this](ui::Component* s) { Timer1Timer(s); };
    TimerFanAnimate.OnTimer = [this](ui::Component* s) { TimerFanAnimateTimer(s); };
    TimerClearLog.OnTimer = [this](ui::Component* s) { TimerClearLogTimer(s); };

    auto limitClick = [this](ui::Component* s, ui::TUDBtnType b) { UpDownLowLimitFan0Click(s, b); };
    auto monitorClick = [this](ui::Component* s) { CheckBoxFan0Click(s); };
    ChannelRowSet rows = MakeChannelRows();
    for (FanRow& r : rows.Fan) {
        r.MonitorBox->OnClick = monitorClick;
        for (ui::TUpDown* updown : {r.LowUpDown, r.HighUpDown}) {
            updown->OnChangingEx = [this](ui::Component* s, bool& allow, short v,
                                          ui::TUpDownDirection d) {
                UpDownLowLimitFan0ChangingEx(s, allow, v, d);
            };
            updown->OnClickButton = limitClick;
        }
    }
    for (SensorRow& r : rows.Temperature) {
        r.MonitorBox->OnClick = monitorClick;
        for (ui::TUpDown* updown : {r.LowUpDown, r.HighUpDown}) {
            updown->OnChangingEx = [this](ui::Component* s, bool& allow, short v,
                                          ui::TUpDownDirection d) {
                UpDownLowLimitTemp0ChangingEx(s, allow, v, d);
            };
            updown->OnClickButton = limitClick;
        }
    }
    for (SensorRow& r : rows.Voltage) {
        r.MonitorBox->OnClick = monitorClick;
        for (ui::TUpDown* updown : {r.LowUpDown, r.HighUpDown}) {
            updown->OnChangingEx = [this](ui::Component* s, bool& allow, short v,
                                          ui::TUpDownDirection d) {
                UpDownLowLimitVIN0ChangingEx(s, allow, v, d);
            };
            updown->OnClickButton = limitClick;
        }
    }
    UpDownInterval.OnChangingEx = [this](ui::Component* s, bool& allow, short v,
                                         ui::TUpDownDirection d) {
        UpDownIntervalChangingEx(s, allow, v, d);
    };
    UpDownInterval.OnClickButton = limitClick;
    CheckBoxHiddenTrayIcon.OnClick = [this](ui::Component* s) { CheckBoxHiddenTrayIconClick(s); };
    CheckBoxCPUtoP80.OnClick = [this](ui::Component* s) { CheckBoxCPUtoP80Click(s); };
    EditReflashInterval.OnKeyPress = [this](ui::Component* s, char& k) {
        EditReflashIntervalKeyPress(s, k);
    };
    ComboBoxWarningDefault.OnKeyPress = [this](ui::Component* s, char& k) {
        ComboBoxWarningDefaultKeyPress(s, k);
    };
    ComboBoxHowToLog.OnKeyPress = [this](ui::Component* s, char& k) {
        ComboBoxHowToLogKeyPress(s, k);
    };
    ComboBoxWarningDefault.OnChange = [this](ui::Component* s) { ComboBoxWarningDefaultChange(s); };
    ComboBoxHowToLog.OnChange = [this](ui::Component* s) { ComboBoxHowToLogChange(s); };
    CheckBoxLaunch.OnClick = [this](ui::Component* s) { CheckBoxLaunchClick(s); };
    ImageLogo.OnClick = [this](ui::Component* s) { ImageLogoClick(s); };
    BtnViewLogFile.OnClick = [this](ui::Component* s) { BtnViewLogFileClick(s); };
    for (ui::TCheckBox* box : {&ckTemperature, &ckLoading, &ckVCore})
        box->OnClick = [this](ui::Component* s) { ckTemperatureClick(s); };
    Button2.OnClick = [this](ui::Component* s) { Button2Click(s); };
    CheckBoxShowTransparentForm.OnClick = [this](ui::Component* s) {
        CheckBoxShowTransparentFormClick(s);
    };
    ExtraForm1.OnClick = [this](ui::Component* s) { ExtraForm1Click(s); };
    BindSmartFanHandlers();
}

void TForm1::Stop(const std::string& message) {
    App().ShowMessage(message);
    App().Terminate();
}

// Brings the hardware up through the driver; the first failing step stops the program.
void TForm1::Construct() {
    MonitorProgram& p = program_;
    os::System& system = p.System;
    ui::Application& app = App();

    TabSheet5.SetTabVisible(false);
    p.ExitMessageId = system.RegisterWindowMessage("EXITZarvoORLO");
    p.OpenMessageId = system.RegisterWindowMessage("OpenZarvoORLO");
    PageControl1.SetActivePage(&TabSheet1);
    AnimateFan0.ResName = "FAN";
    AnimateFan1.ResName = "FAN";
    AnimateFan2.ResName = "FAN";

    std::string exe = system.GetModuleFileName();
    auto slash = exe.find_last_of("\\:");
    p.ExeDir = slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
    if (p.ExeDir.empty() || p.ExeDir.back() != '\\') p.ExeDir += '\\';

    app.ShowSystemCursor(ui::TCursor::crHourGlass);
    os::Handle handle = p.driver.OpenDriver();
    if (handle == os::kInvalidHandle) return;
    p.DriverHandle = handle;
    app.ShowSystemCursor(ui::TCursor::crArrow);
    TrayIcon1.SetVisible(true);

    if (!p.driver.ReadPciConfig(handle, 0, 0x1F, 0, 0x88, PciConfigDword))
        return Stop("Get PCI Info Fail!!");

    p.driver.ReadBoardId(handle, p.BoardId);
    if (p.BoardId[0] == 0) return Stop("Incorrect BIOS ID");

    SensorPacket request{};
    request[0] = 1;
    SensorPacket reply = p.driver.ReadSensors(handle, request);
    std::uint8_t chip = reply[0];
    if (chip != 0x60 && chip != 0x21 && chip != 0x91 && chip != 0x90 && chip != 0x92)
        return Stop("Unknown Hardware Monitor!!");
    if (chip == 0x91) p.SavedVCore = p.driver.SetVCore(handle, 1, 0);
    p.ChipId = chip;

    request = SensorPacket{};
    for (int i = 0; i <= 3; ++i)
        request[static_cast<size_t>(i)] = 1;
    reply = p.driver.ReadSensors(handle, request);
    for (int i = 0; i < kFanCount; ++i)
        Settings.Fan[i].Divisor = reply[static_cast<size_t>(i) + 1];
    if (chip != 0x92) {
        for (int i = 0; i < kFanCount; ++i)
            if (Settings.Fan[i].Divisor == 0) return Stop("Read fan divisor fail");
    }

    p.OSName = GetOSName(system, app);
    LoadSettings();
    CheckBoxLaunch.SetChecked(IsLaunchOnStartup());
    TrimLogFile();
    p.Initialized = true;

    if ((p.OSName == "NT3" || p.OSName == "NT4") && !system.FileExists(Settings.Nt4BatchFile))
        ComboBoxWarningDefault.DeleteItem(3);
}

} // namespace monitor
