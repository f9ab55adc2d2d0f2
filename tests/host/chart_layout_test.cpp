// The chart's layout: round tick steps, point labels thinned so that none overlap, every text
// inside the window, values on the right pixels, and no trouble with degenerate axes.
#include "ui/ChartLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using ui::chart::Box;
using ui::chart::ChartState;
using ui::chart::Layout;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A font of 13-pixel lines: 6 pixels a character, 9 for the degree sign and the wide letters.
ui::chart::TextMeasure FakeFont() {
    ui::chart::TextMeasure measure;
    measure.height = 13;
    measure.width = [](const std::string& text) {
        int width = 0;
        for (char c : text)
            width += (c == '\xB0' || c == 'C' || c == 'F') ? 9 : 6;
        return width;
    };
    return measure;
}

std::string TemperatureText(int celsius) {
    return std::to_string(celsius) + "\xB0" + "C/" + std::to_string(celsius * 9 / 5 + 32) + "\xB0" +
           "F";
}

// The smart-fan curve: 131 temperatures, stepping from 0 to 3000 RPM.
ChartState FanCurve() {
    ChartState state;
    state.minimum = 0;
    state.maximum = 3500;
    state.leftTitle = "RPM";
    state.bottomTitle = "Temperature";
    for (int t = 0; t <= 130; ++t) {
        double rpm = t < 20 ? 0 : t < 40 ? 900 : t < 60 ? 1800 : 3000;
        state.points.push_back({static_cast<double>(t), rpm, TemperatureText(t), ui::clRed});
    }
    return state;
}

// The duty-cycle curve: 21 duties "0" to "100".
ChartState DutyCurve() {
    ChartState state;
    state.minimum = 0;
    state.maximum = 2300;
    state.leftTitle = "RPM";
    state.bottomTitle = "Duty-Cycle (%)";
    for (int i = 0; i <= 20; ++i)
        state.points.push_back(
            {static_cast<double>(i), 90.0 * i, std::to_string(i * 5), ui::clRed});
    return state;
}

bool Overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Box& box, int width, int height) {
    return box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height;
}

TEST(ChartLayoutTest, TickStepIsRoundAndKeepsTheSpacing) {
    struct Case {
        double range;
        int pixels, spacing;
        double step;
    } cases[] = {
        {3500, 124, 26, 1000}, // the smart-fan curve in a low chart
        {3500, 300, 26, 500},
        {2000, 124, 26, 500},
        {324, 124, 26, 100},  // the form's starting
                              // axis, 5 to 329
        {1000, 26, 26, 1000}, // exactly one step's worth
        {1, 100, 20, 0.2},
        {0.003, 100, 20, 0.001},
        {0, 100, 20, 0},
        {-5, 100, 20, 0},
        {kInf, 100, 20, 0},
        {kNaN, 100, 20, 0},
        {1e308, 1, 1000, 0}, // the least step is no
                             // finite number
        {100, 0, 20, 0},
    };
    for (const Case& c : cases) {
        double step = ui::chart::TickStep(c.range, c.pixels, c.spacing);
        EXPECT_NEAR(step, c.step, c.step * 1e-12) << c.range << " over " << c.pixels;
        if (step > 0) {
            EXPECT_GE(c.pixels * step / c.range, c.spacing * (1 - 1e-9)) << c.range;
        }
    }
}

