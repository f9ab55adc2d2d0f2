// What the files of the Win32 side share: the platform object and the base of every control's
// window.
#pragma once

// The library's headers come first: <windows.h> renames many identifiers by macro (MessageBox,
// DeleteFile, ...), and the classes must be seen here as everywhere else.
#include "ui/Control.h"
#include "ui/ExtCtrls.h"
#include "ui/Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>
#undef MessageBox

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class Application;
class Form;
} // namespace ui

namespace ui::win32 {

class FormPeer;

// The fonts the controls name, one font object per distinct face, size and style, made for the
// screen's resolution and kept until the program ends.
class FontCache {
  public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    HFONT Get(const TFont& font);

  private:
    struct Key {
        std::string name;
        int size;
        TFontStyles style;
        bool operator<(const Key& other) const;
    };
    std::map<Key, HFONT> fonts_;
};

class Win32Platform : public Platform {
  public:
    Win32Platform();
    ~Win32Platform() override;

    bool DispatchOne() override;
    void Wait(const std::uint32_t* deadline) override;
    std::uint32_t Now() override;
    TimerId StartTimer(std::uint32_t interval, std::function<void()> callback) override;
    void KillTimer(TimerId id) override;
    int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type,
                   const Form* owner,
                   const std::function<void(const std::function<bool()>&)>& runModal) override;
    void SetFocus(Control& control) override;
    std::unique_ptr<ControlPeer> CreatePeer(Component& component) override;
    void Trace(const std::string& line) override;
    void ApplicationTerminated() override { PostQuitMessage(0); }
    void ScreenCursorChanged() override;
    void ShowSystemCursor(TCursor cursor) override;

    // Runs program code from a window procedure. Nothing may unwind through the system's own
    // frames: an exception is handed to the loop that dispatched the message, or, when the
    // message came from a loop of the system's (a message box, a menu), shown at once by the
    // application's exception box.
    void Run(const std::function<void()>& code);

    // While the peers set native state themselves, the notifications this causes are not user
    // input and are not passed on.
    bool Quiet() const { return quiet_ > 0; }
    struct QuietScope {
        explicit QuietScope(Win32Platform& p) : p_(p) { ++p_.quiet_; }
        ~QuietScope() { --p_.quiet_; }
        Win32Platform& p_;
    };
    // The model activates the box's owner again itself when a message box closes.
    bool InMessageBox() const { return inMessageBox_ > 0; }

    Application* App() const { return app_; }
    HINSTANCE Instance() const { return instance_; }
    // The real font of a control's font; Font() is the class library's default one.
    HFONT FontOf(const TFont& font) { return fonts_.Get(font); }
    HFONT Font() { return fonts_.Get(TFont{}); }
    int NextControlId() { return nextControlId_++; }

    std::vector<FormPeer*>& Forms() { return forms_; }
    FormPeer* FormFromHandle(HWND hwnd) const;

  private:
    static LRESULT CALLBACK TimerWindowProc(HWND, UINT, WPARAM, LPARAM);
    void FireTimer(UINT_PTR id);
    bool PreTranslate(MSG& msg);
    void RethrowPending();

    HINSTANCE instance_;
    HWND timerWindow_ = nullptr;
    FontCache fonts_;
    std::map<TimerId, std::function<void()>> timers_;
    TimerId nextTimerId_ = 1;
    int nextControlId_ = 1000;
    int depth_ = 0;          // program code frames running now
    std::vector<int> bases_; // depth_ at each DispatchOne running now
    std::exception_ptr pending_;
    int quiet_ = 0;
    int inMessageBox_ = 0;
    Application* app_ = nullptr;
    std::vector<FormPeer*> forms_;
};

// COLORREF of a colour, system colours included.
COLORREF ColorRef(TColor color);
// The top-level window that a window lies in (itself when it is one), found through the parents
// of the child windows: Windows 95 and NT 4 have no call that asks for it.
HWND RootWindow(HWND hwnd);
// Whether a window can be seen: it and every parent visible, its top window not minimised.
bool OnScreen(HWND hwnd);

// What a window shows of one property. A peer passes a change to its window only when the new
// value differs from the shown one:
//     if (shownCaption_.Change(text)) SetWindowTextA(hwnd_, text.c_str());
template <class T> class Shown {
  public:
    // Takes `value` as shown; true when it differs from what was shown, or nothing was yet.
    bool Change(const T& value) {
        if (known_ && value_ == value) return false;
        value_ = value;
        known_ = true;
        return true;
    }
    // The window changed by itself, or its old value no longer holds: the next value is passed.
    void Forget() { known_ = false; }

  private:
    T value_{};
    bool known_ = false;
};
// The system cursor for a control under the mouse (the screen cursor wins); null for the default.
HCURSOR CursorFor(Application* app, const Control* control);

// The window of one control. Reads the control's state when created, follows each change and
// routes the user's input to the control's setters.
class WinPeer : public ControlPeer {
  public:
    WinPeer(Win32Platform& platform, Component& component);
    ~WinPeer() override;

    static WinPeer* FromHandle(HWND hwnd);

