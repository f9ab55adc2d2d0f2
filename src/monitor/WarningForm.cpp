#include "monitor/WarningForm.h"

#include "common/Privilege.h"
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"

namespace monitor {

const char* const kChannelKeys[kChannelCount] = {"fan0",  "fan1", "fan2", "temp0", "temp1",
                                                 "temp2", "vin0", "vin1", "vin2",  "vin3",
                                                 "vin4",  "vin5", "vin6", "vin7",  "vin8"};

int ChannelKeyIndex(const std::string& key) {
    for (int i = 0; i < kChannelCount; ++i)
        if (key == kChannelKeys[i]) return i;
    return -1;
}

namespace {

constexpr std::uint32_t kShortPathBuffer = 255;

// The drive of a path: "C:" for a drive letter, "\\server\share" for a network path, else empty.
std::string DriveOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        size_t server = path.find('\\', 2);
        if (server == std::string::npos) return path;
        size_t share = path.find('\\', server + 1);
        return share == std::string::npos ? path : path.substr(0, share);
    }
    return "";
}

// The folder of a path: up to its last backslash or colon, without a trailing backslash unless
// that follows a colon or another backslash (a root keeps it).
std::string FolderOf(const std::string& path) {
    size_t last = path.find_last_of("\\:");
    if (last == std::string::npos) return "";
    size_t length = last + 1;
    if (last > 0 && path[last] == '\\' && path[last - 1] != '\\' && path[last - 1] != ':')
        length = last;
    return path.substr(0, length);
}

bool IsWin9xFamily(const std::string& os) {
    return os == "32S" || os == "95" || os == "98" || os == "ME";
}

// The monitor box of the channel at `index` in key order.
ui::TCheckBox* MonitorBoxOf(TForm1& form, int index) {
    if (index < kFanCount) return form.ChannelRows.Fan[index].MonitorBox;
    index -= kFanCount;
    if (index < kTempCount) return form.ChannelRows.Temperature[index].MonitorBox;
    index -= kTempCount;
    return form.ChannelRows.Voltage[index].MonitorBox;
}

} // namespace

std::string Nt4ShutdownCommand(os::System& system, const std::string& batchPath) {
    std::string folder = FolderOf(batchPath);
    std::string shortFolder;
    std::uint32_t length = system.GetShortPathName(folder, shortFolder, kShortPathBuffer);
    // No short form, or one that does not fit the buffer: the batch file gets the long form.
    if (length == 0 || length >= kShortPathBuffer) shortFolder = folder;
    return FormatText("\"%s\" %s %s", batchPath.c_str(), DriveOf(batchPath).c_str(),
                      shortFolder.c_str());
}

