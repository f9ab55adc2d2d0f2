// The program entry: the application titled "Setup", the wizard, the folder chooser and the
// message loop. The installer has no single-instance guard.
#include "setup/FolderChooser.h"
#include "setup/SetupProgram.h"
#include "setup/Wizard.h"
#include "ui/Application.h"

namespace setup {

int SetupMain(os::System& system, ui::Platform& platform) {
    ui::Application app(system, platform);
    app.Title = "Setup";
    SetupProgram program(system, app);
    try {
        program.Form1 = app.CreateForm<TForm1>(program);
        program.Form2 = app.CreateForm<TForm2>(program);
        app.Run();
    } catch (const ui::Exception& e) {
        app.ShowException(e);
    }
    app.DestroyForms();
    return 0;
}

} // namespace setup
