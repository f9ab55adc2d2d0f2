#include "ui/Form.h"

#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

#include <algorithm>
#include <cctype>

namespace ui {

namespace {
// Frame and caption of a single-border window at 96 pixels per inch.
constexpr int kFrameWidth = 6;
constexpr int kFrameHeight = 25;

// The letter a caption underlines ("&Fan": F), in upper case; 0 when it has none ("&&" is an
// ampersand).
char Mnemonic(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&')
            return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
        ++i;
    }
    return 0;
}

// The controls the keyboard reaches: shown and enabled, within shown and enabled parents, each
// parent's children in their order after it.
void Reachable(const Control& parent, std::vector<Control*>& out) {
    for (Control* child : parent.Children()) {
        if (!child->Visible() || !child->Enabled()) continue;
        out.push_back(child);
        Reachable(*child, out);
    }
}
} // namespace

Form::Form(Application& app, std::string name)
    : Control(this, nullptr, std::move(name)), app_(app) {
    Control::SetVisible(false);
    app_.System().AttachWindow(this);
}

Form::~Form() {
    app_.System().DetachWindow(this);
}

int Form::ClientWidth() const {
    return Width() - kFrameWidth;
}
int Form::ClientHeight() const {
    return Height() - kFrameHeight;
}
void Form::SetClientSize(int width, int height) {
    SetBounds(Left(), Top(), width + kFrameWidth, height + kFrameHeight);
}

void Form::SetShown(bool shown) {
    if (Visible() == shown) return;
    SetVisible(shown);
    if (shown) {
        if (OnShow) OnShow(this);
    } else {
        if (OnHide) OnHide(this);
    }
}

// Showing, hiding and activating reach the window as messages of their own: an exception of one
// of their handlers goes to the exception box, and the next step still happens.
void Form::Show() {
    app_.Guard([this] { SetShown(true); });
    app_.Activate(this);
}

void Form::Hide() {
    if (!Visible()) return;
    app_.Guard([this] { SetShown(false); });
    app_.FormHidden(this);
}

int Form::ShowModal() {
    modalResult_ = mrNone;
    modal_ = true;
    Show();
    for (;;) {
        app_.RunModalLoop([this] { return modalResult_ != mrNone || !Visible(); });
        // Ended by the application's end: cancelled, without the close handling.
        if (app_.Terminated() || !Visible()) break;
        TCloseAction action = TCloseAction::caHide;
        if (OnClose) OnClose(this, action);
        if (action != TCloseAction::caNone) break;
        modalResult_ = mrNone; // the close was refused: the window stays
    }
    if (modalResult_ == mrNone || app_.Terminated()) modalResult_ = mrCancel;
    modal_ = false;
    Hide();
    return modalResult_;
}

void Form::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (app_.MainForm() == this)
        app_.Terminate();
    else
        Hide();
}

bool Form::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void Form::SetMinimized(bool minimized) {
    if (minimized_ == minimized) return;
    minimized_ = minimized;
    Notify(Prop::Visible);
    if (minimized) app_.Deactivate(this);
}

TTrayIcon* Form::TrayIcon() const {
    for (Component* component : components_)
        if (auto* tray = dynamic_cast<TTrayIcon*>(component)) return tray;
    return nullptr;
}

void Form::UserMinimize() {
    if (!Visible() || minimized_) return;
    app_.Platform().Trace("user: minimises " + Name());
    if (TTrayIcon* tray = TrayIcon())
        tray->Minimize();
    else
        SetMinimized(true);
}

void Form::UserRestore() {
    if (!minimized_) return;
    app_.Platform().Trace("user: restores " + Name());
    if (TTrayIcon* tray = TrayIcon()) {
        tray->Restore();
        return;
    }
    SetMinimized(false);
    app_.Activate(this);
}

bool Form::Active() const {
    return app_.ActiveForm() == this;
}

std::vector<Control*> Form::TabStops() const {
    std::vector<Control*> reachable, stops;
    if (Visible()) Reachable(*this, reachable);
    for (Control* control : reachable)
        if (control->TabStop()) stops.push_back(control);
    return stops;
}

bool Form::UserMnemonic(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    std::vector<Control*> reachable;
    if (Visible()) Reachable(*this, reachable);
    for (Control* control : reachable) {
        if (auto* pages = dynamic_cast<TPageControl*>(control)) {
            for (TTabSheet* page : pages->Pages()) {
                if (page->TabVisible() && Mnemonic(page->Caption()) == letter) {
                    pages->UserSelect(page);
                    return true;
                }
            }
        } else if ((dynamic_cast<TButton*>(control) || dynamic_cast<TCheckBox*>(control) ||
                    dynamic_cast<TRadioButton*>(control)) &&
                   Mnemonic(control->Caption()) == letter) {
            if (!dynamic_cast<TButton*>(control)) control->SetFocus();
            control->UserClick();
            return true;
        }
    }
    return false;
}

void Form::UserKeyDown(int key, bool shift) {
    if (key == kVkTab) {
        std::vector<Control*> stops = TabStops();
        if (stops.empty()) return;
        auto at = std::find(stops.begin(), stops.end(), ActiveControl);
        std::size_t next;
        if (at == stops.end())
            next = shift ? stops.size() - 1 : 0;
        else if (shift)
            next = (static_cast<std::size_t>(at - stops.begin()) + stops.size() - 1) % stops.size();
        else
            next = (static_cast<std::size_t>(at - stops.begin()) + 1) % stops.size();
        stops[next]->SetFocus();
        return;
    }
    if (key == kVkUp || key == kVkDown) {
        auto* upDown = dynamic_cast<TUpDown*>(ActiveControl);
        if (upDown && upDown->Showing()) upDown->UserArrow(key == kVkUp);
        return;
    }
    auto* focused = dynamic_cast<TButton*>(ActiveControl);
    if (key == kVkReturn && focused && focused->Showing() && focused->Enabled()) {
        focused->UserClick();
        return;
    }
    for (Component* component : components_) {
        auto* button = dynamic_cast<TButton*>(component);
        if (!button || !button->Enabled()) continue;
        if ((key == kVkReturn && button->Default) || (key == kVkEscape && button->Cancel)) {
            button->UserClick();
            return;
        }
    }
}

void Form::WndProc(TMessage& message) {
    DefaultHandler(message);
}

void Form::DefaultHandler(TMessage& message) {
    message.Result = 0;
    if (message.Msg == kWmQueryEndSession) {
        message.Result = CloseQuery() ? 1 : 0;
    } else if (message.Msg == kWmEndSession && message.WParam) {
        app_.Terminate();
    }
}

void Form::UserClose() {
    app_.Platform().Trace("user: closes " + Name() + " (WM_CLOSE)");
    Deliver(kWmClose, 0, 0);
}

std::intptr_t Form::Deliver(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    TMessage message{msg, wParam, lParam, 0};
    app_.Guard([&] { WndProc(message); });
    if (msg == kWmClose) app_.Guard([this] { Close(); });
    return message.Result;
}

void Form::RealizeAll() {
    Realize();
    for (Component* component : components_)
        component->Realize();
}

void Form::Activated() {
    // A window activated without a focused control gives the focus to its first tab stop.
    if (!ActiveControl) {
        std::vector<Control*> stops = TabStops();
        if (!stops.empty()) ActiveControl = stops.front();
    }
    if (OnActivate) OnActivate(this);
}

void Form::RunDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    // An exception of the destroy handler goes to the exception box; the other forms are still
    // destroyed.
    if (OnDestroy) app_.Guard([this] { OnDestroy(this); });
}

} // namespace ui
