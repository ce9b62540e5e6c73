// The tagged item primitives: byte layout with back-patched lengths, bounds-checked reading,
// and the all-or-nothing replacement of the file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

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

// Streamed from its file, a reader gives the answers of a reader holding every byte: the same
// values, the same refusals and the same positions, across the edges of its window too.
TEST(TaggedFileTest, AStreamedReaderAnswersLikeOneInMemory)
{
    std::mt19937 random(77);
    Bytes bytes(2'600'000);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    bytes[0] = 64;
    bytes[1] = 0;
    TempDir dir;
    dir.write("a.prj", std::vector<unsigned char>(bytes.begin(), bytes.end()));
    auto streamed = TaggedReader::fromFile(dir.file("a.prj"), 10u << 20, {64});
    ASSERT_TRUE(streamed);
    TaggedReader memory(bytes);
    ASSERT_EQ(streamed->size(), memory.size());

    enum Op { Tag, U32, F64, Bytes16, Peek, Value, String, Skip, Unread, Seek, Count };
    std::uniform_int_distribution<int> op(0, Count - 1);
    std::uniform_int_distribution<std::size_t> place(0, bytes.size() + 10);
    for (int step = 0; step < 60000; ++step) {
        const int which = op(random);
        SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(which) + " at " +
                     std::to_string(memory.position()));
        switch (which) {
        case Tag: {
            std::uint16_t a = 1, b = 1;
            ASSERT_EQ(streamed->readTag(a), memory.readTag(b));
            ASSERT_EQ(a, b);
            break;
        }
        case U32: {
            std::uint32_t a = 1, b = 1;
            ASSERT_EQ(streamed->readU32(a), memory.readU32(b));
            ASSERT_EQ(a, b);
            break;
        }
        case F64: {
            double a = 1, b = 1;
            ASSERT_EQ(streamed->readF64(a), memory.readF64(b));
            ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0);
            break;
        }
        case Bytes16: {
            std::uint8_t a[16] = {}, b[16] = {};
            ASSERT_EQ(streamed->readBytes(a, 16), memory.readBytes(b, 16));
            ASSERT_EQ(std::memcmp(a, b, 16), 0);
            break;
        }
        case Peek: {
            const std::uint8_t* a = streamed->peek(22);
            const std::uint8_t* b = memory.peek(22);
            ASSERT_EQ(a == nullptr, b == nullptr);
            if (a) {
                ASSERT_EQ(std::memcmp(a, b, 22), 0);
            }
            break;
        }
        case Value: {
            // Lengths from the random bytes: mostly refused, some taken whole or cut to the field.
            std::uint64_t a = 0, b = 0;
            ASSERT_EQ(streamed->readValueInto(&a, sizeof a), memory.readValueInto(&b, sizeof b));
            ASSERT_EQ(a, b);
            break;
        }
        case String: {
            // A made-up length in front of the position: up to two windows long.
            const std::size_t at = memory.position();
            if (at < 4 || step % 200 != 0)
                break;
            std::uniform_int_distribution<std::uint32_t> length(0, 2'200'000);
            const std::uint32_t n = length(random);
            Bytes patched = bytes;
            for (int k = 0; k < 4; ++k)
                patched[at - 4 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(n >> (8 * k));
            dir.write("b.prj", std::vector<unsigned char>(patched.begin(), patched.end()));
            auto other = TaggedReader::fromFile(dir.file("b.prj"), 10u << 20, {64});
            ASSERT_TRUE(other);
            TaggedReader otherMemory(patched);
            ASSERT_TRUE(other->seek(at - 4) && otherMemory.seek(at - 4));
            std::string a = "kept", b = "kept";
            ASSERT_EQ(other->readString(a), otherMemory.readString(b));
            ASSERT_EQ(a, b);
            ASSERT_EQ(other->position(), otherMemory.position());
            break;
        }
        case Skip: {
            std::uniform_int_distribution<std::size_t> count(0, 3000);
            const std::size_t n = step % 500 == 0 ? 1'500'000 : count(random);
            ASSERT_EQ(streamed->skip(n), memory.skip(n));
            break;
        }
        case Unread: {
            const std::size_t n = step % 300 == 0 ? 1'200'000 : 2;
            ASSERT_EQ(streamed->unread(n), memory.unread(n));
            break;
        }
        case Seek: {
            const std::size_t to = place(random);
            ASSERT_EQ(streamed->seek(to), memory.seek(to));
            break;
        }
        }
        ASSERT_EQ(streamed->position(), memory.position());
        ASSERT_EQ(streamed->atEnd(), memory.atEnd());
    }
}

TEST(TaggedFileTest, AFileCutShortWhileStreamedGivesFailedReads)
{
    TempDir dir;
    Bytes bytes(3'000'000, 0x41);
    bytes[0] = 2;
    bytes[1] = 0;
    dir.write("a.prj", std::vector<unsigned char>(bytes.begin(), bytes.end()));
    auto in = TaggedReader::fromFile(dir.file("a.prj"), 10u << 20, {2});
    ASSERT_TRUE(in);
    std::filesystem::resize_file(dir.file("a.prj"), 1'000'000);
    ASSERT_TRUE(in->seek(2'000'000));
    std::uint32_t value = 7;
    EXPECT_FALSE(in->readU32(value));
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(in->peek(4), nullptr);
    std::string text = "kept";
    EXPECT_FALSE(in->readString(text));
    EXPECT_EQ(text, "kept");
    // What is still there reads.
    ASSERT_TRUE(in->seek(10));
    EXPECT_TRUE(in->readU32(value));
    EXPECT_EQ(value, 0x41414141u);
}

} // namespace
