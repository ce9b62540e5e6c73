#pragma once
// What the PhotoReal wizard does to the new project when a page is applied and when it finishes.
// The pages (and the batch program, which runs the same steps without pages) call these.

#include <string>

class CDibDoc;

/// Next on the extents page. Refuses (message, false) a latitude range or a longitude range that is
/// not greater than 0; otherwise sets the boundary, recomputes the scenery dimensions, warns when the
/// scale exceeds 50 m per pixel, marks the project modified and returns true.
bool applyPhotoExtents(CDibDoc& doc, double north, double south, double east, double west);

/// Finish on the folder page: sets sceneryFolder, textureFolder (folder + "texture") and
/// sceneryOutputFolder (folder + "scenery") and makes the three folders with any missing parents.
/// A folder that cannot be made is named in a message (false). Then sets texturePrefix; an empty
/// prefix or "<none>" is refused with a message (false); the fields set before the check stay set.
bool applyPhotoFolder(CDibDoc& doc, const std::string& folder, const std::string& prefix);

/// Whether Finish reads every tile it wrote back as its texture's image, for the map to show, or
/// leaves the images unloaded (a run without windows shows nothing and need not hold them).
enum class TileImages { Load, Skip };

/// After the sheet closed with Finish: cuts the level 3 tiles into the folder, makes one project
/// texture per tile (with its image, unless skipped), lays out the chunk grid block by block, links
/// each chunk to its texture, empties textureFileNames and sets creationKind to 1. When any tile
/// could not be written, says how many and which came first, and returns false: the project is
/// not to be opened.
bool finishPhotoRealWizard(CDibDoc& doc, const std::string& folder, TileImages images = TileImages::Load);

/// The full path of the level 3 tile of the chunk in `row` (from the south) and `column` (from the
/// west), by the cutter's naming rule for the current platform setting.
std::string level3TilePath(const CDibDoc& doc, int row, int column);

/// The texture name prefix that the folder page shows before the user gives one.
inline constexpr const char* kNoPrefix = "<none>";
