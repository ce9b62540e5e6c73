#include "base/ReplaceFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool replaceFile(const std::string& path, std::initializer_list<FilePart> parts)
{
    if (path.empty())
        return false;
    const std::string temp = path + ".part~";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
        return false;
    bool written = true;
    for (const FilePart& part : parts)
        if (part.size != 0 && std::fwrite(part.data, 1, part.size, file) != part.size)
            written = false;
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (!written || !closed) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}
