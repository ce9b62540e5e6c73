#include <cmath>
#include <gtest/gtest.h>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "view/Calibration.h"

namespace {

// Dialog stand-in: answers from a script and remembers what it was shown.
class ScriptedDialogs : public CalibrationDialogs {
public:
    std::vector<bool> answers;
    std::vector<std::string> log;
    std::function<void(CDibDoc&, bool)> onTwoPoint;

    bool twoPoint(CDibDoc& doc, bool secondStep, int x, int y) override
    {
        log.push_back(std::string(secondStep ? "second " : "first ") + std::to_string(x) + " " + std::to_string(y));
        if (onTwoPoint)
            onTwoPoint(doc, secondStep);
        return next();
    }
    bool pointScale(CDibDoc&, int x, int y) override
    {
        log.push_back("scale " + std::to_string(x) + " " + std::to_string(y));
        return next();
    }
    void defineBoundary(CDibDoc&) override { log.push_back("boundary"); }

private:
    bool next()
    {
        const bool a = answers.empty() ? false : answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        return a;
    }
};

class CalibrationTest : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    CDibDoc doc{app};
    CalibrationState state;
    ScriptedDialogs dialogs;

    void SetUp() override
    {
        doc.bitmapWidth = doc.bitmapHeight = 1024;
        doc.chunkColumns = doc.chunkRows = 4;
        platform.messages.clear();
    }
    void pointerAt(int x, int y)
    {
        doc.clickPixelX = x;
        doc.clickPixelY = y;
    }
};

} // namespace

TEST_F(CalibrationTest, TwoPointExample)
{
    const auto r = twoPointBoundary(45.0, 15.0, 100, 100, 45.6, 16.0, 900, 700, 1024, 1024);
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->west, 14.875, 1e-12);
    EXPECT_NEAR(r->east, 16.155, 1e-12);
    EXPECT_NEAR(r->south, 44.9, 1e-12);
    EXPECT_NEAR(r->north, 45.924, 1e-12);
}

TEST_F(CalibrationTest, PointScaleExample)
{
    const auto r = pointScaleBoundary(45.0, 15.0, 0, 0, 10.0, 256, 256);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->south, 45.0);
    EXPECT_EQ(r->west, 15.0);
    EXPECT_DOUBLE_EQ(r->north, 45.0 + 256 * 10 / 111130.55555555556);
    EXPECT_DOUBLE_EQ(r->east, 15.0 + 2560 / (std::cos(45.0 * 3.14159265359 / 180) * 40075.0 / 360.0 * 1000.0));
    // A scale of 0 collapses the boundary onto the landmark.
    const auto collapsed = pointScaleBoundary(45.0, 15.0, 10, 10, 0.0, 256, 256);
    ASSERT_TRUE(collapsed);
    EXPECT_EQ(collapsed->west, 15.0);
    EXPECT_EQ(collapsed->east, 15.0);
}

TEST_F(CalibrationTest, NothingBecomesNaNOrInfinite)
{
    EXPECT_FALSE(twoPointBoundary(45, 15, 100, 100, 46, 16, 100, 700, 1024, 1024));   // same column
    EXPECT_FALSE(twoPointBoundary(45, 15, 100, 100, 46, 16, 900, 100, 1024, 1024));   // same row
    EXPECT_FALSE(twoPointBoundary(45, 15, 100, 100, 1e308, 16, 101, 101, 1024, 1024));
    EXPECT_FALSE(pointScaleBoundary(45, 15, 0, 0, std::nan(""), 256, 256));
    EXPECT_FALSE(pointScaleBoundary(90, 15, 0, 0, 1e300, 256, 256));   // at the pole a degree of longitude is nearly 0 m
}

TEST_F(CalibrationTest, SameColumnLeavesTheBoundaryAndSaysWhy)
{
    doc.boundary = {1, 2, 3, 4};
    doc.landmark1PixelX = doc.landmark2PixelX = 500;
    doc.landmark1PixelY = 10;
    doc.landmark2PixelY = 20;
    EXPECT_FALSE(acceptTwoPoint(doc, "45", "15", "46", "16"));
    EXPECT_EQ(doc.boundary, (GeoRect{1, 2, 3, 4}));
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(platform.messageTexts(), (std::vector<std::string>{kSameColumnOrRowText}));
}

