// The installer's main window: a wizard of five pages (welcome, destination, copying, restart,
// confirm removal) whose tab row lies out of sight, so that only its buttons change the page.
#pragma once

#include "setup/SetupProgram.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

#include <string>

namespace setup {

// The installer's OS name: "32S", "95", "98" (every 9x version after 95, ME included), "NT3",
// "NT4", "2000", "XP", "SERVER2003", or empty for a later version or another platform. A failed
// version query shows "Error in GetVersionEx" and gives the empty name.
std::string GetOSName(os::System& system, ui::Application& app);
std::string OSNameOf(const os::VersionInfo& version);

// True when the service-control manager opens for all access: the installer's test for
// administrator rights.
bool IsAdministrator(os::System& system);

class TForm1 : public ui::Form {
  public:
    TForm1(ui::Application& app, SetupProgram& program);
    ~TForm1() override;

    SetupProgram& Program() { return program_; }

    ui::TPageControl PageControl1;
    ui::TTabSheet TabSheet1;
    ui::TTabSheet TabSheet2;
    ui::TTabSheet TabSheet3;
    ui::TTabSheet TabSheet5;
    ui::TTabSheet TabSheet6;

    // Welcome.
    ui::TImage Image1;
    ui::TLabel Label1;
    ui::TLabel Label2;
    ui::TLabel Label3;
    ui::TBevel Bevel1;
    ui::TButton Button1;
    ui::TButton Button2;
    ui::TButton Button3;

    // Copying.
    ui::TImage Image2;
    ui::TLabel Label7;
    ui::TLabel LabelSor;
    ui::TLabel Label8;
    ui::TLabel LabelTrg;
    ui::TProgressBar ProgressBar1;
    ui::TLabel Label9;
    ui::TProgressBar ProgressBar2;
    ui::TBevel Bevel2;
    ui::TButton Button4;
    ui::TButton Button5;
    ui::TButton Button6;

    // Restart.
    ui::TImage Image3;
    ui::TLabel Label10;
    ui::TLabel Label11;
    ui::TRadioButton RadioButton1;
    ui::TRadioButton RadioButton2;
    ui::TBevel Bevel3;
    ui::TButton Button13;
    ui::TButton Button12;

    // Confirm removal.
    ui::TImage Image5;
    ui::TLabel Label12;
    ui::TBevel Bevel5;
    ui::TButton Button9;
    ui::TButton Button7;

    // Destination.
    ui::TImage Image6;
    ui::TLabel Label4;
    ui::TLabel Label5;
    ui::TLabel Label6;
    ui::TGroupBox GroupBox1;
    ui::TLabel LabelDestDir;
    ui::TButton Button16;
    ui::TBevel Bevel6;
    ui::TButton Button8;
    ui::TButton Button14;
    ui::TButton Button15;

    // Runs once after construction: the tab row out of sight, the mode from the command line.
    void FormCreate(ui::Component* sender);

    void TabSheet1Show(ui::Component* sender);
    void TabSheet2Show(ui::Component* sender);
    void TabSheet3Show(ui::Component* sender);
    void TabSheet5Show(ui::Component* sender);
    void TabSheet6Show(ui::Component* sender);

    void Button2Click(ui::Component* sender);  // Next on the welcome page
    void Button3Click(ui::Component* sender);  // Cancel on the welcome page
    void Button7Click(ui::Component* sender);  // No: keep the installation
    void Button8Click(ui::Component* sender);  // Back to the welcome page
    void Button9Click(ui::Component* sender);  // Yes: hand the removal to a temporary copy
    void Button12Click(ui::Component* sender); // Finish: restart now or later
    void Button14Click(ui::Component* sender); // Next on the destination page: the install step
    void Button15Click(ui::Component* sender); // Cancel on the destination page
    void Button16Click(ui::Component* sender); // the folder chooser

  private:
    void Layout();
    void LayoutPage(ui::TImage& image, ui::TBevel& bevel);
    void BindHandlers();
    // One file of the install step: shown on the copying page, copied over any earlier copy
    // (read-only or not) and left with normal attributes; `failure` is shown when the copy
    // fails. The six fixed files and the board INIs advance the file bar.
    void CopyFileShown(const std::string& source, const std::string& target,
                       const std::string& failure, bool advance);
    void CopyBoardFiles(const std::string& boardIni);

    SetupProgram& program_;
};

} // namespace setup
