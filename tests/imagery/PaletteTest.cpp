#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>

#include "project/AppContext.h"
#include "imagery/BitmapFile.h"
#include "imagery/ShippedFiles.h"
#include "base/PathUtil.h"
#include "imagery/PaletteFiles.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

// colors.pcf whose entry i is (i, 255 - i, i * 3).
std::vector<unsigned char> pcfBytes(std::size_t size = 768)
{
    std::vector<unsigned char> bytes(size);
    for (std::size_t k = 0; k < size; ++k) {
        const std::size_t i = k / 3;
        bytes[k] = static_cast<unsigned char>(k % 3 == 0 ? i : (k % 3 == 1 ? 255 - i : i * 3));
    }
    return bytes;
}

std::uint32_t pcfColor(std::size_t i)
{
    return static_cast<std::uint32_t>(i) | static_cast<std::uint32_t>(255 - i) << 8 |
           static_cast<std::uint32_t>((i * 3) & 0xFF) << 16;
}

struct Fixture {
    TempDir dir;
    ScriptedPlatform platform;
    AppContext app{platform};
    explicit Fixture(bool withPcf = true)
    {
        app.settings.applicationPath = dir.str();
        if (withPcf)
            dir.write("colors.pcf", pcfBytes());
    }
};

TEST(DefaultColors, EntriesGoToTheirFourTables)
{
    Fixture f;
    CDibDoc doc(f.app);
    EXPECT_TRUE(f.platform.messages.empty());
    for (std::size_t i = 0; i < 116; ++i)
        ASSERT_EQ(doc.standardColors[i], pcfColor(i)) << i;
    for (std::size_t i = 0; i < 12; ++i)
        ASSERT_EQ(doc.nightColors[i], pcfColor(116 + i)) << i;
    for (std::size_t i = 0; i < 32; ++i)
        ASSERT_EQ(doc.skyGroundColors[i], pcfColor(160 + i)) << i;
    for (std::size_t i = 0; i < 64; ++i)
        ASSERT_EQ(doc.customColors[i], pcfColor(192 + i)) << i;
    EXPECT_EQ(doc.colorTable, (std::array<std::int32_t, 256>{}));
    EXPECT_EQ(doc.colorTableParams, (std::array<std::int32_t, 4>{}));
}

TEST(DefaultColors, MissingOrShortFile)
{
    {
        Fixture f(false);
        CDibDoc doc(f.app);
        ASSERT_EQ(f.platform.messages.size(), 1u);
        EXPECT_EQ(f.platform.messages[0].text,
                  "Couldn't read default palette file.\n2\ncolors.pcf was looked for in " + f.dir.str() + ".");
        EXPECT_EQ(f.platform.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(doc.standardColors, (std::array<std::uint32_t, 116>{}));
        EXPECT_EQ(doc.customColors, (std::array<std::uint32_t, 64>{}));
    }
    {
        Fixture f(false);
        f.dir.write("colors.pcf", pcfBytes(3 * 120 + 2));   // 120 whole entries and a partial one
        CDibDoc doc(f.app);
        EXPECT_TRUE(f.platform.messages.empty());
        EXPECT_EQ(doc.nightColors[3], pcfColor(119));
        EXPECT_EQ(doc.nightColors[4], 0u);
        EXPECT_EQ(doc.customColors, (std::array<std::uint32_t, 64>{}));
    }
}

TEST(DefaultColors, TheProgramsOwnFilesStandInForMissingOnes)
{
    TempDir program;
    ASSERT_TRUE(writeShippedFiles(program.str()));
    const std::array<std::uint8_t, 768> palette = shippedPaletteBytes();
    {
        // Nothing in the application folder: the program's copy is read without a word.
        Fixture f(false);
        f.app.settings.programFolder = program.str();
        CDibDoc doc(f.app);
        EXPECT_TRUE(f.platform.messages.empty());
        EXPECT_EQ(doc.standardColors[5], 0xFF0000u);   // red 0, green 0, blue 5 * 51
        EXPECT_EQ(doc.customColors[63], 0xFFFFFFu);     // the last grey is white
    }
    {
        // The user's own colors.pcf wins.
        Fixture f(true);
        f.app.settings.programFolder = program.str();
        CDibDoc doc(f.app);
        EXPECT_EQ(doc.standardColors[5], pcfColor(5));
    }
    {
        // Every folder missing it: the message names them all, the installed share folder last.
        Fixture f(false);
        TempDir empty;
        f.app.settings.programFolder = (empty.path() / "bin").string();
        CDibDoc doc(f.app);
        ASSERT_EQ(f.platform.messages.size(), 1u);
        EXPECT_EQ(f.platform.messages[0].text, "Couldn't read default palette file.\n2\ncolors.pcf was looked for in " +
                                                   f.dir.str() + ", " + f.app.settings.programFolder + " or " +
                                                   (empty.path() / "share" / "orvane").string() + ".");
    }
    // The palette is 216 cube colours and 40 greys, all different.
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i < 256; ++i)
        colours.insert(palette[3 * i] | palette[3 * i + 1] << 8 | palette[3 * i + 2] << 16);
    EXPECT_EQ(colours.size(), 254u);   // black and white are both cube colours and greys
}

