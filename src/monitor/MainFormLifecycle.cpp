// The main window's activation, window procedure, close and destruction, the tray and menu
// handlers and the page show handlers.
#include "monitor/AttentionDialog.h"
#include "monitor/DutyCycleForm.h"
#include "monitor/MainForm.h"
#include "monitor/WarningForm.h"
#include "ui/Application.h"
#include "ui/IniFile.h"

namespace monitor {

void TForm1::FormActivate(ui::Component*) {
    MonitorProgram& p = program_;
    if (p.FirstActivation) {
        TrayIcon1.Minimize();
        p.FirstActivation = false;
        LoadGhostLibrary();
        if (p.frmDutyCycleForm) {
            p.frmDutyCycleForm->SetFullSpeedRpm(FullSpeedRpm);
            p.frmDutyCycleForm->SetDevice(p.DriverHandle);
        }
    }
    if (Settings.Shutdown) {
        Settings.Shutdown = false;
        int result = p.OKBottomDlgAttention ? p.OKBottomDlgAttention->ShowModal() : ui::mrCancel;
        ComboBoxWarningDefault.SetText(result == ui::mrOk ? "Shutdown" : "Ask Me");
    }
    ui::TIniFile ini(p.System, BoardIniPath());
    bool external = ini.ReadBool("SYSTEM", "EXTSPK", false);
    bool system = ini.ReadBool("SYSTEM", "SYSSPK", false);
    if (p.FormWarning) {
        p.FormWarning->ExternalSpeaker = external;
        p.FormWarning->SystemSpeaker = system;
    }
    cbExternalSpeak.SetChecked(external);
    cbSysSpeak.SetChecked(system);
    Timer1.SetInterval(100);
    Timer1.SetEnabled(true);
}

void TForm1::WndProc(ui::TMessage& message) {
    MonitorProgram& p = program_;
    if (message.Msg == p.ExitMessageId && p.ExitMessageId != 0) {
        App().Terminate();
    } else if (message.Msg == p.OpenMessageId && p.OpenMessageId != 0) {
        TrayIcon1.Restore();
        PageControl1.SetActivePage(&TabSheet1);
    } else if (message.Msg == ui::WM_POWERBROADCAST && message.WParam == ui::PBT_APMRESUMESUSPEND &&
               p.ChipId == 0x91) {
        p.SavedVCore = p.driver.SetVCore(p.DriverHandle, 1, 0);
    }
    ui::Form::WndProc(message);
}

void TForm1::FormClose(ui::Component*, ui::TCloseAction&) {
    MonitorProgram& p = program_;
    Timer1.SetEnabled(false);
    if (p.ChipId == 0x91) p.driver.SetVCore(p.DriverHandle, 0, p.SavedVCore);
    // The BIOS snapshot exists only where the smart-fan start-up took it.
    if (p.ChipId == 0x92 && p.SmartFanEnabled) RestoreBiosFanSettings();
}

void TForm1::FormDestroy(ui::Component*) {
    MonitorProgram& p = program_;
    if (p.Initialized) SaveSettings();
    p.CpuTempAverage.reset();
    p.driver.CloseDriver();
    if (p.LibraryHandle != os::kNoHandle) UnloadGhostLibrary();
}

void TForm1::TrayIcon1Click(ui::Component*) {
    TrayIcon1.Restore();
}

void TForm1::TrayIcon1Restore(ui::Component*) {
    PageControl1.SetActivePage(&TabSheet1);
}

void TForm1::Open1Click(ui::Component*) {
    TrayIcon1.Restore();
    PageControl1.SetActivePage(&TabSheet1);
}

void TForm1::Setup1Click(ui::Component*) {
    TrayIcon1.Restore();
    PageControl1.SetActivePage(&TabSheetConfigure);
    PageControl1Change(&PageControl1);
}

void TForm1::Exit1Click(ui::Component*) {
    Close();
}

void TForm1::SizePage(int largeWidth, int largeHeight, int width, int height) {
    if (App().ScreenPixelsPerInch() > 96)
        SetBounds(Left(), Top(), largeWidth, largeHeight);
    else
        SetBounds(Left(), Top(), width, height);
    // The pages fill the window; the logo panel, when shown, goes below them.
    PageControl1.SetBounds(0, 0, ClientWidth(), ClientHeight());
}

void TForm1::PlaceLogo() {
    const TLOGO& logo = Settings.Logo;
    if (!logo.Enabled) {
        PanelLogo.SetVisible(false);
        return;
    }
    PanelLogo.SetVisible(true);
    SetHeight(Height() + PanelLogo.Height());
    PanelLogo.SetBounds(0, PageControl1.Height(), ClientWidth(), PanelLogo.Height());
    ImageLogo.SetBounds(1, 1, ClientWidth() - 2, PanelLogo.Height() - 2);
    ImageLogo.Transparent = logo.Transparent;
    ImageLogo.Stretch = logo.Stretch;
    ImageLogo.Center = logo.Center;
    ImageLogo.LoadFromFile(program_.ExeDir + logo.FileName);
    if (!logo.Url.empty()) ImageLogo.SetCursor(ui::TCursor::crHandPoint);
}

void TForm1::TabSheet1Show(ui::Component*) {
    PanelLogo.SetCaption("");
    TimerFanAnimate.SetInterval(1);
    TimerFanAnimate.SetEnabled(true);
    SizePage(480, 455, 383, 376);
    PlaceLogo();
}

void TForm1::TabSheetConfigureShow(ui::Component*) {
    PanelLogo.SetCaption("");
    TimerFanAnimate.SetEnabled(false);
    SizePage(676, 418, 555, 338);
    PlaceLogo();
}

void TForm1::tabSetupShow(ui::Component*) {
    PanelLogo.SetCaption("");
    TimerFanAnimate.SetEnabled(false);
    SizePage(383, 400, 383, 366);
    PlaceLogo();
}

void TForm1::cbExternalSpeakClick(ui::Component*) {
    if (program_.FormWarning) program_.FormWarning->ExternalSpeaker = cbExternalSpeak.Checked();
    ui::TIniFile(program_.System, BoardIniPath())
        .WriteBool("SYSTEM", "EXTSPK", cbExternalSpeak.Checked());
}

void TForm1::cbSysSpeakClick(ui::Component*) {
    if (program_.FormWarning) program_.FormWarning->SystemSpeaker = cbSysSpeak.Checked();
    ui::TIniFile(program_.System, BoardIniPath())
        .WriteBool("SYSTEM", "SYSSPK", cbSysSpeak.Checked());
}

void TForm1::TimerFanAnimateTimer(ui::Component*) {
    TimerFanAnimate.SetInterval(450);
    ui::TAnimate* fans[] = {&AnimateFan0, &AnimateFan1, &AnimateFan2};
    for (int i = 0; i < 3; ++i)
        if (program_.FanSpinning[i]) fans[i]->Play(1, 6, 1);
}

void TForm1::TimerClearLogTimer(ui::Component*) {
    TrimLogFile();
}

} // namespace monitor
