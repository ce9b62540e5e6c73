#include <gtest/gtest.h>
#include <algorithm>
#include <limits>

#include "project/TexReliefChunk.h"
#include "view/ChunkOverlayLayout.h"
#include "view/ChunkSelection.h"
#include "view/ScaleBar.h"
#include "view/ViewCursor.h"

namespace {
std::vector<TexReliefChunk> grid(int cols, int rows)
{
    std::vector<TexReliefChunk> chunks;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TexReliefChunk chunk;
            chunk.chunkValueA = c;
            chunk.chunkValueB = r;
            chunks.push_back(chunk);
        }
    return chunks;
}
} // namespace

TEST(ChunkSelection, PlainClickReplacesShiftAddsAndShiftOnSelectedRemoves)
{
    auto chunks = grid(3, 2);
    ChunkSelection s;
    s.click(chunks, 1, false);
    EXPECT_EQ(s.indices(), (std::vector<std::uint32_t>{1}));
    auto changed = s.click(chunks, 4, false);   // replaces
    EXPECT_EQ(s.indices(), (std::vector<std::uint32_t>{4}));
    EXPECT_EQ(chunks[1].selected, 0);
    EXPECT_EQ(chunks[4].selected, 1);
    EXPECT_EQ(changed, (std::vector<std::uint32_t>{1, 4}));   // the cleared chunk, then the new one
    s.click(chunks, 1, true);                    // adds
    EXPECT_EQ(s.indices(), (std::vector<std::uint32_t>{4, 1}));
    changed = s.click(chunks, 4, true);          // removes
    EXPECT_EQ(s.indices(), (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(chunks[4].selected, 0);
    EXPECT_EQ(changed, (std::vector<std::uint32_t>{4, 1}));
    s.click(chunks, 1, false);                   // plain click on the selected chunk: cleared, then selected again
    EXPECT_EQ(s.indices(), (std::vector<std::uint32_t>{1}));
    s.click(chunks, 99, false);                  // off the list: clears only
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(chunks[1].selected, 0);
}

TEST(ChunkSelection, ChunkUnderAPosition)
{
    const GeoRect b{45.0, 46.0, 15.0, 18.0};
    EXPECT_EQ(chunkIndexAt(45.1, 15.1, b, 3, 2, 6), 0u);
    EXPECT_EQ(chunkIndexAt(45.9, 17.9, b, 3, 2, 6), 5u);
    EXPECT_EQ(chunkIndexAt(45.6, 16.5, b, 3, 2, 6), 4u);
    EXPECT_FALSE(chunkIndexAt(45.6, 16.5, b, 3, 2, 4));     // the list is short of that chunk
    EXPECT_FALSE(chunkIndexAt(46.0, 16.5, b, 3, 2, 6));     // on the northern edge: off the grid
    EXPECT_FALSE(chunkIndexAt(45.5, 16.5, GeoRect{}, 3, 2, 6));
    EXPECT_FALSE(chunkIndexAt(std::numeric_limits<double>::max(), 16.5, b, 3, 2, 6));
}

TEST(ChunkSelection, OutlineOfOneChunkIsInsetByTenTimesZoom)
{
    auto chunks = grid(2, 2);
    ChunkSelection s;
    s.click(chunks, 0, false);   // column 0, row 0: bottom left, rect (0, 256, 256, 512)
    const MapTransform t(2, 2, 1.0);
    const auto edges = s.outline(chunks, t);
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[0], (OutlineEdge{{10, 266}, {246, 266}}));   // north
    EXPECT_EQ(edges[1], (OutlineEdge{{10, 502}, {246, 502}}));   // south
    EXPECT_EQ(edges[2], (OutlineEdge{{10, 266}, {10, 502}}));    // west
    EXPECT_EQ(edges[3], (OutlineEdge{{246, 266}, {246, 502}}));  // east
}

TEST(ChunkSelection, ABlockShowsOneOutline)
{
    auto chunks = grid(3, 3);
    ChunkSelection s;
    s.click(chunks, 0, false);
    s.click(chunks, 1, true);
    s.click(chunks, 3, true);   // an L: (0,0), (1,0), (0,1)
    const MapTransform t(3, 3, 1.0);
    const auto edges = s.outline(chunks, t);
    // Chunk 0 has no north or east edge; chunk 1 no west; chunk 3 no south.
    EXPECT_EQ(edges.size(), 2u + 3u + 3u);
    // The inner corner: chunk 1's north edge and chunk 3's east edge meet at one point.
    const ViewRect r1 = t.chunkRect(1, 0), r3 = t.chunkRect(0, 1);
    const OutlineEdge north1{{r1.left - 10, r1.top + 10}, {r1.right - 10, r1.top + 10}};
    const OutlineEdge east3{{r3.right - 10, r3.top + 10}, {r3.right - 10, r3.bottom + 10}};
    EXPECT_NE(std::find(edges.begin(), edges.end(), north1), edges.end());
    EXPECT_NE(std::find(edges.begin(), edges.end(), east3), edges.end());
    // A straight run: chunk 0's south edge goes on to its east side, where chunk 1's begins.
    const ViewRect r0 = t.chunkRect(0, 0);
    const OutlineEdge south0{{r0.left + 10, r0.bottom - 10}, {r0.right, r0.bottom - 10}};
    EXPECT_NE(std::find(edges.begin(), edges.end(), south0), edges.end());
}

TEST(ChunkOverlayLayout, GridLinesAreDrawnOnce)
{
    const ViewRect r{0, 0, 256, 256};
    EXPECT_EQ(chunkGridLines(r, 1, 1).size(), 2u);
    EXPECT_EQ(chunkGridLines(r, 0, 1).size(), 3u);
    EXPECT_EQ(chunkGridLines(r, 1, 0).size(), 3u);
    const auto all = chunkGridLines(r, 0, 0);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], (GridLine{{255, 0}, {255, 256}}));
    EXPECT_EQ(all[1], (GridLine{{0, 0}, {256, 0}}));
    EXPECT_EQ(all[3], (GridLine{{0, 255}, {256, 255}}));
}

