#include "synth/SeasonalNames.h"

#include "base/PathUtil.h"

namespace {
std::string titleBeforeFirstDot(const std::string& fileName)
{
    const std::size_t dot = fileName.find('.');
    return dot == std::string::npos ? std::string() : fileName.substr(0, dot);
}
} // namespace

bool isSeasonalTextureName(const std::string& path)
{
    const std::string title = titleBeforeFirstDot(PathUtil::fileName(path));
    if (title.size() != 8)
        return false;
    const std::size_t first = title.find_first_of("wWpPsSfFiI");
    return first == 6;
}

std::string summerTextureName(const std::string& path)
{
    if (!isSeasonalTextureName(path))
        return std::string();
    std::string name = PathUtil::fileName(path);
    name[6] = 's';
    return name;
}

std::string seasonalTextureName(const std::string& name, int season)
{
    if (!isSeasonalTextureName(name))
        return name;
    // The letter sits at index 6 of the file name, which ends the text.
    std::string result = name;
    const std::size_t index = result.size() - PathUtil::fileName(name).size() + 6;
    result[index] = season == 0 ? 'w' : 's';
    return result;
}
