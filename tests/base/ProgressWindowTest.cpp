// The progress window's position, percentage and Cancel rules.
#include <gtest/gtest.h>

#include <vector>

#include "base/ProgressWindow.h"

namespace {

class CountingProgress : public ProgressWindow {
public:
    explicit CountingProgress(std::int64_t interval = 0) { setUpdateInterval(interval); }

    int pumps = 0;
    std::int64_t now = 1'000'000;              // a clock the test moves by hand
    std::vector<std::int64_t> redrawTimes;     // when each redraw happened

protected:
    void pump() override { ++pumps; }
    void onPositionChanged() override { redrawTimes.push_back(now); }
    std::int64_t nowMicros() const override { return now; }
};

TEST(ProgressWindowTest, SevenStepsOverSevenShowTheClassicPercentages)
{
    CountingProgress progress;
    progress.SetRange(0, 7);
    progress.SetStep(1);
    EXPECT_EQ(progress.percentText(), " 0 %");
    std::vector<std::string> texts;
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(progress.StepIt(), i);   // the previous position
        texts.push_back(progress.percentText());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"14%", "28%", "42%", "57%", "71%", "85%", "100%"}));
    EXPECT_EQ(progress.pumps, 7);
}

TEST(ProgressWindowTest, PercentageRule)
{
    struct Case {
        int pos, lower, upper;
        const char* text;
    };
    const Case cases[] = {
        {150, 0, 100, "50%"},    // beyond the range wraps
        {100, 0, 100, "100%"},   // a full bar stays 100
        {200, 0, 100, "0%"},
        {5, 5, 5, "0%"},         // an empty range does not fail
        {7, 5, 5, "0%"},
        {15, 10, 20, "50%"},
        {2147483647, -2147483647 - 1, 2147483647, "100%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgressWindow::percentFor(c.pos, c.lower, c.upper), c.text)
            << c.pos << " in " << c.lower << ".." << c.upper;
}

TEST(ProgressWindowTest, PositionChangesReturnThePreviousPosition)
{
    CountingProgress progress;
    EXPECT_EQ(progress.SetPos(40), 0);
    EXPECT_EQ(progress.OffsetPos(-15), 40);
    EXPECT_EQ(progress.StepIt(), 25);   // default step 10
    EXPECT_EQ(progress.pos(), 35);
    EXPECT_EQ(progress.percentText(), "35%");
    progress.SetRange(3, 3);
    EXPECT_EQ(progress.SetPos(3), 35);
    EXPECT_EQ(progress.percentText(), "0%");
}

TEST(ProgressWindowTest, TwoCancelPressesCountOnce)
{
    CountingProgress progress;
    EXPECT_FALSE(progress.CheckCancelButton());
    progress.pressCancel();
    progress.pressCancel();
    EXPECT_TRUE(progress.CheckCancelButton());
    EXPECT_FALSE(progress.CheckCancelButton());
    EXPECT_EQ(progress.pumps, 3);
}

TEST(ProgressWindowTest, WindowsUpdateAtMostEveryFifteenMillisecondsByDefault)
{
    EXPECT_EQ(ProgressWindow().updateInterval(), 15000);
}

TEST(ProgressWindowTest, AFrozenClockShowsTheFirstAndTheLastStepOnly)
{
    CountingProgress progress(ProgressWindow::kDefaultUpdateMicros);
    progress.SetRange(0, 1'000'000);
    progress.SetStep(1);
    for (int i = 0; i < 1'000'000; ++i) {
        progress.StepIt();
        EXPECT_FALSE(progress.CheckCancelButton());
    }
    EXPECT_EQ(progress.pos(), 1'000'000);
    EXPECT_EQ(progress.pumps, 2);
    EXPECT_EQ(progress.redrawTimes.size(), 2u);
    // The text is still that of the current position, formatted when asked for.
    EXPECT_EQ(progress.percentText(), "100%");
    progress.SetPos(500'000);
    EXPECT_EQ(progress.percentText(), "50%");
}

TEST(ProgressWindowTest, FastStepsRedrawAboutEveryFifteenMilliseconds)
{
    // One microsecond per record for two seconds: at most one redraw per 15 ms, and none late
    // by more than the stride of unread clock calls allows.
    CountingProgress progress(ProgressWindow::kDefaultUpdateMicros);
    const int count = 2'000'000;
    progress.SetRange(0, count + 1);   // the end is never reached, so every redraw is a timed one
    progress.SetStep(1);
    for (int i = 0; i < count; ++i) {
        progress.now += 1;
        progress.StepIt();
    }
    ASSERT_GE(progress.redrawTimes.size(), 100u);
    EXPECT_LE(progress.redrawTimes.size(), 134u);
    for (std::size_t i = 1; i < progress.redrawTimes.size(); ++i) {
        const std::int64_t gap = progress.redrawTimes[i] - progress.redrawTimes[i - 1];
        EXPECT_GE(gap, 15000) << i;
        EXPECT_LE(gap, 15000 + 2048) << i;
    }
    EXPECT_EQ(progress.pumps, static_cast<int>(progress.redrawTimes.size()));
}

TEST(ProgressWindowTest, SlowStepsRedrawEveryTime)
{
    CountingProgress progress(ProgressWindow::kDefaultUpdateMicros);
    progress.SetRange(0, 100);
    progress.SetStep(1);
    for (int i = 0; i < 50; ++i) {
        progress.now += 20000;
        progress.StepIt();
    }
    EXPECT_EQ(progress.redrawTimes.size(), 50u);
    EXPECT_EQ(progress.pumps, 50);
}

TEST(ProgressWindowTest, CancelIsSeenAtOnceAndEventsRunWhenDue)
{
    CountingProgress progress(ProgressWindow::kDefaultUpdateMicros);
    EXPECT_FALSE(progress.CheckCancelButton());   // the first look pumps
    EXPECT_EQ(progress.pumps, 1);
    for (int i = 0; i < 3000; ++i) {
        progress.pressCancel();
        EXPECT_TRUE(progress.CheckCancelButton());   // the flag needs no pump
        EXPECT_FALSE(progress.CheckCancelButton());
    }
    EXPECT_EQ(progress.pumps, 1);
    // Once the time is up, the next looks pump (the clock is read only every few calls) and
    // redraw a position that changed meanwhile.
    progress.SetStep(1);
    progress.StepIt();
    const std::size_t redraws = progress.redrawTimes.size();
    progress.now += 15000;
    for (int i = 0; i < 2048 && progress.pumps == 1; ++i)
        progress.CheckCancelButton();
    EXPECT_EQ(progress.pumps, 2);
    EXPECT_EQ(progress.redrawTimes.size(), redraws + 1);
}

} // namespace
