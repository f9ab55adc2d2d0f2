// The monitor's main window: the Fan, Configure, Setup and Smart Fan pages, the tray icon and
// the polling timer. Its construction brings the hardware up through the driver.
#pragma once

#include "monitor/MonitorProgram.h"
#include "monitor/Settings.h"
#include "monitor/SmartFanRegisters.h"
#include "ui/Chart.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/IniFile.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include <array>
#include <cstdint>
#include <string>

namespace monitor {

class TForm1 : public ui::Form {
  public:
    TForm1(ui::Application& app, MonitorProgram& program);
    ~TForm1() override;

    MonitorProgram& Program() { return program_; }

    // --- members -------------------------------------------------------------------------
    _TORLO Settings;
    std::string BoardIniName;
    std::string SystemLanguage;
    std::uint32_t PciConfigDword = 0;
    int CpuTempIndex = 0;
    int VCoreIndex = 0;
    double FullSpeedRpm = 0;

    // The controls of each channel, in the order the loader, the polling tick and the save use.
    struct FanRow {
        ui::TLabel* NameLabel = nullptr;
        ui::TLabel* UnitLabel = nullptr;  // "(RPM)" on the Fan page
        ui::TLabel* RangeLabel = nullptr; // "~" between the limit edits on the Configure page
        ui::TCheckBox* MonitorBox = nullptr;
        ui::TUpDown* LowUpDown = nullptr;
        ui::TUpDown* HighUpDown = nullptr;
        ui::TImage* Digits[5] = {}; // left to right, the ten-thousands digit first
        ui::TEdit* LowEdit = nullptr;
        ui::TEdit* HighEdit = nullptr;
    };
    struct SensorRow {
        ui::TLabel* NameLabel = nullptr;
        ui::TEdit* ValueBox = nullptr;
        ui::TEdit* HighEdit = nullptr;
        ui::TEdit* LowEdit = nullptr;
        ui::TCheckBox* MonitorBox = nullptr;
        ui::TUpDown* LowUpDown = nullptr;
        ui::TUpDown* HighUpDown = nullptr;
    };
    struct ChannelRowSet {
        FanRow Fan[kFanCount];
        SensorRow Temperature[kTempCount];
        SensorRow Voltage[kVoltCount];
    };
    ChannelRowSet ChannelRows;

    // --- controls ------------------------------------------------------------------------
    ui::TPanel PanelLogo;
    ui::TImage ImageLogo;
    ui::TPageControl PageControl1;
    ui::TTabSheet TabSheet1;
    ui::TTabSheet TabSheetConfigure;
    ui::TTabSheet tabSetup;
    ui::TTabSheet tabFintekSmartFan;
    ui::TTabSheet TabSheet5;

    // Fan page: per fan a panel with its name, picture, digits and unit; then the temperature
    // and voltage readings
    ui::TPanel PanelFanColumn;
    ui::TPanel PanelFan0;
    ui::TLabel LabelFan0;
    ui::TAnimate AnimateFan0;
    ui::TPanel PanelRPMFan0;
    ui::TImage Image1;
    ui::TImage Image2;
    ui::TImage Image3;
    ui::TImage Image4;
    ui::TImage Image5;
    ui::TLabel Label8;
    ui::TPanel PanelFan1;
    ui::TLabel LabelFan1;
    ui::TAnimate AnimateFan1;
    ui::TPanel PanelRPMFan1;
    ui::TImage Image6;
    ui::TImage Image7;
    ui::TImage Image8;
    ui::TImage Image9;
    ui::TImage Image10;
    ui::TLabel Label9;
    ui::TPanel PanelFan2;
    ui::TLabel LabelFan2;
    ui::TAnimate AnimateFan2;
    ui::TPanel PanelRPMFan2;
    ui::TImage Image11;
    ui::TImage Image12;
    ui::TImage Image13;
    ui::TImage Image14;
    ui::TImage Image15;
    ui::TLabel Label10;

