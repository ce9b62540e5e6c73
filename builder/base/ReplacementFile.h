#pragma once
// The new content of a file, written beside it and put in its place only when complete.
// The previous file stays untouched until then; an interrupted write leaves neither a fragment
// nor an empty file at the target. Where the system allows, the new content has no name at all
// until it is complete, so even a killed program leaves no temporary file behind.

#include <cstddef>
#include <cstdio>
#include <string>

class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    /// Makes the new, empty content for `path`. False, with error() naming the cause
    /// ("Permission denied", "No such file or directory", ...), when it cannot be made.
    bool open(const std::string& path);
    /// The stream to write the content to (null before a successful open).
    std::FILE* stream() const { return file_; }
    bool write(const void* data, std::size_t size);
    /// Flushes the content to the disk, puts it in the place of the target and makes the rename
    /// durable. False, with error() set and the previous file untouched, when a step fails.
    bool commit();
    /// Drops the new content; the previous file stays as it was.
    void discard();
    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& cause);
    bool placeNamed();

    std::string target_;
    std::string named_;        // the temporary file's name, when it has one
    std::FILE* file_ = nullptr;
    bool anonymous_ = false;   // content without a name until commit
    std::string error_;
};
