// The drive combo box and the directory list box on the simulated machine's drives and folders.
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/FileCtrl.h"
#include "ui/Form.h"
#include "ui/HeadlessPlatform.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class ChooserForm : public ui::Form {
  public:
    explicit ChooserForm(ui::Application& app)
        : ui::Form(app, "Chooser"), Drives(this, "Drives"), Folders(this, "Folders") {
        Drives.DirList = &Folders;
        Folders.DriveCombo = &Drives;
    }
    ui::TDriveComboBox Drives;
    ui::TDirectoryListBox Folders;
};

class FileCtrlTest : public ::testing::Test {
  protected:
    FileCtrlTest() : sandbox_("filectrl-test"), machine_(sandbox_) {
        machine_.AddDrive('a', os::kDriveRemovable, "", false);
        machine_.AddDrive('d', os::kDriveCdRom, "ORLO", true);
        machine_.AddDrive('e', os::kDriveFixed, "DATA");
        for (const char* folder : {"C:\\Program Files\\Zarvo", "C:\\Program Files\\alpha",
                                   "C:\\Program Files\\Beta", "E:\\Apps"})
            CreateFolders(folder);
        process_ = machine_.StartProcess("C:\\SETUP.EXE");
        platform_ = std::make_unique<ui::HeadlessPlatform>(*process_);
        app_ = std::make_unique<ui::Application>(*process_, *platform_);
        form_ = app_->CreateForm<ChooserForm>();
    }
    ~FileCtrlTest() override {
        app_.reset();
        platform_.reset();
        process_.reset();
    }

    void CreateFolders(const std::string& path) {
        for (size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
            machine_.CreateDirectory(path.substr(0, at));
            if (at == std::string::npos) break;
        }
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (const auto& item : form_->Folders.Items())
            items.push_back(std::string(static_cast<size_t>(item.level) * 2, ' ') + item.text);
        return items;
    }

    TestSandbox sandbox_;
    os::sim::SimMachine machine_;
    std::unique_ptr<os::sim::SimProcess> process_;
    std::unique_ptr<ui::HeadlessPlatform> platform_;
    std::unique_ptr<ui::Application> app_;
    ChooserForm* form_ = nullptr;
};

// Every drive, with the label of the drives that have one ready; C: at first.
TEST_F(FileCtrlTest, DriveBoxListsTheDrives) {
    EXPECT_EQ(form_->Drives.Items(), (std::vector<std::string>{"a:", "c:", "d:", "e: [DATA]"}));
    EXPECT_EQ(form_->Drives.Drive(), 'c');
    EXPECT_EQ(form_->Drives.Caption(), "c:");
}

// The way from the root to the current folder, then its sub-folders in name order; a folder
// given in another case or through "..", or one that is missing, gives the folder as it is.
TEST_F(FileCtrlTest, DirectoryListShowsTheWayAndTheSubFolders) {
    struct Case {
        const char* path;
        const char* directory;
    };
    const std::vector<Case> cases = {
        {"c:\\program files", "C:\\Program Files"},
        {"C:\\Program Files\\Zarvo\\..\\", "C:\\Program Files"},
        {"C:\\Program Files\\Missing\\Deeper", "C:\\Program Files"},
        {"C:\\", "C:\\"},
    };
    for (const Case& c : cases) {
        form_->Folders.SetDirectory(c.path);
        EXPECT_EQ(form_->Folders.Directory(), c.directory) << c.path;
    }
    form_->Folders.SetDirectory("C:\\Program Files");
    EXPECT_EQ(Items(), (std::vector<std::string>{"C:\\", "  Program Files", "    alpha", "    Beta",
                                                 "    Zarvo"}));
    EXPECT_EQ(form_->Folders.ItemIndex(), 1);
    // No drive, or a drive without a disk: nothing changes.
    for (const char* path : {"Program Files", "Q:\\", "A:\\"}) {
        form_->Folders.SetDirectory(path);
        EXPECT_EQ(form_->Folders.Directory(), "C:\\Program Files") << path;
    }
}

// One click highlights a folder; a double click opens it, and the way's folders open too.
TEST_F(FileCtrlTest, DoubleClickOpensAFolder) {
    form_->Folders.SetDirectory("C:\\Program Files");
    int changes = 0;
    form_->Folders.OnChange = [&](ui::Component*) { ++changes; };
    form_->Folders.UserSelect(4);
    EXPECT_EQ(form_->Folders.ItemIndex(), 4);
    EXPECT_EQ(form_->Folders.Directory(), "C:\\Program Files");
    form_->Folders.UserOpen(4);
    EXPECT_EQ(form_->Folders.Directory(), "C:\\Program Files\\Zarvo");
    form_->Folders.UserOpen(0);
    EXPECT_EQ(form_->Folders.Directory(), "C:\\");
    EXPECT_EQ(changes, 2);
}

// Picking a drive shows it (its last folder, or its root); a drive without a disk is refused;
// opening a folder on another drive moves the drive box along.
TEST_F(FileCtrlTest, LinkedDriveBoxAndDirectoryList) {
    form_->Folders.SetDirectory("C:\\Program Files");
    form_->Drives.UserSelect(3); // e:
    EXPECT_EQ(form_->Folders.Directory(), "E:\\");
    form_->Folders.UserOpen(1); // Apps
    EXPECT_EQ(form_->Folders.Directory(), "E:\\Apps");
    form_->Drives.UserSelect(1); // c: again, where the list was
    EXPECT_EQ(form_->Folders.Directory(), "C:\\Program Files");
    form_->Drives.UserSelect(0); // a: has no disk
    EXPECT_EQ(form_->Drives.Drive(), 'c');
    EXPECT_EQ(form_->Folders.Directory(), "C:\\Program Files");
    form_->Folders.SetDirectory("D:\\");
    EXPECT_EQ(form_->Drives.Drive(), 'd');
    EXPECT_EQ(form_->Drives.Caption(), "d:");
}

} // namespace
