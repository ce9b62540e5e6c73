#pragma once
// Reads a .prj file of any format version from 1 to 7 into a freshly constructed project.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "altitude/AltitudeMap.h"
#include "project/TexReliefChunk.h"

class CDibDoc;
class ProgressWindow;
class TaggedReader;

class ProjectFileReader {
public:
    /// How the terrain bitmap named in the file is loaded, and how the user picks another one when
    /// it is missing. The defaults are loadProjectBitmap and selectProjectBitmap.
    struct BitmapHooks {
        std::function<bool(CDibDoc&, const std::string&)> load;
        std::function<bool(CDibDoc&)> select;
    };

    ProjectFileReader(CDibDoc& doc, TaggedReader& in);
    ProjectFileReader(CDibDoc& doc, TaggedReader& in, BitmapHooks hooks);
    ~ProjectFileReader();

    /// Reads the items of the file up to the end tag of the outer block, then merges the altitude
    /// maps and links the chunks to their textures. False when the file does not open with the
    /// project block (tag 64) or the old container (tag 2), when it ends before that end tag,
    /// a length cannot be read or skipped, or the user gives up looking for a missing bitmap.
    /// The project is left partly filled on failure (its owner then discards it).
    bool read();

    /// Reads the file at `path`; false when it cannot be opened.
    static bool readFile(CDibDoc& doc, const std::string& path, BitmapHooks hooks);

private:
    enum class MapKind { Bmp = 0, Dted = 1, Text = 2 };
    /// Extents of an old BMP map header, held for the BMP reference that follows it.
    struct BmpExtents {
        double minLatitude = 0.0, maxLatitude = 0.0, minLongitude = 0.0, maxLongitude = 0.0;
        std::int32_t minAltitude = 0, maxAltitude = 0;
    };

    bool readOuterItem(std::uint16_t tag, bool& finished);
    bool readInt(std::int32_t& field);
    bool readBool(bool& field);
    bool readDouble(double& field);
    bool readBitmapPath();
    bool readColorTable();
    bool readOldBoundary();
    bool readRectangleBlock(GeoRect& rect);
    bool readAltitudeMapBlock();
    bool readMapItems(AltitudeMap& map);
    bool readOldMapItems(AltitudeMap& map);
    bool readRecords(AltitudeMap& map, std::int64_t count, std::size_t recordSize);
    bool readEditList(std::vector<AltitudeRecord>& list);
    bool readOldMapHeader(MapKind kind);
    bool readOldMapReference(MapKind kind);
    bool readMenuPositionItem();
    bool readMacroItem();
    /// One int32 per item read so far (non-zero: in the scenery); a list of another length does
    /// not belong to these items and is skipped.
    template <class Items>
    bool readInclusionFlags(Items& items);
    bool readChunkCount();
    bool readChunkBlock();
    bool readChunkItems(TexReliefChunk& chunk);
    bool readChunkProperties(ChunkProperties& properties);
    void takeTextureName(TexReliefChunk& chunk, const std::string& name);
    void finishLoading();

    CDibDoc& doc_;
    TaggedReader& in_;
    BitmapHooks hooks_;
    std::array<AltitudeMap, 3> pendingMaps_;
    BmpExtents bmpExtents_;
    std::unique_ptr<ProgressWindow> chunkProgress_;
    std::unique_ptr<ProgressWindow> mapProgress_;
};
