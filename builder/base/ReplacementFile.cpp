#include "base/ReplacementFile.h"

#include <filesystem>
#include <system_error>

#include <unistd.h>

ReplacementFile::ReplacementFile(std::string path) : path_(std::move(path))
{
    if (path_.empty())
        return;
    temp_ = path_ + ".part~";
    file_ = std::fopen(temp_.c_str(), "wb");
}

ReplacementFile::~ReplacementFile()
{
    abandon();
}

void ReplacementFile::write(const void* data, std::size_t size)
{
    if (!good() || size == 0)
        return;
    if (std::fwrite(data, 1, size, file_) != size)
        good_ = false;
    size_ += size;
}

void ReplacementFile::overwrite(std::uint64_t offset, const void* data, std::size_t size)
{
    if (!good() || size == 0)
        return;
    if (offset + size > size_ || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fwrite(data, 1, size, file_) != size || std::fseek(file_, 0, SEEK_END) != 0)
        good_ = false;
}

bool ReplacementFile::commit()
{
    if (!good()) {
        abandon();
        return false;
    }
    // On the disk before the rename, so a crash leaves the old file or the whole new one.
    bool ok = std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    std::error_code ec;
    if (ok)
        std::filesystem::rename(temp_, path_, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp_, ec);
        return false;
    }
    temp_.clear();
    return true;
}

void ReplacementFile::abandon()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
        temp_.clear();
    }
}
