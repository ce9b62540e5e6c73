#include <gtest/gtest.h>

#include <filesystem>

#include "imagery/BitmapFile.h"
#include "imagery/TestBitmaps.h"
#include "support/TempDir.h"

namespace {

TEST(BitmapFile, ReadsBothHeaderFormsWithTheirColourTables)
{
    TempDir dir;
    testbmp::Layout info;
    info.width = 8;
    info.height = 4;
    dir.write("info.bmp", testbmp::makeFile(info));
    testbmp::Layout core = info;
    core.coreHeader = true;
    dir.write("core.bmp", testbmp::makeFile(core));

    for (const char* name : {"info.bmp", "core.bmp"}) {
        SCOPED_TRACE(name);
        const auto bitmap = readBitmapFile(dir.file(name));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width(), 8);
        EXPECT_EQ(bitmap->height(), 4);
        EXPECT_EQ(bitmapColorCount(*bitmap), 256);
        EXPECT_EQ(bitmap->colorAt(77), testbmp::paletteColor(77));
        EXPECT_EQ(bitmap->pixelIndex(5, 3), testbmp::patternIndex(5, 3));
        const auto palette = createBitmapPalette(*bitmap);
        ASSERT_TRUE(palette);
        EXPECT_EQ(palette->version, 0x300);
        ASSERT_EQ(palette->size(), 256u);
        EXPECT_EQ(palette->colorRef(200), testbmp::paletteColor(200));
    }
}

// Every file here claims more than it holds, or is no bitmap at all: it must be refused
// without reading past its end (the sanitizer build checks the "never read past" part).
TEST(BitmapFile, RefusesFilesThatDoNotHoldWhatTheHeaderClaims)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    testbmp::Layout base;
    base.width = 16;
    base.height = 16;
    const std::vector<std::uint8_t> good = testbmp::makeFile(base);

    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"shorter than the file header", {'B', 'M', 0, 0}});
    auto notBm = good;
    notBm[0] = 'X';
    cases.push_back({"no BM", notBm});
    cases.push_back({"header cut", std::vector<std::uint8_t>(good.begin(), good.begin() + 30)});
    cases.push_back({"colour table cut", std::vector<std::uint8_t>(good.begin(), good.begin() + 14 + 40 + 500)});
    cases.push_back({"last row missing", std::vector<std::uint8_t>(good.begin(), good.end() - 16)});
    auto manyColours = good;
    testbmp::put32(manyColours, 46, 0x7FFFFFFF);
    cases.push_back({"colours used far beyond the file", manyColours});
    auto tallImage = good;
    testbmp::put32(tallImage, 22, 0x40000000);
    cases.push_back({"height far beyond the file", tallImage});
    auto wideImage = good;
    testbmp::put32(wideImage, 18, 0x7FFFFFFF);
    cases.push_back({"width far beyond the file", wideImage});
    auto unknownHeader = good;
    testbmp::put32(unknownHeader, 14, 64);
    cases.push_back({"unknown header size", unknownHeader});
    auto rle = good;
    testbmp::put32(rle, 30, 1);
    testbmp::put32(rle, 34, 0x10000000);
    cases.push_back({"compressed size beyond the file", rle});

    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("bad.bmp", c.bytes);
        EXPECT_FALSE(readBitmapFile(dir.file("bad.bmp")));
    }
    EXPECT_FALSE(readBitmapFile(dir.file("missing.bmp")));
}

TEST(BitmapFile, WriteRecomputesImageSizeAndRoundTrips)
{
    TempDir dir;
    testbmp::Layout layout;
    layout.width = 12;   // padded to 12: stride 12
    layout.height = 3;
    layout.tableEntries = 256;
    auto bytes = testbmp::makeFile(layout);
    testbmp::put32(bytes, 34, 0);   // a zero image size is legal for plain pixels
    dir.write("in.bmp", bytes);
    const auto bitmap = readBitmapFile(dir.file("in.bmp"));
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(writeBitmapFile(*bitmap, dir.file("out.bmp")));
    const auto written = dir.read("out.bmp");
    ASSERT_EQ(written.size(), 14u + 40 + 1024 + 36);
    EXPECT_EQ(written[2] | written[3] << 8, static_cast<int>(written.size()));
    EXPECT_EQ(written[10] | written[11] << 8, 14 + 40 + 1024);
    EXPECT_EQ(written[34], 36);   // image size filled in
    const auto back = readBitmapFile(dir.file("out.bmp"));
    ASSERT_TRUE(back);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(back->pixelIndex(x, y), testbmp::patternIndex(x, y));

    layout.coreHeader = true;
    dir.write("core.bmp", testbmp::makeFile(layout));
    EXPECT_FALSE(writeBitmapFile(*readBitmapFile(dir.file("core.bmp")), dir.file("core-out.bmp")));
}

TEST(BitmapFile, TileBitmapTakesTemplateHeaderAndLeavesTemplateAlone)
{
    TempDir dir;
    testbmp::Layout layout;
    layout.width = 1024;
    layout.height = 1024;
    dir.write("big.bmp", testbmp::makeFile(layout));
    const auto templ = readBitmapFile(dir.file("big.bmp"));
    ASSERT_TRUE(templ);
    const std::vector<std::uint8_t> before = templ->block();
    std::vector<std::uint8_t> pixels(256 * 256);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 3);
    ASSERT_TRUE(writeTileBitmap(*templ, dir.file("tile.bmp"), pixels.data(), 256, 256));
    EXPECT_EQ(templ->block(), before);
    const auto written = dir.read("tile.bmp");
    ASSERT_EQ(written.size(), 14u + 40 + 1024 + 65536);
    const auto tile = readBitmapFile(dir.file("tile.bmp"));
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->width(), 256);
    EXPECT_EQ(tile->height(), 256);
    EXPECT_EQ(tile->u32(20), 65536u);
    EXPECT_EQ(tile->colorAt(9), testbmp::paletteColor(9));
    EXPECT_EQ(std::vector<std::uint8_t>(written.end() - 65536, written.end()), pixels);

    // A core-header template gives the same colours behind a 40-byte header.
    testbmp::Layout core;
    core.width = 8;
    core.height = 8;
    core.coreHeader = true;
    dir.write("core.bmp", testbmp::makeFile(core));
    const auto coreTempl = readBitmapFile(dir.file("core.bmp"));
    ASSERT_TRUE(coreTempl);
    ASSERT_TRUE(writeTileBitmap(*coreTempl, dir.file("core-tile.bmp"), pixels.data(), 256, 256));
    const auto coreTile = readBitmapFile(dir.file("core-tile.bmp"));
    ASSERT_TRUE(coreTile);
    EXPECT_EQ(coreTile->headerSize(), 40u);
    EXPECT_EQ(coreTile->colorAt(200), testbmp::paletteColor(200));
    EXPECT_EQ(coreTile->pixelIndex(3, 0), pixels[3]);

    // A folder that does not exist: no file, no temporary left behind.
    EXPECT_FALSE(writeTileBitmap(*templ, dir.file("nowhere/tile.bmp"), pixels.data(), 256, 256));
    // A failed write leaves the previous file as it was (here a folder of that name).
    std::filesystem::create_directory(dir.file("tile2.bmp"));
    std::vector<std::uint8_t> other(256 * 256, 7);
    EXPECT_FALSE(writeTileBitmap(*templ, dir.file("tile2.bmp"), other.data(), 256, 256));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("tile2.bmp")));
    EXPECT_EQ(dir.read("tile.bmp"), written);
}

} // namespace