    ui::TLabel LabelTemp0;
    ui::TEdit EditTemp0;
    ui::TLabel LabelTemp1;
    ui::TEdit EditTemp1;
    ui::TLabel LabelTemp2;
    ui::TEdit EditTemp2;
    ui::TImage ImageCalorwand;
    ui::TLabel LabelVIN0;
    ui::TEdit EditVIN0;
    ui::TLabel LabelVIN1;
    ui::TEdit EditVIN1;
    ui::TLabel LabelVIN2;
    ui::TEdit EditVIN2;
    ui::TLabel LabelVIN3;
    ui::TEdit EditVIN3;
    ui::TLabel LabelVIN4;
    ui::TEdit EditVIN4;
    ui::TLabel LabelVIN5;
    ui::TEdit EditVIN5;
    ui::TLabel LabelVIN6;
    ui::TEdit EditVIN6;
    ui::TLabel LabelVIN7;
    ui::TEdit EditVIN7;
    ui::TLabel LabelVIN8;
    ui::TEdit EditVIN8;

    // Configure page: per channel a monitor box and two limits, each an up-down with its
    // read-only edit
    ui::TCheckBox CheckBoxFan0;
    ui::TEdit EditLowLimitFan0;
    ui::TUpDown UpDownLowLimitFan0;
    ui::TLabel Label11;
    ui::TEdit EditHighLimitFan0;
    ui::TUpDown UpDownHighLimitFan0;
    ui::TCheckBox CheckBoxFan1;
    ui::TEdit EditLowLimitFan1;
    ui::TUpDown UpDownLowLimitFan1;
    ui::TLabel Label15;
    ui::TEdit EditHighLimitFan1;
    ui::TUpDown UpDownHighLimitFan1;
    ui::TCheckBox CheckBoxFan2;
    ui::TEdit EditLowLimitFan2;
    ui::TUpDown UpDownLowLimitFan2;
    ui::TLabel Label16;
    ui::TEdit EditHighLimitFan2;
    ui::TUpDown UpDownHighLimitFan2;
    ui::TCheckBox CheckBoxTemp0;
    ui::TEdit EditLowLimitTemp0;
    ui::TUpDown UpDownLowLimitTemp0;
    ui::TLabel LabelRangeTemp0;
    ui::TEdit EditHighLimitTemp0;
    ui::TUpDown UpDownHighLimitTemp0;
    ui::TCheckBox CheckBoxTemp1;
    ui::TEdit EditLowLimitTemp1;
    ui::TUpDown UpDownLowLimitTemp1;
    ui::TLabel LabelRangeTemp1;
    ui::TEdit EditHighLimitTemp1;
    ui::TUpDown UpDownHighLimitTemp1;
    ui::TCheckBox CheckBoxTemp2;
    ui::TEdit EditLowLimitTemp2;
    ui::TUpDown UpDownLowLimitTemp2;
    ui::TLabel LabelRangeTemp2;
    ui::TEdit EditHighLimitTemp2;
    ui::TUpDown UpDownHighLimitTemp2;
    ui::TCheckBox CheckBoxVIN0;
    ui::TEdit EditLowLimitVIN0;
    ui::TUpDown UpDownLowLimitVIN0;
    ui::TLabel LabelRangeVIN0;
    ui::TEdit EditHighLimitVIN0;
    ui::TUpDown UpDownHighLimitVIN0;
    ui::TCheckBox CheckBoxVIN1;
    ui::TEdit EditLowLimitVIN1;
    ui::TUpDown UpDownLowLimitVIN1;
    ui::TLabel LabelRangeVIN1;
    ui::TEdit EditHighLimitVIN1;
    ui::TUpDown UpDownHighLimitVIN1;
    ui::TCheckBox CheckBoxVIN2;
    ui::TEdit EditLowLimitVIN2;
    ui::TUpDown UpDownLowLimitVIN2;
    ui::TLabel LabelRangeVIN2;
    ui::TEdit EditHighLimitVIN2;
    ui::TUpDown UpDownHighLimitVIN2;
    ui::TCheckBox CheckBoxVIN3;
    ui::TEdit EditLowLimitVIN3;
    ui::TUpDown UpDownLowLimitVIN3;
    ui::TLabel LabelRangeVIN3;
    ui::TEdit EditHighLimitVIN3;
    ui::TUpDown UpDownHighLimitVIN3;
    ui::TCheckBox CheckBoxVIN4;
    ui::TEdit EditLowLimitVIN4;
    ui::TUpDown UpDownLowLimitVIN4;
    ui::TLabel LabelRangeVIN4;
    ui::TEdit EditHighLimitVIN4;
    ui::TUpDown UpDownHighLimitVIN4;
    ui::TCheckBox CheckBoxVIN5;
    ui::TEdit EditLowLimitVIN5;
    ui::TUpDown UpDownLowLimitVIN5;
    ui::TLabel LabelRangeVIN5;
    ui::TEdit EditHighLimitVIN5;
    ui::TUpDown UpDownHighLimitVIN5;
    ui::TCheckBox CheckBoxVIN6;
    ui::TEdit EditLowLimitVIN6;
    ui::TUpDown UpDownLowLimitVIN6;
    ui::TLabel LabelRangeVIN6;
    ui::TEdit EditHighLimitVIN6;
    ui::TUpDown UpDownHighLimitVIN6;
    ui::TCheckBox CheckBoxVIN7;
    ui::TEdit EditLowLimitVIN7;
    ui::TUpDown UpDownLowLimitVIN7;
    ui::TLabel LabelRangeVIN7;
    ui::TEdit EditHighLimitVIN7;
    ui::TUpDown UpDownHighLimitVIN7;
    ui::TCheckBox CheckBoxVIN8;
    ui::TEdit EditLowLimitVIN8;
    ui::TUpDown UpDownLowLimitVIN8;
    ui::TLabel LabelRangeVIN8;
    ui::TEdit EditHighLimitVIN8;
    ui::TUpDown UpDownHighLimitVIN8;

