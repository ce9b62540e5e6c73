// The extents page arithmetic: resolutions from extents, extents from resolutions by the reference
// corner, and the Locks.

#include <gtest/gtest.h>

#include <cmath>

#include "output/Coordinates.h"
#include "wizards/PhotoExtentsModel.h"

namespace {

constexpr double kPi = 3.14159265359;

double kmPerDegreeLon(double north, double south)
{
    return std::cos((north + south) / 2 * kPi / 180) * 40075.0 / 360.0;
}

PhotoExtentsModel decimalModel(int width, int height)
{
    return PhotoExtentsModel(width, height, 0);
}

TEST(PhotoExtentsModel, LatitudesOverA1024SquareGiveAbout108MetresPerPixel)
{
    PhotoExtentsModel m = decimalModel(1024, 1024);
    m.maxLatText = "45";
    m.maxLatChanged();
    m.minLatText = "44";
    m.minLatChanged();
    EXPECT_NEAR(m.vertical, 108.53, 0.005);
    EXPECT_DOUBLE_EQ(m.vertical, 111.13055555555556 * 1000 / 1024);
    EXPECT_EQ(m.horizontal, 0.0);   // no longitudes yet
    m.maxLonText = "16";
    m.maxLonChanged();
    m.minLonText = "15";
    m.minLonChanged();
    EXPECT_DOUBLE_EQ(m.horizontal, 1.0 * kmPerDegreeLon(45, 44) * 1000 / 1024);
    // Typed texts are kept as typed: nothing was computed from a resolution.
    EXPECT_EQ(m.maxLatText, "45");
    EXPECT_EQ(m.minLatText, "44");
    EXPECT_EQ(m.maxLonText, "16");
    EXPECT_EQ(m.minLonText, "15");
}

TEST(PhotoExtentsModel, EqualLongitudesAreLeftAloneByTheCornerComputations)
{
    PhotoExtentsModel m = decimalModel(1024, 1024);
    m.maxLatText = "45";
    m.minLatText = "44";
    m.minLonText = "0";
    m.maxLonText = "0";
    m.minLonChanged();
    m.maxLonChanged();
    EXPECT_EQ(m.horizontal, 0.0);
    m.horizontal = 30.0;
    m.horizontalChanged();
    m.maxLatChanged();
    EXPECT_EQ(m.maxLonText, "0");
    EXPECT_EQ(m.minLonText, "0");
    EXPECT_EQ(m.east(), m.west());
}

TEST(PhotoExtentsModel, AResolutionMovesTheEdgesAwayFromTheReferenceCorner)
{
    // (corner, which latitude and which longitude are computed)
    const struct { int corner; bool northComputed; bool eastComputed; } cases[] = {
        {PhotoExtentsModel::NorthWest, false, true},
        {PhotoExtentsModel::SouthWest, true, true},
        {PhotoExtentsModel::NorthEast, false, false},
        {PhotoExtentsModel::SouthEast, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.corner);
        PhotoExtentsModel m = decimalModel(2048, 1024);
        m.maxLatText = "45";
        m.minLatText = "44";
        m.maxLonText = "16";
        m.minLonText = "15";
        m.corner = c.corner;

        m.vertical = 50.0;
        m.verticalChanged();
        const double span = 1024 * 50.0 / 111130.55555555556;
        if (c.northComputed) {
            EXPECT_NEAR(m.north(), 44 + span, 1e-6);
            EXPECT_EQ(m.minLatText, "44");
        } else {
            EXPECT_NEAR(m.south(), 45 - span, 1e-6);
            EXPECT_EQ(m.maxLatText, "45");
        }

        m.horizontal = 20.0;
        m.horizontalChanged();
        const double k = kmPerDegreeLon(m.north(), m.south());
        const double lonSpan = 2048 * 20.0 / (k * 1000);
        if (c.eastComputed) {
            EXPECT_NEAR(m.east(), 15 + lonSpan, 1e-6);   // the decimal text keeps six decimals
            EXPECT_EQ(m.minLonText, "15");
        } else {
            EXPECT_NEAR(m.west(), 16 - lonSpan, 1e-6);
            EXPECT_EQ(m.maxLonText, "16");
        }
    }
}

TEST(PhotoExtentsModel, ResolutionsCoverWholeChunksOnly)
{
    PhotoExtentsModel m = decimalModel(1100, 1300);   // 1024 x 1280 pixels in whole chunks
    m.maxLatText = "10";
    m.minLatText = "0";
    m.maxLonText = "1";
    m.minLonText = "0";
    m.corner = PhotoExtentsModel::SouthWest;
    m.vertical = 100.0;
    m.verticalChanged();
    EXPECT_NEAR(m.north(), 1280 * 100.0 / 111130.55555555556, 1e-6);
}

TEST(PhotoExtentsModel, LocksKeepTheResolutionWhileExtentsAreTyped)
{
    PhotoExtentsModel m(1024, 1024, 1);   // D:M:S display
    m.maxLatText = "45";
    m.minLatText = "44";
    m.maxLonText = "16";
    m.minLonText = "15";
    m.vertical = 100.0;
    m.horizontal = 50.0;

    m.verticalLock = true;
    m.verticalLockClicked();   // N from S, then the longitudes by the corner (south-west: E from W)
    EXPECT_EQ(m.maxLatText, formatCoordinate(44 + 1024 * 100.0 / 111130.55555555556, 1));
    EXPECT_EQ(m.minLonText, "15");
    EXPECT_NE(m.maxLonText, "16");

    m.maxLatText = "46";
    m.maxLatChanged();         // S follows N
    EXPECT_EQ(m.minLatText, formatCoordinate(46 - 1024 * 100.0 / 111130.55555555556, 1));
    EXPECT_EQ(m.vertical, 100.0);

    m.horizontalLock = true;
    m.maxLonText = "17";
    m.maxLonChanged();         // W follows E
    const double k = kmPerDegreeLon(m.north(), m.south());
    EXPECT_EQ(m.minLonText, formatCoordinate(17 - 1024 * 50.0 / (k * 1000), 1));
    EXPECT_EQ(m.horizontal, 50.0);

    m.minLonText = "15";
    m.minLonChanged();         // E follows W
    EXPECT_EQ(m.maxLonText, formatCoordinate(15 + 1024 * 50.0 / (k * 1000), 1));

    // Unlocked again, typing recomputes the resolutions instead.
    m.verticalLock = false;
    m.verticalLockClicked();
    m.minLatText = "45";
    m.minLatChanged();
    EXPECT_DOUBLE_EQ(m.vertical, (m.north() - 45) * 111.13055555555556 * 1000 / 1024);
}

} // namespace
