#include "project/TaggedWriter.h"

#include <algorithm>
#include <cstring>

#include "base/ReplaceFile.h"

namespace {
// Pieces of this size go to the file while streaming.
constexpr std::size_t kStreamPiece = 1 << 20;

template <int N>
void littleEndian(std::uint8_t (&out)[N], std::uint64_t value)
{
    for (int i = 0; i < N; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
} // namespace

TaggedWriter::TaggedWriter(std::FILE* stream) : sink_(stream)
{
    data_.reserve(kStreamPiece + 64);
}

void TaggedWriter::append(const void* bytes, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    data_.insert(data_.end(), p, p + size);
    if (sink_ && data_.size() >= kStreamPiece)
        flush();
}

void TaggedWriter::flush()
{
    if (!data_.empty() && std::fwrite(data_.data(), 1, data_.size(), sink_) != data_.size())
        sinkFailed_ = true;
    flushed_ += data_.size();
    data_.clear();
}

void TaggedWriter::tag(std::uint16_t value)
{
    std::uint8_t out[2];
    littleEndian(out, value);
    append(out, sizeof out);
}

void TaggedWriter::u32(std::uint32_t value)
{
    std::uint8_t out[4];
    littleEndian(out, value);
    append(out, sizeof out);
}

void TaggedWriter::i32(std::int32_t value)
{
    u32(static_cast<std::uint32_t>(value));
}

void TaggedWriter::f64(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::uint8_t out[8];
    littleEndian(out, bits);
    append(out, sizeof out);
}

void TaggedWriter::bytes(const void* data, std::size_t size)
{
    append(data, size);
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
    const std::uint64_t at = size();
    u32(0);
    bytes(text.data(), text.size());
    patchU32(at, static_cast<std::uint32_t>(size() - at - 4));
}

void TaggedWriter::beginBlock(std::uint16_t t)
{
    tag(t);
    openBlocks_.push_back(size());
    u32(0);
}

void TaggedWriter::endBlock()
{
    tag(1);
    if (openBlocks_.empty())
        return;
    const std::uint64_t at = openBlocks_.back();
    openBlocks_.pop_back();
    patchU32(at, static_cast<std::uint32_t>(size() - at - 4));
}

void TaggedWriter::patchU32(std::uint64_t offset, std::uint32_t value)
{
    std::uint8_t out[4];
    littleEndian(out, value);
    for (std::uint64_t i = 0; i < 4; ++i)
        if (offset + i >= flushed_)
            data_[offset + i - flushed_] = out[i];
    if (offset >= flushed_)
        return;
    // Bytes already streamed are patched in the file, which then goes on at its end.
    const std::size_t inFile = static_cast<std::size_t>(std::min<std::uint64_t>(4, flushed_ - offset));
    if (std::fseek(sink_, static_cast<long>(offset), SEEK_SET) != 0 || std::fwrite(out, 1, inFile, sink_) != inFile ||
        std::fseek(sink_, 0, SEEK_END) != 0)
        sinkFailed_ = true;
}

bool TaggedWriter::commit(const std::string& path, std::string* error) const
{
    if (sink_)
        return false;   // the streamed bytes are not all here
    return replaceFile(path, {{data_.data(), data_.size()}}, error);
}

bool TaggedWriter::finish()
{
    if (!sink_)
        return false;
    flush();
    return !sinkFailed_ && std::fflush(sink_) == 0 && !std::ferror(sink_);
}
