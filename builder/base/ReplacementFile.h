#pragma once
// A file written piece by piece that replaces its destination only when complete: the bytes go
// to a temporary file beside the destination, and commit renames it over the destination.
// Until then (and after any failure) the previous file is untouched; an abandoned temporary
// file is removed.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class ReplacementFile {
public:
    explicit ReplacementFile(std::string path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    /// Whether every step so far succeeded.
    bool good() const { return file_ != nullptr && good_; }
    /// Appends bytes at the end.
    void write(const void* data, std::size_t size);
    /// Overwrites bytes already written, at `offset` from the start.
    void overwrite(std::uint64_t offset, const void* data, std::size_t size);
    /// Bytes written so far.
    std::uint64_t size() const { return size_; }
    /// Flushes, closes and renames the temporary file over the destination. False (the old file
    /// untouched, no temporary file left) when any step failed.
    bool commit();

private:
    void abandon();

    std::string path_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool good_ = true;
    std::uint64_t size_ = 0;
};
