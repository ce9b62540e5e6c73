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

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t get32(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// A 40-byte-header file given a longer header of `size` bytes (zeros after the first 40).
Bytes withHeaderSize(Bytes file, std::uint32_t size)
{
    file.insert(file.begin() + 14 + 40, size - 40, 0);
    testbmp::put32(file, 14, size);
    testbmp::put32(file, 10, get32(file, 10) + size - 40);
    return file;
}

// The same file with `gap` bytes between the colour table and the rows, the offset pointing past them.
Bytes withGap(Bytes file, std::uint32_t gap)
{
    const std::uint32_t offset = get32(file, 10);
    file.insert(file.begin() + offset, gap, 0xEE);
    testbmp::put32(file, 10, offset + gap);
    return file;
}

// The same picture stored top row first, with a negative height.
Bytes topDown(Bytes file, int width, int height)
{
    const std::size_t offset = get32(file, 10);
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    Bytes flipped = file;
    for (int row = 0; row < height; ++row)
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset + row * stride), stride,
                    flipped.begin() + static_cast<std::ptrdiff_t>(offset + (height - 1 - row) * stride));
    testbmp::put32(flipped, 14 + 8, static_cast<std::uint32_t>(-height));
    return flipped;
}

// Today's header forms, a pixel offset past a gap and top-down rows all read as the plain
// 40-byte bottom-up bitmap of the same picture.
TEST(BitmapFile, CurrentHeaderFormsGapsAndTopDownRowsReadAsThePlainForm)
{
    TempDir dir;
    testbmp::Layout layout;
    layout.width = 10;   // rows padded to 12 bytes
    layout.height = 6;
    const Bytes plain = testbmp::makeFile(layout);
    dir.write("plain.bmp", plain);
    const auto reference = readBitmapFile(dir.file("plain.bmp"));
    ASSERT_TRUE(reference);

    struct Case {
        std::string name;
        Bytes file;
    };
    std::vector<Case> cases;
    for (std::uint32_t size : {52u, 56u, 64u, 108u, 124u}) {
        cases.push_back({"header " + std::to_string(size), withHeaderSize(plain, size)});
        cases.push_back({"header " + std::to_string(size) + ", top-down, gap",
                         withGap(withHeaderSize(topDown(plain, 10, 6), size), 36)});
    }
    cases.push_back({"gap after the colour table", withGap(plain, 3)});
    cases.push_back({"top-down", topDown(plain, 10, 6)});
    {
        // An offset pointing into the colour table is not believed: rows follow the table.
        Bytes early = plain;
        testbmp::put32(early, 10, 14 + 40 + 8);
        cases.push_back({"offset inside the colour table", early});
        // An offset whose rows would run past the end is not believed either.
        Bytes late = plain;
        testbmp::put32(late, 10, static_cast<std::uint32_t>(plain.size() - 5));
        cases.push_back({"offset too late", late});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("form.bmp", c.file);
        std::string reason;
        const auto bitmap = readBitmapFile(dir.file("form.bmp"), &reason);
        ASSERT_TRUE(bitmap) << reason;
        EXPECT_EQ(bitmap->headerSize(), 40u);
        EXPECT_EQ(bitmap->height(), 6);
        EXPECT_EQ(bitmap->block(), reference->block());
    }
}

// A top-down header without columns has no rows to turn (found by fuzzing: the sanitizers
// caught a copy from an empty buffer). Read or refused, it must not touch memory.
TEST(BitmapFile, TopDownWithoutColumnsIsHandledSafely)
{
    TempDir dir;
    testbmp::Layout layout;
    layout.width = 4;
    layout.height = 3;
    Bytes file = testbmp::makeFile(layout);
    testbmp::put32(file, 14 + 4, 0);                                 // width 0
    testbmp::put32(file, 14 + 8, static_cast<std::uint32_t>(-133));  // top-down, 133 rows
    dir.write("empty.bmp", file);
    std::string reason;
    const auto bitmap = readBitmapFile(dir.file("empty.bmp"), &reason);
    if (bitmap)
        EXPECT_EQ(bitmap->width(), 0);
    else
        EXPECT_FALSE(reason.empty());
}

// Every refusal names its reason.
TEST(BitmapFile, RefusalsSayWhy)
{
    TempDir dir;
    testbmp::Layout layout;
    layout.width = 8;
    layout.height = 4;
    const Bytes plain = testbmp::makeFile(layout);
    testbmp::Layout trueColour = layout;
    trueColour.bitsPerPixel = 24;
    trueColour.tableEntries = 0;
    testbmp::Layout packed = layout;
    packed.compression = 1;
    const Bytes longHeader = withHeaderSize(plain, 124);
    Bytes oddHeader = plain;
    testbmp::put32(oddHeader, 14, 20);
    struct Case {
        std::string name;
        Bytes file;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"empty", {}, "the file is shorter than a bitmap file header"},
        {"no signature", Bytes(100, 'x'), "it does not start with the bitmap signature BM"},
        {"unknown header", oddHeader, "unsupported header size 20"},
        {"108 bytes, 24 bits", withHeaderSize(testbmp::makeFile(trueColour), 108),
         "a 108-byte header is read for 8 bits per pixel only, not 24"},
        {"124 bytes, compressed", withHeaderSize(testbmp::makeFile(packed), 124),
         "compressed (header size 124, compression 1)"},
        {"header cut short", Bytes(longHeader.begin(), longHeader.begin() + 100),
         "the file ends inside its 124-byte header"},
        {"rows cut short", Bytes(plain.begin(), plain.end() - 1), "its pixel rows run past the end of the file"},
        {"table cut short", Bytes(plain.begin(), plain.begin() + 14 + 40 + 10),
         "its colour table runs past the end of the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("bad.bmp", c.file);
        std::string reason;
        EXPECT_FALSE(readBitmapFile(dir.file("bad.bmp"), &reason));
        EXPECT_EQ(reason, c.reason);
    }
    std::string reason;
    EXPECT_FALSE(readBitmapFile("/dev/zero", &reason));
    EXPECT_EQ(reason, "not a regular file");
}

} // namespace
