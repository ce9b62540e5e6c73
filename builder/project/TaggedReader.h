#pragma once
// Bounds-checked reader of the tagged item format over a file held in memory. Every read
// reports whether the bytes were there; nothing is ever read past the end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TaggedReader {
public:
    /// Files larger than this are refused (no project or configuration comes near it).
    static constexpr std::size_t kMaxFileSize = std::size_t(1) << 31;

    explicit TaggedReader(std::vector<std::uint8_t> data) : data_(std::move(data)) {}
    /// Reads the whole file; nothing when it cannot be opened or is larger than kMaxFileSize.
    static std::optional<TaggedReader> fromFile(const std::string& path);

    std::size_t position() const { return pos_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    /// Moves the position; false (and no move) when it would leave the data.
    bool seek(std::size_t position);
    bool skip(std::size_t count);
    /// Moves back `count` bytes (a pushed-back tag); false when that would go before the start.
    bool unread(std::size_t count);

    bool readTag(std::uint16_t& tag);
    bool readU32(std::uint32_t& value);
    bool readI32(std::int32_t& value);
    bool readF64(double& value);
    bool readBytes(void* out, std::size_t count);

    /// A length n followed by n bytes into a field of `fieldSize` bytes: the first min(n, fieldSize)
    /// bytes fill the field (the rest of it keeps its bytes), any surplus is skipped, never written.
    bool readValueInto(void* field, std::size_t fieldSize);
    /// A length n followed by n characters.
    bool readString(std::string& text);

private:
    std::vector<std::uint8_t> data_;
    std::size_t pos_ = 0;
};
