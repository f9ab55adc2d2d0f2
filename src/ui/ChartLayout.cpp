#include "ui/ChartLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ui::chart {

namespace {

constexpr int kEdge = 6; // space to the window's edges
constexpr int kTick = kTickLength;
constexpr int kLabelPad = 3; // between a tick and its label
constexpr int kTitlePad = 4; // between the labels and an axis title
constexpr int kLabelGap = 8; // at least between two labels of the bottom axis
constexpr int kMaxTicks = 1000;

bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool SamePoint(const TChartPoint& a, const TChartPoint& b) {
    return Same(a.x, b.x) && Same(a.y, b.y) && a.label == b.label && a.color == b.color;
}

// The values of the left axis's ticks: the multiples of `step` from minimum to maximum.
std::vector<double> TickValues(double minimum, double maximum, double step) {
    std::vector<double> values;
    if (!(step > 0)) return values;
    double first = std::ceil(minimum / step - 1e-9);
    for (int k = 0; k < kMaxTicks; ++k) {
        double value = (first + k) * step;
        if (!(value <= maximum + step * 1e-9)) break;
        values.push_back(value);
    }
    return values;
}

int Round(double pixel) {
    return static_cast<int>(std::lround(pixel));
}

} // namespace

ChartState StateOf(const TChart& chart) {
    ChartState state;
    state.minimum = chart.LeftAxis.Minimum();
    state.maximum = chart.LeftAxis.Maximum();
    state.leftTitle = chart.LeftAxis.Title();
    state.bottomTitle = chart.BottomAxis.Title();
    if (const TLineSeries* series = chart.Series()) state.points = series->Points();
    state.ground = chart.Color();
    state.wall = chart.BackWallColor;
    state.text = chart.Font().Color;
    return state;
}

bool operator==(const ChartState& a, const ChartState& b) {
    return Same(a.minimum, b.minimum) && Same(a.maximum, b.maximum) && a.leftTitle == b.leftTitle &&
           a.bottomTitle == b.bottomTitle && a.ground == b.ground && a.wall == b.wall &&
           a.text == b.text &&
           std::equal(a.points.begin(), a.points.end(), b.points.begin(), b.points.end(),
                      SamePoint);
}

double TickStep(double range, int pixels, int minSpacing) {
    if (!(range > 0) || !std::isfinite(range) || pixels <= 0 || minSpacing <= 0) return 0;
    double least = range * minSpacing / pixels;
    if (!(least > 0) || !std::isfinite(least)) return 0;
    double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double multiple : {1.0, 2.0, 5.0, 10.0}) {
        double step = multiple * power;
        // A power of ten computed a hair below the exact one still counts.
        if (step >= least * (1 - 1e-9)) return step > 0 && std::isfinite(step) ? step : 0;
    }
    return 0;
}

int LabelStride(double pixelsPerPoint, int labelWidth, int gap, int count) {
    if (count <= 1) return 1;
    double needed = static_cast<double>(labelWidth) + gap;
    if (!(pixelsPerPoint > 0)) return count;
    for (long long power = 1; power < count; power *= 10) {
        // Tenths of the power: 1, 2, 2.5 (a whole number from 25 on) and 5 times it.
        for (int tenths : {10, 20, 25, 50}) {
            if (tenths == 25 && power == 1) continue;
            long long stride = tenths * power / 10;
            if (stride >= count) return count;
            if (static_cast<double>(stride) * pixelsPerPoint >= needed)
                return static_cast<int>(stride);
        }
    }
    return count;
}

std::string AxisValueText(double value, double step) {
    char text[64];
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) {
        std::snprintf(text, sizeof(text), "%g", value);
        return text;
    }
    int decimals = 0;
    if (step > 0 && step < 1)
        decimals = std::min(9, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    std::string result = text;
    // A value a hair below zero shows as zero, without a sign.
    if (result[0] == '-' && result.find_first_of("123456789") == std::string::npos)
        result.erase(0, 1);
    return result;
}

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const Box& box) {
    const double left = box.left, right = box.right - 1, top = box.top, bottom = box.bottom - 1;
    const double dx = x1 - x0, dy = y1 - y0;
    if (right < left || bottom < top) return false;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return false; // also catches an infinite end
    // Liang-Barsky: the part of the segment (t from 0 to 1) on the inner side of each edge.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
    double t0 = 0, t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const double startX = x0, startY = y0;
    x0 = startX + t0 * dx;
    y0 = startY + t0 * dy;
    x1 = startX + t1 * dx;
    y1 = startY + t1 * dy;
    return true;
}

