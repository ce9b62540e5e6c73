#include "project/TaggedWriter.h"

#include <cstring>

#include "base/ReplaceFile.h"

void TaggedWriter::tag(std::uint16_t value)
{
    data_.push_back(static_cast<std::uint8_t>(value & 0xff));
    data_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void TaggedWriter::u32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void TaggedWriter::i32(std::int32_t value)
{
    u32(static_cast<std::uint32_t>(value));
}

void TaggedWriter::f64(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        data_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void TaggedWriter::bytes(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    data_.insert(data_.end(), p, p + size);
}

void TaggedWriter::valueI32(std::uint16_t t, std::int32_t value)
{
    tag(t);
    u32(4);
    i32(value);
}

void TaggedWriter::valueF64(std::uint16_t t, double value)
{
    tag(t);
    u32(8);
    f64(value);
}

void TaggedWriter::valueBytes(std::uint16_t t, const void* data, std::size_t size)
{
    tag(t);
    u32(static_cast<std::uint32_t>(size));
    bytes(data, size);
}

void TaggedWriter::string(std::uint16_t t, const std::string& text)
{
    // Written like a block: tag, a placeholder length, the characters, then the patched length.
    tag(t);
    const std::size_t at = data_.size();
    u32(0);
    bytes(text.data(), text.size());
    patchU32(at, static_cast<std::uint32_t>(data_.size() - at - 4));
}

void TaggedWriter::beginBlock(std::uint16_t t)
{
    tag(t);
    openBlocks_.push_back(data_.size());
    u32(0);
}

void TaggedWriter::endBlock()
{
    tag(1);
    if (openBlocks_.empty())
        return;
    const std::size_t at = openBlocks_.back();
    openBlocks_.pop_back();
    patchU32(at, static_cast<std::uint32_t>(data_.size() - at - 4));
}

void TaggedWriter::patchU32(std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool TaggedWriter::commit(const std::string& path, std::string* error) const
{
    return replaceFile(path, {{data_.data(), data_.size()}}, error);
}
