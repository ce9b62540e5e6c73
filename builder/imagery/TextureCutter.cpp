#include "imagery/TextureCutter.h"

#include <algorithm>
#include <array>
#include <limits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "base/ProgressWindow.h"
#include "imagery/BitmapFile.h"
#include "base/ReplaceFile.h"
#include "base/ReplacementBatch.h"
#include "project/CDibDoc.h"

namespace {
constexpr int kTileSize = 256;
constexpr int kBlockSize = 1024;
// Rounds the averaged channels; slightly below one half, so exact halves round down.
constexpr double kRounding = 0.49998998641967773;

} // namespace

std::uint8_t averagedChannel(double sum, double area)
{
    return static_cast<std::uint8_t>(static_cast<long long>(sum / area + kRounding) & 0xFF);
}

namespace {
// Quadrant digits: 1 upper left, 2 lower left, 3 upper right, 4 lower right; writing order is
// bottom row first, left to right.
constexpr std::array<const char*, 4> kLevel2Codes = {"22", "24", "21", "23"};
constexpr std::array<const char*, 16> kLevel3Codes = {"322", "324", "342", "344", "321", "323", "341", "343",
                                                      "312", "314", "332", "334", "311", "313", "331", "333"};

// Caches the nearest palette entry of averaged colours; the palette's own rule decides every miss,
// so the cache only saves repeated searches over the same colour.
class NearestColorCache {
public:
    explicit NearestColorCache(const LogicalPalette& palette)
        : palette_(palette), keys_(std::size_t{1} << kBits, kEmpty), values_(std::size_t{1} << kBits)
    {
    }

    std::uint8_t find(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        const std::uint32_t key = static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
                                  static_cast<std::uint32_t>(blue) << 16;
        const std::size_t slot = (key * 2654435761u) >> (32 - kBits);
        if (keys_[slot] != key) {
            keys_[slot] = key;
            values_[slot] = static_cast<std::uint8_t>(palette_.nearestIndex(red, green, blue));
        }
        return values_[slot];
    }

private:
    static constexpr int kBits = 14;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;   // no colour has a top byte
    const LogicalPalette& palette_;
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint8_t> values_;
};

// Makes the pixels of tiles. One serves a whole cut: the palette's channels, the table of
// rounded averages and the nearest-colour cache are set up once for all its tiles.
class TileMaker {
public:
    TileMaker(const PackedBitmap& bitmap, const LogicalPalette& palette) : bitmap_(bitmap), nearest_(palette)
    {
        for (std::size_t i = 0; i < palette.entries.size() && i < packed_.size(); ++i) {
            const PaletteEntry& e = palette.entries[i];
            packed_[i] = std::uint64_t{e.red} | std::uint64_t{e.green} << kField | std::uint64_t{e.blue} << 2 * kField;
        }
    }

    /// Fills `out` with the 256 x 256 pixels of the tile whose lower-left source pixel is (x0, y0);
    /// the step is 1 to kMaxTileStep.
    void make(int x0, int y0, int step, std::uint8_t* out);

private:
    // The three channels of a palette index side by side in one word, so that one addition sums
    // all three: a field holds the sum of 8224 pixels, far more than the largest step's square.
    static constexpr int kField = 21;
    static constexpr std::uint64_t kFieldMask = (std::uint64_t{1} << kField) - 1;
    static_assert(255 * kMaxTileStep * kMaxTileStep <= kFieldMask);

    void setStep(int step);
    template <int Step>
    void sumRow(const std::uint8_t* source, int step, std::uint64_t* sums) const;

