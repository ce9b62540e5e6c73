// The progress window's position, percentage and Cancel rules.
#include <gtest/gtest.h>

#include "base/ProgressWindow.h"

namespace {

class CountingProgress : public ProgressWindow {
public:
    int pumps = 0;

protected:
    void pump() override { ++pumps; }
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

} // namespace
