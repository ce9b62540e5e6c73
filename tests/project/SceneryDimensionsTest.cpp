#include <gtest/gtest.h>

#include <cstdio>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/SceneryDimensions.h"
#include "support/ScriptedPlatform.h"

namespace {

std::string shown(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%4.2f", value);
    return text;
}

TEST(SceneryDimensionsTest, WidthHeightAndScaleAsTheBarShowsThem)
{
    struct Case {
        GeoRect boundary;
        int chunkColumns;
        const char *width, *height, *scale;
    };
    const Case cases[] = {
        {{45, 46, 15, 16}, 4, "78.02", "111.13", "76.20"},
        {{45, 46, 15, 16}, 8, "78.02", "111.13", "38.10"},
        {{-46, -45, -16, -15}, 8, "78.02", "111.13", "38.10"},   // southern hemisphere: same size
        {{45, 46, 15, 15}, 4, "0.00", "111.13", "0.00"},          // east equals west
        {{45, 46, 15, 16}, 0, "78.02", "111.13", "0.00"},         // no bitmap yet: no division
    };
    ScriptedPlatform platform;
    AppContext app{platform};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.chunkColumns) + " chunks");
        CDibDoc doc(app);
        doc.boundary = c.boundary;
        doc.chunkColumns = c.chunkColumns;
        computeSceneryDimensions(doc);
        EXPECT_EQ(shown(doc.sceneryWidthKm), c.width);
        EXPECT_EQ(shown(doc.sceneryHeightKm), c.height);
        EXPECT_EQ(shown(doc.metresPerPixel), c.scale);
    }
}

TEST(SceneryDimensionsTest, ScaleComesFromTheWidthOverTheBitmapPixels)
{
    ScriptedPlatform platform;
    AppContext app{platform};
    CDibDoc doc(app);
    doc.boundary = {45, 46, 15, 16};
    doc.chunkColumns = 4;
    computeSceneryDimensions(doc);
    EXPECT_DOUBLE_EQ(doc.metresPerPixel, doc.sceneryWidthKm * 1000 / 1024);
    EXPECT_DOUBLE_EQ(doc.sceneryHeightKm, 40007.0 / 360);
    EXPECT_GT(doc.metresPerPixel, 50.0);
}

} // namespace
