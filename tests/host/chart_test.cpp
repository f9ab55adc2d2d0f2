// The chart model: the left axis refuses a minimum above its maximum and a maximum below its
// minimum; points take ascending x values.
#include "os/sim/SimMachine.h"
#include "os/sim/SimProcess.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/ChartLayout.h"
#include "ui/Form.h"
#include "ui/HeadlessPlatform.h"

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

struct ChartForm : ui::Form {
    explicit ChartForm(ui::Application& app)
        : ui::Form(app, "ChartForm"), Chart1(this, "Chart1"), Series1(&Chart1, "Series1") {}
    ui::TChart Chart1;
    ui::TLineSeries Series1;
};

struct ChartTest : ::testing::Test {
    TestSandbox sandbox{"orlo-chart"};
    os::sim::SimMachine machine{sandbox};
    std::unique_ptr<os::sim::SimProcess> process = machine.StartProcess("C:\\T.EXE");
    ui::HeadlessPlatform platform{*process};
    ui::Application app{*process, platform};
    ChartForm* form = app.CreateForm<ChartForm>();
};

TEST_F(ChartTest, AxisRefusesCrossingBounds) {
    ui::TChartAxis& axis = form->Chart1.LeftAxis;
    ASSERT_TRUE(axis.SetMinimum(5));
    ASSERT_TRUE(axis.SetMaximum(329));
    // Minimum first, then maximum: the order the program uses, which never meets a refusal.
    EXPECT_TRUE(axis.SetMinimum(0));
    EXPECT_TRUE(axis.SetMaximum(2000));
    EXPECT_FALSE(axis.SetMinimum(2500)); // above the maximum
    EXPECT_EQ(axis.Minimum(), 0);
    EXPECT_FALSE(axis.SetMaximum(-1)); // below the minimum
    EXPECT_EQ(axis.Maximum(), 2000);
    // The other order can be refused: a new range wholly above the old one.
    EXPECT_FALSE(axis.SetMinimum(3000));
    EXPECT_TRUE(axis.SetMaximum(4000));
    EXPECT_TRUE(axis.SetMinimum(3000));
}

TEST_F(ChartTest, PointsTakeAscendingX) {
    EXPECT_EQ(form->Chart1.Series(), &form->Series1);
    form->Series1.Add(0, "0", ui::clRed);
    form->Series1.Add(1500, "5", ui::clRed);
    ASSERT_EQ(form->Series1.Count(), 2);
    EXPECT_EQ(form->Series1.Points()[1].x, 1);
    EXPECT_EQ(form->Series1.Points()[1].y, 1500);
    EXPECT_EQ(form->Series1.Points()[1].label, "5");
    form->Series1.Clear();
    form->Series1.Add(7, "a", ui::clRed);
    EXPECT_EQ(form->Series1.Points()[0].x, 0);
}

// A series and its chart may go in either order; the one left behind forgets the other.
TEST_F(ChartTest, ChartAndSeriesForgetEachOtherWhenOneGoes) {
    struct BareChart : ui::Form {
        explicit BareChart(ui::Application& app) : ui::Form(app, "BareChart"), Chart(this, "C") {}
        ui::TChart Chart;
    };
    auto* bare = app.CreateForm<BareChart>();
    {
        ui::TLineSeries series(&bare->Chart, "S");
        series.Add(1, "1", ui::clRed);
    }
    EXPECT_EQ(bare->Chart.Series(), nullptr);
    EXPECT_TRUE(ui::chart::StateOf(bare->Chart).points.empty());

    auto chart = std::make_unique<ui::TChart>(bare, "C2");
    ui::TLineSeries series(chart.get(), "S2");
    chart.reset();
    EXPECT_EQ(series.Chart(), nullptr);
    series.Add(2, "2", ui::clRed); // nothing to tell
    EXPECT_EQ(series.Count(), 1);
}

} // namespace
