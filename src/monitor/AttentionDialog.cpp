#include "monitor/AttentionDialog.h"

namespace monitor {

TOKBottomDlgAttention::TOKBottomDlgAttention(ui::Application& app, MonitorProgram&)
    : ui::Form(app, "OKBottomDlgAttention"), Bevel1(this, "Bevel1"),
      LabelAttention(this, "LabelAttention"), LabelText1(this, "LabelText1"),
      LabelText2(this, "LabelText2"), Label1(this, "Label1"), OKBtn(this, "OKBtn"),
      CancelBtn(this, "CancelBtn") {
    SetCaption("ORLO");
    BorderStyle = ui::TBorderStyle::bsDialog;
    SetClientSize(327, 177);
    Bevel1.SetBounds(8, 8, 311, 121);
    LabelAttention.SetCaption("Attention!");
    LabelAttention.SetFontColor(ui::clBlue);
    LabelAttention.SetFontStyle(ui::fsBold);
    LabelAttention.SetBounds(24, 16, 120, 16);
    LabelText1.SetCaption("Your system was shutdown by ORLO last time.");
    LabelText1.SetBounds(24, 44, 290, 16);
    LabelText2.SetCaption(" Do you want to keep setting \"shutdown\" in ");
    LabelText2.SetBounds(24, 68, 290, 16);
    Label1.SetCaption("\"Action when exceed the limitation\" ? ");
    Label1.SetBounds(24, 92, 290, 16);
    OKBtn.SetCaption("Yes");
    OKBtn.Default = true;
    OKBtn.ModalResult = ui::mrOk;
    OKBtn.SetBounds(79, 140, 75, 25);
    CancelBtn.SetCaption("No");
    CancelBtn.Cancel = true;
    CancelBtn.ModalResult = ui::mrCancel;
    CancelBtn.SetBounds(167, 140, 75, 25);
}

} // namespace monitor
