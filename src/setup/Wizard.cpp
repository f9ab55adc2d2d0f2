// The wizard's construction, its mode, its page changes and its restart.
#include "setup/Wizard.h"

#include "common/Privilege.h"
#include "setup/FolderChooser.h"
#include "setup/Uninstaller.h"
#include "ui/Application.h"

#include <algorithm>
#include <cctype>

namespace setup {

namespace {

std::string WithBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

// The folder part of a path, with its last backslash.
std::string FolderOf(const std::string& path) {
    auto last = path.find_last_of("\\:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

TForm1::TForm1(ui::Application& app, SetupProgram& program)
    : ui::Form(app, "Form1"), PageControl1(this, "PageControl1"),
      TabSheet1(&PageControl1, "TabSheet1"), TabSheet2(&PageControl1, "TabSheet2"),
      TabSheet3(&PageControl1, "TabSheet3"), TabSheet5(&PageControl1, "TabSheet5"),
      TabSheet6(&PageControl1, "TabSheet6"), Image1(&TabSheet1, "Image1"),
      Label1(&TabSheet1, "Label1"), Label2(&TabSheet1, "Label2"), Label3(&TabSheet1, "Label3"),
      Bevel1(&TabSheet1, "Bevel1"), Button1(&TabSheet1, "Button1"), Button2(&TabSheet1, "Button2"),
      Button3(&TabSheet1, "Button3"), Image2(&TabSheet2, "Image2"), Label7(&TabSheet2, "Label7"),
      LabelSor(&TabSheet2, "LabelSor"), Label8(&TabSheet2, "Label8"),
      LabelTrg(&TabSheet2, "LabelTrg"), ProgressBar1(&TabSheet2, "ProgressBar1"),
      Label9(&TabSheet2, "Label9"), ProgressBar2(&TabSheet2, "ProgressBar2"),
      Bevel2(&TabSheet2, "Bevel2"), Button4(&TabSheet2, "Button4"), Button5(&TabSheet2, "Button5"),
      Button6(&TabSheet2, "Button6"), Image3(&TabSheet3, "Image3"), Label10(&TabSheet3, "Label10"),
      Label11(&TabSheet3, "Label11"), RadioButton1(&TabSheet3, "RadioButton1"),
      RadioButton2(&TabSheet3, "RadioButton2"), Bevel3(&TabSheet3, "Bevel3"),
      Button13(&TabSheet3, "Button13"), Button12(&TabSheet3, "Button12"),
      Image5(&TabSheet5, "Image5"), Label12(&TabSheet5, "Label12"), Bevel5(&TabSheet5, "Bevel5"),
      Button9(&TabSheet5, "Button9"), Button7(&TabSheet5, "Button7"), Image6(&TabSheet6, "Image6"),
      Label4(&TabSheet6, "Label4"), Label5(&TabSheet6, "Label5"), Label6(&TabSheet6, "Label6"),
      GroupBox1(&TabSheet6, "GroupBox1"), LabelDestDir(&GroupBox1, "LabelDestDir"),
      Button16(&GroupBox1, "Button16"), Bevel6(&TabSheet6, "Bevel6"),
      Button8(&TabSheet6, "Button8"), Button14(&TabSheet6, "Button14"),
      Button15(&TabSheet6, "Button15"), program_(program) {
    program_.Form1 = this;
    Layout();
    BindHandlers();

    os::System& system = program_.System;
    program_.SetupDir = WithBackslash(FolderOf(system.GetModuleFileName()));
    program_.WinDir = WithBackslash(system.GetWindowsDirectory());
    program_.ExitMessageId = system.RegisterWindowMessage("EXITZarvoORLO");
    program_.OSName = GetOSName(system, app);
    std::string drive = program_.WinDir.size() >= 2 && program_.WinDir[1] == ':'
                            ? program_.WinDir.substr(0, 2)
                            : std::string();
    program_.DestDir = drive + "\\Program Files";
    LabelDestDir.SetCaption(program_.DestDir);
    // Windows without the probe is 32-bit; a failed probe counts the same.
    bool wow64 = false;
    program_.IsWow64 = system.IsWow64Process(wow64) && wow64 ? 1 : 0;

    FormCreate(this);
}

TForm1::~TForm1() {
    if (program_.Form1 == this) program_.Form1 = nullptr;
}

void TForm1::BindHandlers() {
    TabSheet1.OnShow = [this](ui::Component* s) { TabSheet1Show(s); };
    TabSheet2.OnShow = [this](ui::Component* s) { TabSheet2Show(s); };
    TabSheet3.OnShow = [this](ui::Component* s) { TabSheet3Show(s); };
    TabSheet5.OnShow = [this](ui::Component* s) { TabSheet5Show(s); };
    TabSheet6.OnShow = [this](ui::Component* s) { TabSheet6Show(s); };
    Button2.OnClick = [this](ui::Component* s) { Button2Click(s); };
    Button3.OnClick = [this](ui::Component* s) { Button3Click(s); };
    Button7.OnClick = [this](ui::Component* s) { Button7Click(s); };
    Button8.OnClick = [this](ui::Component* s) { Button8Click(s); };
    Button9.OnClick = [this](ui::Component* s) { Button9Click(s); };
    Button12.OnClick = [this](ui::Component* s) { Button12Click(s); };
    Button14.OnClick = [this](ui::Component* s) { Button14Click(s); };
    Button15.OnClick = [this](ui::Component* s) { Button15Click(s); };
    Button16.OnClick = [this](ui::Component* s) { Button16Click(s); };
}

void TForm1::FormCreate(ui::Component*) {
    // The tab row lies above the client area, and the window loses its height.
    PageControl1.SetBounds(0, -22, PageControl1.Width(), PageControl1.Height());
    SetHeight(Height() - 22);

    std::vector<std::string> args = program_.System.GetArguments();
    std::string mode = args.empty() ? std::string() : UpperCase(args[0]);
    if (mode == "-UNINSTALL") {
        PageControl1.SetActivePage(&TabSheet5);
    } else if (mode == "-UNINSTALL_NOW") {
        RemoveInstallation(program_, args.size() > 1 ? args[1] : std::string());
        App().Terminate();
    } else {
        PageControl1.SetActivePage(&TabSheet1);
    }
}

void TForm1::TabSheet1Show(ui::Component*) {
    SetCaption("Welcome");
    Button2.SetFocus();
}

void TForm1::TabSheet2Show(ui::Component*) {
    SetCaption("Copying Files");
}

void TForm1::TabSheet3Show(ui::Component*) {
    SetCaption("Finish");
    Button12.SetFocus();
}

void TForm1::TabSheet5Show(ui::Component*) {
    SetCaption("Uninstall");
    Button9.SetFocus();
}

void TForm1::TabSheet6Show(ui::Component*) {
    SetCaption("Choose Destination Location");
    Button14.SetFocus();
}

void TForm1::Button2Click(ui::Component*) {
    PageControl1.SetActivePage(&TabSheet6);
}

void TForm1::Button3Click(ui::Component*) {
    Close();
}

void TForm1::Button7Click(ui::Component*) {
    Close();
}

void TForm1::Button8Click(ui::Component*) {
    PageControl1.SetActivePage(&TabSheet1);
}

void TForm1::Button15Click(ui::Component*) {
    Close();
}

void TForm1::Button16Click(ui::Component*) {
    TForm2& chooser = *program_.Form2;
    chooser.DirectoryListBox1.SetDirectory(program_.DestDir);
    const std::string& shown = chooser.DirectoryListBox1.Directory();
    if (!shown.empty()) chooser.DriveComboBox1.SetDrive(shown[0]);
    if (chooser.ShowModal() != ui::mrOk) return;
    program_.DestDir = chooser.DirectoryListBox1.Directory();
    LabelDestDir.SetCaption(program_.DestDir);
}

// The window stays: the restart of Windows ends the program, and when it does not happen the
// user may press Finish again.
void TForm1::Button12Click(ui::Component*) {
    if (RadioButton2.Checked()) {
        Close();
        return;
    }
    std::string os = GetOSName(program_.System, App());
    if (os == "32S" || os == "95" || os == "98")
        program_.System.ExitWindowsEx(os::kEwxReboot, 0);
    else
        common::ShutdownWindows(program_.System, os::kEwxReboot);
}

} // namespace setup
