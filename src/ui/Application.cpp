#include "ui/Application.h"

#include "ui/Form.h"

#include <algorithm>

namespace ui {

Application::Application(os::System& system, ui::Platform& platform)
    : system_(system), platform_(platform) {}

Application::~Application() {
    DiscardForms();
}

void Application::AddForm(std::unique_ptr<Form> form) {
    if (!mainForm_) mainForm_ = form.get();
    form->RealizeAll();
    forms_.push_back(std::move(form));
}

void Application::DestroyForms() {
    destroying_ = true;
    // The class library destroys the last created form first; every OnDestroy runs before any
    // form object goes away.
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
        (*it)->RunDestroy();
    DiscardForms();
}

void Application::DiscardForms() {
    destroying_ = true;
    while (!forms_.empty())
        forms_.pop_back();
    mainForm_ = nullptr;
    activeForm_ = nullptr;
    activationStack_.clear();
}

void Application::Run() {
    if (!mainForm_ || terminated_) return;
    Guard([this] { mainForm_->Show(); });
    while (!terminated_) {
        bool dispatched = false;
        Guard([&] { dispatched = platform_.DispatchOne(); });
        if (!dispatched && !terminated_) platform_.Wait(nullptr);
    }
}

void Application::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    platform_.Trace("terminate");
    platform_.ApplicationTerminated();
}

void Application::ProcessMessages() {
    bool dispatched = true;
    while (dispatched) {
        dispatched = false;
        Guard([&] { dispatched = platform_.DispatchOne(); });
    }
}

void Application::RunModalLoop(const std::function<bool()>& done, const std::uint32_t* deadline) {
    while (!terminated_ && !done()) {
        bool dispatched = false;
        Guard([&] { dispatched = platform_.DispatchOne(); });
        if (dispatched || terminated_ || done()) continue;
        platform_.Wait(deadline);
    }
}

void Application::ShowMessage(const std::string& text) {
    MessageBox(text, Title, kMbOk);
}

int Application::MessageBox(const std::string& text, const std::string& caption, std::uint32_t type,
                            const Form* owner) {
    Form* previous = activeForm_;
    activeForm_ = nullptr;
    int answer =
        platform_.MessageBox(text, caption, type, owner,
                             [this](const std::function<bool()>& done) { RunModalLoop(done); });
    // The application's end closes an open box, as cancelled.
    if (terminated_) answer = kIdCancel;
    // Closing the box gives the activation back to the window that had it.
    if (previous && previous->Visible() && !activeForm_ && !terminated_ && !destroying_)
        Activate(previous);
    return answer;
}

void Application::ShowException(const std::exception& e) {
    // The class library ends the text with a full stop unless its last character sorts at or
    // before one (".", "!", "'", ")" and the like).
    std::string text = e.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += ".";
    MessageBox(text, Title, kMbOk | kMbIconError);
}

void Application::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Exception& e) {
        ShowException(e);
    }
}

namespace {
const char* CursorName(TCursor cursor) {
    return cursor == TCursor::crDefault     ? "default"
           : cursor == TCursor::crAppStart  ? "app-start"
           : cursor == TCursor::crHourGlass ? "hour-glass"
           : cursor == TCursor::crArrow     ? "arrow"
                                            : "hand-point";
}
} // namespace

void Application::SetScreenCursor(TCursor cursor) {
    if (screenCursor_ == cursor) return;
    screenCursor_ = cursor;
    platform_.Trace(std::string("cursor ") + CursorName(cursor));
    platform_.ScreenCursorChanged();
}

void Application::ShowSystemCursor(TCursor cursor) {
    platform_.Trace(std::string("system cursor ") + CursorName(cursor));
    platform_.ShowSystemCursor(cursor);
}

void Application::Activate(Form* form) {
    if (!form || activeForm_ == form || !form->Visible()) return;
    activeForm_ = form;
    activationStack_.erase(std::remove(activationStack_.begin(), activationStack_.end(), form),
                           activationStack_.end());
    activationStack_.push_back(form);
    Guard([form] { form->Activated(); });
}

void Application::Deactivate(Form* form) {
    if (activeForm_ == form) activeForm_ = nullptr;
}

void Application::FormHidden(Form* form) {
    activationStack_.erase(std::remove(activationStack_.begin(), activationStack_.end(), form),
                           activationStack_.end());
    if (activeForm_ != form) return;
    activeForm_ = nullptr;
    // The window below it in the activation order becomes active again.
    for (auto it = activationStack_.rbegin(); it != activationStack_.rend(); ++it) {
        if ((*it)->Visible()) {
            Activate(*it);
            return;
        }
    }
}

} // namespace ui
