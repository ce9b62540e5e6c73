#include <gtest/gtest.h>

#include <filesystem>

#include "project/AppContext.h"
#include "imagery/ProjectBitmap.h"
#include "project/ProjectFile.h"
#include "imagery/TestBitmaps.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

const char* const kColours = "This image has more than 256 colors. Loading Abandoned.";
const char* const kWidth = "This Image's width is not a multiple of 1024 . Loading abandoned.";
const char* const kHeight = "This Image's height is not a multiple of 1024 . Loading abandoned.";
const char* const kTooLarge = "DIB is too large";
const char* const kCannot = "Cannot load DIB";

struct Fixture {
    TempDir dir;
    ScriptedPlatform platform;
    AppContext app{platform};
    std::unique_ptr<CDibDoc> doc;
    Fixture()
    {
        app.settings.applicationPath = dir.str();
        doc = std::make_unique<CDibDoc>(app);
        platform.messages.clear();   // no colors.pcf here
    }
};

testbmp::Layout sized(int width, int height)
{
    testbmp::Layout layout;
    layout.width = width;
    layout.height = height;
    layout.pixel = [](int x, int y) { return static_cast<std::uint8_t>((x ^ y) & 0xFF); };
    return layout;
}

TEST(ProjectBitmap, ValidationOrderAndMessages)
{
    struct Case {
        const char* what;
        testbmp::Layout layout;
        std::vector<std::string> messages;
    };
    std::vector<Case> cases;
    {
        auto s = sized(1024, 1024);
        s.bitsPerPixel = 24;
        s.tableEntries = 0;
        cases.push_back({"24 bits", s, {kColours, kCannot}});
    }
    cases.push_back({"width 1280", sized(1280, 1024), {kWidth, kCannot}});
    cases.push_back({"height 1536", sized(1024, 1536), {kHeight, kCannot}});
    cases.push_back({"zero width", sized(0, 1024), {kWidth, kCannot}});
    {
        auto s = sized(1024, -1024);
        s.bitsPerPixel = 4;
        s.tableEntries = 16;
        cases.push_back({"top-down rows of 4 bits", s, {kTooLarge, kCannot}});
    }
    {
        auto s = sized(1024, 1024);
        s.bitsPerPixel = 4;
        s.tableEntries = 16;
        cases.push_back({"4 bits", s, {kNot8BitMessage, kCannot}});
    }
    {
        auto s = sized(1024, 1024);
        s.compression = 1;
        cases.push_back({"run-length pixels", s, {kNot8BitMessage, kCannot}});
    }
    {
        auto s = sized(1024, 1024);
        s.bitsPerPixel = 24;
        s.colorsUsed = 16;
        s.tableEntries = 16;
        cases.push_back({"24 bits with a colour table", s, {kNot8BitMessage, kCannot}});
    }
    {
        auto s = sized(1024, 1024);
        s.colorsUsed = 257;
        s.tableEntries = 257;
        cases.push_back({"257 colours", s, {kColours, kCannot}});
    }
    {
        auto s = sized(1024, 1024);
        s.truncateTo = 14 + 40 + 1024 + 1024 * 1023;
        cases.push_back({"rows cut short", s, {"This bitmap cannot be read: its pixel rows run past the end of the file.", kCannot}});
    }
    {
        auto s = sized(1024, 1024);
        s.truncateTo = 14 + 40 + 100;
        cases.push_back({"colour table cut short", s, {"This bitmap cannot be read: its colour table runs past the end of the file.", kCannot}});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.dir.write("in.bmp", testbmp::makeFile(c.layout));
        f.doc->chunkColumns = 7;   // a refusal must not touch the grid
        EXPECT_FALSE(loadProjectBitmap(*f.doc, f.dir.file("in.bmp")));
        EXPECT_EQ(f.platform.messageTexts(), c.messages);
        EXPECT_EQ(f.platform.messages.back().icon, MsgIcon::Information);
        if (c.messages.size() == 2) {
            EXPECT_EQ(f.platform.messages.front().icon,
                      c.messages.front() == kTooLarge ? MsgIcon::Information : MsgIcon::Exclamation);
        }
        EXPECT_FALSE(f.doc->projectBitmap);
        EXPECT_FALSE(f.doc->projectPalette);
        EXPECT_EQ(f.doc->chunkColumns, 7);
        EXPECT_EQ(f.platform.waitCursorDepth, 0);
    }
}