    // Setup page
    ui::TLabel Label27;
    ui::TEdit EditReflashInterval;
    ui::TUpDown UpDownInterval;
    ui::TLabel Label28;
    ui::TComboBox ComboBoxWarningDefault;
    ui::TLabel Label30;
    ui::TComboBox ComboBoxHowToLog;
    ui::TCheckBox CheckBoxHiddenTrayIcon;
    ui::TCheckBox CheckBoxLaunch;
    ui::TCheckBox CheckBoxCPUtoP80;
    ui::TGroupBox GroupBox6;
    ui::TCheckBox cbExternalSpeak;
    ui::TCheckBox cbSysSpeak;
    ui::TGroupBox gbTransparent;
    ui::TCheckBox CheckBoxShowTransparentForm;
    ui::TCheckBox ckTemperature;
    ui::TCheckBox ckLoading;
    ui::TCheckBox ckVCore;
    ui::TButton BtnViewLogFile;
    ui::TButton Button2;

    // Timers, tray icon and its menu
    ui::TTimer Timer1;
    ui::TTimer TimerFanAnimate;
    ui::TTimer TimerClearLog;
    ui::TPopupMenu PopupMenuTrayIcon;
    ui::TMenuItem Open1;
    ui::TMenuItem Setup1;
    ui::TMenuItem N1;
    ui::TMenuItem ExtraForm1;
    ui::TMenuItem N2;
    ui::TMenuItem Exit1;
    ui::TTrayIcon TrayIcon1;

