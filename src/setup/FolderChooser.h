// The installer's folder chooser: a drive list linked to a directory list, Ok and Cancel.
#pragma once

#include "setup/SetupProgram.h"
#include "ui/FileCtrl.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace setup {

class TForm2 : public ui::Form {
  public:
    TForm2(ui::Application& app, SetupProgram& program);

    ui::TLabel Label1;
    ui::TLabel Label2;
    ui::TDriveComboBox DriveComboBox1;
    ui::TLabel Label3;
    ui::TDirectoryListBox DirectoryListBox1;
    ui::TButton Button1;
    ui::TButton Button2;
};

} // namespace setup
