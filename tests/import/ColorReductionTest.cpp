// The colour side of the import: the nearest-entry table against the plain scan, reserved entries,
// error diffusion, the adaptive palette, palette files and the whole-block sizes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "import/AdaptivePalette.h"
#include "import/ChunkSizing.h"
#include "import/ColorMapping.h"
#include "import/FixedPalette.h"
#include "import/NearestEntryTable.h"
#include "support/TempDir.h"

namespace {

ImportColors randomPalette(unsigned seed)
{
    std::mt19937 random(seed);
    ImportColors colors{};
    for (auto& c : colors)
        c = random() & 0xFFFFFF;
    return colors;
}

RgbImage randomImage(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    RgbImage image(width, height);
    for (auto& v : image.pixels)
        v = static_cast<std::uint8_t>(random());
    return image;
}

// A smooth picture with many colours, like a photo: gradients and a few waves.
RgbImage photoLike(int width, int height)
{
    RgbImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = static_cast<std::uint8_t>(127 + 120 * std::sin(x * 0.031 + y * 0.007));
            p[1] = static_cast<std::uint8_t>(x * 255 / width);
            p[2] = static_cast<std::uint8_t>(127 + 100 * std::cos(y * 0.05) * std::sin(x * 0.011));
        }
    return image;
}

double psnr(const RgbImage& image, const ImportColors& colors, const std::vector<std::uint8_t>& indices)
{
    double sum = 0;
    for (std::size_t i = 0; i < image.pixelCount(); ++i) {
        const std::uint32_t c = colors[indices[i]];
        const int got[3] = {int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)};
        for (int k = 0; k < 3; ++k) {
            const double d = image.pixels[3 * i + k] - got[k];
            sum += d * d;
        }
    }
    const double mse = sum / (3.0 * image.pixelCount());
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace

struct MappingCase {
    const char* name;
    unsigned seed;
    int reservedLow;
    bool duplicates;   // palette with repeated entries: ties must go to the lowest index
};

class FixedMapping : public testing::TestWithParam<MappingCase> {};