Layout LayoutChart(const ChartState& state, int width, int height, const TextMeasure& measure) {
    Layout layout;
    const int textHeight = std::max(measure.height, 1);
    auto widthOf = [&](const std::string& text) {
        return text.empty() || !measure.width ? 0 : std::max(0, measure.width(text));
    };
    const std::vector<TChartPoint>& points = state.points;
    std::vector<int> labelWidths;
    labelWidths.reserve(points.size());
    int widestLabel = 0;
    for (const TChartPoint& point : points) {
        labelWidths.push_back(widthOf(point.label));
        widestLabel = std::max(widestLabel, labelWidths.back());
    }

    // Top to bottom: half a label above the top tick, the plot, the ticks, the point labels
    // (low enough to miss the lowest value label beside them) and the bottom title.
    const int labelDrop = std::max(kTick + 2, textHeight - textHeight / 2) - 1;
    const bool bottomTitle = !state.bottomTitle.empty();
    Box& plot = layout.plot;
    plot.top = kEdge + textHeight / 2;
    plot.bottom =
        height - kEdge - (bottomTitle ? textHeight + kTitlePad : 0) - textHeight - labelDrop;
    const int plotHeight = plot.Height();

    // The left axis's ticks, then its widest label, fix the plot's left edge.
    const bool finite = std::isfinite(state.minimum) && std::isfinite(state.maximum);
    double step = 0;
    std::vector<double> values;
    if (finite && plotHeight >= 2) {
        if (state.maximum > state.minimum) {
            step = TickStep(state.maximum - state.minimum, plotHeight - 1, 2 * textHeight);
            values = TickValues(state.minimum, state.maximum, step);
        } else {
            values.push_back(state.minimum);
        }
    }
    std::vector<std::string> valueTexts;
    int widestValue = 0;
    for (double value : values) {
        valueTexts.push_back(AxisValueText(value, step));
        widestValue = std::max(widestValue, widthOf(valueTexts.back()));
    }
    const bool leftTitle = !state.leftTitle.empty();
    int leftSide =
        kEdge + (leftTitle ? textHeight + kTitlePad : 0) + widestValue + kLabelPad + kTick;
    int firstLabelHalf = labelWidths.empty() ? 0 : (labelWidths.front() + 1) / 2;
    plot.left = std::max(leftSide, kEdge + firstLabelHalf);
    // Room for half of any point label beyond the last point.
    plot.right = width - std::max(2 * kEdge, (widestLabel + 1) / 2 + 2);
    const int plotWidth = plot.Width();

    layout.leftTitle = Box{kEdge, plot.top, kEdge + textHeight, plot.bottom};
    const int labelTop = plot.bottom + labelDrop;
    layout.bottomTitle = Box{plot.left, labelTop + textHeight + kTitlePad, plot.right,
                             labelTop + 2 * textHeight + kTitlePad};
    if (plotWidth < 2 || plotHeight < 2) return layout;

    // Values to pixels: the minimum on the bottom edge, the maximum on the top edge; a range of
    // one value lies in the middle.
    layout.yMin = state.minimum;
    if (finite) {
        if (state.maximum > state.minimum) {
            layout.yOrigin = plot.bottom - 1;
            layout.yScale = (plotHeight - 1) / (state.maximum - state.minimum);
        } else {
            layout.yOrigin = plot.top + (plotHeight - 1) / 2.0;
            layout.yScale = plotHeight - 1;
        }
        layout.scaled = layout.yScale > 0 && std::isfinite(layout.yScale);
    }
    if (layout.scaled) {
        for (size_t i = 0; i < values.size(); ++i) {
            Tick tick;
            tick.pos = Round(layout.PixelY(values[i]));
            tick.text = valueTexts[i];
            int right = plot.left - kTick - kLabelPad;
            int top = tick.pos - textHeight / 2;
            tick.label = Box{right - widthOf(tick.text), top, right, top + textHeight};
            layout.left.push_back(tick);
        }
    }

    // The points' x range spans the plot; one point lies in the middle.
    double xMin = 0, xMax = 0, closest = 0;
    bool anyX = false;
    for (size_t i = 0; i < points.size(); ++i) {
        double x = points[i].x;
        if (!std::isfinite(x)) continue;
        if (anyX) {
            double apart = std::fabs(x - points[i - 1].x);
            if (std::isfinite(apart) && apart > 0 && (closest == 0 || apart < closest))
                closest = apart;
        }
        xMin = anyX ? std::min(xMin, x) : x;
        xMax = anyX ? std::max(xMax, x) : x;
        anyX = true;
    }
    if (!anyX) return layout;
    layout.xMin = xMin;
    if (xMax > xMin && std::isfinite(xMax - xMin)) {
        layout.xOrigin = plot.left;
        layout.xScale = (plotWidth - 1) / (xMax - xMin);
    } else {
        layout.xOrigin = plot.left + (plotWidth - 1) / 2.0;
    }

    // Every stride-th point keeps its label, so that no two labels touch.
    const int count = static_cast<int>(points.size());
    const int stride = LabelStride(closest * layout.xScale, widestLabel, kLabelGap, count);
    for (int i = 0; i < count; i += stride) {
        const TChartPoint& point = points[static_cast<size_t>(i)];
        if (!std::isfinite(point.x) || point.label.empty()) continue;
        Tick tick;
        tick.pos = Round(layout.PixelX(point.x));
        tick.text = point.label;
        int left = tick.pos - labelWidths[static_cast<size_t>(i)] / 2;
        tick.label =
            Box{left, labelTop, left + labelWidths[static_cast<size_t>(i)], labelTop + textHeight};
        layout.bottom.push_back(tick);
    }
    return layout;
}

} // namespace ui::chart
