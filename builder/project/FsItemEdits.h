#pragma once
// Adding, checking and deleting the FS menu position and macro items of a project, and reading a
// macro file's parameter list, without the windows.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "project/FsMacroItem.h"
#include "project/FsMenuPositionItem.h"

class CDibDoc;

/// The macro dialog has ten parameter rows.
constexpr std::size_t kMacroParameterRows = 10;
/// A macro file name longer than this is refused.
constexpr std::size_t kMacroFileNameLimit = 14;

/// The parameter list of a macro file: words split at white space and lower-cased; the list
/// starts after the first word "macro(" and ends at ")"; words with a dot are not parameters.
struct MacroParameters {
    bool recognised = false;          ///< a "macro(" word was found
    std::vector<std::string> names;   ///< every parameter, in order (may be more than ten)
};
MacroParameters parseMacroParameters(const std::string& text);

/// Macro files are small texts; a larger file is not read.
constexpr std::size_t kMacroFileSizeLimit = 1024 * 1024;

/// Reads the macro file at `path` (a regular file of at most kMacroFileSizeLimit bytes) and
/// parses it; nothing when it cannot be read.
std::optional<MacroParameters> readMacroParameters(const std::string& path);

/// A parameter's starting value: the picked latitude for "nn"/"lat", longitude for "ee"/"lon"
/// ("%f"), altitude for "elev"/"alt" ("%d"), "0" for any other name.
std::string macroParameterDefault(const std::string& name, const CDibDoc& doc);

/// The range message for the first field of `item` outside its range (latitude -90..90,
/// longitude -180..180, heading 0..359.99), or nothing when every field is in range.
std::optional<std::string> menuPositionRangeError(const FsMenuPositionItem& item);

/// The length message when the macro file name is too long, or nothing.
std::optional<std::string> macroFileNameError(const std::string& macroFile);

/// The menu title a new position item takes: the first item's, when the project has items.
std::optional<std::string> existingMenuTitle(const CDibDoc& doc);

/// Appends the item with the picked map pixel (clickPixelX/Y) and marks the project modified.
/// With items already present the title is the first item's. Refuses (false, nothing added)
/// an item outside its ranges.
bool addMenuPositionItem(CDibDoc& doc, FsMenuPositionItem item);

/// Appends a macro item with the picked map pixel and marks the project modified. Refuses a
/// file name longer than kMacroFileNameLimit.
bool addMacroItem(CDibDoc& doc, const std::string& macroFile, std::vector<std::string> values);

/// Checks or unchecks item `index` (whether the source includes it); false when there is no such
/// item or it already is so.
bool setMenuPositionItemIncluded(CDibDoc& doc, int index, bool included);
bool setMacroItemIncluded(CDibDoc& doc, int index, bool included);

/// Removes item `index` of the list; false (nothing changed) when there is no such item.
bool deleteMenuPositionItem(CDibDoc& doc, int index);
bool deleteMacroItem(CDibDoc& doc, int index);
