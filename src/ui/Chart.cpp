#include "ui/Chart.h"

namespace ui {

void TChartAxis::SetTitle(const std::string& title) {
    if (title_ == title) return;
    title_ = title;
    chart_.Changed();
}

bool TChartAxis::SetMinimum(double value) {
    if (value > maximum_) return false;
    if (value != minimum_) {
        minimum_ = value;
        chart_.Changed();
    }
    return true;
}

bool TChartAxis::SetMaximum(double value) {
    if (value < minimum_) return false;
    if (value != maximum_) {
        maximum_ = value;
        chart_.Changed();
    }
    return true;
}

TLineSeries::TLineSeries(TChart* chart, std::string name)
    : Component(chart ? chart->Owner() : nullptr, std::move(name)), chart_(chart) {
    if (chart_) chart_->series_ = this;
}

TLineSeries::~TLineSeries() {
    if (chart_ && chart_->series_ == this) chart_->series_ = nullptr;
}

void TLineSeries::Clear() {
    if (points_.empty()) return;
    points_.clear();
    if (chart_) chart_->Changed();
}

int TLineSeries::Add(double y, const std::string& label, TColor color) {
    TChartPoint point;
    point.x = static_cast<double>(points_.size());
    point.y = y;
    point.label = label;
    point.color = color;
    points_.push_back(point);
    if (chart_) chart_->Changed();
    return static_cast<int>(points_.size()) - 1;
}

TChart::~TChart() {
    if (series_) series_->chart_ = nullptr;
}

void TChart::Repaint() {
    ++repaints_;
    Notify(Prop::Chart);
}

} // namespace ui
