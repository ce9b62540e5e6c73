#include "wizards/PhotoRealFinish.h"

#include <filesystem>
#include <memory>
#include <set>
#include <vector>
#include <system_error>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "base/TextFormat.h"
#include "imagery/TextureCutter.h"
#include "project/CDibDoc.h"
#include "project/SceneryDimensions.h"
#include "synth/TextureLibrary.h"
#include "synth/TextureLinks.h"

namespace {

// Level 3 tile codes by (row in block) x 4 + (column in block), bottom strip first.
constexpr const char* kLevel3Codes[16] = {"322", "324", "342", "344", "321", "323", "341", "343",
                                          "312", "314", "332", "334", "311", "313", "331", "333"};

// Makes the folder with any parents it lacks; one that exists already is fine.
bool makeFolder(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    return PathUtil::folderExists(path);
}

class WaitCursor {
public:
    explicit WaitCursor(Platform& platform) : platform_(platform) { platform_.setWaitCursor(true); }
    ~WaitCursor() { platform_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Platform& platform_;
};

} // namespace

bool applyPhotoExtents(CDibDoc& doc, double north, double south, double east, double west)
{
    Platform& platform = doc.app.platform;
    if (!(north - south > 0)) {
        platform.message("Latitude range is invalid. Please set latitude range.", MsgIcon::Exclamation);
        return false;
    }
    if (!(east - west > 0)) {
        platform.message("Longitude range is invalid. Please set longitude range.", MsgIcon::Exclamation);
        return false;
    }
    doc.boundary.west = west;
    doc.boundary.east = east;
    doc.boundary.south = south;
    doc.boundary.north = north;
    computeSceneryDimensions(doc);
    warnIfSceneryTooCoarse(doc);
    doc.setModified();
    return true;
}

bool applyPhotoFolder(CDibDoc& doc, const std::string& folder, const std::string& prefix)
{
    doc.sceneryFolder = folder;
    doc.textureFolder = PathUtil::join(folder, "texture");
    doc.sceneryOutputFolder = PathUtil::join(folder, "scenery");
    std::vector<std::string> unmade;
    for (const std::string& path : {folder, doc.textureFolder, doc.sceneryOutputFolder})
        if (!makeFolder(path))
            unmade.push_back(path);
    if (!unmade.empty()) {
        std::string text = unmade.size() == 1 ? "This folder could not be made:\n"
                                              : std::to_string(unmade.size()) + " folders could not be made:\n";
        for (const std::string& path : unmade)
            text += PathUtil::toNative(path) + "\n";
        doc.app.platform.message(text + "Choose another scenery folder.", MsgIcon::Stop);
        return false;
    }
    doc.texturePrefix = prefix;
    if (prefix.empty() || prefix == kNoPrefix) {
        doc.app.platform.message("Please provide texture name prefix.", MsgIcon::Stop);
        return false;
    }
    return true;
}

std::string level3TilePath(const CDibDoc& doc, int row, int column)
{
    const int block = (row / 4) * (doc.chunkColumns / 4) + column / 4;
    const char* code = kLevel3Codes[(row % 4) * 4 + column % 4];
    if (doc.app.settings.platform == 0)
        return PathUtil::join(doc.textureFolder, TextFormat::cformat("%s%04d.%s", doc.texturePrefix.c_str(), block, code));
    return PathUtil::join(doc.textureFolder, TextFormat::cformat("%s%04d%s.bmp", doc.texturePrefix.c_str(), block, code));
}

bool finishPhotoRealWizard(CDibDoc& doc, const std::string& folder, TileImages images)
{
    WaitCursor wait(doc.app.platform);

    const std::size_t firstName = doc.textureFileNames.size();
    // The wizard names the failed tiles itself, with what it means for the project.
    cutTextureLevel(doc, 3, folder, 1, nullptr, false);
    const std::size_t tileCount = static_cast<std::size_t>(doc.chunkRows / 4) * (doc.chunkColumns / 4) * 16;
    // The cutter lists only the tiles it could write. With one missing, taking the list by index
    // would give every later chunk its neighbour's tile, so the names then come from the naming rule.
    const bool listComplete = doc.textureFileNames.size() - firstName == tileCount;
    const std::set<std::string> written(doc.textureFileNames.begin() + static_cast<long>(firstName),
                                        doc.textureFileNames.end());
    std::vector<std::string> unwritten;

    // Textures and chunks are made in the same nesting order: blocks bottom to top and west to
    // east, within a block rows bottom to top and chunks west to east. That is the cutter's
    // writing order, so texture n is the tile of chunk n.
    // Without a bitmap there is no grid; the steps are then never used.
    const GeoRect b = doc.boundary;
    const double latStep = doc.chunkRows > 0 ? (b.north - b.south) / doc.chunkRows : 0.0;
    const double lonStep = doc.chunkColumns > 0 ? (b.east - b.west) / doc.chunkColumns : 0.0;
    for (int i = 0; i < doc.chunkRows / 4; ++i)
        for (int j = 0; j < doc.chunkColumns / 4; ++j)
            for (int k = 0; k < 4; ++k)
                for (int l = 0; l < 4; ++l) {
                    const int r = 4 * i + k;
                    const int c = 4 * j + l;
                    const std::size_t n = doc.projectTextures.size();

                    auto texture = std::make_unique<Texture>();
                    texture->name = listComplete ? doc.textureFileNames[firstName + n] : level3TilePath(doc, r, c);
                    texture->kind = 1;
                    if (!listComplete && !written.count(texture->name))
                        unwritten.push_back(texture->name);   // reported once below
                    else if (images == TileImages::Load)
                        loadTextureImage(doc.app, *texture);
                    texture->classCode = -1;
                    texture->eastClassCode = -1;
                    texture->southClassCode = -1;
                    doc.projectTextures.push_back(std::move(texture));

                    TexReliefChunk chunk;
                    chunk.area.south = b.south + r * latStep;
                    chunk.area.north = chunk.area.south + latStep;
                    chunk.area.west = b.west + c * lonStep;
                    chunk.area.east = chunk.area.west + lonStep;
                    chunk.chunkValueB = static_cast<std::int32_t>((chunk.area.south + latStep / 2 - b.south) / latStep);
                    chunk.chunkValueA = static_cast<std::int32_t>((chunk.area.west + lonStep / 2 - b.west) / lonStep);
                    doc.chunks.push_back(chunk);
                }

    // Links are made once the lists have stopped growing.
    for (std::size_t n = 0; n < doc.chunks.size() && n < doc.projectTextures.size(); ++n)
        linkChunkToTexture(doc.chunks[n], doc.projectTextures[n].get());

    doc.textureFileNames.clear();
    doc.textureFileNames.shrink_to_fit();
    doc.creationKind = 1;

    if (unwritten.empty())
        return true;
    std::string text = std::to_string(unwritten.size()) + " of " + std::to_string(tileCount) +
                       " texture tiles could not be written into\n" + PathUtil::toNative(doc.textureFolder) +
                       "\nThe first is " + PathUtil::fileName(unwritten.front()) + ". No project was made.";
    doc.app.platform.message(text, MsgIcon::Stop);
    return false;
}