    // --- the Smart Fan page --------------------------------------------------------------------
    // Board-mode set (mini-PC boards), in its group box
    ui::TGroupBox gbFintekSmartFan{&tabFintekSmartFan, "gbFintekSmartFan"};
    ui::TCheckBox cbSmartCPUFan{&gbFintekSmartFan, "cbSmartCPUFan"};
    ui::TLabel labQuickSetting{&gbFintekSmartFan, "labQuickSetting"};
    ui::TComboBox cbQuickSetting{&gbFintekSmartFan, "cbQuickSetting"};
    ui::TLabel labTemperature{&gbFintekSmartFan, "labTemperature"};
    ui::TLabel labFanControl{&gbFintekSmartFan, "labFanControl"};
    ui::TLabel labFanSpeed{&gbFintekSmartFan, "labFanSpeed"};
    ui::TLabel labFullSpeedBoundary{&gbFintekSmartFan, "labFullSpeedBoundary"};
    ui::TLabel labTemp1{&gbFintekSmartFan, "labTemp1"};
    ui::TLabel labLowNoiseBoundary{&gbFintekSmartFan, "labLowNoiseBoundary"};
    ui::TLabel labTemp2{&gbFintekSmartFan, "labTemp2"};
    ui::TLabel labStartStopBoundary{&gbFintekSmartFan, "labStartStopBoundary"};
    ui::TEdit txtFullTemp{&gbFintekSmartFan, "txtFullTemp"};
    ui::TUpDown upFullTemp{&gbFintekSmartFan, "upFullTemp"};
    ui::TEdit txtTemp1Temp{&gbFintekSmartFan, "txtTemp1Temp"};
    ui::TEdit txtMidTemp{&gbFintekSmartFan, "txtMidTemp"};
    ui::TUpDown upMidTemp{&gbFintekSmartFan, "upMidTemp"};
    ui::TEdit txtTemp2Temp{&gbFintekSmartFan, "txtTemp2Temp"};
    ui::TEdit txtLowTemp{&gbFintekSmartFan, "txtLowTemp"};
    ui::TUpDown upLowTemp{&gbFintekSmartFan, "upLowTemp"};
    ui::TEdit txtFullControl{&gbFintekSmartFan, "txtFullControl"};
    ui::TUpDown upFullControl{&gbFintekSmartFan, "upFullControl"};
    ui::TEdit txtTemp1Control{&gbFintekSmartFan, "txtTemp1Control"};
    ui::TEdit txtMidControl{&gbFintekSmartFan, "txtMidControl"};
    ui::TUpDown upMidControl{&gbFintekSmartFan, "upMidControl"};
    ui::TEdit txtTemp2Control{&gbFintekSmartFan, "txtTemp2Control"};
    ui::TEdit txtLowControl{&gbFintekSmartFan, "txtLowControl"};
    ui::TUpDown upLowControl{&gbFintekSmartFan, "upLowControl"};
    ui::TEdit txtFullSpeed{&gbFintekSmartFan, "txtFullSpeed"};
    ui::TEdit txtTemp1Speed{&gbFintekSmartFan, "txtTemp1Speed"};
    ui::TEdit txtMidSpeed{&gbFintekSmartFan, "txtMidSpeed"};
    ui::TEdit txtTemp2Speed{&gbFintekSmartFan, "txtTemp2Speed"};
    ui::TEdit txtLowSpeed{&gbFintekSmartFan, "txtLowSpeed"};
    // Mainboard set (every other board): the controls whose names end in "1"
    ui::TGroupBox gbFintekSmartFanForMB{&tabFintekSmartFan, "gbFintekSmartFanForMB"};
    ui::TButton btnDefault{&gbFintekSmartFanForMB, "btnDefault"};
    ui::TButton btnDetectDutyCycle{&gbFintekSmartFanForMB, "btnDetectDutyCycle"};
    ui::TLabel labSmartFanFunction{&gbFintekSmartFanForMB, "labSmartFanFunction"};
    ui::TComboBox cbSmartFanFunction{&gbFintekSmartFanForMB, "cbSmartFanFunction"};
    ui::TLabel labDutyCycle{&gbFintekSmartFanForMB, "labDutyCycle"};
    ui::TEdit txtDutyCycle{&gbFintekSmartFanForMB, "txtDutyCycle"};
    ui::TUpDown upDutyCycle{&gbFintekSmartFanForMB, "upDutyCycle"};
    ui::TLabel labTemperature1{&gbFintekSmartFanForMB, "labTemperature1"};
    ui::TLabel labFanDuty1{&gbFintekSmartFanForMB, "labFanDuty1"};
    ui::TLabel labFanSpeed1{&gbFintekSmartFanForMB, "labFanSpeed1"};
    ui::TLabel labFullSpeedThreshold1{&gbFintekSmartFanForMB, "labFullSpeedThreshold1"};
    ui::TLabel labTemp1Calculated1{&gbFintekSmartFanForMB, "labTemp1Calculated1"};
    ui::TLabel labLowNoiseThreshold1{&gbFintekSmartFanForMB, "labLowNoiseThreshold1"};
    ui::TLabel labTemp2Calculated1{&gbFintekSmartFanForMB, "labTemp2Calculated1"};
    ui::TLabel labStartStopThreshold1{&gbFintekSmartFanForMB, "labStartStopThreshold1"};
    ui::TEdit txtFullTemp1{&gbFintekSmartFanForMB, "txtFullTemp1"};
    ui::TUpDown upFullTemp1{&gbFintekSmartFanForMB, "upFullTemp1"};
    ui::TEdit txtTemp1Temp1{&gbFintekSmartFanForMB, "txtTemp1Temp1"};
    ui::TEdit txtMidTemp1{&gbFintekSmartFanForMB, "txtMidTemp1"};
    ui::TUpDown upMidTemp1{&gbFintekSmartFanForMB, "upMidTemp1"};
    ui::TEdit txtTemp2Temp1{&gbFintekSmartFanForMB, "txtTemp2Temp1"};
    ui::TEdit txtLowTemp1{&gbFintekSmartFanForMB, "txtLowTemp1"};
    ui::TUpDown upLowTemp1{&gbFintekSmartFanForMB, "upLowTemp1"};
    ui::TEdit txtFullControl1{&gbFintekSmartFanForMB, "txtFullControl1"};
    ui::TEdit txtTemp1Control1{&gbFintekSmartFanForMB, "txtTemp1Control1"};
    ui::TEdit txtMidControl1{&gbFintekSmartFanForMB, "txtMidControl1"};
    ui::TUpDown upMidControl1{&gbFintekSmartFanForMB, "upMidControl1"};
    ui::TEdit txtTemp2Control1{&gbFintekSmartFanForMB, "txtTemp2Control1"};
    ui::TEdit txtLowControl1{&gbFintekSmartFanForMB, "txtLowControl1"};
    ui::TUpDown upLowControl1{&gbFintekSmartFanForMB, "upLowControl1"};
    ui::TEdit txtFullSpeed1{&gbFintekSmartFanForMB, "txtFullSpeed1"};
    ui::TEdit txtTemp1Speed1{&gbFintekSmartFanForMB, "txtTemp1Speed1"};
    ui::TEdit txtMidSpeed1{&gbFintekSmartFanForMB, "txtMidSpeed1"};
    ui::TEdit txtTemp2Speed1{&gbFintekSmartFanForMB, "txtTemp2Speed1"};
    ui::TEdit txtLowSpeed1{&gbFintekSmartFanForMB, "txtLowSpeed1"};
    // The RPM curve below both sets
    ui::TChart Chart1{&tabFintekSmartFan, "Chart1"};
    ui::TLineSeries Series1{&Chart1, "Series1"};

