// Popup menus and the tray icon.
#pragma once

#include "ui/Control.h"

#include <string>
#include <vector>

namespace ui {

class TMenuItem : public Component {
  public:
    TMenuItem(Form* owner, std::string name, std::string caption)
        : Component(owner, std::move(name)), Caption(std::move(caption)) {}
    std::string Caption; // "-" for a separator
    bool Enabled = true;
    bool Checked() const { return checked_; }
    // Setting the check mark runs nothing.
    void SetChecked(bool checked);
    TNotifyEvent OnClick;
    void UserClick();

  private:
    bool checked_ = false;
};

class TPopupMenu : public Component {
  public:
    using Component::Component;
    std::vector<TMenuItem*> Items;
};

// The notification-area icon: restores its form on a left click and opens its menu on a right
// click; while the form is minimised to the tray the form is hidden and the icon stays.
class TTrayIcon : public Component {
  public:
    using Component::Component;
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    std::string Hint;
    TPopupMenu* PopupMenu = nullptr;
    bool Minimized() const { return minimized_; }
    void Minimize();
    // Shows the form again, brings it to the foreground, then runs OnRestore.
    void Restore();
    TNotifyEvent OnClick;
    TNotifyEvent OnRestore;
    void UserLeftClick();

  private:
    bool visible_ = false;
    bool minimized_ = false;
};

} // namespace ui
