// The tagged item primitives: byte layout with back-patched lengths, bounds-checked reading,
// and the all-or-nothing replacement of the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "project/TaggedReader.h"
#include "base/ReplacementFile.h"
#include "project/TaggedWriter.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TaggedFileTest, NestedBlocksAndStringsGetTheirLengthsPatched)
{
    TaggedWriter out;
    out.beginBlock(64);
    out.string(4, "abc");
    out.beginBlock(81);
    out.valueI32(7, -2);
    out.endBlock();
    out.string(9, "");
    out.endBlock();
    const Bytes expected = {
        64, 0, 35, 0, 0, 0,                 // outer block: 35 bytes follow, end tag included
        4, 0, 3, 0, 0, 0, 'a', 'b', 'c',     // string item
        81, 0, 12, 0, 0, 0,                 // inner block: 10-byte value item + end tag
        7, 0, 4, 0, 0, 0, 0xfe, 0xff, 0xff, 0xff,
        1, 0,
        9, 0, 0, 0, 0, 0,                   // empty string: tag and zero length
        1, 0,
    };
    EXPECT_EQ(out.data(), expected);
}

TEST(TaggedFileTest, ValuesAreLittleEndian)
{
    TaggedWriter out;
    out.valueF64(2, 1.0);
    out.u32(0x01020304);
    EXPECT_EQ(out.data(), (Bytes{2, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xf0, 0x3f, 4, 3, 2, 1}));

    TaggedReader in(out.data());
    std::uint16_t tag;
    double value;
    std::uint32_t word;
    ASSERT_TRUE(in.readTag(tag));
    ASSERT_TRUE(in.readValueInto(&value, sizeof value));
    ASSERT_TRUE(in.readU32(word));
    EXPECT_EQ(tag, 2);
    EXPECT_EQ(value, 1.0);
    EXPECT_EQ(word, 0x01020304u);
    EXPECT_TRUE(in.atEnd());
}

TEST(TaggedFileTest, ReadValueIntoNeverWritesPastTheField)
{
    struct Guarded {
        std::int32_t field;
        std::int32_t guard;
    };
    struct Case {
        Bytes bytes;
        bool ok;
        std::int32_t field;
        std::size_t end;
    };
    const Case cases[] = {
        {{4, 0, 0, 0, 1, 0, 0, 0}, true, 1, 8},
        {{8, 0, 0, 0, 2, 0, 0, 0, 9, 9, 9, 9}, true, 2, 12},   // surplus skipped
        {{2, 0, 0, 0, 3, 0}, true, 0x77770003, 6},             // short value fills the low bytes
        {{9, 0, 0, 0, 1, 2, 3}, false, 0x77777777, 4},          // longer than the data
        {{4, 0, 0}, false, 0x77777777, 0},
    };
    for (const Case& c : cases) {
        Guarded g{0x77777777, 0x55555555};
        TaggedReader in(c.bytes);
        EXPECT_EQ(in.readValueInto(&g.field, sizeof g.field), c.ok);
        EXPECT_EQ(g.field, c.field);
        EXPECT_EQ(g.guard, 0x55555555);
        EXPECT_EQ(in.position(), c.end);
    }
}

TEST(TaggedFileTest, ReadsStopAtTheEndOfTheData)
{
    TaggedReader in(Bytes{5, 0, 0, 0, 'a', 'b'});
    std::string text = "kept";
    EXPECT_FALSE(in.readString(text));   // 5 characters announced, 2 present
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(in.position(), 4u);
    EXPECT_FALSE(in.skip(3));
    EXPECT_TRUE(in.skip(2));
    EXPECT_FALSE(in.unread(7));
    EXPECT_TRUE(in.unread(6));
    EXPECT_EQ(in.position(), 0u);
    EXPECT_FALSE(in.seek(7));
    EXPECT_TRUE(in.seek(6));
    double d;
    EXPECT_FALSE(in.readF64(d));
    std::uint16_t tag;
    EXPECT_FALSE(in.readTag(tag));
}

TEST(TaggedFileTest, CommitReplacesTheFileOrLeavesItAlone)
{
    TempDir dir;
    dir.write("a.prj", std::string("old contents"));
    TaggedWriter out;
    out.valueI32(21, 7);
    ASSERT_TRUE(out.commit(dir.file("a.prj")));
    const auto written = dir.read("a.prj");
    EXPECT_EQ(Bytes(written.begin(), written.end()), out.data());
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.prj.part~")));

    EXPECT_FALSE(out.commit(dir.file("missing/a.prj")));
    std::filesystem::create_directory(dir.file("folder"));
    dir.write("folder/inside", std::string("x"));
    EXPECT_FALSE(out.commit(dir.file("folder")));   // cannot replace a folder
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("folder.part~")));

    const auto readBack = TaggedReader::fromFile(dir.file("a.prj"), 1024, {21});
    ASSERT_TRUE(readBack);
    EXPECT_EQ(readBack->size(), 10u);
    TaggedReader::Fault fault = TaggedReader::Fault::None;
    EXPECT_FALSE(TaggedReader::fromFile(dir.file("missing.prj"), 1024, {21}, &fault));
    EXPECT_EQ(fault, TaggedReader::Fault::Unopenable);
    // Another first tag, or more bytes than the limit: refused before the rest is read.
    EXPECT_FALSE(TaggedReader::fromFile(dir.file("a.prj"), 1024, {64, 2}, &fault));
    EXPECT_EQ(fault, TaggedReader::Fault::Refused);
    EXPECT_FALSE(TaggedReader::fromFile(dir.file("a.prj"), 9, {21}, &fault));
    EXPECT_EQ(fault, TaggedReader::Fault::Refused);
    EXPECT_FALSE(TaggedReader::fromFile("/dev/zero", 1u << 30, {0}, &fault));
    EXPECT_EQ(fault, TaggedReader::Fault::Refused);
}

TEST(TaggedFileTest, StreamedItemsEqualTheAssembledBytes)
{
    // Large enough that blocks and strings open in one streamed piece and close in another.
    auto writeItems = [](TaggedWriter& out) {
        out.beginBlock(64);
        for (int i = 0; i < 150000; ++i) {
            out.tag(12);
            out.f64(i * 0.25);
            out.i32(-i);
        }
        out.string(4, std::string(3'000'000, 'q'));
        out.beginBlock(81);
        out.valueI32(7, -2);
        out.string(9, "");
        out.endBlock();
        out.endBlock();
    };
    TaggedWriter memory;
    writeItems(memory);

    TempDir dir;
    dir.write("a.prj", std::string("old contents"));
    {
        // Dropped before commit: the old file stays and no temporary file is left.
        ReplacementFile file;
        ASSERT_TRUE(file.open(dir.file("a.prj")));
        TaggedWriter streamed(file.stream());
        writeItems(streamed);
        EXPECT_TRUE(streamed.finish());
    }
    EXPECT_EQ(dir.readText("a.prj"), "old contents");
    ReplacementFile file;
    ASSERT_TRUE(file.open(dir.file("a.prj")));
    TaggedWriter streamed(file.stream());
    writeItems(streamed);
    EXPECT_EQ(streamed.size(), memory.size());
    EXPECT_LT(streamed.data().size(), 2u << 20);   // only the last piece is held
    EXPECT_FALSE(streamed.commit(dir.file("b.prj")));   // the bytes are not all in memory
    ASSERT_TRUE(streamed.finish());
    ASSERT_TRUE(file.commit());
    const auto written = dir.read("a.prj");
    EXPECT_TRUE(Bytes(written.begin(), written.end()) == memory.data());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

} // namespace
