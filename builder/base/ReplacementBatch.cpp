#include "base/ReplacementBatch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

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

// Makes what was written in the folder durable: the renames, or with `wholeFileSystem` every
// file of its file system, so that one call covers all the new contents.
int syncFolder(const std::string& folder, bool wholeFileSystem)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = wholeFileSystem ? ::syncfs(fd) : ::fsync(fd);
    const int cause = result == 0 ? 0 : errno;
    ::close(fd);
    return cause;
}

} // namespace

ReplacementBatch::ReplacementBatch(Outcome outcome) : outcome_(std::move(outcome)) {}

ReplacementBatch::~ReplacementBatch()
{
    discard();
}

const ReplacementBatch::Folder* ReplacementBatch::folderFor(const std::string& path, std::string& error)
{
    const std::string target = folderOf(path);
    for (const Folder& folder : folders_)
        if (folder.target == target)
            return &folder;
    // Beside the targets, so on their file system: a rename moves the content in place.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = (std::filesystem::path(target) / ("new-files." + std::to_string(::getpid()) + "." +
                                                                   std::to_string(attempt) + ".part~"))
                                     .string();
        if (::mkdir(name.c_str(), 0700) == 0) {
            folders_.push_back({target, name});
            return &folders_.back();
        }
        if (errno != EEXIST) {
            error = std::strerror(errno);
            return nullptr;
        }
    }
    error = std::strerror(EEXIST);
    return nullptr;
}

bool ReplacementBatch::add(const std::string& path, std::initializer_list<FilePart> parts)
{
    Pending entry{path, {}, {}};
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
    std::string error;
    const Folder* folder = folderFor(path, error);
    if (!folder)
        return failed(error);

    const std::string temporary = folder->temporary + "/" + std::to_string(counter_++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return failed(std::strerror(errno));
    // A replaced file keeps its permissions; a new one gets the usual ones.
    bool ok = !exists || ::fchmod(fd, existing.st_mode & 07777) == 0;
    for (const FilePart& part : parts)
        ok = ok && writeFully(fd, part.data, part.size);
    const int cause = errno;
    if (ok) {
        // Starts the way to the disk now, so that it overlaps the making of the next files.
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed) {
        ::unlink(temporary.c_str());
        return failed(std::strerror(ok ? errno : cause));
    }
    entry.temporary = temporary;
    pending_.push_back(std::move(entry));
    return true;
}

void ReplacementBatch::commit()
{
    // Every new content reaches the disk before any takes its name.
    std::string syncError;
    std::vector<dev_t> synced;
    for (const Folder& folder : folders_) {
        struct stat info {};
        if (::stat(folder.temporary.c_str(), &info) != 0) {
            syncError = std::strerror(errno);
            break;
        }
        if (std::find(synced.begin(), synced.end(), info.st_dev) != synced.end())
            continue;
        if (const int cause = syncFolder(folder.temporary, true); cause != 0) {
            syncError = std::strerror(cause);
            break;
        }
        synced.push_back(info.st_dev);
    }
    for (Pending& entry : pending_) {
        if (entry.temporary.empty())
            continue;
        if (!syncError.empty()) {
            entry.error = syncError;
        } else if (::rename(entry.temporary.c_str(), entry.path.c_str()) != 0) {
            entry.error = std::strerror(errno);
        } else {
            entry.temporary.clear();
            continue;
        }
        ::unlink(entry.temporary.c_str());
        entry.temporary.clear();
    }
    for (const Folder& folder : folders_)
        syncFolder(folder.target, false);
    removeTemporaries();

    std::vector<Pending> done = std::move(pending_);
    pending_.clear();
    if (outcome_)
        for (const Pending& entry : done)
            outcome_(entry.path, entry.error.empty(), entry.error);
}

void ReplacementBatch::discard()
{
    for (const Pending& entry : pending_)
        if (!entry.temporary.empty())
            ::unlink(entry.temporary.c_str());
    pending_.clear();
    removeTemporaries();
}

void ReplacementBatch::removeTemporaries()
{
    for (const Folder& folder : folders_)
        ::rmdir(folder.temporary.c_str());
    folders_.clear();
}
