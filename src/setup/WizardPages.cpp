// The wizard's window description: its pages, their texts and where everything lies.
#include "setup/Wizard.h"

namespace setup {

namespace {

// Every page: a picture at the top left, the texts beside it, a line above the button row.
constexpr int kTextLeft = 70;
constexpr int kTextWidth = 300;
constexpr int kButtonTop = 156;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// The button row: back, next or finish, cancel.
constexpr int kBackLeft = 136;
constexpr int kNextLeft = 211;
constexpr int kCancelLeft = 295;

void PlaceButton(ui::TButton& button, int left, const char* caption) {
    button.SetCaption(caption);
    button.SetBounds(left, kButtonTop, kButtonWidth, kButtonHeight);
}

void PlaceText(ui::TLabel& label, int top, int height, const char* caption) {
    label.SetCaption(caption);
    label.WordWrap = true;
    label.SetBounds(kTextLeft, top, kTextWidth, height);
}

} // namespace

void TForm1::LayoutPage(ui::TImage& image, ui::TBevel& bevel) {
    image.SetBounds(8, 8, 50, 44);
    // The picture is drawn on the window colour of the system it was made on: its ground (the
    // colour of its bottom-left pixel) lets the page show through, whatever colour that is.
    image.Transparent = true;
    image.LoadBitmapResource("SETUP");
    bevel.SetBounds(8, 146, 362, 2);
}

void TForm1::Layout() {
    SetCaption("Welcome");
    BorderStyle = ui::TBorderStyle::bsSingle;
    BorderIcons = 0;
    SetBounds(0, 0, 386 + 6, 220 + 25); // client area 386 x 220
    // Filling the client area; FormCreate moves the tab row out of sight.
    PageControl1.SetBounds(0, 0, 386, 220);
    for (ui::TTabSheet* sheet : {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet5, &TabSheet6})
        sheet->SetCaption(sheet->Name());

    LayoutPage(Image1, Bevel1);
    PlaceText(Label1, 8, 44,
              "Welcome to the Velmara (ORLO) Setup program. This program will install Velmara on "
              " your computer. ");
    PlaceText(Label2, 58, 30,
              "It is strongly recommended that you exit all Windows programs before running this "
              "Setup program.");
    PlaceText(Label3, 94, 44,
              "Click \"Cancel\" to quit Setup and then close any programs you have running. Click "
              "\"Next\" to install the Velmara");
    PlaceButton(Button1, kBackLeft, "< &Back");
    Button1.SetEnabled(false);
    PlaceButton(Button2, kNextLeft, "&Next >");
    PlaceButton(Button3, kCancelLeft, "Cancel");

    LayoutPage(Image6, Bevel6);
    PlaceText(Label4, 8, 16, "Setup will install ORLO in the following directory.");
    PlaceText(Label5, 28, 16, "To install to this directory, click Next.");
    PlaceText(Label6, 48, 44,
              "To install to a different directory, click Browser and select another directory. "
              "You can choose not to install ORLO by clocking Cancel to exit Setup.");
    GroupBox1.SetCaption(" Destination Directory ");
    GroupBox1.SetBounds(8, 94, 362, 46);
    LabelDestDir.SetBounds(10, 20, 256, 16);
    Button16.SetCaption("B&rowser..");
    Button16.SetBounds(276, 14, kButtonWidth, kButtonHeight);
    PlaceButton(Button8, kBackLeft, "< &Back");
    PlaceButton(Button14, kNextLeft, "&Next >");
    PlaceButton(Button15, kCancelLeft, "Cancel");

    LayoutPage(Image2, Bevel2);
    Label7.SetCaption("Copy");
    Label7.SetBounds(kTextLeft, 8, 30, 16);
    LabelSor.SetBounds(kTextLeft + 34, 8, kTextWidth - 34, 16);
    Label8.SetCaption("to");
    Label8.SetBounds(kTextLeft, 28, 30, 16);
    LabelTrg.SetBounds(kTextLeft + 34, 28, kTextWidth - 34, 16);
    ProgressBar1.SetBounds(kTextLeft, 52, kTextWidth, 18);
    Label9.SetCaption("Register Driver :");
    Label9.SetBounds(kTextLeft, 82, kTextWidth, 16);
    ProgressBar2.SetBounds(kTextLeft, 102, kTextWidth, 18);
    ProgressBar2.Max = 6;
    PlaceButton(Button4, kBackLeft, "< &Back");
    Button4.SetEnabled(false);
    PlaceButton(Button5, kNextLeft, "&Next >");
    Button5.SetEnabled(false);
    PlaceButton(Button6, kCancelLeft, "Cancel");

    LayoutPage(Image3, Bevel3);
    PlaceText(Label10, 8, 44,
              "Setup has finished copying files to your computer. Before you can use the program. "
              "you must restart your computer.");
    PlaceText(Label11, 56, 30,
              "Choose one of the following options and click \"Finish\" to complete Setup.");
    RadioButton1.SetCaption("Yes, I want to restart my computer now.");
    RadioButton1.SetBounds(kTextLeft, 92, kTextWidth, 17);
    RadioButton1.SetChecked(true);
    RadioButton2.SetCaption("No, I will restart my computer later.");
    RadioButton2.SetBounds(kTextLeft, 114, kTextWidth, 17);
    PlaceButton(Button13, kBackLeft, "< &Back");
    Button13.SetEnabled(false);
    PlaceButton(Button12, kNextLeft, "&Finish");

    LayoutPage(Image5, Bevel5);
    PlaceText(Label12, 8, 30,
              "Are you sure you want to remove Velmara (ORLO)  from your computer ?");
    PlaceButton(Button9, kNextLeft, "&Yes");
    PlaceButton(Button7, kCancelLeft, "&No");
}

} // namespace setup
