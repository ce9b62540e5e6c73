#include "project/TaggedReader.h"

#include <cstdio>
#include <cstring>

std::optional<TaggedReader> TaggedReader::fromFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> data;
    unsigned char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (data.size() + got > kMaxFileSize) {
            std::fclose(file);
            return std::nullopt;
        }
        data.insert(data.end(), buffer, buffer + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return TaggedReader(std::move(data));
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
