#pragma once
#include <cstdint>

class CDibDoc;
class TaggedWriter;

/// Assembles a project as version 7 .prj bytes: one outer block (tag 64) holding the project's items
/// in their fixed order, every block and string length back-patched. Shows a progress window per
/// altitude map and one for the chunks, whose Cancel stops the writing: the bytes written so far
/// are then no project, and the caller throws them away (cancelled()).
class ProjectFileWriter {
public:
    /// Tags of the outer level and of the nested blocks, as stored in the file.
    enum Tag : std::uint16_t {
        End = 1,
        Project = 64,
        Version = 21,
        TexturePrefix = 4,
        PaletteName = 9,
        ScasmFolder = 10,
        ScasmFileTitle = 12,
        SceneryFolder = 11,
        BitmapPath = 13,
        ColorTable = 15,
        AltitudeMapBlock = 29,
        MenuPositionItem = 24,
        MacroItem = 25,
        MenuItemsIncluded = 94,   // one int32 per item, only when an item is left out
        MacroItemsIncluded = 95,
        ChunkCount = 93,
        ChunkBlock = 75,
        ChunkColumns = 82,
        ChunkRows = 83,
        Rectangle = 81,
        WriteAltitudeCoordinates = 86,
        WriteAreaMaxHeader = 87,
        AreaMaxSizeKB = 89,
        WriteCopyright = 88,
        CopyrightText = 90,
        IncludedSeasons = 92,
        // altitude map block
        MapRecordCount = 35,
        MapColumns = 36,
        MapRows = 37,
        MapTitle = 38,
        MapSourceType = 39,
        MapSourceParam1 = 40,
        MapSourceParam2 = 41,
        MapEnabled = 42,
        MapShowWater = 43,
        MapWaterLevel = 44,
        MapRecord = 45,
        // chunk block
        ChunkValueA = 76,
        ChunkValueB = 77,
        ChunkValueC = 78,
        ChunkPropertiesBlock = 49,
        ChunkTextureKind = 80,
        ChunkTextureName = 79,
        FirstPropertyTag = 50,
        LastPropertyTag = 62,
    };

    static constexpr std::int32_t kFormatVersion = 7;

    explicit ProjectFileWriter(CDibDoc& doc) : doc_(doc) {}

    /// Sets formatVersion to 7, refreshes every linked chunk's textureKind from its texture, and
    /// appends the whole file to `out`.
    void write(TaggedWriter& out);
    /// Cancel was pressed: write() stopped early and its output is incomplete.
    bool cancelled() const { return cancelled_; }

private:
    void writeAltitudeMaps(TaggedWriter& out);
    void writeMenuPositionItems(TaggedWriter& out);
    void writeMacroItems(TaggedWriter& out);
    void writeInclusionFlags(TaggedWriter& out);
    void writeChunks(TaggedWriter& out);

    CDibDoc& doc_;
    bool cancelled_ = false;
};
