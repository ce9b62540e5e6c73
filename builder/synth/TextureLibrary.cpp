#include "synth/TextureLibrary.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <iterator>
#include <memory>
#include <unordered_set>
#include <vector>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/ProgramFiles.h"
#include "base/Platform.h"
#include "imagery/BitmapFile.h"
#include "project/CDibDoc.h"
#include "synth/SeasonalNames.h"
#include "synth/Texture.h"
#include "synth/TextureFileMask.h"
#include "synth/TextureLinks.h"

namespace {

constexpr std::size_t kTileBytes = 256 * 256;

// Regular files only: a FIFO would make the read wait for ever.
bool canOpenForReading(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

/// An .r8 tile holds bare pixel rows; it becomes a bitmap by borrowing the header and colour
/// table of default.bmp. Nothing when either part is missing or the tile is short.
std::optional<PackedBitmap> readR8Tile(const AppContext& app, const std::string& tilePath)
{
    const std::string defaultPath = findProgramFile(app.settings, "default.bmp");
    if (defaultPath.empty() || !canOpenForReading(defaultPath))
        return std::nullopt;
    std::optional<PackedBitmap> dress = readBitmapFile(defaultPath);
    if (!dress || !dress->hasValidHeader())
        return std::nullopt;
    const std::size_t headerBytes = dress->pixelOffset();
    if (headerBytes == 0 || headerBytes > dress->block().size())
        return std::nullopt;

    if (!canOpenForReading(tilePath))
        return std::nullopt;
    std::ifstream tile(tilePath, std::ios::binary);
    std::vector<std::uint8_t> block(dress->block().begin(), dress->block().begin() + static_cast<long>(headerBytes));
    block.resize(headerBytes + kTileBytes);
    tile.read(reinterpret_cast<char*>(block.data() + headerBytes), static_cast<std::streamsize>(kTileBytes));
    if (static_cast<std::size_t>(tile.gcount()) != kTileBytes)
        return std::nullopt;
    return PackedBitmap(std::move(block));
}

/// Chunks hold plain pointers into the library; before the old texture objects go, every chunk
/// that points at one of them is linked again by the texture's name (noMatchTexture when the new
/// library has no such name). Links to a project's own tiles are left alone.
void relinkOpenProjects(AppContext& app, const std::vector<std::unique_ptr<Texture>>& oldLibrary)
{
    std::unordered_set<const Texture*> old;
    for (const auto& texture : oldLibrary)
        old.insert(texture.get());
    if (old.empty())
        return;
    for (CDibDoc* doc : app.documents) {
        if (!doc)
            continue;
        for (TexReliefChunk& chunk : doc->chunks) {
            if (!chunk.texture || !old.count(chunk.texture))
                continue;
            const std::size_t index = findLibraryTexture(app, chunk.texture->name);
            linkChunkTexture(app, chunk, static_cast<long>(index));
        }
    }
}

} // namespace

void loadTextureLibrary(AppContext& app)
{
    // The old objects stay alive until every chunk has been moved off them.
    std::vector<std::unique_ptr<Texture>> oldLibrary = std::move(app.textureLibrary);
    app.textureLibrary.clear();
    if (!app.noMatchTexture)
        app.noMatchTexture = std::make_unique<Texture>();

    const std::string& folder = app.settings.synthTexturesPath;
    const std::vector<std::string> files =
        TextureFileMask::list(folder, TextureFileMask::seasonLetter(app.settings.viewSeason));
    if (files.empty()) {
        relinkOpenProjects(app, oldLibrary);
        return;
    }

    std::vector<int> enabledCodes;
    std::unordered_set<int> enabledSet;
    for (const TextureClass& textureClass : app.settings.textureClasses)
        if (textureClass.enabled) {
            enabledCodes.push_back(textureClass.code);
            enabledSet.insert(textureClass.code);
        }

    std::unique_ptr<ProgressWindow> progress = app.platform.createProgress("Loading/Replacing Synthetic Textures...");
    progress->SetRange(1, static_cast<int>(enabledCodes.size()));
    progress->SetStep(1);

    for (int code : enabledCodes) {
        for (const std::string& file : files) {
            const int main = TextureFileMask::twoCharCode(file, 0);
            const int east = TextureFileMask::twoCharCode(file, 2);
            const int south = TextureFileMask::twoCharCode(file, 4);
            if (main != code || !enabledSet.count(main) || !enabledSet.count(east) || !enabledSet.count(south))
                continue;
            auto texture = std::make_unique<Texture>();
            texture->name = file;
            texture->kind = 0;
            Texture& added = *texture;
            app.textureLibrary.push_back(std::move(texture));
            loadTextureImage(app, added);
            added.classCode = main;
            added.eastClassCode = east;
            added.southClassCode = south;
        }
        progress->StepIt();
    }

    // Reloaded in place: chunks linked to it keep a valid pointer.
    Texture& noMatch = *app.noMatchTexture;
    noMatch.reset();
    noMatch.name = "NoMatch.bmp";
    noMatch.kind = 0;
    loadTextureImage(app, noMatch);
    noMatch.classCode = -1;
    noMatch.eastClassCode = -1;
    noMatch.southClassCode = -1;

    progress.reset();
    relinkOpenProjects(app, oldLibrary);
}

bool rescanTextureClasses(AppContext& app)
{
    const std::vector<std::string> files = TextureFileMask::list(app.settings.synthTexturesPath);
    if (files.empty()) {
        app.platform.message("No Textures present in this directory.", MsgIcon::Exclamation);
        return false;
    }
    std::vector<TextureClass>& classes = app.settings.textureClasses;
    classes.clear();
    for (const std::string& file : files) {
        const int code = TextureFileMask::twoCharCode(file, 0);
        // A name such as "-1....." would index before the list; it names no class.
        if (code < 0)
            continue;
        const std::size_t index = static_cast<std::size_t>(code);
        if (index < classes.size() && classes[index].code == code)
            continue;
        if (classes.size() < index + 1)
            classes.resize(index + 1);
        classes[index].code = code;
    }
    return true;
}

bool readTextureImage(AppContext& app, Texture& texture, std::string* refusal)
{
    const std::string path = texture.kind == 0 ? PathUtil::join(app.settings.synthTexturesPath, texture.name)
                                               : PathUtil::toNative(texture.name);
    if (!canOpenForReading(path))
        return false;

    texture.image.reset();
    texture.palette.reset();
    texture.width = 0;
    texture.height = 0;

    std::optional<PackedBitmap> image;
    if (texture.kind == 1 && app.settings.platform == 0) {
        if (findProgramFile(app.settings, "default.bmp").empty())
            return false;
        image = readR8Tile(app, path);
    } else {
        image = readBitmapFile(path);
    }

    if (image) {
        std::optional<LogicalPalette> palette = createBitmapPalette(*image);
        const char* failure = nullptr;
        if (!palette)
            failure = "This image has more than 256 colors. Loading Abandoned.";
        else if (image->width() != 256)
            failure = "This Image's width is not 256 pixels . Loading abandoned.";
        else if (image->height() != 256)
            failure = "This Image's height is not 256 pixels . Loading abandoned.";
        if (failure) {
            if (refusal)
                *refusal = failure;
            image.reset();
        } else {
            texture.width = image->width();
            texture.height = image->height();
            texture.image = std::move(image);
            texture.palette = std::move(palette);
        }
    }
    return texture.image.has_value();
}

bool loadTextureImage(AppContext& app, Texture& texture)
{
    const std::string path = texture.kind == 0 ? PathUtil::join(app.settings.synthTexturesPath, texture.name)
                                               : PathUtil::toNative(texture.name);
    // A file that cannot be opened at all is passed over without a word.
    if (!canOpenForReading(path))
        return false;
    std::string refusal;
    if (readTextureImage(app, texture, &refusal))
        return true;
    if (!refusal.empty())
        app.platform.message(refusal, MsgIcon::Exclamation);
    if (texture.kind == 1 && app.settings.platform == 0 &&
        findProgramFile(app.settings, "default.bmp").empty())
        return false;
    app.platform.message("Cannot load DIB", MsgIcon::Information);
    return false;
}

void changeSeason(AppContext& app, int season)
{
    for (CDibDoc* doc : app.documents) {
        if (!doc)
            continue;
        doc->textureFileNames.clear();
        for (const TexReliefChunk& chunk : doc->chunks)
            doc->textureFileNames.push_back(chunk.texture ? PathUtil::fileName(chunk.texture->name) : std::string());
    }

    app.settings.viewSeason = season;
    loadTextureLibrary(app);

    for (CDibDoc* doc : app.documents) {
        if (!doc)
            continue;
        for (std::size_t i = 0; i < doc->chunks.size() && i < doc->textureFileNames.size(); ++i) {
            TexReliefChunk& chunk = doc->chunks[i];
            if (!chunk.texture || chunk.texture->kind != 0)
                continue;
            const std::string name = seasonalTextureName(doc->textureFileNames[i], season);
            linkChunkTexture(app, chunk, static_cast<long>(findLibraryTexture(app, name)));
        }
        doc->repaintViews();
        doc->textureFileNames.clear();
    }
}
