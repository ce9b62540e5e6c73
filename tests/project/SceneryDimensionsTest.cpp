#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <vector>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/NodeSpacing.h"
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

// The finest node spacing: the smallest of every chunk's east-west and north-south node steps.
TEST(SceneryDimensionsTest, FinestNodeSpacingOverTheChunks)
{
    struct Chunk {
        GeoRect area;
        int density;
    };
    struct Case {
        const char* name;
        std::vector<Chunk> chunks;
        double metres;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"no chunks", {}, 0.0},
        {"north-south is finer at the equator", {{{0.0, 0.01, 15.0, 15.02}, 4}}, 278.3},
        {"east-west is finer at 60 degrees", {{{60.0, 60.01, 15.0, 15.01}, 1}}, 556.5},
        {"the finest chunk wins", {{{45.0, 45.01, 15.0, 15.01}, 1}, {{45.0, 45.01, 15.0, 15.01}, 16}}, 49.2},
        {"density 0 and empty or broken areas count for nothing",
         {{{45.0, 45.01, 15.0, 15.01}, 0}, {{45.0, 45.0, 15.0, 15.0}, 4}, {{nan, 45.0, 15.0, 15.01}, 4}},
         0.0},
    };
    ScriptedPlatform platform;
    AppContext app{platform};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDibDoc doc(app);
        for (const Chunk& source : c.chunks) {
            TexReliefChunk chunk;
            chunk.area = source.area;
            chunk.properties.gridDensity = source.density;
            doc.chunks.push_back(chunk);
        }
        EXPECT_NEAR(finestNodeSpacingMetres(doc), c.metres, 0.1);
    }
}
