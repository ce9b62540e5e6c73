#include "synth/TextureFileMask.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "base/PathUtil.h"

namespace fs = std::filesystem;

namespace TextureFileMask {

namespace {
char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
} // namespace

bool matches(const std::string& fileName, char seasonLetter)
{
    if (fileName.size() != 12)
        return false;
    const std::string ext = fileName.substr(8);
    if (ext.size() != 4 || ext[0] != '.' || lower(ext[1]) != 'b' || lower(ext[2]) != 'm' || lower(ext[3]) != 'p')
        return false;
    // A dot inside the first eight characters would make them not one title.
    if (fileName.find('.') != 8)
        return false;
    return seasonLetter == 0 || lower(fileName[6]) == lower(seasonLetter);
}

std::vector<std::string> list(const std::string& folder, char seasonLetter)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(PathUtil::toNative(folder)), ec);
    if (ec)
        return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string name = it->path().filename().string();
        if (matches(name, seasonLetter))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

char seasonLetter(int season)
{
    return season == 0 ? 'w' : 's';
}

int twoCharCode(const std::string& fileName, std::size_t offset)
{
    if (offset >= fileName.size())
        return 0;
    const std::string text = fileName.substr(offset, 2);
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

} // namespace TextureFileMask