TEST(ChunkOverlayLayout, GridNodes)
{
    struct Case {
        int density;
        double zoom;
        std::size_t perSide;
        int spacing;
        int radius;
    };
    const Case cases[] = {
        {4, 1.0, 5, 64, 5},  {4, 2.0, 5, 128, 10}, {8, 0.5, 9, 16, 2}, {1, 1.0, 2, 256, 5},
        {4, 0.125, 5, 8, 2}, {0, 1.0, 2, 256, 5} /* damaged: as density 1 */,
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.density);
        const ViewRect r{10, 20, 10 + static_cast<int>(256 * c.zoom), 20 + static_cast<int>(256 * c.zoom)};
        const GridNodes nodes = chunkGridNodes(r, c.density, c.zoom);
        ASSERT_EQ(nodes.xs.size(), c.perSide);
        ASSERT_EQ(nodes.ys.size(), c.perSide);
        EXPECT_EQ(nodes.xs[0], 10);
        EXPECT_EQ(nodes.ys[0], 20);
        EXPECT_EQ(nodes.xs[1] - nodes.xs[0], c.spacing);
        EXPECT_EQ(nodes.radius, c.radius);
    }
    EXPECT_TRUE(chunkGridNodes({0, 0, 16, 16}, 4, 0.0625).xs.empty());   // below 0.125: none
    // Density 256 at 1/8: the step is below a pixel; the row still ends, one node per pixel.
    const GridNodes dense = chunkGridNodes({0, 0, 32, 32}, 256, 0.125);
    EXPECT_EQ(dense.xs.size(), 33u);
    // Density 3: 85-pixel steps at 1/2 are 42.5, each next coordinate truncated.
    const GridNodes third = chunkGridNodes({0, 0, 128, 128}, 3, 0.5);
    EXPECT_EQ(third.xs, (std::vector<int>{0, 42, 84, 126}));
}

TEST(ScaleBar, LengthBoxTicksAndTexts)
{
    const auto coarse = scaleBarLayout(20.0, 500);
    ASSERT_TRUE(coarse);
    EXPECT_EQ(coarse->lengthMetres, 10000.0);
    EXPECT_EQ(coarse->barFrom, (ViewPoint{30, 500}));
    EXPECT_EQ(coarse->barTo, (ViewPoint{530, 500}));
    EXPECT_EQ(coarse->box, (ViewRect{0, 470, 560, 510}));
    ASSERT_EQ(coarse->ticks.size(), 11u);
    EXPECT_EQ(coarse->ticks[0], (ScaleBarTick{{30, 500}, {30, 492}}));
    EXPECT_EQ(coarse->ticks[1], (ScaleBarTick{{80, 500}, {80, 496}}));
    EXPECT_EQ(coarse->ticks[5], (ScaleBarTick{{280, 500}, {280, 492}}));
    EXPECT_EQ(coarse->ticks[10], (ScaleBarTick{{530, 500}, {530, 492}}));
    EXPECT_EQ(coarse->lengthText, " 10000 m");
    EXPECT_EQ(coarse->lengthTextAt, (ViewPoint{530, 470}));
    const auto fine = scaleBarLayout(15.0, 100);   // exactly 15: not more than 15, so 1 km
    ASSERT_TRUE(fine);
    EXPECT_EQ(fine->lengthText, "  1000 m");
    EXPECT_EQ(fine->barTo.x, 30 + 66);
    EXPECT_FALSE(scaleBarLayout(0.0, 100));
    EXPECT_FALSE(scaleBarLayout(-3.0, 100));
    EXPECT_FALSE(scaleBarLayout(std::numeric_limits<double>::quiet_NaN(), 100));
    EXPECT_FALSE(scaleBarLayout(1e-9, 100));
}

TEST(ViewCursor, CalibrationWinsThenTheMode)
{
    struct Case {
        int step, mode;
        bool down;
        ViewCursor expected;
    };
    const Case cases[] = {
        {1, 3, false, ViewCursor::CalibrateFirst}, {2, 0, true, ViewCursor::CalibrateSecond},
        {3, 2, true, ViewCursor::CalibratePoint},  {0, 2, true, ViewCursor::MoveDragging},
        {0, 2, false, ViewCursor::Arrow},          {0, 3, true, ViewCursor::Zoom},
        {0, 1, false, ViewCursor::Crosshair},      {0, 0, true, ViewCursor::Arrow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseViewCursor(c.step, c.mode, c.down), c.expected) << c.step << " " << c.mode;
}
