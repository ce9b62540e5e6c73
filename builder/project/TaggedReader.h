#pragma once
// Bounds-checked reader of the tagged item format over a file held in memory. Every read
// reports whether the bytes were there; nothing is ever read past the end.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class TaggedReader {
public:
    /// Why fromFile gave nothing: the file could not be opened, or it is there but was refused
    /// (not a regular file, larger than the limit, another first tag, a read error).
    enum class Fault { None, Unopenable, Refused };

    explicit TaggedReader(std::vector<std::uint8_t> data) : data_(std::move(data)) {}
    /// Reads the whole file when it is a regular file of at most `limit` bytes whose first tag is
    /// one of `firstTags`; the size and the tag are checked before the rest is read.
    static std::optional<TaggedReader> fromFile(const std::string& path, std::uint64_t limit,
                                                std::initializer_list<std::uint16_t> firstTags,
                                                Fault* fault = nullptr);

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
