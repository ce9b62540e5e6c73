#pragma once
// Bounds-checked reader of the tagged item format, over bytes held in memory or streamed from a
// file through a window of a megabyte (a large project is never held whole a second time). Every
// read reports whether the bytes were there; nothing is ever read past the end.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class TaggedReader {
public:
    /// Why fromFile gave nothing: the file could not be opened, or it is there but was refused
    /// (not a regular file, larger than the limit, another first tag, a read error).
    enum class Fault { None, Unopenable, Refused };

    explicit TaggedReader(std::vector<std::uint8_t> data);
    ~TaggedReader();
    TaggedReader(TaggedReader&& other) noexcept;
    TaggedReader& operator=(TaggedReader&& other) noexcept;
    TaggedReader(const TaggedReader&) = delete;
    TaggedReader& operator=(const TaggedReader&) = delete;

    /// Opens the file when it is a regular file of at most `limit` bytes whose first tag is one of
    /// `firstTags`; the size and the tag are checked before anything else is read. The rest is
    /// read as the items are.
    static std::optional<TaggedReader> fromFile(const std::string& path, std::uint64_t limit,
                                                std::initializer_list<std::uint16_t> firstTags,
                                                Fault* fault = nullptr);

    std::size_t position() const { return pos_; }
    std::size_t size() const { return size_; }
    std::size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ >= size_; }
    /// Moves the position; false (and no move) when it would leave the data.
    bool seek(std::size_t position);
    bool skip(std::size_t count);
    /// Moves back `count` bytes (a pushed-back tag); false when that would go before the start.
    bool unread(std::size_t count);

    /// The next `count` bytes (at most a megabyte) without moving, or nullptr when fewer are
    /// left or they cannot be read. Valid until the next read, peek or seek.
    const std::uint8_t* peek(std::size_t count)
    {
        const std::size_t at = pos_ - base_;   // wraps round when the position is before the window
        if (at <= held_ && count <= held_ - at)
            return buffer_.data() + at;
        return load(count);
    }

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

    static std::uint16_t u16At(const std::uint8_t* b) { return static_cast<std::uint16_t>(b[0] | b[1] << 8); }
    static std::uint32_t u32At(const std::uint8_t* b)
    {
        return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
               static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    static double f64At(const std::uint8_t* b)
    {
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = bits << 8 | b[i];
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    TaggedReader(int fd, std::size_t size);
    /// Fills the window from the position on; the slow side of peek.
    const std::uint8_t* load(std::size_t count);

    std::vector<std::uint8_t> buffer_;
    std::size_t base_ = 0;   ///< where buffer_ starts in the data
    std::size_t held_ = 0;   ///< valid bytes in buffer_
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    int fd_ = -1;            ///< the file being streamed; -1 when every byte is in buffer_
};
