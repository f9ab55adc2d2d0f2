// Page controls with tab sheets, up-down spinners, progress bars and the AVI animation.
#pragma once

#include "ui/Control.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class TPageControl;

class TTabSheet : public Control {
  public:
    TTabSheet(TPageControl* pageControl, std::string name);
    TPageControl* PageControl() const { return pageControl_; }
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    // Runs whenever the page becomes shown: made active, or its window shown.
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

  protected:
    void ShowingChanged() override;

  private:
    TPageControl* pageControl_;
    bool tabVisible_ = true;
    bool wasShowing_ = false;
};

// The tabs are reached by the mouse and by Alt with a tab's underlined letter; Tab walks the
// controls of the active page.
class TPageControl : public Control {
  public:
    using Control::Control;
    const std::vector<TTabSheet*>& Pages() const { return pages_; }
    TTabSheet* ActivePage() const { return activePage_; }
    // Setting the page from code runs the page's OnShow but not OnChange.
    void SetActivePage(TTabSheet* page);
    TNotifyEvent OnChange;
    std::function<void(Component* sender, bool& allowChange)> OnChanging;
    // The user picks a tab.
    void UserSelect(TTabSheet* page);

  private:
    friend class TTabSheet;
    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

enum class TUpDownDirection { updNone, updUp, updDown };
enum class TUDBtnType { btNext, btPrev };

// A spinner not associated with an edit; Position is a 16-bit signed value.
class TUpDown : public Control {
  public:
    using Control::Control;
    bool TakesFocus() const override { return true; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    int Increment = 1;
    bool Wrap = false;
    // The position as the control holds it: within Min..Max.
    int Position() const;
    // A different value runs OnChangingEx first, which may refuse it; only the low 16 bits count.
    void SetPosition(int value);
    std::function<void(Component* sender, bool& allowChange, short newValue,
                       TUpDownDirection direction)>
        OnChangingEx;
    std::function<void(Component* sender, TUDBtnType button)> OnClickButton;
    // The user presses an arrow: the change handler sees the proposed value (also beyond a
    // bound); OnClickButton runs only when the position moved.
    void UserArrow(bool up);

  private:
    bool CanChange(short value, TUpDownDirection direction);
    int min_ = 0, max_ = 100;
    short position_ = 0;
};

class TProgressBar : public Control {
  public:
    using Control::Control;
    int Min = 0, Max = 100;
    int Position() const { return position_; }
    void SetPosition(int position);

  private:
    int position_ = 0;
};

// The AVI animation control. Frames are numbered from 1.
class TAnimate : public Control {
  public:
    using Control::Control;
    std::string ResName;
    bool Active = false;
    int StopFrame = 0;
    void Play(int fromFrame, int toFrame, int count);
    int PlayCount() const { return plays_; }
    int CurrentFrame() const { return frame_; }
    int LastFromFrame() const { return lastFrom_; }

  private:
    int plays_ = 0;
    int frame_ = 1;
    int lastFrom_ = 0;
};

} // namespace ui
