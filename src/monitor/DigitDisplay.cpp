// The fans' five-digit RPM displays: one seven-segment bitmap per digit, red or green.
#include "monitor/MainForm.h"
#include "monitor/SystemHelpers.h"

namespace monitor {

void TForm1::ShowLedNumber(const std::string& colour, std::uint32_t value,
                           ui::TImage* const images[5]) {
    // Too wide for five digits: the display keeps what it showed.
    if (value > 99999) return;
    const std::uint32_t digits[5] = {value / 10000, (value % 10000) / 1000, (value % 1000) / 100,
                                     (value % 100) / 10, value % 10};
    for (int i = 0; i < 5; ++i)
        ShowDigit(static_cast<int>(digits[i]), *images[i], colour);
}

void TForm1::ShowDigit(int digit, ui::TImage& image, const std::string& colour) {
    bool red = colour == "red" || colour == "RED";
    image.LoadBitmapResource(FormatText(red ? "RED%d" : "GREEN%d", digit));
    image.Repaint();
}

} // namespace monitor
