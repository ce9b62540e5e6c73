#pragma once
// The new content of a file, written beside it and put in its place only when complete.
// The previous file stays untouched until then; a dropped or failed write leaves no temporary
// file behind.

#include <cstddef>
#include <cstdio>
#include <string>

class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    /// Makes the new, empty content for `path`. False, with error() naming the cause, when it
    /// cannot be made.
    bool open(const std::string& path);
    /// The stream to write the content to (null before a successful open).
    std::FILE* stream() const { return file_; }
    bool write(const void* data, std::size_t size);
    /// Flushes the content to the disk and puts it in the place of the target. False, with
    /// error() set and the previous file untouched, when a step fails.
    bool commit();
    /// Drops the new content; the previous file stays as it was.
    void discard();
    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& cause);

    std::string target_;
    std::string named_;
    std::FILE* file_ = nullptr;
    std::string error_;
};