    const PackedBitmap& bitmap_;
    NearestColorCache nearest_;
    std::array<std::uint64_t, 256> packed_{};   // indices past the palette add 0
    int step_ = 0;
    std::vector<std::uint8_t> table_;
};

void TileMaker::setStep(int step)
{
    if (step == step_)
        return;
    step_ = step;
    // Channel sums are whole numbers, so they are added as integers, and the rounded average
    // of every possible sum is taken once, by the floating-point rule itself, into a table.
    const std::size_t area = static_cast<std::size_t>(step) * static_cast<std::size_t>(step);
    table_.resize(255 * area + 1);
    for (std::size_t sum = 0; sum < table_.size(); ++sum)
        table_[sum] = averagedChannel(static_cast<double>(sum), static_cast<double>(area));
}

// Adds one source row to the column sums of a tile row; the menus' steps get their own loops.
template <int Step>
void TileMaker::sumRow(const std::uint8_t* source, int step, std::uint64_t* sums) const
{
    const int n = Step > 0 ? Step : step;
    for (int column = 0; column < kTileSize; ++column, source += n) {
        std::uint64_t sum = 0;
        for (int dx = 0; dx < n; ++dx)
            sum += packed_[source[dx]];
        sums[column] += sum;
    }
}

void TileMaker::make(int x0, int y0, int step, std::uint8_t* out)
{
    const PackedBitmap& bitmap = bitmap_;
    const long long span = static_cast<long long>(kTileSize) * step;
    const bool inside = x0 >= 0 && y0 >= 0 && bitmap.bitsPerPixel() == 8 && bitmap.pixelsComplete() &&
                        x0 + span <= bitmap.width() && y0 + span <= bitmap.height();
    const std::uint8_t* pixels = bitmap.pixels();
    const std::size_t stride = bitmap.rowStride();
    // Inside a complete bitmap the rows are read in place; anything else goes through the
    // bounds-checked accessor, which gives index 0 outside the image.
    auto pixelAt = [&](int x, int y) -> std::uint8_t {
        return inside ? pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)]
                      : bitmap.pixelIndex(x, y);
    };

    std::size_t p = 0;
    if (step == 1) {
        if (inside) {
            for (int y = y0; y < y0 + kTileSize; ++y, p += kTileSize)
                std::memcpy(out + p, pixels + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x0),
                            kTileSize);
        } else {
            for (int y = y0; y < y0 + kTileSize; ++y)
                for (int x = x0; x < x0 + kTileSize; ++x)
                    out[p++] = pixelAt(x, y);
        }
        return;
    }
    setStep(step);
    std::array<std::uint64_t, kTileSize> sums{};
    for (int row = 0; row < kTileSize; ++row) {
        const int y = y0 + row * step;
        sums.fill(0);
        // Source rows one after the other, each read from left to right.
        for (int dy = 0; dy < step; ++dy) {
            if (inside) {
                const std::uint8_t* source = pixels + static_cast<std::size_t>(y + dy) * stride + x0;
                if (step == 2)
                    sumRow<2>(source, step, sums.data());
                else if (step == 4)
                    sumRow<4>(source, step, sums.data());
                else
                    sumRow<0>(source, step, sums.data());
            } else {
                for (int column = 0; column < kTileSize; ++column)
                    for (int dx = 0; dx < step; ++dx)
                        sums[column] += packed_[pixelAt(x0 + column * step + dx, y + dy)];
            }
        }
        for (int column = 0; column < kTileSize; ++column) {
            const std::uint64_t sum = sums[column];
            out[p++] = nearest_.find(table_[sum & kFieldMask], table_[sum >> kField & kFieldMask],
                                     table_[sum >> 2 * kField]);
        }
    }
}

const LogicalPalette& tilePalette(const CDibDoc& doc)
{
    static const LogicalPalette kNoPalette;
    return doc.projectPalette ? *doc.projectPalette : kNoPalette;
}

// Where tiles go: the texture folder, or the folder chosen in the name dialog while that is unset
// (a project opened from its file has none, and the root folder is no place for tiles).
std::string tileFolder(const CDibDoc& doc)
{
    return doc.textureFolder.empty() ? doc.sceneryFolder : doc.textureFolder;
}

