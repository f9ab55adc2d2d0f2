// The application object: owns the forms, runs the message loop and the nested modal loops, and
// shows message boxes and the standard exception box.
#pragma once

#include "os/System.h"
#include "ui/Control.h"
#include "ui/Exception.h"
#include "ui/Platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ui {

class Form;

// Raised by the headless loop when a loop waits for something that can never come.
class LoopStuck : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

class Application {
  public:
    Application(os::System& system, Platform& platform);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    os::System& System() const { return system_; }
    ui::Platform& Platform() const { return platform_; }

    std::string Title;

    // Creates a form; the first one created is the main form. The forms live until the
    // application object is destroyed (last created, first destroyed).
    template <typename T, typename... Args> T* CreateForm(Args&&... args) {
        auto form = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* raw = form.get();
        AddForm(std::move(form));
        return raw;
    }
    Form* MainForm() const { return mainForm_; }

    // Shows the main form (unless the application is already terminating) and runs the loop
    // until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Dispatches everything pending now.
    void ProcessMessages();
    // Runs a nested loop until `done` holds or the application terminates.
    void RunModalLoop(const std::function<bool()>& done, const std::uint32_t* deadline = nullptr);

    void ShowMessage(const std::string& text);
    // A box owned by `owner`'s window; without one, by the active window.
    int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type,
                   const Form* owner = nullptr);
    // The standard exception box.
    void ShowException(const std::exception& e);
    // Runs a handler as the loop does: a ui::Exception it raises goes to the exception box.
    void Guard(const std::function<void()>& handler);

    TCursor ScreenCursor() const { return screenCursor_; }
    void SetScreenCursor(TCursor cursor);
    // Shows a system cursor now without making it the screen cursor: it lasts until the mouse
    // next moves, when each window shows its own cursor again.
    void ShowSystemCursor(TCursor cursor);
    int ScreenPixelsPerInch() const { return system_.ScreenPixelsPerInch(); }

    // Activation: the form that is the application's active window.
    Form* ActiveForm() const { return activeForm_; }
    void Activate(Form* form);
    void FormHidden(Form* form);
    // The form loses the activation but stays in the activation order (minimised).
    void Deactivate(Form* form);

    const std::vector<std::unique_ptr<Form>>& Forms() const { return forms_; }
    void DestroyForms();
    // The forms go without their destroy handlers: what is left of a program that something
    // ends at once (the system ending its process, an error that no handler takes), whose code
    // runs no further. The application's destruction does the same with forms still there.
    void DiscardForms();

  private:
    void AddForm(std::unique_ptr<Form> form);

    os::System& system_;
    ui::Platform& platform_;
    std::vector<std::unique_ptr<Form>> forms_;
    Form* mainForm_ = nullptr;
    Form* activeForm_ = nullptr;
    std::vector<Form*> activationStack_;
    bool terminated_ = false;
    bool destroying_ = false;
    TCursor screenCursor_ = TCursor::crDefault;
};

} // namespace ui
