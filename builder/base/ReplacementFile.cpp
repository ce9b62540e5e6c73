#include "base/ReplacementFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

ReplacementFile::~ReplacementFile()
{
    discard();
}

bool ReplacementFile::fail(const std::string& cause)
{
    error_ = cause;
    discard();
    return false;
}

bool ReplacementFile::open(const std::string& path)
{
    discard();
    error_.clear();
    target_ = path;
    if (path.empty())
        return fail("no file name");
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return fail(std::strerror(EISDIR));
    named_ = path + ".part~";
    file_ = std::fopen(named_.c_str(), "wb");
    if (!file_) {
        const int cause = errno;
        named_.clear();
        return fail(std::strerror(cause));
    }
    return true;
}

bool ReplacementFile::write(const void* data, std::size_t size)
{
    if (!file_)
        return false;
    if (size != 0 && std::fwrite(data, 1, size, file_) != size)
        return fail(std::strerror(errno));
    return true;
}

bool ReplacementFile::commit()
{
    if (!file_)
        return fail(error_.empty() ? "the file was not opened" : error_);
    // On the disk before the rename, so a crash leaves the old file or the whole new one.
    if (std::fflush(file_) != 0 || std::ferror(file_) || ::fsync(::fileno(file_)) != 0)
        return fail(std::strerror(errno ? errno : EIO));
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed)
        return fail(std::strerror(errno ? errno : EIO));
    std::error_code ec;
    std::filesystem::rename(named_, target_, ec);
    if (ec)
        return fail(ec.message());
    named_.clear();
    return true;
}

void ReplacementFile::discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!named_.empty()) {
        std::error_code ec;
        std::filesystem::remove(named_, ec);
        named_.clear();
    }
}