std::string tileName(const CDibDoc& doc, int block, const char* code)
{
    char number[16];
    std::snprintf(number, sizeof number, "%04d", block);
    const std::string name = doc.app.settings.platform == 0 ? doc.texturePrefix + number + "." + code
                                                            : doc.texturePrefix + number + code + ".bmp";
    return PathUtil::join(tileFolder(doc), name);
}

// The name dialog of a cut; sets texturePrefix and sceneryFolder. False when cancelled.
bool askPrefix(CDibDoc& doc, const std::string& title)
{
    FileDialogOptions options;
    options.title = title;
    options.filter = "All Files (*.*)|*.*|R8 files (*.r8)|*.r8||";
    options.initialDir = doc.sceneryFolder;
    options.hideReadOnly = true;
    options.overwritePrompt = true;
    const std::optional<std::string> chosen = doc.app.platform.saveFileDialog(options);
    if (!chosen)
        return false;
    doc.texturePrefix = PathUtil::titleOf(*chosen);
    doc.sceneryFolder = PathUtil::folder(*chosen);
    return true;
}

// The chunk counts come from the project file, which could claim more than the bitmap holds:
// only chunks that lie on the bitmap are cut.
int cutChunkColumns(const CDibDoc& doc)
{
    const int onBitmap = doc.projectBitmap ? std::max(doc.projectBitmap->width(), 0) / kTileSize : 0;
    return std::clamp(doc.chunkColumns, 0, onBitmap);
}

int cutChunkRows(const CDibDoc& doc)
{
    const int onBitmap = doc.projectBitmap ? std::max(doc.projectBitmap->height(), 0) / kTileSize : 0;
    return std::clamp(doc.chunkRows, 0, onBitmap);
}

// Writes every tile of one level; the names and the folder are already settled. Tiles that
// cannot be written are counted and reported once; the ones written stay and the user is told so.
void cutLevel(CDibDoc& doc, int level, int step, ProgressWindow* progress, bool reportFailures = true)
{
    std::size_t tried = 0;
    std::size_t failed = 0;
    std::string firstFailed;
    const auto fail = [&](const std::string& path) {
        if (failed++ == 0)
            firstFailed = path;
    };
    // The tiles reach the disk in groups, each file still replaced whole or not at all.
    ReplacementBatch batch([&](const std::string& path, bool placed, const std::string&) {
        if (placed)
            doc.textureFileNames.push_back(path);
        else
            fail(path);
    });
    const bool r8 = doc.app.settings.platform == 0;
    std::optional<std::vector<std::uint8_t>> headers;
    if (!r8 && doc.projectBitmap)
        headers = tileBitmapHeaders(*doc.projectBitmap, kTileSize, kTileSize);
    std::optional<TileMaker> maker;
    if (doc.projectBitmap)
        maker.emplace(*doc.projectBitmap, tilePalette(doc));
    std::vector<std::uint8_t> pixels(kTileSize * kTileSize);
    const auto writeTile = [&](const std::string& path, int x0, int y0, int tileStep) {
        ++tried;
        if (!maker || tileStep < 1 || tileStep > kMaxTileStep) {
            fail(path);
            return;
        }
        maker->make(x0, y0, tileStep, pixels.data());
        if (progress)
            progress->StepIt();
        if (r8)
            batch.add(path, {{pixels.data(), pixels.size()}});
        else if (headers)
            batch.add(path, {{headers->data(), headers->size()}, {pixels.data(), pixels.size()}});
        else
            fail(path);
    };
    const int blockColumns = cutChunkColumns(doc) / 4;
    const int blockRows = cutChunkRows(doc) / 4;
    int block = 0;
    for (int b = 0; b < blockRows; ++b) {
        for (int a = 0; a < blockColumns; ++a, ++block) {
            const int left = a * kBlockSize;
            const int bottom = b * kBlockSize;
            if (level == 1) {
                writeTile(tileName(doc, block, "1"), left, bottom, step);
            } else if (level == 2) {
                const int perSide = step > 0 ? 4 / step : 0;
                for (int j = 0; j < perSide; ++j)
                    for (int i = 0; i < perSide; ++i) {
                        const int index = j * 2 + i;
                        if (index >= static_cast<int>(kLevel2Codes.size()))
                            continue;   // only the menu's step 2 has names for its tiles
                        writeTile(tileName(doc, block, kLevel2Codes[index]), i * kTileSize * step + left,
                                  j * kTileSize * step + bottom, step);
                    }
            } else {
                for (int j = 0; j < 4; ++j)
                    for (int i = 0; i < 4; ++i)
                        writeTile(tileName(doc, block, kLevel3Codes[j * 4 + i]), i * kTileSize + left,
                                  j * kTileSize + bottom, 1);
            }
        }
    }
    batch.commit();
    if (failed > 0 && reportFailures)
        doc.app.platform.message(std::to_string(failed) + " of " + std::to_string(tried) + " level " +
                                     std::to_string(level) + " tiles could not be written (the first: " + firstFailed +
                                     "). The " + std::to_string(tried - failed) + " written are kept in " +
                                     PathUtil::folder(firstFailed) + ".",
                                 MsgIcon::Exclamation);
}

