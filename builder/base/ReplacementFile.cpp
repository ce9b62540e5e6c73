#include "base/ReplacementFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/ReplaceFile.h"
#include "base/TerminationBlock.h"

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
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(std::strerror(EISDIR));
    // A replaced file keeps its permissions; a new one gets the usual ones.
    const mode_t mode = exists ? (existing.st_mode & 07777) : 0666;
    const std::string folder = folderOfFile(path);

    int fd = -1;
#ifdef O_TMPFILE
    fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    anonymous_ = fd >= 0;
    // File systems without nameless files answer with one of these; anything else is the real cause.
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return fail(std::strerror(errno));
#endif
    if (fd < 0) {
        std::string name = path + ".XXXXXX.part~";
        fd = ::mkstemps(name.data(), 6);
        if (fd < 0)
            return fail(std::strerror(errno));
        named_ = name;
        ::fchmod(fd, mode);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int cause = errno;
        ::close(fd);
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

bool ReplacementFile::placeNamed()
{
    if (::rename(named_.c_str(), target_.c_str()) != 0)
        return false;
    named_.clear();
    return true;
}

bool ReplacementFile::commit()
{
    if (!file_)
        return fail(error_.empty() ? "the file was not opened" : error_);
    if (std::fflush(file_) != 0 || std::ferror(file_))
        return fail(std::strerror(errno ? errno : EIO));
    const int fd = ::fileno(file_);
    if (::fsync(fd) != 0)
        return fail(std::strerror(errno));

    if (anonymous_) {
        // The content gets a unique name beside the target and is renamed over it at once;
        // termination signals wait until both steps are done.
        TerminationBlock block;
        const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
        bool linked = false;
        for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
            std::string name = target_ + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".part~";
            if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                named_ = name;
                linked = true;
            } else if (errno != EEXIST) {
                return fail(std::strerror(errno));
            }
        }
        if (!linked)
            return fail(std::strerror(EEXIST));
        if (!placeNamed())
            return fail(std::strerror(errno));
    } else if (!placeNamed()) {
        return fail(std::strerror(errno));
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    syncFolder(folderOfFile(target_));
    if (!closed) {
        error_ = std::strerror(errno);
        return false;
    }
    return true;
}

void ReplacementFile::discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!named_.empty()) {
        ::unlink(named_.c_str());
        named_.clear();
    }
    anonymous_ = false;
}