TEST(ProjectBitmap, TopDownRowsLoadAsAnOrdinaryBitmap)
{
    Fixture f;
    f.dir.write("up.bmp", testbmp::makeFile(sized(1024, 1024)));
    f.dir.write("down.bmp", testbmp::makeFile(sized(1024, -1024)));
    ASSERT_TRUE(loadProjectBitmap(*f.doc, f.dir.file("up.bmp")));
    const PackedBitmap up = *f.doc->projectBitmap;
    ASSERT_TRUE(loadProjectBitmap(*f.doc, f.dir.file("down.bmp")));
    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_EQ(f.doc->bitmapHeight, 1024);
    // The stand-in writes the same pixel function top row first: the rows come out reversed.
    for (int y : {0, 1, 500, 1023})
        for (int x : {0, 3, 1023})
            EXPECT_EQ(f.doc->projectBitmap->pixelIndex(x, y), up.pixelIndex(x, 1023 - y)) << x << "," << y;
}

TEST(ProjectBitmap, LoadsAndSetsTheChunkGrid)
{
    Fixture f;
    f.dir.write("tall.bmp", testbmp::makeFile(sized(1024, 2048)));
    f.doc->setModified(true);
    ASSERT_TRUE(loadProjectBitmap(*f.doc, f.dir.file("tall.bmp")));
    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_EQ(f.doc->bitmapWidth, 1024);
    EXPECT_EQ(f.doc->bitmapHeight, 2048);
    EXPECT_EQ(f.doc->chunkColumns, 4);
    EXPECT_EQ(f.doc->chunkRows, 8);
    EXPECT_FALSE(f.doc->modified);
    ASSERT_TRUE(f.doc->projectPalette);
    EXPECT_EQ(f.doc->projectPalette->colorRef(3), testbmp::paletteColor(3));

    // A bad bitmap loaded afterwards leaves no bitmap and no palette behind.
    f.dir.write("wide.bmp", testbmp::makeFile(sized(1280, 1024)));
    EXPECT_FALSE(loadProjectBitmap(*f.doc, f.dir.file("wide.bmp")));
    EXPECT_FALSE(f.doc->projectBitmap);
    EXPECT_FALSE(f.doc->projectPalette);
}

TEST(ProjectBitmap, UnopenableAndForeignFiles)
{
    Fixture f;
    const std::string missing = f.dir.file("missing.bmp");
    EXPECT_FALSE(loadProjectBitmap(*f.doc, missing));
    ASSERT_EQ(f.platform.messages.size(), 1u);
    EXPECT_EQ(f.platform.messages[0].text, std::string(kOpenFailedMessage) + "\n" + missing);
    EXPECT_EQ(f.platform.messages[0].icon, MsgIcon::Exclamation);

    f.platform.messages.clear();
    f.dir.write("text.bmp", std::string("not a bitmap at all"));
    EXPECT_FALSE(loadProjectBitmap(*f.doc, f.dir.file("text.bmp")));
    // Never "Cannot load DIB" alone: the reason comes first.
    EXPECT_EQ(f.platform.messageTexts(),
              (std::vector<std::string>{"This bitmap cannot be read: it does not start with the bitmap signature BM.", kCannot}));
    f.platform.messages.clear();
    EXPECT_FALSE(loadProjectBitmap(*f.doc, "/dev/zero"));
    EXPECT_EQ(f.platform.messageTexts(),
              (std::vector<std::string>{"This bitmap cannot be read: not a regular file.", kCannot}));
}