TEST_F(CalibrationTest, TwoPointRunThroughTheClicks)
{
    startCalibration(state, doc, true);
    EXPECT_EQ(state.step, 1);
    dialogs.answers = {true, true};
    dialogs.onTwoPoint = [](CDibDoc& d, bool second) {
        if (!second)
            acceptFirstLandmark(d, "45.0", "15.0");
        else
            acceptTwoPoint(d, "45.0", "15.0", "45.6", "16.0");
    };
    pointerAt(100, 100);
    EXPECT_TRUE(calibrationClick(state, doc, {1, 2}, dialogs));   // goes on as an ordinary click
    EXPECT_EQ(state.step, 2);
    EXPECT_EQ(state.lastClick, (ViewPoint{1, 2}));
    pointerAt(900, 700);
    EXPECT_TRUE(calibrationClick(state, doc, {3, 4}, dialogs));
    EXPECT_EQ(state.step, 0);
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"first 100 100", "second 900 700", "boundary"}));
    EXPECT_NEAR(doc.boundary.west, 14.875, 1e-12);
    EXPECT_NEAR(doc.boundary.north, 45.924, 1e-12);
    EXPECT_TRUE(doc.modified);
    // No calibration: the click is an ordinary one and no dialog opens.
    EXPECT_TRUE(calibrationClick(state, doc, {0, 0}, dialogs));
    EXPECT_EQ(dialogs.log.size(), 3u);
}

TEST_F(CalibrationTest, CancellingTheFirstDialogEndsTheCalibration)
{
    startCalibration(state, doc, true);
    dialogs.answers = {false};
    pointerAt(5, 6);
    EXPECT_FALSE(calibrationClick(state, doc, {0, 0}, dialogs));
    EXPECT_EQ(state.step, 0);
}

TEST_F(CalibrationTest, CancellingTheSecondLeavesTheBoundary)
{
    doc.boundary = {1, 2, 3, 4};
    startCalibration(state, doc, true);
    dialogs.answers = {true, false};
    pointerAt(5, 6);
    calibrationClick(state, doc, {0, 0}, dialogs);
    pointerAt(50, 60);
    EXPECT_FALSE(calibrationClick(state, doc, {0, 0}, dialogs));
    EXPECT_EQ(state.step, 0);
    EXPECT_EQ(doc.boundary, (GeoRect{1, 2, 3, 4}));
    EXPECT_EQ(dialogs.log.back(), "second 50 60");   // no boundary dialog
}

TEST_F(CalibrationTest, PointScaleClickOutsideTheBitmapUsesMinusOne)
{
    startCalibration(state, doc, false);
    EXPECT_EQ(state.step, 3);
    doc.landmark2Latitude = 9;   // every value starts again at 0
    startCalibration(state, doc, false);
    EXPECT_EQ(doc.landmark2Latitude, 0.0);
    dialogs.answers = {true};
    pointerAt(-1, 20);
    EXPECT_TRUE(calibrationClick(state, doc, {0, 0}, dialogs));
    EXPECT_EQ(doc.landmark1PixelX, -1);
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"scale -1 20", "boundary"}));
    EXPECT_TRUE(acceptPointScale(doc, "45", "15", 10.0));
    EXPECT_DOUBLE_EQ(doc.boundary.west, 15.0 + 10.0 / (std::cos(45.0 * 3.14159265359 / 180) * 40075.0 / 360.0 * 1000.0));
}

TEST_F(CalibrationTest, SyntheticProjectScalesToTheChunkGrid)
{
    doc.bitmapWidth = doc.bitmapHeight = 0;
    EXPECT_EQ(calibrationWidth(doc), 1024);
    EXPECT_EQ(calibrationHeight(doc), 1024);
}
