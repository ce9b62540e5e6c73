#pragma once
// Writer of the tagged item format shared by the project file and TexRelief.cfg:
// little-endian 16-bit tags, 32-bit lengths back-patched after the contents, end tag 1.
// Items are assembled in memory, or streamed to an open file in pieces (a large project then
// never exists twice in memory); lengths of items already streamed are patched in the file.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class TaggedWriter {
public:
    /// Assembles the items in memory; `commit` writes them.
    TaggedWriter() = default;
    /// Streams the items to `stream` (a file opened for writing, empty) in pieces; `finish`
    /// writes the rest. The stream must outlive the writer's use.
    explicit TaggedWriter(std::FILE* stream);
    TaggedWriter(const TaggedWriter&) = delete;
    TaggedWriter& operator=(const TaggedWriter&) = delete;

    void tag(std::uint16_t tag);
    void u32(std::uint32_t value);
    void i32(std::int32_t value);
    void f64(double value);
    void bytes(const void* data, std::size_t size);

    /// tag, length 4, value
    void valueI32(std::uint16_t tag, std::int32_t value);
    /// tag, length 8, value
    void valueF64(std::uint16_t tag, double value);
    /// tag, length n, the n bytes
    void valueBytes(std::uint16_t tag, const void* data, std::size_t size);
    /// tag, length n, the characters without terminator
    void string(std::uint16_t tag, const std::string& text);

    /// Opens a block: writes the tag and a zero length to be back-patched by endBlock.
    void beginBlock(std::uint16_t tag);
    /// Writes the end tag 1 and back-patches the innermost open block's length (every byte after
    /// the length field up to and including the end tag).
    void endBlock();
    /// Writes the end tag 1 without closing a block.
    void endTag() { tag(1); }

    /// The assembled bytes (in memory only; when streaming, those not yet written to the file).
    const std::vector<std::uint8_t>& data() const { return data_; }
    /// Every byte so far, streamed or not.
    std::uint64_t size() const { return flushed_ + data_.size(); }

    /// Writes the assembled bytes to `path` through a temporary file in the same folder and renames
    /// it over the destination. False (and the old file untouched) when any step fails.
    bool commit(const std::string& path, std::string* error = nullptr) const;
    /// When streaming: writes what is left and flushes the stream. False when any write failed.
    bool finish();

private:
    void append(const void* bytes, std::size_t size);
    void flush();
    void patchU32(std::uint64_t offset, std::uint32_t value);

    std::FILE* sink_ = nullptr;
    bool sinkFailed_ = false;
    std::uint64_t flushed_ = 0;   // bytes already handed to the sink
    std::vector<std::uint8_t> data_;
    std::vector<std::uint64_t> openBlocks_;
};
