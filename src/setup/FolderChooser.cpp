#include "setup/FolderChooser.h"

namespace setup {

TForm2::TForm2(ui::Application& app, SetupProgram&)
    : ui::Form(app, "Form2"), Label1(this, "Label1"), Label2(this, "Label2"),
      DriveComboBox1(this, "DriveComboBox1"), Label3(this, "Label3"),
      DirectoryListBox1(this, "DirectoryListBox1"), Button1(this, "Button1"),
      Button2(this, "Button2") {
    SetCaption("Choose Directory");
    BorderStyle = ui::TBorderStyle::bsDialog;
    BorderIcons = 0;
    SetBounds(0, 0, 234, 308);
    Label1.SetCaption("Please choose the directory for installation.");
    // Two lines: the sentence is wider than the window in the dialog font of 2000 and XP.
    Label1.WordWrap = true;
    Label1.SetBounds(8, 4, 214, 26);
    Label2.SetCaption("Drives:");
    Label2.SetBounds(8, 30, 100, 16);
    DriveComboBox1.SetBounds(8, 48, 214, 21);
    Label3.SetCaption("Directories:");
    Label3.SetBounds(8, 78, 100, 16);
    DirectoryListBox1.SetBounds(8, 96, 214, 140);
    Button1.SetCaption("Ok");
    Button1.SetBounds(32, 246, 75, 25);
    Button1.ModalResult = ui::mrOk;
    Button2.SetCaption("Cancel");
    Button2.SetBounds(121, 246, 75, 25);
    Button2.ModalResult = ui::mrCancel;
    // Esc cancels, as in every such window.
    Button2.Cancel = true;
    DriveComboBox1.DirList = &DirectoryListBox1;
    DirectoryListBox1.DriveCombo = &DriveComboBox1;
    // Ok has the focus whenever the window opens.
    ActiveControl = &Button1;
    OnShow = [this](ui::Component*) { Button1.SetFocus(); };
}

} // namespace setup