TEST(ProjectBitmap, SelectAsksForTheFileAndTakesItsFolder)
{
    Fixture f;
    f.platform.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(selectProjectBitmap(*f.doc));
    ASSERT_EQ(f.platform.fileDialogs.size(), 1u);
    const FileDialogOptions& options = f.platform.fileDialogs[0];
    EXPECT_EQ(options.title, "Select bitmap for this project:");
    EXPECT_EQ(options.filter, "BMP files (*.bmp)|*.bmp|");
    EXPECT_TRUE(options.hideReadOnly);
    EXPECT_TRUE(options.overwritePrompt);
    EXPECT_TRUE(f.doc->bitmapPath.empty());

    f.dir.write("photo.bmp", testbmp::makeFile(sized(1024, 1024)));
    f.platform.fileAnswers.push_back(f.dir.file("photo.bmp"));
    EXPECT_TRUE(selectProjectBitmap(*f.doc));
    EXPECT_EQ(f.doc->bitmapPath, f.dir.file("photo.bmp"));
    EXPECT_EQ(f.doc->sceneryFolder, f.dir.str());
    EXPECT_TRUE(f.doc->projectBitmap);
}

TEST(ProjectBitmap, ProjectFileLooksForAMovedBitmap)
{
    Fixture f;
    f.dir.write("photo.bmp", testbmp::makeFile(sized(2048, 1024)));
    f.doc->bitmapPath = f.dir.file("photo.bmp");
    ASSERT_TRUE(loadProjectBitmap(*f.doc, f.doc->bitmapPath));
    ASSERT_TRUE(saveProject(*f.doc, f.dir.file("p.prj")));
    std::filesystem::create_directory(f.dir.file("moved"));
    std::filesystem::rename(f.dir.file("photo.bmp"), f.dir.file("moved/photo.bmp"));

    CDibDoc reopened(f.app);
    f.platform.messages.clear();
    f.platform.answers = {MsgAnswer::Yes};
    f.platform.fileAnswers.push_back(f.dir.file("moved/photo.bmp"));
    ASSERT_TRUE(loadProject(reopened, f.dir.file("p.prj")));
    ASSERT_TRUE(reopened.projectBitmap);
    EXPECT_EQ(reopened.bitmapPath, f.dir.file("moved/photo.bmp"));
    EXPECT_EQ(reopened.chunkColumns, 8);
    EXPECT_EQ(reopened.chunkRows, 4);
    // A file that is simply gone is offered for a search first, without an error before it.
    ASSERT_EQ(f.platform.messages.size(), 1u);
    EXPECT_EQ(f.platform.messages[0].icon, MsgIcon::Question);
    // The new place is a change of the project, and one that can be taken back.
    EXPECT_TRUE(reopened.modified);
    EXPECT_EQ(reopened.undoStack.undoText(), "Bitmap Location");
    reopened.undoStack.undo(reopened);
    EXPECT_EQ(reopened.bitmapPath, f.dir.file("photo.bmp"));
    EXPECT_FALSE(reopened.modified);
}

TEST(ProjectBitmap, ABitmapThatIsThereButUnreadableSaysWhyBeforeTheOffer)
{
    Fixture f;
    f.dir.write("photo.bmp", testbmp::makeFile(sized(1024, 1024)));
    f.doc->bitmapPath = f.dir.file("photo.bmp");
    ASSERT_TRUE(loadProjectBitmap(*f.doc, f.doc->bitmapPath));
    ASSERT_TRUE(saveProject(*f.doc, f.dir.file("p.prj")));
    f.dir.write("photo.bmp", std::string("no longer a bitmap"));

    CDibDoc reopened(f.app);
    f.platform.messages.clear();
    f.platform.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::No};
    EXPECT_FALSE(loadProject(reopened, f.dir.file("p.prj")));
    ASSERT_GE(f.platform.messages.size(), 2u);
    EXPECT_EQ(f.platform.messages.back().icon, MsgIcon::Question);
    EXPECT_NE(f.platform.messages.front().icon, MsgIcon::Question);
}

} // namespace
