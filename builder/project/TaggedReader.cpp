#include "project/TaggedReader.h"

#include <algorithm>
#include <cstring>

#include "base/InputFile.h"

std::optional<TaggedReader> TaggedReader::fromFile(const std::string& path, std::uint64_t limit,
                                                   std::initializer_list<std::uint16_t> firstTags, Fault* fault)
{
    const std::vector<std::uint16_t> tags(firstTags);
    InputFile file;
    const bool read = file.read(path, limit, 2, [&tags](const std::uint8_t* bytes, std::size_t count) {
        if (count < 2)
            return false;
        const auto tag = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
        return std::find(tags.begin(), tags.end(), tag) != tags.end();
    });
    if (fault)
        *fault = read ? Fault::None : file.openFailed() ? Fault::Unopenable : Fault::Refused;
    if (!read)
        return std::nullopt;
    return TaggedReader(std::move(file.bytes()));
}

bool TaggedReader::seek(std::size_t position)
{
    if (position > data_.size())
        return false;
    pos_ = position;
    return true;
}

bool TaggedReader::skip(std::size_t count)
{
    if (count > remaining())
        return false;
    pos_ += count;
    return true;
}

bool TaggedReader::unread(std::size_t count)
{
    if (count > pos_)
        return false;
    pos_ -= count;
    return true;
}

bool TaggedReader::readBytes(void* out, std::size_t count)
{
    if (count > remaining())
        return false;
    if (count)
        std::memcpy(out, data_.data() + pos_, count);
    pos_ += count;
    return true;
}

bool TaggedReader::readTag(std::uint16_t& tag)
{
    std::uint8_t b[2];
    if (!readBytes(b, 2))
        return false;
    tag = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    return true;
}

bool TaggedReader::readU32(std::uint32_t& value)
{
    std::uint8_t b[4];
    if (!readBytes(b, 4))
        return false;
    value = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
            static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    return true;
}

bool TaggedReader::readI32(std::int32_t& value)
{
    std::uint32_t v;
    if (!readU32(v))
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

bool TaggedReader::readF64(double& value)
{
    std::uint8_t b[8];
    if (!readBytes(b, 8))
        return false;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | b[i];
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool TaggedReader::readValueInto(void* field, std::size_t fieldSize)
{
    std::uint32_t length;
    if (!readU32(length))
        return false;
    if (length > remaining())
        return false;
    // Little-endian values: the low bytes come first, so a short payload fills the low end.
    const std::size_t take = length < fieldSize ? length : fieldSize;
    if (!readBytes(field, take))
        return false;
    return skip(length - take);
}

bool TaggedReader::readString(std::string& text)
{
    std::uint32_t length;
    if (!readU32(length) || length > remaining())
        return false;
    text.assign(reinterpret_cast<const char*>(data_.data() + pos_), length);
    pos_ += length;
    return true;
}
