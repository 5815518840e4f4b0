// Range rules and the ruler's ticks and labels.
#include "splitter/slider/SliderRange.h"
#include "splitter/slider/TimeText.h"

#include <gtest/gtest.h>

using namespace slider;

namespace {

std::vector<std::string> Labels(const std::vector<ScaleMark>& marks) {
    std::vector<std::string> labels;
    for (const ScaleMark& m : marks)
        if (!m.label.empty())
            labels.push_back(m.label);
    return labels;
}

} // namespace

TEST(SliderRange, RefusesFewerThanTwoUnitsAndKeepsEverything) {
    Range range;
    EXPECT_FALSE(ApplyRange(range, 0, 1, 1));
    EXPECT_FALSE(ApplyRange(range, 5, 4, 1));
    EXPECT_EQ(range.maximum, 1);
    EXPECT_EQ(range.tick, 10) << "the construction range stays";
    EXPECT_TRUE(ApplyRange(range, 0, 2, 1));
    EXPECT_EQ(range.end, 2);
}

TEST(SliderRange, TickRules) {
    Range range;
    ASSERT_TRUE(ApplyRange(range, 0, 240, 10));
    EXPECT_EQ(range.tick, 10);
    ASSERT_TRUE(ApplyRange(range, 0, 45, 10));
    EXPECT_EQ(range.tick, 1) << "45 seconds or less always counts single seconds";
    ASSERT_TRUE(ApplyRange(range, 0, 100, 0));
    EXPECT_EQ(range.tick, 1) << "tick below 1";
    ASSERT_TRUE(ApplyRange(range, 0, 70, 50));
    EXPECT_EQ(range.tick, 1) << "d / tick == 1";
    ASSERT_TRUE(ApplyRange(range, 0, 70, 80));
    EXPECT_EQ(range.tick, 1) << "d < tick";
    ASSERT_TRUE(ApplyRange(range, 10, 200, 10));
    EXPECT_EQ(range.start, 10);
    EXPECT_EQ(range.initialStart, 10);
    EXPECT_EQ(range.end, 200);
    EXPECT_EQ(range.initialEnd, 200);
}

TEST(SliderRange, ClampingKeepsTheStartNotAfterTheEnd) {
    Range range;
    ASSERT_TRUE(ApplyRange(range, 0, 100, 1));
    EXPECT_EQ(ClampSelection(range, -5, 120, true, true), std::make_pair(0, 100));
    EXPECT_EQ(ClampSelection(range, 70, 40, true, false), std::make_pair(40, 40)) << "start stops at the end";
    EXPECT_EQ(ClampSelection(range, 70, 40, false, true), std::make_pair(70, 70)) << "end stops at the start";
}

TEST(SliderRange, TwoHundredFortySecondsInSingleTicks) {
    Range range;
    ASSERT_TRUE(ApplyRange(range, 0, 240, 1));
    auto marks = ScaleMarks(range, 483);
    // 240 ticks: a label every 30, the last tick is a label tick itself.
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "00:00:30", "00:01:00", "00:01:30", "00:02:00",
                                                       "00:02:30", "00:03:00", "00:03:30", "00:04:00"}));
    ASSERT_EQ(marks.size(), 9u);
    EXPECT_EQ(marks.front().x, 18);
    EXPECT_EQ(marks.back().x, 483 - 18);
    EXPECT_TRUE(marks.back().longTick);
    EXPECT_EQ(marks[1].x, 18 + static_cast<int>(30 * (447.0 / 240)));
}

TEST(SliderRange, TwoHundredFortySecondsInTensHasAShortEndTick) {
    Range range;
    ASSERT_TRUE(ApplyRange(range, 0, 240, 10));
    auto marks = ScaleMarks(range, 483);
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "00:00:50", "00:01:40", "00:02:30", "00:03:20"}));
    ASSERT_EQ(marks.size(), 6u);
    EXPECT_FALSE(marks.back().longTick);
    EXPECT_TRUE(marks.back().label.empty());
    EXPECT_EQ(marks.back().x, 465);
    EXPECT_EQ(marks[4].x, 18 + static_cast<int>(20 * (447.0 / 24)));
}

TEST(SliderRange, FortyFiveSecondsLabelEveryTen) {
    Range range;
    ASSERT_TRUE(ApplyRange(range, 0, 45, 10));
    auto marks = ScaleMarks(range, 483);
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "00:00:10", "00:00:20", "00:00:30", "00:00:40"}));
    EXPECT_FALSE(marks.back().longTick);
}

TEST(SliderRange, LongRangesThinTheLabels) {
    EXPECT_EQ(LabelInterval(10), 2);
    EXPECT_EQ(LabelInterval(11), 5);
    EXPECT_EQ(LabelInterval(60), 10);
    EXPECT_EQ(LabelInterval(300), 30);
    EXPECT_EQ(LabelInterval(499), 60);
    EXPECT_EQ(LabelInterval(500), 120);
    Range range;
    ASSERT_TRUE(ApplyRange(range, 0, 4500, 10)); // 75 minutes: 450 ticks, a label each 10 minutes
    auto labels = Labels(ScaleMarks(range, 483));
    ASSERT_EQ(labels.size(), 8u);
    EXPECT_EQ(labels[7], "00:70:00") << "minutes are not carried into hours";
    // The same texts as the window's times: the hour stays at zero.
    EXPECT_EQ(SplitTimeText(0), "00:00:00");
    EXPECT_EQ(SplitTimeText(3725), "00:62:05");
    EXPECT_EQ(SplitTimeText(4500), "00:75:00");
    EXPECT_EQ(SplitTimeText(6000), "00:100:00");
}

TEST(SliderRange, DragPixelsToSeconds) {
    Range range;
    ASSERT_TRUE(ApplyRange(range, 0, 240, 1));
    const double scale = Scale(483, range);
    EXPECT_DOUBLE_EQ(scale, 447.0 / 240);
    EXPECT_EQ(DragSeconds(1, scale), 0) << "a pixel is less than a second here";
    EXPECT_EQ(DragSeconds(20, scale), 10);
    EXPECT_EQ(DragSeconds(-20, scale), -10);
    EXPECT_EQ(ValueX(240, scale), 465);
}
