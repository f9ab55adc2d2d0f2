#include "ui/Form.h"

#include "ui/Application.h"
#include "ui/StdCtrls.h"

namespace ui {

namespace {
// Frame and caption of a single-border window at 96 pixels per inch.
constexpr int kFrameWidth = 6;
constexpr int kFrameHeight = 25;
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

bool Form::Active() const {
    return app_.ActiveForm() == this;
}

void Form::UserKeyDown(int key) {
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
