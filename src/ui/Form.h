// A window of the program: a class whose controls are named members, created with their form
// values in the constructor.
#pragma once

#include "os/System.h"
#include "ui/Control.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ui {

class TTrayIcon;

enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TBorderStyle { bsSizeable, bsSingle, bsDialog, bsNone };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
// Where a window appears: in the screen's centre when first shown, or over the centre of the
// main window each time it is shown.
enum class TPosition { poScreenCenter, poMainFormCenter };

struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

constexpr std::uint32_t WM_POWERBROADCAST = 0x218;
// WM_CLOSE and the end-session messages, under names of their own: the Win32 side's headers
// define the messages' names.
constexpr std::uint32_t kWmClose = 0x0010;
constexpr std::uint32_t kWmQueryEndSession = 0x0011;
constexpr std::uint32_t kWmEndSession = 0x0016;
constexpr int kVkTab = 0x09;
constexpr int kVkReturn = 0x0D;
constexpr int kVkEscape = 0x1B;
constexpr int kVkUp = 0x26;
constexpr int kVkDown = 0x28;
constexpr std::uintptr_t PBT_APMRESUMESUSPEND = 7;

class Form : public Control, public os::WindowSink {
  public:
    explicit Form(Application& app, std::string name);
    ~Form() override;

    Application& App() const { return app_; }

    // Width and Height are the outer size with the classic frame and caption of a single-border
    // window at 96 pixels per inch; the client size follows from it. On Windows the real window
    // takes the system's frame and caption (a themed caption is taller) around that client size.
    int ClientWidth() const;
    int ClientHeight() const;
    // The outer size that gives this client size.
    void SetClientSize(int width, int height);
    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    // The caption's buttons (TBorderIcon flags); none: no system menu and no close box.
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition Position = TPosition::poScreenCenter;
    // The control that has the keyboard focus when the window is first activated.
    Control* ActiveControl = nullptr;

    void Show();
    void Hide();
    // Runs a nested loop until ModalResult is set, the window closes or the application ends
    // (then mrCancel).
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Closing the main window ends the program; a modal window ends its modal run. Only a window
    // whose close query allows it closes.
    void Close();
    // Whether the window may close: what OnCloseQuery answers (allowed when there is none).
    bool CloseQuery();
    bool Active() const;
    // Minimised to the tray: the window is out of sight and inactive, but stays visible to the
    // program (its pages keep showing; nothing runs their show handlers on the restore).
    bool Minimized() const { return minimized_; }
    void SetMinimized(bool minimized);
    // The tray icon that hides this window while it is minimised; null when it has none.
    TTrayIcon* TrayIcon() const;
    // The user minimises the window by the system (the caption's button, the system menu, the
    // task bar, another program): a window with a tray icon goes to the tray through the icon's
    // Minimize, any other becomes iconic and inactive.
    void UserMinimize();
    // The user restores the minimised window: through the tray icon's Restore when it has one.
    void UserRestore();

    std::function<void(Component* sender)> OnActivate;
    std::function<void(Component* sender, TCloseAction& action)> OnClose;
    std::function<void(Component* sender, bool& canClose)> OnCloseQuery;
    std::function<void(Component* sender)> OnDestroy;
    std::function<void(Component* sender)> OnShow;
    std::function<void(Component* sender)> OnHide;

    // The window procedure; the default passes the message to DefaultHandler.
    virtual void WndProc(TMessage& message);
    // The class library's answers: at the session's end, the close query decides whether the
    // session may end (WM_QUERYENDSESSION), and once it ends (WM_ENDSESSION with a true wParam)
    // the application is terminated, without closing its windows; the system then ends the
    // process, so that nothing after the message (the loop's end, OnClose, OnDestroy) may run.
    virtual void DefaultHandler(TMessage& message);

    // The user presses a key in the window: Enter clicks the focused button, else the default
    // button; Esc clicks the cancel button; Tab (with Shift: backwards) moves the focus to the
    // next tab stop; the arrow keys up and down press the arrows of a focused up-down.
    void UserKeyDown(int key, bool shift = false);
    // The user presses Alt with a letter: the first shown and enabled page tab, button or box
    // whose caption underlines it ("&Fan") is picked as a click on it would. False when none.
    bool UserMnemonic(char letter);
    // The controls Tab stops at now, in tab order (each parent's children in their order).
    std::vector<Control*> TabStops() const;
    // The user closes the window by the system (Alt+F4, the close box, the system menu's
    // "Close"): the window gets the close message, as any other WM_CLOSE sent to it.
    void UserClose();

    // os::WindowSink: a message sent to this top-level window, and the window procedure's
    // answer. The form's window procedure sees it first; a close message then closes the form,
    // as the Win32 side's window does.
    std::intptr_t Deliver(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

    // The form's components in construction order (parents before their children).
    const std::vector<Component*>& Components() const { return components_; }
    // Creates the real windows of the form and of every component.
    void RealizeAll();

    // Called by the application: activation changes and destruction.
    void Activated();
    void RunDestroy();

  private:
    friend class Component;
    void SetShown(bool shown);
    std::vector<Component*> components_;

    Application& app_;
    bool modal_ = false;
    bool minimized_ = false;
    int modalResult_ = mrNone;
    bool destroyed_ = false;
};

} // namespace ui
