#include "base/ReplacementBatch.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/ReplaceFile.h"
#include "base/TerminationBlock.h"

namespace {

// Nameless contents hold a file open each until they are placed; a group stays well under the
// usual limit of 1024 open files.
constexpr std::size_t kGroupSize = 256;

bool writeFully(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, size);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

} // namespace

ReplacementBatch::ReplacementBatch(Outcome outcome) : outcome_(std::move(outcome)) {}

ReplacementBatch::~ReplacementBatch()
{
    discard();
}

bool ReplacementBatch::add(const std::string& path, std::initializer_list<FilePart> parts)
{
    Pending entry;
    entry.path = path;
    const auto failed = [&](const std::string& cause) {
        entry.error = cause;
        pending_.push_back(std::move(entry));
        return false;
    };
    if (path.empty())
        return failed("no file name");
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return failed(std::strerror(EISDIR));
    // A replaced file keeps its permissions; a new one gets the usual ones.
    const mode_t mode = exists ? (existing.st_mode & 07777) : 0666;

    // Beside the target, so on its file system: the content is placed without a copy.
    int fd = -1;
#ifdef O_TMPFILE
    fd = ::open(folderOfFile(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    // File systems without nameless files answer with one of these; anything else is the real cause.
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return failed(std::strerror(errno));
#endif
    const bool nameless = fd >= 0;
    if (!nameless) {
        std::string name = path + ".XXXXXX.part~";
        fd = ::mkstemps(name.data(), 6);
        if (fd < 0)
            return failed(std::strerror(errno));
        entry.named = name;
        ::fchmod(fd, mode);
    }
    bool ok = true;
    for (const FilePart& part : parts)
        ok = ok && writeFully(fd, part.data, part.size);
    const int cause = errno;
    if (ok) {
        // Starts the way to the disk now, so that it overlaps the making of the next files.
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    if (!ok || !nameless) {
        const bool closed = ::close(fd) == 0;
        if (!ok || !closed) {
            const int why = ok ? errno : cause;
            if (!entry.named.empty())
                ::unlink(entry.named.c_str());
            entry.named.clear();
            return failed(std::strerror(why));
        }
    } else {
        entry.fd = fd;
        ++openFiles_;
    }
    pending_.push_back(std::move(entry));
    if (openFiles_ >= kGroupSize)
        placeWaiting();
    return true;
}

void ReplacementBatch::placeWaiting()
{
    // Every new content reaches the disk before any takes its name: one sync per file system.
    std::string syncError;
    std::vector<dev_t> synced;
    std::vector<std::string> folders;
    for (std::size_t i = waiting_; i < pending_.size() && syncError.empty(); ++i) {
        const Pending& entry = pending_[i];
        if (entry.fd < 0 && entry.named.empty())
            continue;
        const std::string folder = folderOfFile(entry.path);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
        struct stat info {};
        const int probe = entry.fd >= 0 ? entry.fd : ::open(entry.named.c_str(), O_RDONLY | O_CLOEXEC);
        if (probe < 0 || ::fstat(probe, &info) != 0) {
            syncError = std::strerror(errno);
        } else if (std::find(synced.begin(), synced.end(), info.st_dev) == synced.end()) {
            if (::syncfs(probe) != 0)
                syncError = std::strerror(errno);
            else
                synced.push_back(info.st_dev);
        }
        if (probe >= 0 && probe != entry.fd)
            ::close(probe);
    }

    {
        // A content gets a unique name beside its target and is renamed over it at once; a
        // termination waits until the group is in place, so no temporary name outlives a kill.
        TerminationBlock block;
        for (std::size_t i = waiting_; i < pending_.size(); ++i) {
            Pending& entry = pending_[i];
            if (entry.fd < 0 && entry.named.empty())
                continue;
            if (!syncError.empty()) {
                entry.error = syncError;
            } else if (entry.fd >= 0) {
                const std::string procPath = "/proc/self/fd/" + std::to_string(entry.fd);
                for (int attempt = 0; attempt < 100 && entry.named.empty(); ++attempt) {
                    const std::string name =
                        entry.path + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".part~";
                    if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                        entry.named = name;
                    else if (errno != EEXIST)
                        break;
                }
                if (entry.named.empty())
                    entry.error = std::strerror(errno == 0 ? EEXIST : errno);
            }
            if (entry.error.empty() && !entry.named.empty()) {
                if (::rename(entry.named.c_str(), entry.path.c_str()) == 0) {
                    entry.named.clear();
                    entry.placed = true;
                } else {
                    entry.error = std::strerror(errno);
                }
            }
            if (!entry.named.empty())
                ::unlink(entry.named.c_str());
            entry.named.clear();
            if (entry.fd >= 0) {
                ::close(entry.fd);
                entry.fd = -1;
                --openFiles_;
            }
        }
    }
    for (const std::string& folder : folders)
        syncFolder(folder);
    waiting_ = pending_.size();
}

void ReplacementBatch::commit()
{
    placeWaiting();
    std::vector<Pending> done = std::move(pending_);
    pending_.clear();
    waiting_ = 0;
    if (outcome_)
        for (const Pending& entry : done)
            outcome_(entry.path, entry.placed, entry.error);
}

void ReplacementBatch::dropWaiting()
{
    for (std::size_t i = waiting_; i < pending_.size(); ++i) {
        Pending& entry = pending_[i];
        if (entry.fd >= 0) {
            ::close(entry.fd);
            entry.fd = -1;
            --openFiles_;
        }
        if (!entry.named.empty())
            ::unlink(entry.named.c_str());
        entry.named.clear();
    }
}

void ReplacementBatch::discard()
{
    dropWaiting();
    pending_.clear();
    waiting_ = 0;
}