    // Creates the window; called once right after construction.
    virtual void Create() = 0;
    // A change of the control. While the window is out of sight (it or a parent hidden, or its
    // top window minimised) the properties that only change its look wait: nothing is drawn or
    // loaded for a window that cannot be seen, and CatchUp applies them when it shows.
    void Changed(Prop prop) final;
    // Applies the changes that waited, to this window and to the windows of its visible
    // children: when the window is about to show, and when its minimised top window is restored.
    void CatchUp();
    std::uintptr_t NativeHandle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }

    HWND Handle() const { return hwnd_; }
    // The window that the children's windows live in.
    virtual HWND ClientHandle() const { return hwnd_; }
    Control* Ctl() const { return control_; }
    Win32Platform& Plat() const { return platform_; }

    // A graphic control of the class library (label, bevel, image): its window lies beneath
    // every windowed sibling, as the class library paints such controls on their parent.
    virtual bool Graphic() const { return false; }
    // The real font of the control's font.
    HFONT ControlFont() { return platform_.FontOf(control_ ? control_->Font() : TFont{}); }

    // Notifications the parent window reflects back to the control that sent them.
    virtual void OnCommand(WORD /*code*/) {}
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    virtual HBRUSH OnCtlColor(UINT /*msg*/, HDC /*dc*/) { return nullptr; }
    // An owner-drawn control draws an item; true when it did.
    virtual bool OnDrawItem(DRAWITEMSTRUCT* /*item*/) { return false; }

    // The ground this control is painted on: a container's own colour, else its parent's.
    virtual COLORREF GroundColor();
    virtual HBRUSH GroundBrush();
    WinPeer* ParentPeer() const;
    HWND ParentHandle() const;

    // Where the window goes, in the parent window's client coordinates.
    virtual RECT Placement() const;
    void ApplyBounds();
    void LayoutChildren();

    // Handles the messages every parent window reflects to its children; true when handled.
    static bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Window procedure of the library's own window classes; the creation parameter is the peer.
    static LRESULT CALLBACK OwnClassProc(HWND, UINT, WPARAM, LPARAM);
    static void RegisterOwnClass(HINSTANCE instance, const char* name);

  protected:
    // Passes a change to the window; only what differs from what it shows (see Shown).
    virtual void Update(Prop prop);
    // Whether a change of `prop` waits while the window is out of sight: by default the
    // properties that only change what the window looks like.
    virtual bool WaitsWhileHidden(Prop prop) const;
    // Brings `prop`, changed while out of sight, to its current state; by default Update. A
    // peer whose change is an action (the animation's pass of frames) shows its end instead.
    virtual void CatchUpProp(Prop prop) { Update(prop); }
    // Creates a child window of the parent's client window with the control's common state.
    HWND CreateChild(const char* className, DWORD style, DWORD exStyle = 0,
                     const char* text = nullptr);
    void Attach(HWND hwnd);
    // Puts a new child window into its place among its siblings: right below the last windowed
    // sibling declared before it, on top when there is none. So the windowed controls lie in
    // their declaration order (the tab order) above every graphic one, and a later graphic
    // control lies over an earlier one.
    void PlaceInZOrder();
    // Replaces the window procedure of a system class; WindowProc then sees every message.
    void Subclass(HWND hwnd);
    // Every message of the peer's subclassed or own-class windows.
    virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallOriginal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HBRUSH OwnBrush();
    // What an own-class window (panel, image, bevel, chart) does with a message its peer
    // leaves: a click goes to the control, the pointer is the control's; else the system's
    // default.
    LRESULT OwnClassDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    Win32Platform& platform_;
    Component& component_;
    Control* control_;
    HWND hwnd_ = nullptr;
    // What the window shows of the common properties.
    Shown<std::string> shownCaption_;
    Shown<TColor> shownColor_;
    Shown<TColor> shownFontColor_;
    Shown<HFONT> shownFont_;

  private:
    std::uint32_t waiting_ = 0; // one bit per Prop that changed while out of sight
    static LRESULT CALLBACK SubclassThunk(HWND, UINT, WPARAM, LPARAM);
    struct SubclassEntry {
        HWND hwnd;
        WNDPROC original;
    };
    std::vector<SubclassEntry> subclassed_;
    HBRUSH brush_ = nullptr;
    TColor brushColor_ = 0;
};

std::unique_ptr<WinPeer> MakePeer(Win32Platform& platform, Component& component);
std::unique_ptr<WinPeer> MakeTrayPeer(Win32Platform& platform, Component& trayIcon);
std::unique_ptr<WinPeer> MakeAnimatePeer(Win32Platform& platform, Component& animate);
// The drive combo box's and the directory list box's windows; null for any other component.
std::unique_ptr<WinPeer> MakeFileControlPeer(Win32Platform& platform, Component& component);
// The window of a chart; none when the component is no chart.
std::unique_ptr<WinPeer> MakeChartPeer(Win32Platform& platform, Component& component);

// Where a control aligned to an edge of its parent (or filling it) goes; unaligned, its bounds.
RECT AlignedPlacement(const WinPeer& peer, TPanel::TAlign align);

// The top-level window of a form.
class FormPeer : public WinPeer {
  public:
    FormPeer(Win32Platform& platform, Form& form);
    ~FormPeer() override;
    void Create() override;
    Form& TheForm() const { return form_; }
    // Enter and Escape run the form's default and cancel buttons.
    bool DialogKey(WPARAM key, HWND focus);

  protected:
    void Update(Prop prop) override;
    // Other programs find a window by its title, also while it is hidden.
    bool WaitsWhileHidden(Prop prop) const override {
        return prop != Prop::Caption && WinPeer::WaitsWhileHidden(prop);
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    COLORREF GroundColor() override;
    HBRUSH GroundBrush() override;

  private:
    void ShowNative(bool show);
    // The window's rectangle around the form's client size, with the system's frame and caption
    // for these styles (the model's sizes carry the classic frame; a themed one is taller).
    RECT OuterRect(DWORD style, DWORD exStyle) const;
    // Sizes the window so that its client area is the form's client size.
    void ApplySize();

    Form& form_;
    bool shownOnce_ = false;
    bool minimized_ = false; // minimised by the user (iconic), not to the tray
    HWND focus_ = nullptr;
    std::vector<HWND> disabledForModal_;
};

} // namespace ui::win32
