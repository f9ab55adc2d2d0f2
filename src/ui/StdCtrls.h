// Labels, edits, buttons, check boxes, radio buttons and combo boxes.
#pragma once

#include "ui/Control.h"

#include <string>
#include <vector>

namespace ui {

class TLabel : public Control {
  public:
    using Control::Control;
    // The text breaks into lines at blanks to fit the label's width.
    bool WordWrap = false;
};

class TGroupBox : public Control {
  public:
    using Control::Control;
};

class TEdit : public Control {
  public:
    using Control::Control;
    bool TakesFocus() const override { return true; }
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    char PasswordChar = 0;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnChange;
    // The user types a key: the key-press handler may discard it (key 0).
    void UserKeyPress(char key);

  private:
    bool readOnly_ = false;
};

class TButton : public Control {
  public:
    using Control::Control;
    bool TakesFocus() const override { return true; }
    int ModalResult = 0;
    bool Default = false;
    bool Cancel = false;
    // A click runs OnClick, then sets the form's modal result from ModalResult.
    void UserClick() override;
};

class TCheckBox : public Control {
  public:
    using Control::Control;
    bool TakesFocus() const override { return true; }
    bool Checked() const { return checked_; }
    // A change of state runs OnClick, as the user's click would.
    void SetChecked(bool checked);
    void UserClick() override;

  private:
    bool checked_ = false;
};

class TRadioButton : public Control {
  public:
    using Control::Control;
    bool Checked() const { return checked_; }
    // Checking one unchecks its siblings; a change runs OnClick. Tab stops at the checked one
    // of the siblings only (the arrow keys move among them).
    void SetChecked(bool checked);
    void UserClick() override;

  private:
    bool checked_ = false;
};

// A combo box with editable text: Text may hold a text that is not one of the items.
class TComboBox : public Control {
  public:
    using Control::Control;
    bool TakesFocus() const override { return true; }
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    void DeleteItem(int index);
    int ItemIndex() const { return itemIndex_; }
    // Selecting an item from code runs no handler.
    void SetItemIndex(int index);
    const std::string& Text() const { return Caption(); }
    // Setting the text from code runs no handler; the item index follows the text.
    void SetText(const std::string& text);
    TNotifyEvent OnChange;
    TKeyPressEvent OnKeyPress;
    int CanvasFontPixelsPerInch = 96;
    // The user picks item `index` from the list: OnClick, then OnChange.
    void UserSelect(int index);
    void UserKeyPress(char key);

  private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

} // namespace ui
