#include "ui/Menus.h"

#include "ui/Application.h"
#include "ui/Form.h"

namespace ui {

void TMenuItem::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    Notify(Prop::Checked);
}

void TMenuItem::UserClick() {
    if (Enabled && OnClick) OnClick(this);
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Notify(Prop::Visible);
}

void TTrayIcon::Minimize() {
    minimized_ = true;
    if (App()) App()->Platform().Trace("tray: minimise " + Owner()->Name());
    Owner()->SetMinimized(true);
    Notify(Prop::Other);
}

void TTrayIcon::Restore() {
    minimized_ = false;
    if (App()) App()->Platform().Trace("tray: restore " + Owner()->Name());
    Owner()->SetMinimized(false);
    if (!Owner()->Visible()) Owner()->Show();
    App()->Platform().BringToFront(*Owner());
    App()->Activate(Owner());
    Notify(Prop::Other);
    if (OnRestore) OnRestore(this);
}

void TTrayIcon::UserLeftClick() {
    Restore();
    if (OnClick) OnClick(this);
}

} // namespace ui
