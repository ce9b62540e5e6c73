#pragma once
// Writer of the tagged item format shared by the project file and TexRelief.cfg:
// little-endian 16-bit tags, 32-bit lengths back-patched after the contents, end tag 1.
// Items are assembled in memory; `commit` then replaces the destination file in one step,
// so a failed write never destroys the previous good file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TaggedWriter {
public:
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

    const std::vector<std::uint8_t>& data() const { return data_; }
    std::size_t size() const { return data_.size(); }

    /// Writes the assembled bytes to `path` through a temporary file in the same folder and renames
    /// it over the destination. False (and the old file untouched) when any step fails.
    bool commit(const std::string& path, std::string* error = nullptr) const;

private:
    void patchU32(std::size_t offset, std::uint32_t value);
    std::vector<std::uint8_t> data_;
    std::vector<std::size_t> openBlocks_;
};
