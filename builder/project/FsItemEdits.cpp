#include "project/FsItemEdits.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/TextFormat.h"
#include "project/CDibDoc.h"

namespace {

std::string lowerCase(std::string word)
{
    for (char& c : word)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

std::string rangeMessage(const char* low, const char* high)
{
    return std::string("Please enter a number between ") + low + " and " + high + ".";
}

template <class List>
bool eraseAt(List& list, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return false;
    list.erase(list.begin() + index);
    return true;
}

} // namespace

MacroParameters parseMacroParameters(const std::string& text)
{
    MacroParameters result;
    std::istringstream words(text);
    std::string word;
    bool ended = false;
    while (!ended && words >> word) {
        word = lowerCase(word);
        if (!result.recognised) {
            result.recognised = word == "macro(";
            continue;
        }
        if (word == ")")
            ended = true;
        else if (word.find('.') == std::string::npos)
            result.names.push_back(word);
    }
    return result;
}

std::optional<MacroParameters> readMacroParameters(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path file(path);
    // Regular files only: a device or a pipe named here would never end.
    if (!std::filesystem::is_regular_file(file, error) || error)
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMacroFileSizeLimit)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return parseMacroParameters(text);
}

std::string macroParameterDefault(const std::string& name, const CDibDoc& doc)
{
    if (name == "nn" || name == "lat")
        return TextFormat::cformat("%f", doc.clickLatitude);
    if (name == "ee" || name == "lon")
        return TextFormat::cformat("%f", doc.clickLongitude);
    if (name == "elev" || name == "alt")
        return TextFormat::cformat("%d", doc.clickAltitude);
    return "0";
}

std::optional<std::string> menuPositionRangeError(const FsMenuPositionItem& item)
{
    // Written so that NaN fails every test.
    if (!(item.latitude >= -90.0 && item.latitude <= 90.0))
        return rangeMessage("-90", "90");
    if (!(item.longitude >= -180.0 && item.longitude <= 180.0))
        return rangeMessage("-180", "180");
    if (!(item.heading >= 0.0 && item.heading <= 359.99))
        return rangeMessage("0", "359.99");
    return std::nullopt;
}

std::optional<std::string> macroFileNameError(const std::string& macroFile)
{
    if (macroFile.size() > kMacroFileNameLimit)
        return TextFormat::cformat("Please enter no more than %d characters.", static_cast<int>(kMacroFileNameLimit));
    return std::nullopt;
}

std::optional<std::string> existingMenuTitle(const CDibDoc& doc)
{
    if (doc.menuPositionItems.empty())
        return std::nullopt;
    return doc.menuPositionItems.front().title;
}

bool addMenuPositionItem(CDibDoc& doc, FsMenuPositionItem item)
{
    if (menuPositionRangeError(item))
        return false;
    if (std::optional<std::string> title = existingMenuTitle(doc))
        item.title = *title;
    item.mapX = doc.clickPixelX;
    item.mapY = doc.clickPixelY;
    doc.menuPositionItems.push_back(std::move(item));
    doc.setModified(true);
    return true;
}

bool addMacroItem(CDibDoc& doc, const std::string& macroFile, std::vector<std::string> values)
{
    if (macroFileNameError(macroFile))
        return false;
    FsMacroItem item;
    item.macroFile = macroFile;
    item.parameterValues = std::move(values);
    item.mapX = doc.clickPixelX;
    item.mapY = doc.clickPixelY;
    doc.macroItems.push_back(std::move(item));
    doc.setModified(true);
    return true;
}

bool deleteMenuPositionItem(CDibDoc& doc, int index)
{
    if (!eraseAt(doc.menuPositionItems, index))
        return false;
    doc.setModified(true);
    return true;
}

bool deleteMacroItem(CDibDoc& doc, int index)
{
    if (!eraseAt(doc.macroItems, index))
        return false;
    doc.setModified(true);
    return true;
}