TEST(ChartLayoutTest, LabelStrideIsRoundAndLeavesTheGap) {
    struct Case {
        double pixelsPerPoint;
        int width, gap, count, stride;
    } cases[] = {
        {3.4, 58, 8, 131, 20}, // temperatures across a narrow chart
        {6.0, 58, 8, 131, 20}, // 10 points would be 60 pixels: short of 66
        {6.6, 58, 8, 131, 10},
        {2.2, 46, 8, 131, 25}, // 0, 25, 50, 75, 100, 125 degrees
        {10, 13, 8, 21, 5},
        {22, 18, 8, 21, 2}, // duties
        {100, 50, 8, 21, 1},
        {0.5, 58, 8, 131, 131}, // not even every 100th fits: the first label
                                // alone
        {0, 10, 8, 21, 21},
        {kNaN, 10, 8, 21, 21},
        {5, 10, 8, 1, 1},
        {5, 10, 8, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::chart::LabelStride(c.pixelsPerPoint, c.width, c.gap, c.count), c.stride)
            << c.pixelsPerPoint << " px, " << c.width << " wide";
}

TEST(ChartLayoutTest, AxisValueTextShowsTheDecimalsTheStepNeeds) {
    struct Case {
        double value, step;
        const char* text;
    } cases[] = {
        {3000, 1000, "3000"},  {0.5, 0.5, "0.5"},    {1.25, 0.05, "1.25"}, {0.3, 0.1, "0.3"},
        {-0.0, 1, "0"},        {-1e-12, 0.1, "0.0"}, {-500, 100, "-500"},  {12, 0, "12"},
        {1e20, 1e19, "1e+20"}, {kInf, 1, "inf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::chart::AxisValueText(c.value, c.step), c.text) << c.value;
}

TEST(ChartLayoutTest, ClipSegmentKeepsThePartInsideThePlot) {
    const Box box{10, 10, 111, 61}; // pixels 10..110 across, 10..60 down
    struct Case {
        double x0, y0, x1, y1;
        bool inside;
        double cx0, cy0, cx1, cy1;
    } cases[] = {
        {20, 20, 30, 40, true, 20, 20, 30, 40},    // wholly inside
        {0, 35, 120, 35, true, 10, 35, 110, 35},   // across, both ends cut
        {60, 0, 60, 100, true, 60, 10, 60, 60},    // down through
        {60, -1e9, 60, 1e9, true, 60, 10, 60, 60}, // far off-chart values
        {0, 0, 5, 5, false, 0, 0, 0, 0},           // wholly outside
        {0, 100, 200, 100, false, 0, 0, 0, 0},     // below
        {60, 20, 60, kInf, false, 0, 0, 0, 0},     // not a number of pixels
        {60, kNaN, 60, 20, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        double x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
        ASSERT_EQ(ui::chart::ClipSegment(x0, y0, x1, y1, box), c.inside) << c.x0 << "," << c.y0;
        if (!c.inside) continue;
        EXPECT_NEAR(x0, c.cx0, 1e-6);
        EXPECT_NEAR(y0, c.cy0, 1e-6);
        EXPECT_NEAR(x1, c.cx1, 1e-6);
        EXPECT_NEAR(y1, c.cy1, 1e-6);
    }
}

// Whatever the chart and its size: the texts lie inside the window, no two of them overlap,
// ticks lie on the plot's edges, and the axis range spans the plot exactly.
TEST(ChartLayoutTest, TextsStayInsideAndApart) {
    struct Case {
        const char* name;
        ChartState state;
        int width, height;
    } cases[] = {
        {"fan curve on the page", FanCurve(), 369, 200},
        {"fan curve, wide", FanCurve(), 900, 400},
        {"fan curve, large fonts", FanCurve(), 460, 250},
        {"duty curve in its window", DutyCurve(), 497, 178},
        {"duty curve, narrow", DutyCurve(), 200, 178},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout layout = ui::chart::LayoutChart(c.state, c.width, c.height, FakeFont());
        ASSERT_TRUE(layout.scaled);
        EXPECT_NEAR(layout.PixelY(c.state.minimum), layout.plot.bottom - 1, 1e-9);
        EXPECT_NEAR(layout.PixelY(c.state.maximum), layout.plot.top, 1e-9);
        EXPECT_NEAR(layout.PixelX(c.state.points.front().x), layout.plot.left, 1e-9);
        EXPECT_NEAR(layout.PixelX(c.state.points.back().x), layout.plot.right - 1, 1e-9);

        std::vector<Box> texts{layout.leftTitle, layout.bottomTitle};
        ASSERT_GE(layout.left.size(), 3u);
        for (const auto& tick : layout.left) {
            EXPECT_GE(tick.pos, layout.plot.top);
            EXPECT_LT(tick.pos, layout.plot.bottom);
            texts.push_back(tick.label);
        }
        ASSERT_GE(layout.bottom.size(), 3u);
        int previous = -1;
        for (const auto& tick : layout.bottom) {
            EXPECT_GE(tick.pos, layout.plot.left);
            EXPECT_LT(tick.pos, layout.plot.right);
            EXPECT_GT(tick.pos, previous);
            previous = tick.pos;
            texts.push_back(tick.label);
        }
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_TRUE(Inside(texts[i], c.width, c.height)) << "text " << i;
            for (size_t j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(Overlap(texts[i], texts[j])) << "texts " << i << " and " << j;
        }
        for (size_t i = 1; i < layout.bottom.size(); ++i)
            EXPECT_GE(layout.bottom[i].label.left - layout.bottom[i - 1].label.right, 8);
    }
}

TEST(ChartLayoutTest, LabelsFollowRoundStrides) {
    Layout fan = ui::chart::LayoutChart(FanCurve(), 369, 200, FakeFont());
    ASSERT_GE(fan.bottom.size(), 2u);
    EXPECT_EQ(fan.bottom[0].text, TemperatureText(0));
    EXPECT_EQ(fan.bottom[1].text, TemperatureText(50)); // 58-pixel labels, 2.4 pixels a degree
    std::vector<std::string> ticks;
    for (const auto& tick : fan.left)
        ticks.push_back(tick.text);
    EXPECT_EQ(ticks, (std::vector<std::string>{"0", "1000", "2000", "3000"}));

    Layout duty = ui::chart::LayoutChart(DutyCurve(), 497, 178, FakeFont());
    std::vector<std::string> labels;
    for (const auto& tick : duty.bottom)
        labels.push_back(tick.text);
    // 18-pixel labels, 21.5 pixels a duty step: every other one.
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "10", "20", "30", "40", "50", "60", "70", "80",
                                                "90", "100"}));
}

// Empty series, a one-value axis, an axis of no number and a window too small for a plot: the
// layout stays usable and places nothing it cannot.
TEST(ChartLayoutTest, DegenerateChartsPlaceWhatTheyCan) {
    ChartState empty = FanCurve();
    empty.points.clear();
    Layout layout = ui::chart::LayoutChart(empty, 369, 200, FakeFont());
    EXPECT_TRUE(layout.scaled);
    EXPECT_TRUE(layout.bottom.empty());
    EXPECT_FALSE(layout.left.empty());

    ChartState flat = FanCurve();
    flat.minimum = flat.maximum = 3000;
    layout = ui::chart::LayoutChart(flat, 369, 200, FakeFont());
    ASSERT_TRUE(layout.scaled);
    ASSERT_EQ(layout.left.size(), 1u);
    EXPECT_EQ(layout.left[0].text, "3000");
    EXPECT_NEAR(layout.left[0].pos, (layout.plot.top + layout.plot.bottom) / 2, 1);

    ChartState unknown = FanCurve();
    unknown.maximum = kNaN;
    layout = ui::chart::LayoutChart(unknown, 369, 200, FakeFont());
    EXPECT_FALSE(layout.scaled);
    EXPECT_TRUE(layout.left.empty());

    ChartState one = DutyCurve();
    one.points.resize(1);
    layout = ui::chart::LayoutChart(one, 497, 178, FakeFont());
    ASSERT_EQ(layout.bottom.size(), 1u);
    EXPECT_NEAR(layout.PixelX(0), (layout.plot.left + layout.plot.right - 1) / 2.0, 1e-9);

    for (int size : {0, 20, 40}) {
        layout = ui::chart::LayoutChart(FanCurve(), size, size, FakeFont());
        EXPECT_FALSE(layout.scaled) << size;
        EXPECT_TRUE(layout.left.empty() && layout.bottom.empty()) << size;
    }
}

TEST(ChartLayoutTest, StatesCompareByWhatTheyShow) {
    ChartState a = FanCurve(), b = FanCurve();
    EXPECT_TRUE(a == b);
    b.points[70].y = 2999;
    EXPECT_FALSE(a == b);
    b = a;
    b.points.pop_back();
    EXPECT_FALSE(a == b);
    b = a;
    b.maximum = 4000;
    EXPECT_FALSE(a == b);
    b = a;
    b.leftTitle = "rpm";
    EXPECT_FALSE(a == b);
    // A value of no number is still the same as itself.
    a.points[3].y = b.points[3].y = kNaN;
    b = a;
    EXPECT_TRUE(a == b);
}

} // namespace
