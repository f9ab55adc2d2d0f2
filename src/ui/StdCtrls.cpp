#include "ui/StdCtrls.h"

#include "ui/Form.h"

namespace ui {

void TEdit::SetReadOnly(bool readOnly) {
    if (readOnly_ == readOnly) return;
    readOnly_ = readOnly;
    Notify(Prop::ReadOnly);
}

void TEdit::UserKeyPress(char key) {
    if (OnKeyPress) OnKeyPress(this, key);
    if (key == 0 || readOnly_) return;
    if (key == '\b') {
        std::string text = Text();
        if (!text.empty()) text.pop_back();
        SetText(text);
    } else if (static_cast<unsigned char>(key) >= 32) {
        SetText(Text() + key);
    } else {
        return;
    }
    if (OnChange) OnChange(this);
}

// The form's modal result is set before the click handler, which may still change it.
void TButton::UserClick() {
    if (!Enabled()) return;
    if (ModalResult != 0 && Owner() && Owner()->Modal()) Owner()->SetModalResult(ModalResult);
    if (OnClick) OnClick(this);
}

void TCheckBox::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    Notify(Prop::Checked);
    if (OnClick) OnClick(this);
}

void TCheckBox::UserClick() {
    if (Enabled()) SetChecked(!checked_);
}

void TRadioButton::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    Notify(Prop::Checked);
    SetTabStop(checked);
    if (!checked) return; // only checking a radio button is a click
    if (Parent()) {
        for (Control* sibling : Parent()->Children()) {
            auto* radio = dynamic_cast<TRadioButton*>(sibling);
            if (radio && radio != this && radio->checked_) {
                radio->checked_ = false;
                radio->Notify(Prop::Checked);
                radio->SetTabStop(false);
            }
        }
    }
    if (OnClick) OnClick(this);
}

void TRadioButton::UserClick() {
    if (Enabled()) SetChecked(true);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    items_ = items;
    itemIndex_ = -1;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == Text()) itemIndex_ = static_cast<int>(i);
    Notify(Prop::Items);
}

void TComboBox::AddItem(const std::string& item) {
    items_.push_back(item);
    Notify(Prop::Items);
}

void TComboBox::DeleteItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_.erase(items_.begin() + index);
    // The edit text stays as it was; only the selection follows the list.
    if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
    Notify(Prop::Items);
}

void TComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    itemIndex_ = index;
    SetCaption(index >= 0 ? items_[static_cast<size_t>(index)] : std::string());
    Notify(Prop::ItemIndex);
}

void TComboBox::SetText(const std::string& text) {
    itemIndex_ = -1;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) itemIndex_ = static_cast<int>(i);
    SetCaption(text);
    Notify(Prop::ItemIndex);
}

void TComboBox::UserSelect(int index) {
    if (!Enabled() || index < 0 || index >= static_cast<int>(items_.size())) return;
    SetItemIndex(index);
    if (OnClick) OnClick(this);
    if (OnChange) OnChange(this);
}

void TComboBox::UserKeyPress(char key) {
    if (OnKeyPress) OnKeyPress(this, key);
    if (key == 0 || static_cast<unsigned char>(key) < 32) return;
    SetText(Text() + key);
    if (OnChange) OnChange(this);
}

} // namespace ui
