#include "ui/Control.h"

#include "ui/Application.h"
#include "ui/Form.h"

#include <algorithm>

namespace ui {

Component::Component(Form* owner, std::string name) : owner_(owner), name_(std::move(name)) {
    // A form owns itself; it is not in its own list.
    if (owner_ && static_cast<Component*>(owner_) != this) owner_->components_.push_back(this);
}

Component::~Component() {
    if (owner_ && static_cast<Component*>(owner_) != this) {
        auto& list = owner_->components_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

Application* Component::App() const {
    return owner_ ? &owner_->App() : nullptr;
}

void Component::Realize() {
    if (!peer_ && App()) peer_ = App()->Platform().CreatePeer(*this);
}

void Component::Notify(Prop prop) {
    if (peer_) peer_->Changed(prop);
}

Control::Control(Control* parent, std::string name)
    : Control(parent ? parent->Owner() : nullptr, parent, std::move(name)) {}

Control::Control(Form* owner, Control* parent, std::string name)
    : Component(owner, std::move(name)), parent_(parent) {
    if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Notify(Prop::Visible);
    PropagateShowing();
}

void Control::SetFocus() {
    if (Owner()) Owner()->ActiveControl = this;
    if (App()) App()->Platform().SetFocus(*this);
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Notify(Prop::Enabled);
}

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::PropagateShowing() {
    ShowingChanged();
    for (Control* child : children_)
        child->PropagateShowing();
}

void Control::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Notify(Prop::Bounds);
}

void Control::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Prop::Caption);
}

void Control::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Notify(Prop::Color);
}

void Control::SetFontColor(TColor color) {
    if (font_.Color == color) return;
    font_.Color = color;
    Notify(Prop::FontColor);
}

void Control::SetFontStyle(TFontStyles style) {
    if (font_.Style == style) return;
    font_.Style = style;
    Notify(Prop::Font);
}

void Control::SetFontSize(int points) {
    if (font_.Size == points) return;
    font_.Size = points;
    Notify(Prop::Font);
}

void Control::SetFontName(const std::string& name) {
    if (font_.Name == name) return;
    font_.Name = name;
    Notify(Prop::Font);
}

void Control::SetCursor(TCursor cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    Notify(Prop::Cursor);
}

void Control::UserClick() {
    if (OnClick) OnClick(this);
}

bool Control::Focused() const {
    return Owner() && Owner()->ActiveControl == this;
}

} // namespace ui
