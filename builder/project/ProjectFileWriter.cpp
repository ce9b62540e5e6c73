#include "project/ProjectFileWriter.h"

#include <cstring>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"
#include "project/ChunkPropertyTags.h"
#include "project/TaggedWriter.h"

namespace {

void putLittleEndian(std::uint8_t* out, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void writeRectangle(TaggedWriter& out, const GeoRect& rect)
{
    out.beginBlock(ProjectFileWriter::Rectangle);
    out.valueF64(ProjectFileWriter::Rectangle, rect.south);
    out.valueF64(ProjectFileWriter::Rectangle, rect.north);
    out.valueF64(ProjectFileWriter::Rectangle, rect.west);
    out.valueF64(ProjectFileWriter::Rectangle, rect.east);
    out.endBlock();
}

std::unique_ptr<ProgressWindow> openProgress(Platform& platform, const char* caption, std::size_t count)
{
    auto progress = platform.createProgress(caption);
    progress->SetRange(0, static_cast<int>(count));
    progress->SetStep(1);
    return progress;
}

} // namespace

void ProjectFileWriter::write(TaggedWriter& out)
{
    doc_.formatVersion = kFormatVersion;

    out.beginBlock(Project);
    out.valueI32(Version, doc_.formatVersion);
    out.string(TexturePrefix, doc_.texturePrefix);
    out.string(PaletteName, doc_.paletteName);
    out.string(ScasmFolder, doc_.scasmFolder);
    out.string(ScasmFileTitle, doc_.scasmFileTitle);
    out.string(SceneryFolder, doc_.sceneryFolder);
    out.string(BitmapPath, doc_.bitmapPath);

    out.tag(ColorTable);
    out.u32(static_cast<std::uint32_t>(doc_.colorTable.size() * 4));
    for (std::int32_t entry : doc_.colorTable)
        out.i32(entry);
    for (std::int32_t param : doc_.colorTableParams)
        out.valueI32(ColorTable, param);

    writeAltitudeMaps(out);
    if (cancelled_)
        return;
    writeMenuPositionItems(out);
    writeMacroItems(out);
    writeInclusionFlags(out);
    writeChunks(out);
    if (cancelled_)
        return;

    out.valueI32(ChunkColumns, doc_.chunkColumns);
    out.valueI32(ChunkRows, doc_.chunkRows);
    writeRectangle(out, doc_.boundary);
    out.valueI32(WriteAltitudeCoordinates, doc_.writeAltitudeCoordinates ? 1 : 0);
    out.valueI32(WriteAreaMaxHeader, doc_.writeAreaMaxHeader ? 1 : 0);
    out.valueI32(AreaMaxSizeKB, doc_.areaMaxSizeKB);
    out.valueI32(WriteCopyright, doc_.writeCopyright ? 1 : 0);
    out.string(CopyrightText, doc_.copyrightText);
    out.valueI32(IncludedSeasons, doc_.includedSeasons);
    out.endBlock();
}

void ProjectFileWriter::writeAltitudeMaps(TaggedWriter& out)
{
    for (const auto& map : doc_.altitudeMaps) {
        auto progress = openProgress(doc_.app.platform, "Saving Altitude Data Records...", map->records.size());
        out.beginBlock(AltitudeMapBlock);
        out.valueI32(MapRecordCount, static_cast<std::int32_t>(map->records.size()));
        out.valueI32(MapColumns, map->columns);
        out.valueI32(MapRows, map->rows);
        out.string(MapTitle, map->title);
        out.valueI32(MapSourceType, map->sourceType);
        out.valueI32(MapSourceParam1, map->sourceParam1);
        out.valueI32(MapSourceParam2, map->sourceParam2);
        for (const AltitudeRecord& record : map->records) {
            // Records carry no length: the tag, then 8 + 8 + 4 bytes, handed over in one piece.
            std::uint8_t item[2 + 8 + 8 + 4];
            putLittleEndian(item, MapRecord, 2);
            putLittleEndian(item + 2, bitsOf(record.latitude), 8);
            putLittleEndian(item + 10, bitsOf(record.longitude), 8);
            putLittleEndian(item + 18, static_cast<std::uint32_t>(record.altitude), 4);
            out.bytes(item, sizeof item);
            progress->StepIt();
            if (progress->CheckCancelButton()) {
                cancelled_ = true;
                return;
            }
        }
        out.valueI32(MapEnabled, map->enabled);
        out.valueI32(MapShowWater, map->showWater);
        out.valueI32(MapWaterLevel, map->waterLevel);
        out.endBlock();
    }
}

void ProjectFileWriter::writeMenuPositionItems(TaggedWriter& out)
{
    for (const FsMenuPositionItem& item : doc_.menuPositionItems) {
        out.tag(MenuPositionItem);
        out.string(MenuPositionItem, item.title);
        out.f64(item.latitude);
        out.f64(item.longitude);
        out.i32(item.altitude);
        out.f64(item.heading);
        out.f64(item.com);
        out.f64(item.nav1);
        out.i32(item.obi1);
        out.f64(item.nav2);
        out.i32(item.obi2);
        out.string(MenuPositionItem, item.description);
        out.i32(item.mapX);
        out.i32(item.mapY);
    }
}

void ProjectFileWriter::writeMacroItems(TaggedWriter& out)
{
    for (const FsMacroItem& item : doc_.macroItems) {
        out.tag(MacroItem);
        out.string(MacroItem, item.macroFile);
        out.i32(static_cast<std::int32_t>(item.parameterValues.size()));
        for (const std::string& value : item.parameterValues)
            out.string(MacroItem, value);
        out.i32(item.mapX);
        out.i32(item.mapY);
    }
}

namespace {
// Written only when an item is left out, so projects without such items keep their bytes;
// readers that do not know the tag skip it by its length.
template <class Items>
void writeFlags(TaggedWriter& out, std::uint16_t tag, const Items& items)
{
    bool allIncluded = true;
    for (const auto& item : items)
        allIncluded = allIncluded && item.included;
    if (allIncluded)
        return;
    out.tag(tag);
    out.u32(static_cast<std::uint32_t>(items.size() * 4));
    for (const auto& item : items)
        out.i32(item.included ? 1 : 0);
}
} // namespace

void ProjectFileWriter::writeInclusionFlags(TaggedWriter& out)
{
    writeFlags(out, MenuItemsIncluded, doc_.menuPositionItems);
    writeFlags(out, MacroItemsIncluded, doc_.macroItems);
}

void ProjectFileWriter::writeChunks(TaggedWriter& out)
{
    out.valueI32(ChunkCount, static_cast<std::int32_t>(doc_.chunks.size()));
    auto progress = openProgress(doc_.app.platform, "Saving TexRelief Chunks...", doc_.chunks.size());
    for (TexReliefChunk& chunk : doc_.chunks) {
        std::string textureName;
        if (chunk.texture) {
            chunk.textureKind = chunk.texture->kind;
            textureName = chunk.texture->name;
            // A library name that found no texture when the project was opened is kept, so that
            // saving without the library loaded does not replace it by noMatchTexture's name.
            if (chunk.texture == doc_.app.noMatchTexture.get() && !chunk.unresolvedTextureName.empty())
                textureName = chunk.unresolvedTextureName;
        }

        out.beginBlock(ChunkBlock);
        out.valueI32(ChunkValueA, chunk.chunkValueA);
        out.valueI32(ChunkValueB, chunk.chunkValueB);
        out.valueI32(ChunkValueC, chunk.chunkValueC);
        writeRectangle(out, chunk.area);
        out.beginBlock(ChunkPropertiesBlock);
        // Ascending tag order, so bitmapModeIndex (61) comes after refPointAltitude (60).
        for (std::uint16_t tag = FirstPropertyTag; tag <= LastPropertyTag; ++tag)
            out.valueI32(tag, *chunkPropertyField(chunk.properties, tag));
        out.endBlock();
        out.valueI32(ChunkTextureKind, chunk.textureKind);
        out.string(ChunkTextureName, textureName);
        out.endBlock();
        progress->StepIt();
        if (progress->CheckCancelButton()) {
            cancelled_ = true;
            return;
        }
    }
}
