// Handlers of the Setup page's options that the settings loader also drives.
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"
#include "ui/IniFile.h"

namespace monitor {

void TForm1::UpDownIntervalChangingEx(ui::Component*, bool& allowChange, short newValue,
                                      ui::TUpDownDirection) {
    if (newValue > 10000 || newValue < 100) {
        allowChange = false;
        return;
    }
    EditReflashInterval.SetText(FormatText("%d.%d sec", newValue / 1000, (newValue % 1000) / 100));
    allowChange = true;
    Timer1.SetInterval(static_cast<std::uint32_t>(newValue));
}

// The interval is chosen with the arrows only.
void TForm1::EditReflashIntervalKeyPress(ui::Component*, char& key) {
    key = 0;
}

// Typed keys are discarded, so only the listed items can be chosen.
void TForm1::ComboBoxWarningDefaultKeyPress(ui::Component*, char& key) {
    key = 0;
}

void TForm1::ComboBoxHowToLogKeyPress(ui::Component*, char& key) {
    key = 0;
}

void TForm1::ComboBoxWarningDefaultChange(ui::Component*) {
    if (program_.Initialized) SaveSettings();
}

void TForm1::ComboBoxHowToLogChange(ui::Component*) {
    if (program_.Initialized) SaveSettings();
}

// The save writes or deletes the logon-start value after the box.
void TForm1::CheckBoxLaunchClick(ui::Component*) {
    if (program_.Initialized) SaveSettings();
}

void TForm1::ImageLogoClick(ui::Component*) {
    if (!Settings.Logo.Url.empty())
        program_.System.ShellExecute(Handle(), "Open", Settings.Logo.Url, "", "",
                                     os::kSwShowNormal);
}

void TForm1::CheckBoxHiddenTrayIconClick(ui::Component*) {
    TrayIcon1.SetVisible(!CheckBoxHiddenTrayIcon.Checked());
    if (program_.Initialized) SaveSettings();
}

void TForm1::CheckBoxCPUtoP80Click(ui::Component*) {
    if (program_.Initialized) SaveSettings();
}

// One of the ghost monitor's three item boxes changed: the library learns all three states, and
// the changed box's key is written at once.
void TForm1::ckTemperatureClick(ui::Component* sender) {
    if (program_.LibraryHandle != os::kNoHandle) SendGhostItems();
    const std::string& name = sender->Name();
    ui::TIniFile ini(program_.System, BoardIniPath());
    if (name == ckTemperature.Name())
        ini.WriteBool("SYSTEM", "TEMPERTURE", ckTemperature.Checked());
    else if (name == ckLoading.Name())
        ini.WriteBool("SYSTEM", "USAGE", ckLoading.Checked());
    else if (name == ckVCore.Name())
        ini.WriteBool("SYSTEM", "VCORE", ckVCore.Checked());
}

} // namespace monitor
