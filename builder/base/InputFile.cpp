#include "base/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads exactly `count` bytes; false on an error or an early end (the file shrank).
bool readFully(int fd, std::uint8_t* out, std::size_t count, std::string& reason)
{
    while (count > 0) {
        const ssize_t got = ::read(fd, out, count);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            reason = std::strerror(errno);
            return false;
        }
        if (got == 0) {
            reason = "the file became shorter while it was read";
            return false;
        }
        out += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

std::string sizeText(std::uint64_t bytes)
{
    if (bytes % (std::uint64_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

bool InputFile::read(const std::string& path, std::uint64_t limit, std::size_t checkBytes, const StartCheck& check)
{
    bytes_.clear();
    reason_.clear();
    tooLarge_ = false;
    openFailed_ = false;
    if (path.empty()) {
        reason_ = "no file name";
        return false;
    }
    // Non-blocking, so opening a FIFO returns at once; the type is checked on what was opened.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        reason_ = std::strerror(errno);
        openFailed_ = true;
        return false;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        reason_ = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason_ = S_ISDIR(info.st_mode) ? "it is a folder" : "not a regular file";
        return false;
    }
    const std::uint64_t size = static_cast<std::uint64_t>(info.st_size);
    if (size > limit) {
        reason_ = "the file is larger than " + sizeText(limit) + ", the most this kind of file may have";
        tooLarge_ = true;
        return false;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    try {
        bytes_.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        reason_ = "not enough memory to read the file";
        return false;
    }
    const std::size_t head = std::min<std::size_t>(checkBytes, bytes_.size());
    if (!readFully(fd.get(), bytes_.data(), head, reason_))
        return false;
    if (check && !check(bytes_.data(), head)) {
        bytes_.clear();
        reason_ = "not the expected kind of file";
        return false;
    }
    if (!readFully(fd.get(), bytes_.data() + head, bytes_.size() - head, reason_)) {
        bytes_.clear();
        return false;
    }
    return true;
}
