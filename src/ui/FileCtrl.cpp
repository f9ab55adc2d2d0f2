#include "ui/FileCtrl.h"

#include "ui/Application.h"

#include <algorithm>
#include <cctype>

namespace ui {

namespace {

char LowerLetter(char letter) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = LowerLetter(c);
    return text;
}

std::string RootOf(char letter) {
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))) +
           ":\\";
}

// A folder's path below `parent`: a root ends in its backslash already.
std::string Join(const std::string& parent, const std::string& name) {
    return parent.back() == '\\' ? parent + name : parent + "\\" + name;
}

// The names of a path after its drive, "." and ".." resolved.
std::vector<std::string> NamesOf(const std::string& path) {
    std::vector<std::string> names;
    std::string name;
    for (size_t i = 2; i <= path.size(); ++i) {
        char c = i < path.size() ? path[i] : '\\';
        if (c != '\\' && c != '/') {
            name += c;
            continue;
        }
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        name.clear();
    }
    return names;
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// Drives whose label can be read without waiting for a disk.
bool ShowsLabel(std::uint32_t type) {
    return type == os::kDriveFixed || type == os::kDriveRemote || type == os::kDriveRamDisk;
}

} // namespace

// --- TDriveComboBox ----------------------------------------------------------------------------

TDriveComboBox::TDriveComboBox(Control* parent, std::string name)
    : Control(parent, std::move(name)) {
    Refresh();
}

char TDriveComboBox::Drive() const {
    return itemIndex_ >= 0 ? letters_[static_cast<size_t>(itemIndex_)] : 0;
}

void TDriveComboBox::Refresh() {
    os::System& system = App()->System();
    char current = Drive();
    items_.clear();
    letters_.clear();
    std::uint32_t mask = system.GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit) {
        if (!(mask & (1u << bit))) continue;
        char letter = static_cast<char>('a' + bit);
        std::string text = std::string(1, letter) + ":";
        std::string root = RootOf(letter);
        if (ShowsLabel(system.GetDriveType(root))) {
            std::string label = system.GetVolumeLabel(root);
            if (!label.empty()) text += " [" + label + "]";
        }
        items_.push_back(text);
        letters_.push_back(letter);
    }
    itemIndex_ = -1;
    if (!current && !letters_.empty()) {
        bool hasC = std::find(letters_.begin(), letters_.end(), 'c') != letters_.end();
        current = hasC ? 'c' : letters_.front();
    }
    Notify(Prop::Items);
    ShowDrive(current);
}

void TDriveComboBox::ShowDrive(char letter) {
    auto it = std::find(letters_.begin(), letters_.end(), LowerLetter(letter));
    if (it == letters_.end()) return;
    int index = static_cast<int>(it - letters_.begin());
    if (index == itemIndex_) return;
    itemIndex_ = index;
    SetCaption(items_[static_cast<size_t>(index)]);
    Notify(Prop::ItemIndex);
}

void TDriveComboBox::SetDrive(char letter) {
    letter = LowerLetter(letter);
    if (letter == Drive() || std::find(letters_.begin(), letters_.end(), letter) == letters_.end())
        return;
    if (DirList && !DirList->SetDrive(letter)) return;
    ShowDrive(letter);
    if (OnChange) OnChange(this);
}

void TDriveComboBox::UserSelect(int index) {
    if (!Enabled() || index < 0 || index >= static_cast<int>(letters_.size())) return;
    SetDrive(letters_[static_cast<size_t>(index)]);
    // Refused: the window shows the drive that stays.
    if (itemIndex_ != index) Notify(Prop::ItemIndex);
}

// --- TDirectoryListBox ----------------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(Control* parent, std::string name)
    : Control(parent, std::move(name)) {}

char TDirectoryListBox::Drive() const {
    return directory_.empty() ? 0 : LowerLetter(directory_[0]);
}

std::string TDirectoryListBox::Resolve(const std::string& path) const {
    if (!HasDrive(path)) return "";
    os::System& system = App()->System();
    std::string current = RootOf(path[0]);
    std::vector<std::string> folders;
    if (!system.ListFolders(current, folders)) return "";
    for (const std::string& name : NamesOf(path)) {
        auto match = std::find_if(folders.begin(), folders.end(), [&](const std::string& folder) {
            return Lower(folder) == Lower(name);
        });
        if (match == folders.end()) break;
        current = Join(current, *match);
        if (!system.ListFolders(current, folders)) break;
    }
    return current;
}

void TDirectoryListBox::SetDirectory(const std::string& path) {
    std::string resolved = Resolve(path);
    if (resolved.empty() || resolved == directory_) return;
    directory_ = resolved;
    lastFolder_[Drive()] = directory_;
    BuildItems();
    if (DriveCombo) DriveCombo->ShowDrive(Drive());
    if (OnChange) OnChange(this);
}

bool TDirectoryListBox::SetDrive(char letter) {
    letter = LowerLetter(letter);
    if (letter == Drive()) return true;
    auto last = lastFolder_.find(letter);
    std::string target = Resolve(last == lastFolder_.end() ? RootOf(letter) : last->second);
    if (target.empty()) return false;
    SetDirectory(target);
    return true;
}

void TDirectoryListBox::BuildItems() {
    items_.clear();
    std::string path = RootOf(directory_[0]);
    items_.push_back(Item{path, path, 0, true});
    for (const std::string& name : NamesOf(directory_)) {
        path = Join(path, name);
        items_.push_back(Item{name, path, static_cast<int>(items_.size()), true});
    }
    itemIndex_ = static_cast<int>(items_.size()) - 1;
    std::vector<std::string> folders;
    App()->System().ListFolders(directory_, folders);
    std::sort(folders.begin(), folders.end(),
              [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    const int level = static_cast<int>(items_.size());
    for (const std::string& name : folders)
        items_.push_back(Item{name, Join(directory_, name), level, false});
    SetCaption(directory_);
    Notify(Prop::Items);
}

void TDirectoryListBox::UserSelect(int index) {
    if (!Enabled() || index < 0 || index >= static_cast<int>(items_.size())) return;
    itemIndex_ = index;
    Notify(Prop::ItemIndex);
}

void TDirectoryListBox::UserOpen(int index) {
    if (!Enabled() || index < 0 || index >= static_cast<int>(items_.size())) return;
    std::string path = items_[static_cast<size_t>(index)].path;
    if (path == directory_) return;
    SetDirectory(path);
}

} // namespace ui