    // --- start-up and lifecycle -----------------------------------------------------------
    void FormActivate(ui::Component* sender);
    void FormClose(ui::Component* sender, ui::TCloseAction& action);
    void FormDestroy(ui::Component* sender);
    void WndProc(ui::TMessage& message) override;

    void TrayIcon1Click(ui::Component* sender);
    void TrayIcon1Restore(ui::Component* sender);
    void Open1Click(ui::Component* sender);
    void Setup1Click(ui::Component* sender);
    void Exit1Click(ui::Component* sender);
    void TabSheet1Show(ui::Component* sender);
    void TabSheetConfigureShow(ui::Component* sender);
    void tabSetupShow(ui::Component* sender);

    void cbExternalSpeakClick(ui::Component* sender);
    void cbSysSpeakClick(ui::Component* sender);

    // --- settings: the loader, the save, the Configure page and the Setup page's boxes --------
    // Called once by the constructor: ORLO.INI and the board INI into Settings and the pages.
    void LoadSettings();
    // Writes the monitor boxes, limits, interval and options into the board INI.
    void SaveSettings();
    void CheckBoxFan0Click(ui::Component* sender);
    void UpDownLowLimitFan0ChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                      ui::TUpDownDirection direction);
    void UpDownLowLimitVIN0ChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                      ui::TUpDownDirection direction);
    void UpDownLowLimitTemp0ChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                       ui::TUpDownDirection direction);
    void UpDownLowLimitFan0Click(ui::Component* sender, ui::TUDBtnType button);
    void UpDownIntervalChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                  ui::TUpDownDirection direction);
    void EditReflashIntervalKeyPress(ui::Component* sender, char& key);
    void ComboBoxWarningDefaultKeyPress(ui::Component* sender, char& key);
    void ComboBoxHowToLogKeyPress(ui::Component* sender, char& key);
    void ComboBoxWarningDefaultChange(ui::Component* sender);
    void ComboBoxHowToLogChange(ui::Component* sender);
    void CheckBoxLaunchClick(ui::Component* sender);
    void ImageLogoClick(ui::Component* sender);
    void CheckBoxHiddenTrayIconClick(ui::Component* sender);
    void CheckBoxCPUtoP80Click(ui::Component* sender);
    void ckTemperatureClick(ui::Component* sender);

    // The board INI's name as ORLO.INI gives it for this board's id now; empty when not listed.
    std::string LookUpBoardIniName() const;
    // The board INI that the two saves which ask ORLO.INI anew (SaveSettings,
    // SaveSmartFanSettings) write into: the name ORLO.INI gives now, else, when it no longer
    // lists the board (changed or removed during the run), the name found at start-up
    // (BoardIniName); empty when there is neither, and then the save writes no board key.
    std::string BoardIniNameForSave() const;
    // The five digit images show `value` (0 to 99999) in red ("red" or "RED") or green.
    void ShowLedNumber(const std::string& colour, std::uint32_t value, ui::TImage* const images[5]);
    void ShowDigit(int digit, ui::TImage& image, const std::string& colour);

    // --- steps of start-up, the tick and destruction, defined by the subsystems' files ------
    bool IsLaunchOnStartup();
    void TrimLogFile();
    void SetLaunchOnStartup(bool on);
    void SmartFanStartup(ui::TIniFile& ini);
    void SendGhostItems();
    void RestoreBiosFanSettings();
    void PageControl1Change(ui::Component* sender);
    void LoadGhostLibrary();
    void UnloadGhostLibrary();
    void Timer1Timer(ui::Component* sender);
    void TimerFanAnimateTimer(ui::Component* sender);
    void TimerClearLogTimer(ui::Component* sender);

    // --- limit alarm (LimitAlarm.cpp) and reading log (ReadingLog.cpp) ---------------------
    void RaiseLimitAlarm(const std::string& key);
    void AppendLogLine(const std::string& text);
    void BtnViewLogFileClick(ui::Component* sender);
    // The tick's first step (the log-now check) and its logging step after the conversions.
    void LogNowCheck();
    void LogReadingsIfDue();

    // The board INI's full path.
    std::string BoardIniPath() const { return program_.ExeDir + BoardIniName; }

    // --- the settings password (SettingsPassword.cpp) --------------------------------------
    // "Set Password": the change-password window.
    void Button2Click(ui::Component* sender);
    // Stores a new password (empty: none) and saves it at once.
    void SetPassword(const std::string& text);

    // --- the ghost monitor (GhostMonitor.cpp) ------------------------------------------------
    // Shows or hides the library's ghost window, then hands it the three item states.
    void UpdateGhostMonitor(bool on);
    void CheckBoxShowTransparentFormClick(ui::Component* sender);
    // The tray command "&Ghost Monitor": turns the ghost-monitor box over.
    void ExtraForm1Click(ui::Component* sender);
    // The polling tick's feed of the library, while one is held.
    void GhostSetCPUTemperature(std::int32_t celsius);
    void GhostSetCPUVCore(const std::string& text);

    // --- the smart fan (SmartFanPage.cpp, FanCurve.cpp, SmartFanBios.cpp, SmartFanPresets.cpp,
    //     SmartFanStartup.cpp) -----------------------------------------------------------------
    // Registers 0x60, 0x6B, 0xA0, 0xA1, 0xA2, 0xA4 to 0xA9 as the BIOS left them.
    std::uint8_t BiosFanSnapshot[11] = {};

    // The point controls of one set: Full, Mid and Low up-downs, and the five edits of each
    // column (Full, between Full and Mid, Mid, between Mid and Low, Low).
    struct SmartFanControls {
        bool Mainboard = false;
        ui::TUpDown* Temp[3] = {};
        ui::TUpDown* Control[3] = {}; // no Full up-down in the mainboard set: its duty is 100 %
        ui::TEdit* TempText[5] = {};
        ui::TEdit* ControlText[5] = {};
        ui::TEdit* SpeedText[5] = {};
    };
    SmartFanControls BoardModeControls();
    SmartFanControls MainboardControls();
    // The board-mode set on a mini-PC board, the mainboard set otherwise.
    SmartFanControls ControlsInUse();

    void tabFintekSmartFanShow(ui::Component* sender);
    void upFullTempChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                              ui::TUpDownDirection direction);
    void upFullTempClick(ui::Component* sender, ui::TUDBtnType button);
    void upFullControlChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                                 ui::TUpDownDirection direction);
    void upFullControlClick(ui::Component* sender, ui::TUDBtnType button);
    void cbSmartCPUFanClick(ui::Component* sender);
    void cbSmartFanFunctionClick(ui::Component* sender);
    void upDutyCycleChangingEx(ui::Component* sender, bool& allowChange, short newValue,
                               ui::TUpDownDirection direction);
    void upDutyCycleClick(ui::Component* sender, ui::TUDBtnType button);
    void btnDetectDutyCycleClick(ui::Component* sender);
    void btnDefaultClick(ui::Component* sender);
    void cbQuickSettingClick(ui::Component* sender);
    // The six [FINTEK] point keys from the set in use.
    void SaveSmartFanSettings();
    // The curve over 0 to 130 degrees from the three point speeds.
    void DrawFanCurve(std::uint16_t full, std::uint16_t mid, std::uint16_t low);
    // DrawFanCurve with the speeds of the duty up-downs of the set in use.
    void RedrawFanCurve();
    // The refresh step of the polling tick: learns a faster full speed.
    void SmartFanRefresh();

    // The register requests on the driver handle.
    FanRegisters FanChip() { return FanRegisters(program_.driver, program_.DriverHandle); }
    // The left axis from 0 (first) to FullSpeedRpm + 500.
    void ScaleFanCurve();
    // upDutyCycle from a duty register value: its percentage rounded to the nearest.
    void SetDutyCycleFromRegister(std::uint8_t pwm);
    void ShowManualDuty(bool show);
    // The ten point controls of the mainboard set (all but the manual duty), on or off.
    void EnableMainboardPoints(bool enabled);
    // The twelve point controls of the board-mode set, on or off.
    void EnableBoardModePoints(bool enabled);
    // The five texts of a column from its three points; the between values are (a + b) >> 1.
    void ShowTemperatureTexts(const SmartFanControls& set, int full, int mid, int low);
    void ShowSpeedTexts(const SmartFanControls& set, int full, int mid, int low);
    // Duty texts "%d %": `full` shown in the Full edit, `fullForHalf` in the first between value.
    void ShowDutyTexts(const SmartFanControls& set, int full, int fullForHalf, int mid, int low);
    // The mainboard set's five duty and five speed texts from its Mid and Low positions.
    void ShowMainboardDutyAndSpeedTexts(int fullDuty, int fullForHalf);
    // Registers 0x60 (until ready), 0x6B, 0xA0 to 0xA2 and 0xA4 to 0xA9 into BiosFanSnapshot.
    void ReadBiosFanSnapshot();
    // The BIOS's three duties for mode box item `item` (the snapshot's counts by temperature, the
    // present count by duty cycle, else 100, 0, 0) into the mainboard set, its texts and the
    // manual duty.
    void TakeBiosDuties(int item, int duties[3]);
    // The set's temperature up-downs from [FINTEK] FullTemp, MidTemp and LowTemp (default 0).
    void SetStoredTemperatures(const SmartFanControls& set, ui::TIniFile& ini);
    // [FINTEK] FullTemp, MidTemp, LowTemp, FullControl, MidControl and LowControl, in that order.
    static void WritePointKeys(ui::TIniFile& ini, const std::array<int, 6>& values);
    // [FINTEK] FullControl, MidControl and LowControl (default 0), each its low byte.
    static void ReadStoredDuties(ui::TIniFile& ini, int duties[3]);
    // Counts of the three speeds to 0xA4 to 0xA9.
    void WritePointCounts(std::uint16_t full, std::uint16_t mid, std::uint16_t low);

  private:
    void Construct();
    void Stop(const std::string& message);
    void SizePage(int largeWidth, int largeHeight, int width, int height);
    void PlaceLogo();
    void Layout();
    void LayoutFanPage();
    void LayoutConfigurePage();
    void LayoutSmartFanPage();
    void BindSmartFanHandlers();
    void SmartFanStartupBoardMode(ui::TIniFile& ini);
    void SmartFanStartupMainboard(ui::TIniFile& ini, bool fromBios);
    void BindHandlers();
    ChannelRowSet MakeChannelRows();

    MonitorProgram& program_;
};

// Ends the warning window's showing when it is shown, and forgets the alarm's channel.
void CloseWarning(MonitorProgram& program);

} // namespace monitor
