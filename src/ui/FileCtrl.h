// The drive combo box and the directory list box, over os::System's drives and folders. Linked,
// picking a drive shows that drive's folders, and opening a folder in the list shows the drive
// it lies on.
#pragma once

#include "ui/Control.h"

#include <map>
#include <string>
#include <vector>

namespace ui {

class TDirectoryListBox;

// The machine's drives, one item each ("c: [SYSTEM]"), the current one selected.
class TDriveComboBox : public Control {
  public:
    TDriveComboBox(Control* parent, std::string name);
    bool TakesFocus() const override { return true; }

    const std::vector<std::string>& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    // The current drive's letter, in lower case; 0 when the machine has none.
    char Drive() const;
    // Makes `letter` (either case) the current drive; a linked directory list then shows that
    // drive. A letter that is no drive of the machine changes nothing.
    void SetDrive(char letter);
    // Lists the drives again (a disk inserted, a network drive connected).
    void Refresh();

    TDirectoryListBox* DirList = nullptr;
    TNotifyEvent OnChange;

    // The user picks the item at `index`. A drive the directory list cannot show (no disk in
    // it) is refused: the previous drive stays selected.
    void UserSelect(int index);

  private:
    friend class TDirectoryListBox;
    // Selects the item of `letter` without going to the drive.
    void ShowDrive(char letter);

    std::vector<std::string> items_;
    std::vector<char> letters_;
    int itemIndex_ = -1;
};

// The folders on the way from the drive's root to the current folder, then the current
// folder's sub-folders, in a tree list; opening an item makes it the current folder.
class TDirectoryListBox : public Control {
  public:
    struct Item {
        std::string text;
        std::string path;
        int level = 0;
        bool open = false; // on the way to the current folder (drawn as an open folder)
    };

    TDirectoryListBox(Control* parent, std::string name);
    bool TakesFocus() const override { return true; }

    // The current folder: "C:\" for a root, else without a trailing backslash, each name
    // spelled as the folder is.
    const std::string& Directory() const { return directory_; }
    // Goes to `path`; a folder that does not exist gives its nearest existing parent, and a
    // path on no drive, or on a drive without a disk, changes nothing. A linked drive box
    // follows the drive.
    void SetDirectory(const std::string& path);
    char Drive() const;
    // Goes to the folder last shown on that drive (its root at first); false when the drive
    // cannot be shown.
    bool SetDrive(char letter);

    const std::vector<Item>& Items() const { return items_; }
    // The highlighted item (the current folder unless the user moved the highlight).
    int ItemIndex() const { return itemIndex_; }

    TDriveComboBox* DriveCombo = nullptr;
    TNotifyEvent OnChange;

    // The user highlights an item (one click) or opens it (a double click, or Enter).
    void UserSelect(int index);
    void UserOpen(int index);

  private:
    // The existing folder `path` names, spelled as on the disk; empty when there is none.
    std::string Resolve(const std::string& path) const;
    void BuildItems();

    std::string directory_;
    std::vector<Item> items_;
    int itemIndex_ = -1;
    std::map<char, std::string> lastFolder_; // by lower-case drive letter
};

} // namespace ui
