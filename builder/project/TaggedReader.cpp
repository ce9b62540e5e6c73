#include "project/TaggedReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kWindow = std::size_t(1) << 20;

// Reads up to `count` bytes at `offset`; how many came (fewer at an error or where the file
// ended early, having shrunk since it was opened).
std::size_t readAt(int fd, std::uint8_t* out, std::size_t count, std::size_t offset)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd, out + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace

TaggedReader::TaggedReader(std::vector<std::uint8_t> data)
    : buffer_(std::move(data)), held_(buffer_.size()), size_(buffer_.size())
{
}

TaggedReader::TaggedReader(int fd, std::size_t size) : size_(size), fd_(fd) {}

TaggedReader::~TaggedReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

TaggedReader::TaggedReader(TaggedReader&& other) noexcept
    : buffer_(std::move(other.buffer_)), base_(other.base_), held_(other.held_), size_(other.size_),
      pos_(other.pos_), fd_(std::exchange(other.fd_, -1))
{
    other.held_ = other.size_ = other.pos_ = other.base_ = 0;
}

TaggedReader& TaggedReader::operator=(TaggedReader&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        buffer_ = std::move(other.buffer_);
        base_ = other.base_;
        held_ = other.held_;
        size_ = other.size_;
        pos_ = other.pos_;
        fd_ = std::exchange(other.fd_, -1);
        other.held_ = other.size_ = other.pos_ = other.base_ = 0;
    }
    return *this;
}

std::optional<TaggedReader> TaggedReader::fromFile(const std::string& path, std::uint64_t limit,
                                                   std::initializer_list<std::uint16_t> firstTags, Fault* fault)
{
    if (fault)
        *fault = Fault::Refused;
    // Non-blocking, so opening a FIFO returns at once; the type is checked on what was opened.
    if (path.empty())
        return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (fault)
            *fault = Fault::Unopenable;
        return std::nullopt;
    }
    TaggedReader reader(fd, 0);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 2 ||
        static_cast<std::uint64_t>(info.st_size) > limit)
        return std::nullopt;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    reader.size_ = static_cast<std::size_t>(info.st_size);
    const std::uint8_t* first = reader.peek(2);
    if (!first || std::find(firstTags.begin(), firstTags.end(), u16At(first)) == firstTags.end())
        return std::nullopt;
    if (fault)
        *fault = Fault::None;
    return reader;
}

const std::uint8_t* TaggedReader::load(std::size_t count)
{
    if (fd_ < 0 || count > remaining() || count > kWindow)
        return nullptr;
    const std::size_t want = std::min(std::max(count, kWindow), remaining());
    if (buffer_.size() < kWindow)
        buffer_.resize(kWindow);
    base_ = pos_;
    held_ = readAt(fd_, buffer_.data(), want, pos_);
    return held_ >= count ? buffer_.data() : nullptr;
}

bool TaggedReader::seek(std::size_t position)
{
    if (position > size_)
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
    auto* to = static_cast<std::uint8_t*>(out);
    const std::size_t start = pos_;
    // Piece by piece through the window: a long value needs no window of its size.
    while (count > 0) {
        const std::size_t piece = std::min(count, kWindow);
        const std::uint8_t* from = peek(piece);
        if (!from) {
            pos_ = start;
            return false;
        }
        std::memcpy(to, from, piece);
        to += piece;
        pos_ += piece;
        count -= piece;
    }
    return true;
}

bool TaggedReader::readTag(std::uint16_t& tag)
{
    const std::uint8_t* b = peek(2);
    if (!b)
        return false;
    tag = u16At(b);
    pos_ += 2;
    return true;
}

bool TaggedReader::readU32(std::uint32_t& value)
{
    const std::uint8_t* b = peek(4);
    if (!b)
        return false;
    value = u32At(b);
    pos_ += 4;
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
    const std::uint8_t* b = peek(8);
    if (!b)
        return false;
    value = f64At(b);
    pos_ += 8;
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
    std::string value(length, '\0');
    if (!readBytes(value.data(), length))
        return false;
    text = std::move(value);
    return true;
}
