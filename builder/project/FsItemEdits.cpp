#include "project/FsItemEdits.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/TextFormat.h"
#include "project/CDibDoc.h"
#include "project/SnapshotEdit.h"

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

namespace {
// Both item lists, as one step of the history.
struct FsItems {
    std::vector<FsMenuPositionItem> positions;
    std::vector<FsMacroItem> macros;
};

FsItems captureItems(const CDibDoc& doc)
{
    return {doc.menuPositionItems, doc.macroItems};
}

void restoreItems(CDibDoc& doc, const FsItems& items)
{
    doc.menuPositionItems = items.positions;
    doc.macroItems = items.macros;
    doc.repaintViews();
}

template <class Edit>
bool recordItemEdit(CDibDoc& doc, const char* text, Edit edit)
{
    return recordEdit<FsItems>(doc, text, captureItems, restoreItems, [&] {
        if (!edit())
            return false;
        doc.setModified(true);
        return true;
    });
}
} // namespace

namespace {
template <class Item>
bool setIncluded(CDibDoc& doc, std::vector<Item>& items, int index, bool included)
{
    if (index < 0 || static_cast<std::size_t>(index) >= items.size())
        return false;
    return recordItemEdit(doc, included ? "Include FS Item" : "Leave Out FS Item", [&] {
        Item& item = items[static_cast<std::size_t>(index)];
        if (item.included == included)
            return false;
        item.included = included;
        return true;
    });
}
} // namespace

bool setMenuPositionItemIncluded(CDibDoc& doc, int index, bool included)
{
    return setIncluded(doc, doc.menuPositionItems, index, included);
}

bool setMacroItemIncluded(CDibDoc& doc, int index, bool included)
{
    return setIncluded(doc, doc.macroItems, index, included);
}

bool addMenuPositionItem(CDibDoc& doc, FsMenuPositionItem item)
{
    if (menuPositionRangeError(item))
        return false;
    if (std::optional<std::string> title = existingMenuTitle(doc))
        item.title = *title;
    item.mapX = doc.clickPixelX;
    item.mapY = doc.clickPixelY;
    return recordItemEdit(doc, "Insert FS Position", [&] {
        doc.menuPositionItems.push_back(std::move(item));
        return true;
    });
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
    return recordItemEdit(doc, "Insert Macro", [&] {
        doc.macroItems.push_back(std::move(item));
        return true;
    });
}

bool deleteMenuPositionItem(CDibDoc& doc, int index)
{
    return recordItemEdit(doc, "Delete FS Position", [&] { return eraseAt(doc.menuPositionItems, index); });
}

bool deleteMacroItem(CDibDoc& doc, int index)
{
    return recordItemEdit(doc, "Delete Macro", [&] { return eraseAt(doc.macroItems, index); });
}
