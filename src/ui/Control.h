// Components and controls: the named members of a form. A control keeps its state here; setting
// a state from code runs the same handler as the user's action would, and tells the control's
// real window (if any) about the change.
#pragma once

#include "ui/Platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Application;
class Form;
class Control;

using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clWindow = 0x80000005;

using TNotifyEvent = std::function<void(Component* sender)>;
using TKeyPressEvent = std::function<void(Component* sender, char& key)>;

// The font styles, combined as a set: fsBold | fsItalic.
using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

constexpr char kDefaultFontName[] = "MS Sans Serif";

struct TFont {
    TColor Color = clWindowText;
    int PixelsPerInch = 96;
    TFontStyles Style = 0;
    int Size = 8; // points
    std::string Name = kDefaultFontName;
};

// Anything with a name on a form: controls, timers, menus, the tray icon.
class Component {
  public:
    Component(Form* owner, std::string name);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::string& Name() const { return name_; }
    Form* Owner() const { return owner_; }
    Application* App() const;

    // Creates the real window for this component (Win32 side).
    virtual void Realize();
    ControlPeer* Peer() const { return peer_.get(); }
    // The real window's handle; 0 while there is none (always on the headless side).
    std::uintptr_t Handle() const { return peer_ ? peer_->NativeHandle() : 0; }

  protected:
    void Notify(Prop prop);

  private:
    Form* owner_;
    std::string name_;
    std::unique_ptr<ControlPeer> peer_;
};

// A visual control with a parent, bounds, a caption and the common flags.
class Control : public Component {
  public:
    Control(Control* parent, std::string name);
    Control(Form* owner, Control* parent, std::string name);
    ~Control() override;

    Control* Parent() const { return parent_; }
    const std::vector<Control*>& Children() const { return children_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Visible itself and every parent up to the form, and the form shown.
    bool Showing() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }

    // Caption or text, as the control shows it.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const TFont& Font() const { return font_; }
    void SetFontColor(TColor color);
    // Style, size and face: the real window takes the new font.
    void SetFontStyle(TFontStyles style);
    void SetFontSize(int points);
    void SetFontName(const std::string& name);
    void SetFontPixelsPerInch(int ppi) { font_.PixelsPerInch = ppi; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    TNotifyEvent OnClick;
    // The user clicks the control (also what a real click on its window runs).
    virtual void UserClick();

    // The control gets the keyboard focus: it becomes its form's ActiveControl, and its real
    // window takes the focus when the form is the active window.
    void SetFocus();
    bool Focused() const;
    // Whether Tab stops at the control. By default the controls that take the keyboard focus
    // (edits, buttons, boxes, lists, up-downs) stop, the others do not.
    bool TabStop() const { return tabStopSet_ ? tabStop_ : TakesFocus(); }
    void SetTabStop(bool tabStop);
    // Whether the control is a windowed one that can take the keyboard focus.
    virtual bool TakesFocus() const { return false; }

  protected:
    // Called when the control's showing state may have changed (form shown, parent shown).
    virtual void ShowingChanged() {}
    void PropagateShowing();
    friend class Form;

  private:
    Control* parent_;
    std::vector<Control*> children_;
    bool visible_ = true;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string caption_;
    std::string hint_;
    TColor color_ = clBtnFace;
    TFont font_;
    TCursor cursor_ = TCursor::crDefault;
    bool tabStop_ = false;
    bool tabStopSet_ = false;
};

} // namespace ui
