// The duty-cycle window: the whole sweep in its timer's first tick (21 duties, the waits, a
// polling tick inside it, the four registers put back), its curve, and the early return without
// a full speed.
#include "SmartFanFixture.h"

#include "monitor/DutyCycleForm.h"

#include <gtest/gtest.h>

using monitor::TForm1;
using monitor::TfrmDutyCycleForm;

namespace {

struct DutyCycle : ::testing::Test {
    SmartFanSim sim;
    std::size_t clickMark = 0;
    std::uint32_t clickTime = 0;

    // Opens the window at 3 s with the given full speed (a 3000 RPM fan on the demo board).
    void Detect(double fullSpeedRpm) {
        sim.UseIni({{"FINTEK", "ENABLED", "4"}});
        sim.At(3000, [=](TForm1& f) {
            f.Program().frmDutyCycleForm->SetFullSpeedRpm(fullSpeedRpm);
            clickMark = sim.Mark();
            clickTime = sim.machine->Tick();
            f.btnDetectDutyCycle.UserClick();
        });
    }
    std::uint32_t TimeOf(std::size_t request) const {
        return sim.machine->DriverRequests().at(request).time;
    }
};

TEST_F(DutyCycle, SweepsTwentyOneDutiesAndPutsTheRegistersBack) {
    Detect(3000);
    std::vector<ui::TChartPoint> curve;
    sim.RunFor(70000, [&](monitor::MonitorProgram& p) {
        TfrmDutyCycleForm& w = *p.frmDutyCycleForm;
        EXPECT_TRUE(w.Visible());
        EXPECT_FALSE(w.Timer1.Enabled());
        EXPECT_TRUE(p.SweepIdle);
        EXPECT_EQ(w.Chart1.LeftAxis.Minimum(), 0);
        EXPECT_EQ(w.Chart1.LeftAxis.Maximum(), 3500);
        EXPECT_EQ(w.Chart1.RepaintCount(), 21);
        EXPECT_EQ(p.App.ScreenCursor(), ui::TCursor::crDefault);
        curve = w.Series1.Points();
    });

    // The kept registers: the sweep's first four reads (a polling tick's refresh may read
    // before it, but never in between).
    std::vector<RegisterAccess> reads = sim.Reads(clickMark);
    std::size_t first = 0;
    while (first + 3 < reads.size() &&
           !(reads[first].first == 0x20 && reads[first + 1].first == 0x21 &&
             reads[first + 2].first == 0x60 && reads[first + 3].first == 0x6B))
        ++first;
    ASSERT_LT(first + 3, reads.size());
    std::vector<RegisterAccess> kept(reads.begin() + static_cast<long>(first),
                                     reads.begin() + static_cast<long>(first) + 4);

    std::vector<RegisterAccess> writes = sim.Writes(clickMark);
    ASSERT_EQ(writes.size(), 1u + 21u + 4u);
    EXPECT_EQ(writes.front(), (RegisterAccess{0x60, 6}));
    std::vector<int> duties;
    for (std::size_t i = 1; i <= 21; ++i) {
        EXPECT_EQ(writes[i].first, 0x6B);
        duties.push_back(writes[i].second);
    }
    EXPECT_EQ(duties, (std::vector<int>{0,   12,  25,  38,  50,  63,  76,  89,  101, 114, 127,
                                        140, 152, 165, 178, 191, 203, 216, 229, 242, 254}));
    std::vector<RegisterAccess> back(writes.end() - 4, writes.end());
    EXPECT_EQ(back, (std::vector<RegisterAccess>{kept[0], kept[1], kept[3], kept[2]}));

    // 15 s before the first sample, 100 ms before each other: 15 + 19 x 0.1 + 20 x 2 s.
    std::size_t firstDuty = 0, writeBack = 0;
    const auto& requests = sim.machine->DriverRequests();
    for (std::size_t i = clickMark; i < requests.size(); ++i) {
        if (requests[i].code != monitor::IOCTL_MBDRVR_SMART_FAN_SET) continue;
        if (!firstDuty && requests[i].input[0] == 0x6B) firstDuty = i;
        writeBack = i;
    }
    EXPECT_EQ(TimeOf(firstDuty) - clickTime, 1000u);
    EXPECT_EQ(TimeOf(writeBack) - TimeOf(firstDuty), 56900u);
    // The polling tick ran inside the sweep.
    int ticksInside = 0;
    for (const auto& r : sim.machine->RequestsWithCode(monitor::IOCTL_MBDRVR_READ_SENSORS))
        if (r.time > TimeOf(firstDuty) && r.time < TimeOf(writeBack)) ++ticksInside;
    EXPECT_GE(ticksInside, 20);

    // The curve: 0 RPM at 0 %, the stalled fan as the chip's stopped count, then rising to
    // 254 / 255 of 3000 RPM.
    ASSERT_EQ(curve.size(), 21u);
    for (std::size_t i = 0; i < curve.size(); ++i) {
        EXPECT_EQ(curve[i].label, std::to_string(5 * i));
        EXPECT_EQ(curve[i].x, static_cast<double>(i));
        if (i > 0) {
            EXPECT_GE(curve[i].y, curve[i - 1].y) << i;
        }
    }
    EXPECT_EQ(curve[0].y, 0);
    EXPECT_EQ(curve[1].y, 366); // 1500000 / 0xFFF
    EXPECT_EQ(curve[20].y, 2988);
}

TEST_F(DutyCycle, WithoutAFullSpeedTheTickDoesNothing) {
    Detect(0);
    sim.RunFor(8000, [&](monitor::MonitorProgram& p) {
        TfrmDutyCycleForm& w = *p.frmDutyCycleForm;
        EXPECT_TRUE(w.Visible());
        EXPECT_FALSE(w.Timer1.Enabled());
        EXPECT_TRUE(p.SweepIdle);
        EXPECT_EQ(w.Series1.Count(), 0);
    });
    EXPECT_EQ(Hex(sim.Writes(clickMark)), "");
}

// Pressing the button again mid-sweep empties the curve; the sweep goes on into it, and no
// second sweep follows.
TEST_F(DutyCycle, PressingAgainMidSweepClearsTheCurveAndStartsNoSecondSweep) {
    Detect(3000);
    sim.At(3000 + 1000 + 15000 + 1900 + 2000 * 5 + 500,
           [](TForm1& f) { f.btnDetectDutyCycle.UserClick(); });
    std::size_t points = 0;
    sim.RunFor(130000, [&](monitor::MonitorProgram& p) {
        points = static_cast<std::size_t>(p.frmDutyCycleForm->Series1.Count());
        EXPECT_FALSE(p.frmDutyCycleForm->Timer1.Enabled());
    });
    // The click is taken when the sweep next processes messages: after the point of 30 %.
    EXPECT_EQ(points, 21u - 7u);
    EXPECT_EQ(sim.WritesOf(0x6B, clickMark).size(), 21u + 1u);
}

} // namespace