TFormWarning::TFormWarning(ui::Application& app, MonitorProgram& program)
    : ui::Form(app, "FormWarning"), Label1(this, "Label1"), LabelMsg(this, "LabelMsg"),
      LabelIgnore(this, "LabelIgnore"), Label4(this, "Label4"), Label5(this, "Label5"),
      IgnoreButton(this, "IgnoreButton"), DisalbeButton(this, "DisalbeButton"),
      ShutdownButton(this, "ShutdownButton"), LabelDateTime(this, "LabelDateTime"),
      Timer1(this, "Timer1", 500, false), program_(program) {
    SetCaption("ORLO");
    BorderStyle = ui::TBorderStyle::bsSingle;
    BorderIcons = 0;
    ActiveControl = &IgnoreButton;
    SetBounds(0, 0, 356, 283);
    Label1.SetCaption("Warning!!");
    Label1.SetFontColor(ui::clRed);
    Label1.SetFontStyle(ui::fsBold);
    Label1.SetFontSize(14);
    Label1.SetBounds(120, 8, 120, 24);
    LabelMsg.SetCaption("Your FAN 1 Speed exceed the limit");
    LabelMsg.SetFontColor(ui::clBlue);
    LabelMsg.SetFontStyle(ui::fsBold);
    LabelMsg.SetBounds(16, 40, 320, 16);
    LabelIgnore.SetCaption("Ignore this warning message");
    LabelIgnore.SetFontStyle(ui::fsBold);
    LabelIgnore.SetBounds(112, 96, 230, 16);
    Label4.SetCaption("No more monitor this item");
    Label4.SetFontStyle(ui::fsBold);
    Label4.SetBounds(112, 136, 230, 16);
    Label5.SetCaption("Exit Windows Now");
    Label5.SetFontStyle(ui::fsBold);
    Label5.SetBounds(112, 176, 230, 16);
    IgnoreButton.SetCaption("&Ignore");
    IgnoreButton.SetBounds(16, 90, 81, 25);
    DisalbeButton.SetCaption("&Disable");
    DisalbeButton.SetBounds(16, 130, 81, 25);
    ShutdownButton.SetCaption("&ShutDown");
    ShutdownButton.SetBounds(16, 170, 81, 25);
    LabelDateTime.SetCaption("00/00/00 00:00:00 PM");
    LabelDateTime.SetFontColor(ui::clBlue);
    LabelDateTime.SetFontStyle(ui::fsBold);
    LabelDateTime.SetBounds(16, 64, 320, 16);

    IgnoreButton.OnClick = [this](ui::Component* s) { IgnoreButtonClick(s); };
    DisalbeButton.OnClick = [this](ui::Component* s) { DisalbeButtonClick(s); };
    ShutdownButton.OnClick = [this](ui::Component* s) { ShutdownButtonClick(s); };
    OnActivate = [this](ui::Component* s) { FormActivate(s); };
    OnHide = [this](ui::Component* s) { FormHide(s); };
    Timer1.OnTimer = [this](ui::Component* s) { Timer1Timer(s); };

    // The main window was built first, so the settings (and the batch path) are loaded.
    std::string os = GetOSName(program_.System, app);
    if (os == "NT3" || os == "NT4") {
        bool batch =
            program_.Form1 && program_.System.FileExists(program_.Form1->Settings.Nt4BatchFile);
        if (!batch) ShutdownButton.SetEnabled(false);
    }
    ExternalSpeaker = false;
    SystemSpeaker = false;
}

void TFormWarning::IgnoreButtonClick(ui::Component*) {
    int index = ChannelKeyIndex(program_.AlarmChannel);
    if (index < 0) return;
    program_.IgnoreFlags[index] = true;
    Close();
}

void TFormWarning::DisalbeButtonClick(ui::Component*) {
    int index = ChannelKeyIndex(program_.AlarmChannel);
    if (index < 0) return;
    // Unchecking runs the box's click handling: limits unlocked and the settings saved.
    if (program_.Form1) MonitorBoxOf(*program_.Form1, index)->SetChecked(false);
    Close();
}

void TFormWarning::ShutdownButtonClick(ui::Component*) {
    os::System& system = program_.System;
    StopSound();
    std::string os = GetOSName(system, App());
    std::string batch = program_.Form1 ? program_.Form1->Settings.Nt4BatchFile : std::string();
    if (IsWin9xFamily(os))
        system.ExitWindowsEx(os::kEwxShutdown, 0);
    else if (os == "NT4" && system.FileExists(batch))
        system.WinExec(Nt4ShutdownCommand(system, batch), os::kSwShowNormal);
    else
        common::ShutdownWindows(system, os::kEwxPowerOff);
    // The program ends whether or not the request succeeded.
    if (program_.Form1) program_.Form1->Close();
}

void TFormWarning::StartSound() {
    program_.System.PlaySound("warning.wav", os::kSndFilename | os::kSndLoop | os::kSndAsync);
}

void TFormWarning::StopSound() {
    program_.System.PlaySound(nullptr, 0);
}

void TFormWarning::FormActivate(ui::Component*) {
    if (ExternalSpeaker) StartSound();
    if (SystemSpeaker) Timer1.SetEnabled(true);
}

void TFormWarning::FormHide(ui::Component*) {
    if (ExternalSpeaker) StopSound();
    if (SystemSpeaker) {
        SpeakerOff();
        Timer1.SetEnabled(false);
    }
}

void TFormWarning::Timer1Timer(ui::Component*) {
    if (ToneToggle == 0)
        SpeakerTone(0x04, 0x17);
    else
        SpeakerTone(0x02, 0x0B);
    ToneToggle = ToneToggle == 0 ? 1 : 0;
}

void TFormWarning::SpeakerTone(std::uint8_t high, std::uint8_t low) {
    program_.driver.SpeakerTone(program_.DriverHandle, high, low);
}

void TFormWarning::SpeakerOff() {
    program_.driver.SpeakerOff(program_.DriverHandle);
}

} // namespace monitor
