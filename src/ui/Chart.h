// A line chart with one series: the curve of the smart-fan page and of the duty-cycle window.
// The model keeps the points and the axes; the Win32 side draws them.
#pragma once

#include "ui/Control.h"
#include "ui/ExtCtrls.h"

#include <string>
#include <vector>

namespace ui {

class TChart;

// An axis of the chart. The left axis is set by the program (not automatic): a minimum above
// the current maximum, or a maximum below the current minimum, is refused and changes nothing.
class TChartAxis {
  public:
    explicit TChartAxis(TChart& chart) : chart_(chart) {}
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    bool Automatic = true;
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    // Both return whether the value was taken.
    bool SetMinimum(double value);
    bool SetMaximum(double value);

  private:
    TChart& chart_;
    std::string title_;
    double minimum_ = 0;
    double maximum_ = 100;
};

struct TChartPoint {
    double x = 0;
    double y = 0;
    std::string label;
    TColor color = clRed;
};

// The chart's one line series. Points are added with ascending x: each Add takes the next
// index (0, 1, 2, ...) as its x.
class TLineSeries : public Component {
  public:
    TLineSeries(TChart* chart, std::string name);
    // A chart and its series forget each other, whichever of the two goes first.
    ~TLineSeries() override;
    TChart* Chart() const { return chart_; }

    void Clear();
    // Adds a point (y, label, colour) at the next x; returns its index.
    int Add(double y, const std::string& label, TColor color);
    const std::vector<TChartPoint>& Points() const { return points_; }
    int Count() const { return static_cast<int>(points_.size()); }

    TColor SeriesColor = clRed;
    bool PointerVisible = false; // point markers
    bool MarksVisible = false;   // value marks beside the points

  private:
    friend class TChart;
    TChart* chart_;
    std::vector<TChartPoint> points_;
};

class TChart : public Control {
  public:
    using Control::Control;
    ~TChart() override;
    TChartAxis LeftAxis{*this};
    TChartAxis BottomAxis{*this};
    bool LegendVisible = false;
    bool TitleVisible = false;
    bool View3D = false;
    bool BackWallFilled = false;
    TColor BackWallColor = clWhite;
    TPanel::TAlign Align = TPanel::TAlign::alNone;

    // The series drawn in this chart (set by the series itself).
    TLineSeries* Series() const { return series_; }
    // Draws the chart again at once.
    void Repaint();
    int RepaintCount() const { return repaints_; }

  private:
    friend class TChartAxis;
    friend class TLineSeries;
    void Changed() { Notify(Prop::Chart); }
    TLineSeries* series_ = nullptr;
    int repaints_ = 0;
};

} // namespace ui