const char* levelTitle(int level)
{
    switch (level) {
    case 1: return "Select prefix for Level 1 texture filenames:";
    case 2: return "Select prefix for Level 2 texture filenames:";
    default: return "Select prefix for Level 3 texture filenames:";
    }
}
} // namespace

std::string textureTileFolder(const CDibDoc& doc)
{
    return tileFolder(doc);
}

bool cutTextureLevel(CDibDoc& doc, int level, const std::string& folderText, int step,
                     ProgressWindow* progress, bool reportFailures)
{
    if (!folderText.empty())
        doc.sceneryFolder = folderText;
    else if (!askPrefix(doc, levelTitle(level)))
        return false;
    cutLevel(doc, level, level == 3 ? 1 : step, progress, reportFailures);
    return true;
}

bool cutAllLevels(CDibDoc& doc)
{
    if (!askPrefix(doc, "Select prefix for All Levels texture filenames:"))
        return false;
    doc.repaintViews();
    std::unique_ptr<ProgressWindow> progress = doc.app.platform.createProgress("Please wait...Preparing Textures...");
    // 21/16 of the level 3 tiles: all three levels. Taken in 64 bits, as the product can pass the int range.
    const long long tiles = (static_cast<long long>(cutChunkRows(doc)) * 21 / 4) * cutChunkColumns(doc) / 4;
    progress->SetRange(0, static_cast<int>(std::min<long long>(tiles, std::numeric_limits<int>::max())));
    progress->SetStep(1);
    // The levels run on the folder chosen above; handing them the chosen file's full path would
    // leave that path, not a folder, in sceneryFolder.
    progress->SetStatus("Preparing Level 1...");
    cutLevel(doc, 1, 4, progress.get());
    progress->SetStatus("Preparing Level 2...");
    cutLevel(doc, 2, 2, progress.get());
    progress->SetStatus("Preparing Level 3...");
    cutLevel(doc, 3, 1, progress.get());
    progress.reset();
    return true;
}

bool writeTextureTile(CDibDoc& doc, const std::string& path, int x0, int y0, int step, ProgressWindow* progress)
{
    if (!doc.projectBitmap || step < 1 || step > kMaxTileStep)
        return false;
    const PackedBitmap& bitmap = *doc.projectBitmap;
    std::vector<std::uint8_t> buffer(kTileSize * kTileSize);
    TileMaker(bitmap, tilePalette(doc)).make(x0, y0, step, buffer.data());
    if (progress)
        progress->StepIt();

    const bool written = doc.app.settings.platform != 0
                             ? writeTileBitmap(bitmap, path, buffer.data(), kTileSize, kTileSize)
                             : replaceFile(path, {{buffer.data(), buffer.size()}});
    if (!written)
        return false;
    doc.textureFileNames.push_back(path);
    return true;
}
