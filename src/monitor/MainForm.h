// The monitor's main window: the Fan, Configure, Setup and Smart Fan pages, the tray icon and
// the polling timer. Its construction brings the hardware up through the driver.
#pragma once

#include "monitor/MonitorProgram.h"
#include "monitor/Settings.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

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

    // --- controls ------------------------------------------------------------------------
    ui::TPanel PanelLogo;
    ui::TImage ImageLogo;
    ui::TPageControl PageControl1;
    ui::TTabSheet TabSheet1;
    ui::TTabSheet TabSheetConfigure;
    ui::TTabSheet tabSetup;
    ui::TTabSheet tabFintekSmartFan;
    ui::TTabSheet TabSheet5;

    // Fan page
    ui::TAnimate AnimateFan0;
    ui::TAnimate AnimateFan1;
    ui::TAnimate AnimateFan2;

    // Setup page
    ui::TLabel LabelReflashInterval;
    ui::TEdit EditReflashInterval;
    ui::TUpDown UpDownInterval;
    ui::TLabel LabelWarningDefault;
    ui::TComboBox ComboBoxWarningDefault;
    ui::TLabel LabelHowToLog;
    ui::TComboBox ComboBoxHowToLog;
    ui::TCheckBox CheckBoxHiddenTrayIcon;
    ui::TCheckBox CheckBoxLaunch;
    ui::TGroupBox GroupBoxWarningTone;
    ui::TCheckBox cbExternalSpeak;
    ui::TCheckBox cbSysSpeak;
    ui::TCheckBox CheckBoxCPUtoP80;
    ui::TGroupBox gbTransparent;
    ui::TCheckBox CheckBoxShowTransparentForm;

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

    // --- steps that the settings, polling, log and smart-fan code fill ----------------------
    void LoadSettings();
    bool IsLaunchOnStartup();
    void TrimLogFile();
    void SaveSettings();
    void RestoreBiosFanSettings();
    void PageControl1Change(ui::Component* sender);
    void LoadGhostLibrary();
    void UnloadGhostLibrary();
    void Timer1Timer(ui::Component* sender);
    void TimerFanAnimateTimer(ui::Component* sender);
    void TimerClearLogTimer(ui::Component* sender);

    // The board INI's full path.
    std::string BoardIniPath() const { return program_.ExeDir + BoardIniName; }

  private:
    void Construct();
    void Stop(const std::string& message);
    void SizePage(int largeWidth, int largeHeight, int width, int height);
    void PlaceLogo();
    void Layout();
    void BindHandlers();

    MonitorProgram& program_;
};

} // namespace monitor
