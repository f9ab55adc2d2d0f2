// What the control library needs of the machine it runs on: the message loop, window timers,
// message boxes and the real windows that mirror the controls. The headless side (host build)
// runs all of it on virtual time; the Win32 side on real windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ui {

class Control;
class Component;
class Form;

// Properties a control reports to its mirror when they change.
enum class Prop {
    Visible,
    Enabled,
    Bounds,
    Caption,
    Color,
    FontColor,
    Font, // style, size or face
    Checked,
    Items,
    ItemIndex,
    Position,
    Range,
    ActivePage,
    TabVisible,
    Picture,
    Frame,
    ReadOnly,
    Cursor,
    Chart, // a chart's series or axes
    Other,
};

// The real window behind a control (Win32 side). It reads the control's whole state when it is
// created and then follows each change.
class ControlPeer {
  public:
    virtual ~ControlPeer() = default;
    virtual void Changed(Prop prop) = 0;
    // The real window's handle (an HWND), for the calls that name an owner window.
    virtual std::uintptr_t NativeHandle() const { return 0; }
};

// Message box types and answers (the Win32 values).
enum : std::uint32_t {
    kMbOk = 0x0,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconInformation = 0x40,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

using TimerId = std::uint32_t;

enum class TCursor { crDefault, crArrow, crAppStart, crHourGlass, crHandPoint };

class Platform {
  public:
    virtual ~Platform() = default;

    // Dispatch one pending message, timer or user action; false when nothing is pending now.
    // Exceptions of the dispatched handler propagate to the caller.
    virtual bool DispatchOne() = 0;
    // Wait until something is pending, but not past `deadline` (a tick count) when one is given.
    // The headless side advances virtual time; it throws LoopStuck when nothing could ever come.
    virtual void Wait(const std::uint32_t* deadline) = 0;
    virtual std::uint32_t Now() = 0;

    // A window timer: `callback` runs at every expiry until the timer is killed.
    virtual TimerId StartTimer(std::uint32_t interval, std::function<void()> callback) = 0;
    virtual void KillTimer(TimerId id) = 0;

    // A modal message box, owned by `owner`'s window (null: the active window). `runModal` runs
    // the application's nested loop until its predicate holds (the headless side uses it to let
    // timers fire while the simulated user reads the box).
    virtual int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type,
                           const Form* owner,
                           const std::function<void(const std::function<bool()>&)>& runModal) = 0;

    // The control's real window takes the keyboard focus, when its form is the active window.
    virtual void SetFocus(Control& /*control*/) {}

    // The real window for a control; the headless side has none.
    virtual std::unique_ptr<ControlPeer> CreatePeer(Component& component) = 0;

    // The application was asked to end: the Win32 side posts the quit message, which also ends
    // a message box that is open, as the class library's termination does.
    virtual void ApplicationTerminated() {}

    // The application's screen cursor changed: the Win32 side shows it at once over the
    // program's windows, without waiting for the mouse to move.
    virtual void ScreenCursorChanged() {}
    // Shows a system cursor until the mouse next moves (the Win32 SetCursor).
    virtual void ShowSystemCursor(TCursor) {}

    // A line for the run's record (headless); ignored on the Win32 side.
    virtual void Trace(const std::string& line) = 0;
};

} // namespace ui