TEST_P(FixedMapping, EqualsTheFullScanOnEveryPixel)
{
    const MappingCase& c = GetParam();
    ImportColors colors = randomPalette(c.seed);
    if (c.duplicates)
        for (int i = 128; i < 256; ++i)
            colors[static_cast<std::size_t>(i)] = colors[static_cast<std::size_t>(i - 128)];
    const RgbImage image = randomImage(256, 256, c.seed + 1);
    const auto usable = usableEntries(c.reservedLow);
    const std::vector<std::uint8_t> mapped = mapToPalette(image, colors, usable, false);
    ASSERT_EQ(mapped.size(), image.pixelCount());
    for (std::size_t i = 0; i < image.pixelCount(); ++i) {
        const std::uint8_t* p = &image.pixels[3 * i];
        ASSERT_EQ(mapped[i], NearestEntryTable::scan(colors, usable, p[0], p[1], p[2])) << "pixel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, FixedMapping,
                         testing::Values(MappingCase{"random", 1, 0, false}, MappingCase{"reserved", 2, 16, false},
                                         MappingCase{"ties", 3, 0, true}, MappingCase{"tiesReserved", 4, 100, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NearestEntryTable, TieGoesToTheLowestIndexAndGreyCubeMatchesScan)
{
    ImportColors colors{};
    colors.fill(0x00FFFFFF);
    colors[7] = 0x000A0A0A;
    colors[9] = 0x000A0A0A;   // same colour, higher index
    colors[3] = 0x00000000;
    NearestEntryTable table(colors);
    EXPECT_EQ(table.nearest(10, 10, 10), 7);
    EXPECT_EQ(table.nearest(1, 1, 1), 3);
    EXPECT_EQ(table.nearest(250, 250, 250), 0);   // white: entry 0 is the first white one
    std::array<bool, 256> all{};
    all.fill(true);
    for (int v = 0; v < 256; v += 5)
        EXPECT_EQ(table.nearest(v, 255 - v, v / 2), NearestEntryTable::scan(colors, all, v, 255 - v, v / 2));
}

struct ReservedCase {
    const char* name;
    bool adaptive;
    bool dither;
};

class ReservedEntries : public testing::TestWithParam<ReservedCase> {};

TEST_P(ReservedEntries, NeverAppearAmongThePixels)
{
    const ReservedCase& c = GetParam();
    const RgbImage image = photoLike(200, 120);
    const int reserved = 12;
    ImportColors colors = c.adaptive ? adaptivePalette(image, reserved, 3) : randomPalette(9);
    if (!c.adaptive)   // the reserved entries hold exactly the picture's colours: still never used
        for (int i = 0; i < reserved; ++i)
            colors[static_cast<std::size_t>(i)] = image.pixels[3 * static_cast<std::size_t>(i)] |
                                                  image.pixels[3 * static_cast<std::size_t>(i) + 1] << 8 |
                                                  image.pixels[3 * static_cast<std::size_t>(i) + 2] << 16;
    const std::vector<std::uint8_t> mapped = mapToPalette(image, colors, usableEntries(reserved), c.dither);
    ASSERT_EQ(mapped.size(), image.pixelCount());
    EXPECT_GE(*std::min_element(mapped.begin(), mapped.end()), reserved);
    if (c.adaptive) {
        for (int i = 0; i < reserved; ++i)
            EXPECT_EQ(colors[static_cast<std::size_t>(i)], 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReservedEntries,
                         testing::Values(ReservedCase{"adaptive", true, false}, ReservedCase{"adaptiveDither", true, true},
                                         ReservedCase{"fixed", false, false}, ReservedCase{"fixedDither", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Dithering, KeepsTheMeanBrightnessWithTwoColours)
{
    RgbImage image(256, 64);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            std::fill_n(image.at(x, y), 3, static_cast<std::uint8_t>(x));
    ImportColors colors{};
    colors[0] = 0x000000;
    colors[1] = 0xFFFFFF;
    for (int i = 2; i < 256; ++i)
        colors[static_cast<std::size_t>(i)] = 0x000000;
    const auto usable = usableEntries(0);
    const auto plain = mapToPalette(image, colors, usable, false);
    const auto dithered = mapToPalette(image, colors, usable, true);
    // Column bands of 32: the share of white follows the grey level only with dithering.
    for (int band = 0; band < 8; ++band) {
        double white = 0, plainWhite = 0, count = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = band * 32; x < band * 32 + 32; ++x) {
                white += dithered[static_cast<std::size_t>(y) * 256 + x] == 1;
                plainWhite += plain[static_cast<std::size_t>(y) * 256 + x] == 1;
                ++count;
            }
        const double expected = (band * 32 + 15.5) / 255.0;
        EXPECT_NEAR(white / count, expected, 0.03) << "band " << band;
        EXPECT_EQ(plainWhite / count, band < 4 ? 0.0 : 1.0) << "band " << band;
    }
}

TEST(AdaptivePalette, KeepsFewColoursExactly)
{
    RgbImage image(50, 40);
    const std::uint32_t used[5] = {0x102030, 0x102031, 0xFFFFFF, 0x000001, 0x7F7F7F};
    for (std::size_t i = 0; i < image.pixelCount(); ++i) {
        const std::uint32_t c = used[(i * 7) % 5];
        image.pixels[3 * i] = c & 0xFF;
        image.pixels[3 * i + 1] = c >> 8 & 0xFF;
        image.pixels[3 * i + 2] = c >> 16 & 0xFF;
    }
    const ImportColors colors = adaptivePalette(image, 0, 3);
    const auto mapped = mapToPalette(image, colors, usableEntries(0), false);
    EXPECT_EQ(psnr(image, colors, mapped), 99.0);
}

TEST(AdaptivePalette, RefinementDoesNotLoseQualityAndPhotosReachAGoodPsnr)
{
    const RgbImage image = photoLike(320, 240);
    const auto usable = usableEntries(0);
    const ImportColors cut = adaptivePalette(image, 0, 0);
    const ImportColors refined = adaptivePalette(image, 0, 3);
    const double cutPsnr = psnr(image, cut, mapToPalette(image, cut, usable, false));
    const double refinedPsnr = psnr(image, refined, mapToPalette(image, refined, usable, false));
    EXPECT_GT(cutPsnr, 30.0);
    EXPECT_GE(refinedPsnr, cutPsnr - 0.05);
    EXPECT_EQ(adaptivePalette(image, 0, 3), refined);   // the same picture gives the same palette
}

TEST(FixedPalette, ReadsJascRawAndBitmapAndRefusesOthers)
{
    TempDir dir;
    dir.write("p.pal", std::string("JASC-PAL\r\n0100\r\n3\r\n255 0 0\r\n0 255 0\r\n1 2 3\r\n"));
    std::string error;
    auto jasc = readPaletteFile(dir.file("p.pal"), error);
    ASSERT_TRUE(jasc) << error;
    EXPECT_EQ(jasc->count, 3);
    EXPECT_EQ(jasc->colors[0], 0x0000FFu);
    EXPECT_EQ(jasc->colors[1], 0x00FF00u);
    EXPECT_EQ(jasc->colors[2], 0x030201u);

    std::vector<unsigned char> raw(768);
    for (int i = 0; i < 768; ++i)
        raw[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i / 3);
    dir.write("colors.pcf", raw);
    auto pcf = readDefaultPalette(dir.str(), error);
    ASSERT_TRUE(pcf) << error;
    EXPECT_EQ(pcf->count, 256);
    EXPECT_EQ(pcf->colors[200], 0xC8C8C8u);

    dir.write("junk.pal", std::string("not a palette"));
    EXPECT_FALSE(readPaletteFile(dir.file("junk.pal"), error));
    EXPECT_NE(error.find("junk.pal"), std::string::npos);
    EXPECT_FALSE(readPaletteFile(dir.file("missing.pal"), error));
    TempDir empty;
    EXPECT_FALSE(readDefaultPalette(empty.str(), error));
    EXPECT_NE(error.find("colors.pcf"), std::string::npos);
}

TEST(ChunkSizing, SidesAreWholeBlocksAndPaddedExtentsGrowByWholePixels)
{
    struct Case { double pixels; int nearest; int padded; };
    for (const Case& c : {Case{1, 1024, 1024}, Case{1535, 1024, 2048}, Case{1536, 2048, 2048}, Case{2600, 3072, 3072},
                          Case{4096, 4096, 4096}, Case{4097, 4096, 5120}}) {
        EXPECT_EQ(nearestChunkSide(c.pixels), c.nearest) << c.pixels;
        EXPECT_EQ(paddedChunkSide(static_cast<int>(c.pixels)), c.padded) << c.pixels;
    }
    const GeoRect box{44.0, 45.0, 15.0, 16.0};
    const PixelSize at100 = sizeForResolution(box, 100);   // 78.7 km x 111.1 km
    EXPECT_EQ(at100.width, 1024);
    EXPECT_EQ(at100.height, 1024);
    const PixelSize at25 = sizeForResolution(box, 25);
    EXPECT_EQ(at25.width, 3072);    // 3149 pixels
    EXPECT_EQ(at25.height, 4096);   // 4445 pixels

    const GeoRect padded = paddedExtents(box, {500, 250}, {1024, 1024});
    EXPECT_DOUBLE_EQ(padded.west, 15.0);
    EXPECT_DOUBLE_EQ(padded.north, 45.0);
    EXPECT_DOUBLE_EQ(padded.east, 15.0 + 1024 * (1.0 / 500));
    EXPECT_DOUBLE_EQ(padded.south, 45.0 - 1024 * (1.0 / 250));
}

TEST(NearestEntryTable, ADensePaletteMatchesTheScanOnEveryColourOfItsRegion)
{
    // Entries packed close together leave most cells of the region split between several of them.
    std::mt19937 random(21);
    ImportColors colors{};
    for (auto& c : colors)
        c = (80 + random() % 48) | (90 + random() % 48) << 8 | (60 + random() % 48) << 16;
    colors[200] = colors[17];   // a tie between two indices
    std::array<bool, 256> usable = usableEntries(3);
    NearestEntryTable table(colors, usable);
    // Two colours a side in every cell of the region.
    for (int r = 72; r < 136; r += 2)
        for (int g = 83; g < 146; g += 2)
            for (int b = 52; b < 116; b += 2)
                ASSERT_EQ(table.nearest(r, g, b), NearestEntryTable::scan(colors, usable, r, g, b))
                    << r << " " << g << " " << b;
}

TEST(AdaptivePalette, ALargePictureIsSampledAcrossEveryColumn)
{
    // Even columns hold reds, odd columns blues: a sample that kept to every other column would
    // leave one of the two out of the palette.
    RgbImage image(1024, 400);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            std::uint8_t* p = image.at(x, y);
            const auto level = static_cast<std::uint8_t>(y * 255 / (image.height - 1));
            p[0] = x % 2 == 0 ? level : 0;
            p[2] = x % 2 == 0 ? 0 : level;
        }
    const ImportColors colors = adaptivePalette(image, 0, 3);
    const auto reds = std::count_if(colors.begin(), colors.end(), [](std::uint32_t c) { return (c & 0xFF) > 64; });
    const auto blues = std::count_if(colors.begin(), colors.end(), [](std::uint32_t c) { return (c >> 16 & 0xFF) > 64; });
    EXPECT_GT(reds, 30);
    EXPECT_GT(blues, 30);
}

TEST(NearestEntryTable, EveryCellOfTheCubeMatchesTheScan)
{
    // One colour in every cell of the table, for a palette spread over the whole cube: enough
    // split cells to use up the blocks of answers, after which cells search each time. Every
    // third one is checked against the scan, and the last sixteenth all of them.
    const ImportColors colors = randomPalette(33);
    std::array<bool, 256> all{};
    all.fill(true);
    NearestEntryTable table(colors);
    int probe = 0;
    for (int r = 0; r < 256; r += 4)
        for (int g = 0; g < 256; g += 4)
            for (int b = 0; b < 256; b += 4, ++probe) {
                const int red = r + (g / 4) % 4, green = g + (b / 4) % 4, blue = b + (r / 4) % 4;
                const std::uint8_t found = table.nearest(red, green, blue);
                if (probe % 3 == 0 || r >= 240) {
                    ASSERT_EQ(found, NearestEntryTable::scan(colors, all, red, green, blue))
                        << red << " " << green << " " << blue;
                }
            }
}
