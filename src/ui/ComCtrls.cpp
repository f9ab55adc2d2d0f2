#include "ui/ComCtrls.h"

#include <algorithm>

namespace ui {

TTabSheet::TTabSheet(TPageControl* pageControl, std::string name)
    : Control(pageControl, std::move(name)), pageControl_(pageControl) {
    pageControl_->pages_.push_back(this);
    SetVisible(false);
    if (!pageControl_->activePage_) pageControl_->SetActivePage(this);
}

void TTabSheet::SetTabVisible(bool visible) {
    if (tabVisible_ == visible) return;
    tabVisible_ = visible;
    Notify(Prop::TabVisible);
}

void TTabSheet::ShowingChanged() {
    bool showing = Showing();
    if (showing == wasShowing_) return;
    wasShowing_ = showing;
    if (showing) {
        if (OnShow) OnShow(this);
    } else {
        if (OnHide) OnHide(this);
    }
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = page;
    if (old) old->SetVisible(false);
    if (page) page->SetVisible(true);
    Notify(Prop::ActivePage);
}

void TPageControl::UserSelect(TTabSheet* page) {
    if (!page || page == activePage_ || !page->TabVisible() || !Enabled()) return;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return;
    SetActivePage(page);
    if (OnChange) OnChange(this);
}

void TUpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    Notify(Prop::Range);
}

// The control holds its position within its range; reading it back gives the held value.
int TUpDown::Position() const {
    if (min_ > max_) return position_;
    return position_ < min_ ? min_ : position_ > max_ ? max_ : position_;
}

bool TUpDown::CanChange(short value, TUpDownDirection direction) {
    bool allow = true;
    if (OnChangingEx) OnChangingEx(this, allow, value, direction);
    return allow;
}

void TUpDown::SetPosition(int value) {
    auto low16 = static_cast<short>(static_cast<std::uint16_t>(value & 0xFFFF));
    if (low16 == Position()) return;
    if (!CanChange(low16, TUpDownDirection::updNone)) return;
    position_ = low16;
    position_ = static_cast<short>(Position());
    Notify(Prop::Position);
}

void TUpDown::UserArrow(bool up) {
    if (!Enabled()) return;
    int current = Position();
    int proposed = up ? current + Increment : current - Increment;
    if (Wrap) {
        if (proposed > max_) proposed = min_;
        if (proposed < min_) proposed = max_;
    }
    if (!CanChange(static_cast<short>(proposed),
                   up ? TUpDownDirection::updUp : TUpDownDirection::updDown))
        return;
    position_ = static_cast<short>(proposed);
    position_ = static_cast<short>(Position());
    if (Position() == current) return;
    Notify(Prop::Position);
    if (OnClickButton) OnClickButton(this, up ? TUDBtnType::btNext : TUDBtnType::btPrev);
}

void TProgressBar::SetPosition(int position) {
    if (position_ == position) return;
    position_ = position;
    Notify(Prop::Position);
}

void TAnimate::Play(int fromFrame, int toFrame, int count) {
    ++plays_;
    lastFrom_ = fromFrame;
    frame_ = toFrame;
    (void)count;
    Notify(Prop::Frame);
}

} // namespace ui