TEST(DefaultColors, TheShippedDefaultBitmapDressesRawTiles)
{
    TempDir program;
    ASSERT_TRUE(writeShippedFiles(program.str()));
    const std::optional<PackedBitmap> bitmap = readBitmapFile(program.file("default.bmp"));
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_EQ(bitmap->width(), 256);
    EXPECT_EQ(bitmap->height(), 256);
    EXPECT_EQ(bitmap->bitsPerPixel(), 8);
    EXPECT_EQ(bitmap->colorAt(215), 0xFFFFFFu);
    EXPECT_EQ(bitmap->pixelIndex(17, 33), 2 * 16 + 1);
}

TEST(PaletteFiles, ExportIs768BytesAndReadsBackAsDefaultColours)
{
    Fixture f;
    CDibDoc doc(f.app);
    for (int i = 0; i < 256; ++i)
        doc.colorTable[i] = static_cast<std::int32_t>((i * 0x010305u) & 0xFFFFFF);
    doc.textureFolder = f.dir.str();
    const std::string out = PathUtil::join(f.dir.file("other"), "colors.pcf");
    std::filesystem::create_directories(f.dir.file("other"));
    f.platform.fileAnswers.push_back(out);
    ASSERT_TRUE(savePaletteAs(doc));
    ASSERT_EQ(f.platform.fileDialogs.size(), 1u);
    EXPECT_EQ(f.platform.fileDialogs[0].title, "Save palette as:");
    EXPECT_EQ(f.platform.fileDialogs[0].filter, "PAL Files (*.pal)|*.pal|");
    EXPECT_EQ(f.platform.fileDialogs[0].initialDir, f.dir.str());
    EXPECT_TRUE(f.platform.fileDialogs[0].hideReadOnly && f.platform.fileDialogs[0].overwritePrompt);
    EXPECT_EQ(std::filesystem::file_size(out), 768u);

    // Read back through the default colour rules of a new document.
    f.app.settings.applicationPath = f.dir.file("other");
    CDibDoc back(f.app);
    for (std::size_t i = 0; i < 256; ++i) {
        const auto expected = static_cast<std::uint32_t>(doc.colorTable[i]);
        std::uint32_t got = expected;   // entries 128-159 are not kept anywhere
        if (i < 116)
            got = back.standardColors[i];
        else if (i < 128)
            got = back.nightColors[i - 116];
        else if (i >= 160 && i < 192)
            got = back.skyGroundColors[i - 160];
        else if (i >= 192)
            got = back.customColors[i - 192];
        EXPECT_EQ(got, expected) << i;
    }

    // Cancel writes nothing; an unwritable place leaves the earlier file as it was.
    f.platform.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(savePaletteAs(doc));
    f.platform.fileAnswers.push_back(PathUtil::join(f.dir.file("missing-folder"), "p.pal"));
    EXPECT_FALSE(savePaletteAs(doc));
    EXPECT_TRUE(f.platform.messages.empty());
}

TEST(PaletteFiles, JascImportFillsCustomColours)
{
    struct Case {
        const char* what;
        std::string text;
        int replaced;   // customColors[0..replaced-1] become colour k = (k, k + 1, k + 2)
    };
    auto triples = [](int count) {
        std::string text = "JASC-PAL\n0100\n" + std::to_string(count) + "\n";
        for (int k = 0; k < count; ++k)
            text += std::to_string(k) + " " + std::to_string(k + 1) + " " + std::to_string(k + 2) + "\r\n";
        return text;
    };
    const Case cases[] = {
        {"ten colours", triples(10), 10},
        {"256 colours", triples(256), 64},
        {"a trailing partial triple", triples(3) + "7 8", 3},
        {"no header numbers", "JASC-PAL\nversion\n1 2 3\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        CDibDoc doc(f.app);
        const auto before = doc.customColors;
        f.dir.write("in.pal", c.text);
        ASSERT_TRUE(importJascPalette(doc, f.dir.file("in.pal")));
        for (int k = 0; k < 64; ++k) {
            const std::uint32_t expected = k < c.replaced ? static_cast<std::uint32_t>(k | (k + 1) << 8 | (k + 2) << 16)
                                                          : before[k];
            ASSERT_EQ(doc.customColors[k], expected) << k;
        }
    }

    Fixture f;
    CDibDoc doc(f.app);
    f.dir.write("wide.pal", std::string("JASC-PAL 0100 1\n300 -1 256\n"));
    ASSERT_TRUE(importJascPalette(doc, f.dir.file("wide.pal")));
    EXPECT_EQ(doc.customColors[0], 0x00FF2Cu);   // 300 -> 44, -1 -> 255, 256 -> 0
    const auto before = doc.customColors;
    EXPECT_FALSE(importJascPalette(doc, f.dir.file("missing.pal")));
    EXPECT_EQ(doc.customColors, before);
}

} // namespace
