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
      AnimateFan0(&TabSheet1, "AnimateFan0"), AnimateFan1(&TabSheet1, "AnimateFan1"),
      AnimateFan2(&TabSheet1, "AnimateFan2"),
      LabelReflashInterval(&tabSetup, "LabelReflashInterval"),
      EditReflashInterval(&tabSetup, "EditReflashInterval"),
      UpDownInterval(&tabSetup, "UpDownInterval"),
      LabelWarningDefault(&tabSetup, "LabelWarningDefault"),
      ComboBoxWarningDefault(&tabSetup, "ComboBoxWarningDefault"),
      LabelHowToLog(&tabSetup, "LabelHowToLog"), ComboBoxHowToLog(&tabSetup, "ComboBoxHowToLog"),
      CheckBoxHiddenTrayIcon(&tabSetup, "CheckBoxHiddenTrayIcon"),
      CheckBoxLaunch(&tabSetup, "CheckBoxLaunch"),
      GroupBoxWarningTone(&tabSetup, "GroupBoxWarningTone"),
      cbExternalSpeak(&GroupBoxWarningTone, "cbExternalSpeak"),
      cbSysSpeak(&GroupBoxWarningTone, "cbSysSpeak"),
      CheckBoxCPUtoP80(&tabSetup, "CheckBoxCPUtoP80"), gbTransparent(&tabSetup, "gbTransparent"),
      CheckBoxShowTransparentForm(&gbTransparent, "CheckBoxShowTransparentForm"),
      Timer1(this, "Timer1", 1000, false), TimerFanAnimate(this, "TimerFanAnimate", 450, true),
      TimerClearLog(this, "TimerClearLog", 3600000, true),
      PopupMenuTrayIcon(this, "PopupMenuTrayIcon"), Open1(this, "Open1", "&Open"),
      Setup1(this, "Setup1", "&Configure"), N1(this, "N1", "-"),
      ExtraForm1(this, "ExtraForm1", "&Ghost Monitor"), N2(this, "N2", "-"),
      Exit1(this, "Exit1", "&Exit"), TrayIcon1(this, "TrayIcon1"), program_(program) {
    program_.Form1 = this;
    Layout();
    BindHandlers();
    Construct();
}

TForm1::~TForm1() {
    if (program_.Form1 == this) program_.Form1 = nullptr;
}

// The form values of the window and its controls.
void TForm1::Layout() {
    SetCaption("ORLO");
    BorderStyle = ui::TBorderStyle::bsSingle;
    SetBounds(0, 0, 383, 376);
    PanelLogo.Align = ui::TPanel::TAlign::alTop;
    PanelLogo.BevelOuterNone = true;
    PanelLogo.SetBounds(0, 0, 377, 49);
    PanelLogo.SetCaption("PanelLogo");
    ImageLogo.SetBounds(0, 0, 377, 49);
    PageControl1.SetBounds(0, 0, 377, 349);
    TabSheet1.SetCaption("&Fan");
    TabSheetConfigure.SetCaption("&Configure");
    tabSetup.SetCaption("&Setup");
    tabFintekSmartFan.SetCaption("Smart Fan");
    TabSheet5.SetCaption("TabSheet5");

    ui::TAnimate* fans[] = {&AnimateFan0, &AnimateFan1, &AnimateFan2};
    for (int i = 0; i < 3; ++i) {
        fans[i]->SetBounds(8, 8 + 72 * i, 65, 65);
        fans[i]->StopFrame = 6;
    }

    LabelReflashInterval.SetCaption("Reflash Interval");
    LabelReflashInterval.SetBounds(16, 16, 120, 16);
    EditReflashInterval.SetBounds(150, 12, 80, 21);
    UpDownInterval.SetBounds(230, 12, 16, 21);
    UpDownInterval.SetRange(100, 10000);
    UpDownInterval.Increment = 100;
    UpDownInterval.SetPosition(1000);
    LabelWarningDefault.SetCaption("Action when exceed the limitations");
    LabelWarningDefault.SetBounds(16, 48, 200, 16);
    ComboBoxWarningDefault.SetItems({"Ask Me", "Ignore", "Disable", "Shutdown"});
    ComboBoxWarningDefault.SetText("Ask Me");
    ComboBoxWarningDefault.SetBounds(220, 44, 140, 21);
    LabelHowToLog.SetCaption("How to log");
    LabelHowToLog.SetBounds(16, 80, 200, 16);
    ComboBoxHowToLog.SetItems({"Automated", "Log if alert", "Every 1 minute", "Every 5 minute",
                               "Every 10 minute", "Every 30 minute", "Every 1 hour"});
    ComboBoxHowToLog.SetBounds(220, 76, 140, 21);
    CheckBoxHiddenTrayIcon.SetCaption("Hidden tray icon");
    CheckBoxHiddenTrayIcon.SetBounds(16, 108, 200, 17);
    CheckBoxLaunch.SetCaption("&Launch ORLO on startup");
    CheckBoxLaunch.SetBounds(16, 130, 200, 17);
    GroupBoxWarningTone.SetCaption("Warning Tone Device");
    GroupBoxWarningTone.SetBounds(16, 154, 170, 64);
    cbExternalSpeak.SetCaption("External Speaker");
    cbExternalSpeak.SetBounds(10, 18, 150, 17);
    cbSysSpeak.SetCaption("System Speaker");
    cbSysSpeak.SetBounds(10, 40, 150, 17);
    CheckBoxCPUtoP80.SetCaption("Report the CPU temperture to P80");
    CheckBoxCPUtoP80.SetBounds(16, 224, 250, 17);
    gbTransparent.SetCaption("CPU Ghost Monitor");
    gbTransparent.SetBounds(196, 154, 170, 64);
    CheckBoxShowTransparentForm.SetCaption("Show Ghost Monitor");
    CheckBoxShowTransparentForm.SetBounds(10, 18, 150, 17);

    TrayIcon1.Hint = "ORLO hardware monitor";
    TrayIcon1.PopupMenu = &PopupMenuTrayIcon;
    PopupMenuTrayIcon.Items = {&Open1, &Setup1, &N1, &ExtraForm1, &N2, &Exit1};
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

    app.SetScreenCursor(ui::TCursor::crHourGlass);
    os::Handle handle = p.driver.OpenDriver();
    if (handle == os::kInvalidHandle) return;
    p.DriverHandle = handle;
    app.SetScreenCursor(ui::TCursor::crArrow);
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
