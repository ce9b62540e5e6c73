#include "synth/SyntheticScenery.h"

#include <algorithm>
#include <memory>

#include "base/Platform.h"
#include "output/ScasmWriter.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "synth/ChunkNeighbours.h"
#include "synth/SeasonalNames.h"
#include "synth/SynthRandom.h"
#include "synth/TextureLinks.h"

namespace {

using ChunkNeighbours::neighbourIndex;

/// The texture linked to the neighbour at `position`, or nullptr when it is missing or unlinked.
const Texture* neighbourTexture(const CDibDoc& doc, long chunkIndex, int position)
{
    const long index = neighbourIndex(doc, chunkIndex, position);
    if (index < 0)
        return nullptr;
    return doc.chunks[static_cast<std::size_t>(index)].texture;
}

/// The edge classes the neighbours impose on a chunk: n and w on its classCode, e on its
/// eastClassCode, s on its southClassCode; -1 imposes nothing.
struct EdgeNeeds {
    std::int32_t n = -1, w = -1, e = -1, s = -1;

    bool fits(const Texture& t) const
    {
        return (n == -1 || t.classCode == n) && (w == -1 || t.classCode == w) &&
               (e == -1 || t.eastClassCode == e) && (s == -1 || t.southClassCode == s);
    }
};

class WaitCursor {
public:
    explicit WaitCursor(Platform& platform) : platform_(platform) { platform_.setWaitCursor(true); }
    ~WaitCursor() { platform_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Platform& platform_;
};

/// The neighbours re-chosen around a chunk, in their order, with the class each must show
/// towards the chunk (-1: taken from its own neighbours).
void rematchAround(CDibDoc& doc, long chunkIndex, SynthRandom& random, const std::vector<bool>* keep)
{
    using namespace ChunkNeighbours;
    const Texture* own = doc.chunks[static_cast<std::size_t>(chunkIndex)].texture;
    static const int order[] = {North, West, East, South, NorthEast, SouthWest};
    for (int position : order) {
        const long index = neighbourIndex(doc, chunkIndex, position);
        if (index < 0 || index == chunkIndex)
            continue;
        if (keep && (*keep)[static_cast<std::size_t>(index)])
            continue;
        std::int32_t required = -1;
        if (own && position == East)
            required = own->eastClassCode;
        else if (own && position == South)
            required = own->southClassCode;
        linkChunkTexture(doc.app, doc.chunks[static_cast<std::size_t>(index)],
                         pickTextureForNeighbours(doc, index, required, random));
    }
}

} // namespace

long chooseCandidate(long count, int r)
{
    if (count <= 0)
        return -1;
    const long long chosen = static_cast<long long>(count) * r / SynthRandom::kMax;
    return static_cast<long>(std::min<long long>(chosen, count - 1));
}

long pickTextureForClasses(const CDibDoc& doc, long chunkIndex, const std::vector<std::int32_t>& allowed,
                           SynthRandom& random)
{
    using namespace ChunkNeighbours;
    EdgeNeeds needs;
    if (const Texture* t = neighbourTexture(doc, chunkIndex, South))
        needs.s = t->classCode;
    if (const Texture* t = neighbourTexture(doc, chunkIndex, West))
        needs.w = t->eastClassCode;
    if (const Texture* t = neighbourTexture(doc, chunkIndex, North))
        needs.n = t->southClassCode;
    if (const Texture* t = neighbourTexture(doc, chunkIndex, East))
        needs.e = t->classCode;

    auto isAllowed = [&allowed](std::int32_t code) {
        return std::find(allowed.begin(), allowed.end(), code) != allowed.end();
    };
    std::vector<long> candidates;
    const auto& library = doc.app.textureLibrary;
    for (std::size_t i = 0; i < library.size(); ++i) {
        const Texture& t = *library[i];
        if (isAllowed(t.classCode) && isAllowed(t.eastClassCode) && isAllowed(t.southClassCode) && needs.fits(t))
            candidates.push_back(static_cast<long>(i));
    }
    const long chosen = chooseCandidate(static_cast<long>(candidates.size()), random.next());
    return chosen < 0 ? -1 : candidates[static_cast<std::size_t>(chosen)];
}

long pickTextureForNeighbours(const CDibDoc& doc, long chunkIndex, std::int32_t required, SynthRandom& random)
{
    using namespace ChunkNeighbours;
    EdgeNeeds needs;
    if (const Texture* t = neighbourTexture(doc, chunkIndex, South))
        needs.s = t->classCode;
    if (const Texture* t = neighbourTexture(doc, chunkIndex, East))
        needs.e = t->classCode;
    if (required < 0) {
        if (const Texture* t = neighbourTexture(doc, chunkIndex, West))
            needs.w = t->eastClassCode;
        if (const Texture* t = neighbourTexture(doc, chunkIndex, North))
            needs.n = t->southClassCode;
    } else {
        needs.w = required;
        needs.n = required;
    }

    std::vector<long> candidates;
    const auto& library = doc.app.textureLibrary;
    for (std::size_t i = 0; i < library.size(); ++i)
        if (needs.fits(*library[i]))
            candidates.push_back(static_cast<long>(i));
    const long chosen = chooseCandidate(static_cast<long>(candidates.size()), random.next());
    return chosen < 0 ? -1 : candidates[static_cast<std::size_t>(chosen)];
}

void matchNeighbours(CDibDoc& doc, long chunkIndex, SynthRandom& random)
{
    if (chunkIndex < 0 || static_cast<std::size_t>(chunkIndex) >= doc.chunks.size())
        return;
    rematchAround(doc, chunkIndex, random, nullptr);
}

bool generateSyntheticScenery(CDibDoc& doc, const SynthOptions& options, SynthRandom& random)
{
    AppContext& app = doc.app;
    Platform& platform = app.platform;
    if (app.textureLibrary.empty()) {
        platform.message(kNoSyntheticTextures, MsgIcon::Exclamation);
        return false;
    }
    const std::int32_t rows = doc.chunkRows;
    const std::int32_t columns = doc.chunkColumns;
    if (rows <= 0 || columns <= 0 || rows > kMaxSynthGridSide || columns > kMaxSynthGridSide)
        return false;
    // The neighbour arithmetic needs the chunk list to be exactly this grid, in row order.
    doc.chunks.clear();
    // The library holds one season's set; in winter only the winter variant of water is there.
    const long waterIndex = static_cast<long>(
        findLibraryTexture(app, seasonalTextureName(kWaterTextureName, app.settings.viewSeason)));

    WaitCursor wait(platform);
    std::unique_ptr<ProgressWindow> progress = platform.createProgress(kSynthProgressCaption);
    progress->SetRange(0, rows * columns);
    progress->SetStep(1);

    const GeoRect& b = doc.boundary;
    const double dLat = (b.north - b.south) / rows;
    const double dLon = (b.east - b.west) / columns;
    doc.chunks.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < columns; ++c) {
            TexReliefChunk chunk;
            chunk.area.south = b.south + r * dLat;
            chunk.area.north = chunk.area.south + dLat;
            chunk.area.west = b.west + c * dLon;
            chunk.area.east = chunk.area.west + dLon;
            // A boundary without height or width would divide by zero: the row and column stand.
            chunk.chunkValueB = dLat > 0 ? static_cast<std::int32_t>((chunk.area.south + dLat / 2 - b.south) / dLat) : r;
            chunk.chunkValueA = dLon > 0 ? static_cast<std::int32_t>((chunk.area.west + dLon / 2 - b.west) / dLon) : c;
            doc.chunks.push_back(chunk);
            const long index = static_cast<long>(doc.chunks.size()) - 1;
            linkChunkTexture(app, doc.chunks.back(), pickTextureForClasses(doc, index, options.allowedClasses, random));
            progress->StepIt();
            if (progress->CheckCancelButton()) {
                doc.chunks.clear();
                return false;
            }
        }
    }

    // Without altitude data every node would read as 0 m, so the whole grid would turn to water.
    if (options.renderWater && !doc.mainAltitudeMap.records.empty()) {
        // A chunk already turned to water keeps it when a later water chunk re-matches its neighbours.
        std::vector<bool> water(doc.chunks.size(), false);
        for (std::size_t i = 0; i < doc.chunks.size(); ++i) {
            const auto [lowest, highest] = chunkAltitudeRange(doc.chunks[i], doc);
            if (lowest == 0 && highest == 0) {
                linkChunkTexture(app, doc.chunks[i], waterIndex);
                water[i] = true;
                rematchAround(doc, static_cast<long>(i), random, &water);
            }
            if (progress->CheckCancelButton()) {
                doc.chunks.clear();
                return false;
            }
        }
    }

    doc.documentWidth = columns * 256;
    doc.documentHeight = rows * 256;
    doc.creationKind = 2;
    return true;
}
