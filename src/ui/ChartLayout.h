// Where the parts of a line chart go in a window of a given size: the plot area (the back wall),
// the ticks and labels of the left axis, the thinned point labels of the bottom axis, the axis
// titles, and the pixel of each value. Pure arithmetic on the chart's state and on the sizes of
// its texts, so that the real window only draws, and the rules are tested on the host.
#pragma once

#include "ui/Chart.h"

#include <functional>
#include <string>
#include <vector>

namespace ui::chart {

// Length of the tick marks, outside the plot.
constexpr int kTickLength = 4;

// A rectangle in pixels, right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// What a drawing of the chart shows: two equal states give the same picture.
struct ChartState {
    double minimum = 0, maximum = 0;
    std::string leftTitle, bottomTitle;
    std::vector<TChartPoint> points;
    TColor ground = clBtnFace; // around the plot
    TColor wall = clWhite;     // the plot's back wall
    TColor text = clWindowText;
};
ChartState StateOf(const TChart& chart);
bool operator==(const ChartState& a, const ChartState& b);
inline bool operator!=(const ChartState& a, const ChartState& b) {
    return !(a == b);
}

// The sizes of texts in the chart's font; every text is one line of the same height.
struct TextMeasure {
    int height = 0;
    std::function<int(const std::string&)> width;
};

struct Tick {
    int pos = 0; // pixel: y on the left axis, x on the bottom axis
    std::string text;
    Box label; // where the text goes
};

struct Layout {
    // The back wall; its left and bottom edges (inclusive pixels) are the axes.
    Box plot;
    std::vector<Tick> left, bottom;
    Box leftTitle;   // a vertical text, bottom to top, centred in this box
    Box bottomTitle; // centred in this box
    // Whether values can be placed (a finite left axis and a plot of some size).
    bool scaled = false;
    double PixelX(double x) const { return xOrigin + (x - xMin) * xScale; }
    double PixelY(double y) const { return yOrigin - (y - yMin) * yScale; }

    double xMin = 0, xOrigin = 0, xScale = 0;
    double yMin = 0, yOrigin = 0, yScale = 0;
};

Layout LayoutChart(const ChartState& state, int width, int height, const TextMeasure& measure);

// The building blocks, exposed for their tests.

// A round step for the ticks of an axis of `range` units over `pixels`, so that ticks lie at
// least `minSpacing` pixels apart: 1, 2 or 5 times a power of ten. 0 when none fits (an empty,
// negative or non-finite range, no pixels).
double TickStep(double range, int pixels, int minSpacing);
// Every how many points a label is shown, so that labels of up to `labelWidth` pixels, points
// `pixelsPerPoint` apart, keep `gap` pixels between them: 1, 2, 2.5 or 5 times a power of ten
// (25, 250, ... but no 2.5), or `count` (only the first label) when no stride below it fits.
int LabelStride(double pixelsPerPoint, int labelWidth, int gap, int count);
// A value of an axis whose ticks lie `step` apart, with as many decimals as the step needs.
std::string AxisValueText(double value, double step);
// Cuts the segment to the pixels of `box`; false when nothing of it lies inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const Box& box);

} // namespace ui::chart
