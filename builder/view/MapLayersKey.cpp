#include "view/MapLayersKey.h"

#include <cstring>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "synth/Texture.h"

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t bitsOf(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

struct Hasher {
    std::uint64_t h = 0x243F6A8885A308D3ull;
    void add(std::uint64_t v)
    {
        h ^= v + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
        h *= kMultiplier;
        h ^= h >> 29;
    }
    void add(double v) { add(bitsOf(v)); }
    void add(const void* p) { add(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p))); }
};

} // namespace

std::uint64_t altitudeRecordsKey(const RecordList& records, bool* inLongitudeOrder)
{
    // The list's version changes with every change of its records, so it stands for all of them
    // without reading a million records at every paint.
    if (inLongitudeOrder)
        *inLongitudeOrder = records.inLongitudeOrder();
    Hasher hasher;
    hasher.add(records.version());
    hasher.add(static_cast<std::uint64_t>(records.size()));
    return hasher.h;
}

std::uint64_t mapLayersKey(const CDibDoc& doc, const MapTransform& t, const MapOverlays& o, std::uint64_t recordsKey)
{
    Hasher h;
    h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(t.chunkColumns())));
    h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(t.chunkRows())));
    h.add(t.zoom());
    h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(t.originOffsetX())));
    h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(t.originOffsetY())));
    h.add(std::uint64_t{o.gridLines} | std::uint64_t{o.gridNodes} << 1 | std::uint64_t{o.altitudeNodes} << 2 |
          std::uint64_t{o.altitudeLabels} << 3);
    const AppSettings& s = doc.app.settings;
    h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(s.showSynthTilesColorCoded)));
    h.add(s.zoomLevel);
    h.add(static_cast<std::uint64_t>(s.textureClasses.size()));
    for (const TextureClass& c : s.textureClasses)
        h.add(static_cast<std::uint64_t>(c.color));
    h.add(static_cast<std::uint64_t>(doc.gridColor));
    h.add(static_cast<std::uint64_t>(doc.textColor));
    h.add(static_cast<std::uint64_t>(doc.chunks.size()));
    for (const TexReliefChunk& c : doc.chunks) {
        h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.chunkValueA)) |
              static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.chunkValueB)) << 32);
        h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.chunkValueC)) |
              static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.properties.gridDensity)) << 32);
        h.add(c.texture);
        if (c.texture) {
            const Texture& x = *c.texture;
            h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(x.kind)) |
                  static_cast<std::uint64_t>(static_cast<std::uint32_t>(x.classCode)) << 32);
            h.add(x.image ? static_cast<const void*>(x.image->block().data()) : nullptr);
            h.add(static_cast<std::uint64_t>(x.image ? x.image->block().size() : 0));
            h.add(static_cast<std::uint64_t>(x.palette.has_value()));
        }
    }
    if (o.altitudeNodes || o.altitudeLabels) {
        h.add(doc.boundary.south);
        h.add(doc.boundary.north);
        h.add(doc.boundary.west);
        h.add(doc.boundary.east);
        h.add(recordsKey);
    }
    return h.h;
}
