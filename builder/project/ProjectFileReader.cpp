#include "project/ProjectFileReader.h"

#include <algorithm>
#include <utility>

#include "altitude/AltitudeEdits.h"
#include "altitude/AltitudeMerge.h"
#include "altitude/AltitudeReaders.h"
#include "altitude/RecordCollector.h"
#include "altitude/RecordReserve.h"
#include "project/AppContext.h"
#include "base/FileLimits.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "imagery/ProjectBitmap.h"
#include "project/CDibDoc.h"
#include "project/ChunkPropertyTags.h"
#include "project/SnapshotEdit.h"
#include "project/TaggedReader.h"
#include "synth/SeasonalNames.h"
#include "synth/TextureLinks.h"

namespace {

constexpr const char* kOldFormatMessage =
    "You have loaded an old Orvane Project Format. Make sure you save your project within this version.";
constexpr const char* kMissingBitmapQuestion =
    "The terrain bitmap was not found in the location it was saved. Would you like to look for it?";
constexpr const char* kOldMapTitle = "Orvane v1.02 Type AltMap";

constexpr std::size_t kRecordSize = 8 + 8 + 4;
constexpr std::size_t kVersion1RecordSize = 32;
constexpr std::size_t kTaggedRecordSize = 2 + kRecordSize;   // a version 7 record item: its tag, then the record

} // namespace

ProjectFileReader::ProjectFileReader(CDibDoc& doc, TaggedReader& in) : ProjectFileReader(doc, in, BitmapHooks{}) {}

ProjectFileReader::ProjectFileReader(CDibDoc& doc, TaggedReader& in, BitmapHooks hooks)
    : doc_(doc), in_(in), hooks_(std::move(hooks))
{
    // A bitmap that is simply not where it was saved is offered for a search at once; an
    // error about a file nobody expected to be there would come before the offer.
    if (!hooks_.load)
        hooks_.load = [](CDibDoc& doc, const std::string& path) {
            return PathUtil::fileExists(path) && loadProjectBitmap(doc, path);
        };
    if (!hooks_.select)
        hooks_.select = selectProjectBitmap;
    for (AltitudeMap& map : pendingMaps_)
        map.owner = &doc_;
}

ProjectFileReader::~ProjectFileReader() = default;

bool ProjectFileReader::readFile(CDibDoc& doc, const std::string& path, BitmapHooks hooks)
{
    // A project file opens with its project block (64), or the container of old files (2).
    std::optional<TaggedReader> in = TaggedReader::fromFile(path, FileLimits::kProjectFile, {64, 2});
    if (!in)
        return false;
    return ProjectFileReader(doc, *in, std::move(hooks)).read();
}

bool ProjectFileReader::read()
{
    // A project file opens with its project block (64), or the container of old files (2).
    std::uint16_t first = 0;
    if (!in_.readTag(first) || (first != 64 && first != 2) || !in_.unread(2))
        return false;
    for (;;) {
        std::uint16_t tag = 0;
        // A file that ends before the outer end tag is not a whole project.
        if (!in_.readTag(tag))
            return false;
        bool finished = false;
        if (!readOuterItem(tag, finished))
            return false;
        if (finished)
            break;
    }
    finishLoading();
    // The new place of the bitmap exists only in memory until the project is saved: the project
    // opens modified, and the relocation is an edit the user can take back.
    if (relocatedFrom_) {
        doc_.setModified(false);
        const BitmapPlace now{doc_.bitmapPath, doc_.sceneryFolder};
        doc_.undoStack.push(std::make_unique<SnapshotEdit<BitmapPlace>>(
            "Bitmap Location", *relocatedFrom_, now, [](CDibDoc& doc, const BitmapPlace& place) {
                doc.bitmapPath = place.path;
                doc.sceneryFolder = place.sceneryFolder;
            }));
        doc_.modifiedFollowsHistory();
    }
    return true;
}

bool ProjectFileReader::readOuterItem(std::uint16_t tag, bool& finished)
{
    std::uint32_t length = 0;
    switch (tag) {
    case 1:
        finished = true;
        return true;
    case 64:   // the project block: its items follow at this level
    case 2:    // the container of old files, likewise
        return in_.readU32(length);
    case 21: return readInt(doc_.formatVersion);
    case 4: return in_.readString(doc_.texturePrefix);
    case 9: return in_.readString(doc_.paletteName);
    case 10: return in_.readString(doc_.scasmFolder);
    case 11: return in_.readString(doc_.sceneryFolder);
    case 12: return in_.readString(doc_.scasmFileTitle);
    case 13: return readBitmapPath();
    case 15: return readColorTable();
    case 14: return readOldBoundary();
    case 29: return readAltitudeMapBlock();
    case 17: return readOldMapReference(MapKind::Bmp);
    case 3: return readOldMapReference(MapKind::Dted);
    case 22: return readOldMapReference(MapKind::Text);
    case 19: return readOldMapHeader(MapKind::Bmp);
    case 20: return readOldMapHeader(MapKind::Dted);
    case 23: return readOldMapHeader(MapKind::Text);
    case 5: case 6: case 7: case 8:
        // Obsolete records: fourteen values, fifteen from version 3 on, whatever the length says.
        return in_.readU32(length) && in_.skip(doc_.formatVersion >= 3 ? 15 * 4 : 14 * 4);
    case 24: return readMenuPositionItem();
    case 25: return readMacroItem();
    case 94: return readInclusionFlags(doc_.menuPositionItems);
    case 95: return readInclusionFlags(doc_.macroItems);
    case 93: return readChunkCount();
    case 75: return readChunkBlock();
    case 82: return readInt(doc_.chunkColumns);
    case 83: return readInt(doc_.chunkRows);
    case 86: return readBool(doc_.writeAltitudeCoordinates);
    case 87: return readBool(doc_.writeAreaMaxHeader);
    case 88: return readBool(doc_.writeCopyright);
    case 89: return readInt(doc_.areaMaxSizeKB);
    case 92: return readInt(doc_.includedSeasons);
    case 90: return in_.readString(doc_.copyrightText);
    case 81: return readRectangleBlock(doc_.boundary);
    case 18: case 26: case 28: case 30:
    default:
        // Discarded and unknown items alike are skipped by their length.
        return in_.readU32(length) && in_.skip(length);
    }
}

bool ProjectFileReader::readInt(std::int32_t& field)
{
    return in_.readValueInto(&field, sizeof field);
}

bool ProjectFileReader::readBool(bool& field)
{
    std::int32_t value = field ? 1 : 0;
    if (!readInt(value))
        return false;
    field = value != 0;
    return true;
}

bool ProjectFileReader::readDouble(double& field)
{
    return in_.readValueInto(&field, sizeof field);
}

bool ProjectFileReader::readBitmapPath()
{
    if (!in_.readString(doc_.bitmapPath))
        return false;
    if (doc_.bitmapPath.empty())
        return true;
    const BitmapPlace saved{doc_.bitmapPath, doc_.sceneryFolder};
    bool loaded = hooks_.load(doc_, PathUtil::toNative(doc_.bitmapPath));
    while (!loaded) {
        const MsgAnswer answer =
            doc_.app.platform.message(kMissingBitmapQuestion, MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgAnswer::Yes)
            return false;
        loaded = hooks_.select(doc_);
        if (loaded)
            relocatedFrom_ = saved;
    }
    return true;
}

bool ProjectFileReader::readColorTable()
{
    if (!in_.readValueInto(doc_.colorTable.data(), sizeof doc_.colorTable))
        return false;
    // The four parameters follow as value items under the same tag.
    for (std::int32_t& param : doc_.colorTableParams) {
        std::uint16_t ignored;
        if (!in_.readTag(ignored) || !readInt(param))
            return false;
    }
    return true;
}

bool ProjectFileReader::readOldBoundary()
{
    double* fields[] = {&doc_.boundary.south, &doc_.boundary.north, &doc_.boundary.west, &doc_.boundary.east};
    for (std::size_t i = 0; i < 4; ++i) {
        std::uint16_t ignored;
        if (i > 0 && !in_.readTag(ignored))
            return false;
        if (!readDouble(*fields[i]))
            return false;
    }
    return true;
}

bool ProjectFileReader::readRectangleBlock(GeoRect& rect)
{
    std::uint32_t length;
    if (!in_.readU32(length))
        return false;
    double* fields[] = {&rect.south, &rect.north, &rect.west, &rect.east};
    std::size_t next = 0;
    for (;;) {
        std::uint16_t tag;
        if (!in_.readTag(tag))
            return false;
        if (tag == 1)
            return true;
        if (tag == 81) {
            double surplus = 0.0;
            if (!readDouble(next < 4 ? *fields[next] : surplus))
                return false;
            ++next;
        } else if (!in_.readU32(length) || !in_.skip(length)) {
            return false;
        }
    }
}

bool ProjectFileReader::readAltitudeMapBlock()
{
    std::uint32_t length;
    if (!in_.readU32(length))
        return false;
    const std::size_t end = in_.position() + length;

    auto map = std::make_unique<AltitudeMap>();
    map->owner = &doc_;
    mapProgress_ = doc_.app.platform.createProgress("Loading Altitude Data Records...");
    mapProgress_->SetStep(1);
    const bool oldFormat = doc_.formatVersion < 7;
    const bool read = oldFormat ? readOldMapItems(*map) : readMapItems(*map);
    mapProgress_.reset();

    if (!read) {
        // The map is dropped; reading goes on after its block (or at the end of a cut-off file).
        doc_.app.platform.message(kOldFormatMessage, MsgIcon::Information);
        in_.seek(end <= in_.size() ? end : in_.size());
        return true;
    }
    // The block length bounds the map: anything left of it (an end tag, items of another writer)
    // belongs to the map, not to the outer level.
    if (in_.position() < end && end <= in_.size())
        in_.seek(end);
    if (oldFormat) {
        foldPendingEdits(*map);
        map->records.pack();
    }
    doc_.altitudeMaps.push_back(std::move(map));
    return true;
}

bool ProjectFileReader::readMapItems(AltitudeMap& map)
{
    // Packed as they come: a big grid never exists as full records.
    RecordCollector records;
    for (;;) {
        // Record items come in long runs: they are decoded straight from the reader's window.
        while (const std::uint8_t* item = in_.peek(kTaggedRecordSize)) {
            if (TaggedReader::u16At(item) != 45)
                break;
            AltitudeRecord record;
            record.latitude = TaggedReader::f64At(item + 2);
            record.longitude = TaggedReader::f64At(item + 10);
            record.altitude = static_cast<std::int32_t>(TaggedReader::u32At(item + 18));
            records.add(record);
            in_.skip(kTaggedRecordSize);
            mapProgress_->StepIt();
        }
        std::uint16_t tag;
        if (!in_.readTag(tag))
            return false;
        switch (tag) {
        case 1:
            map.records = records.finish();
            return true;
        case 35: {
            std::int32_t count = 0;   // progress only: records are taken as they come
            if (!readInt(count))
                return false;
            mapProgress_->SetRange(0, count);
            // Room for the announced records, but never for more than the rest of the file holds.
            if (count > 0)
                records.reserve(
                    std::min<std::size_t>(static_cast<std::size_t>(count), in_.remaining() / kTaggedRecordSize));
            break;
        }
        case 36: if (!readInt(map.columns)) return false; break;
        case 37: if (!readInt(map.rows)) return false; break;
        case 38: if (!in_.readString(map.title)) return false; break;
        case 39: if (!readInt(map.sourceType)) return false; break;
        case 40: if (!readInt(map.sourceParam1)) return false; break;
        case 41: if (!readInt(map.sourceParam2)) return false; break;
        case 42: if (!readInt(map.enabled)) return false; break;
        case 43: if (!readInt(map.showWater)) return false; break;
        case 44: if (!readInt(map.waterLevel)) return false; break;
        case 45: {   // a record the file cuts short
            AltitudeRecord record;
            if (!in_.readF64(record.latitude) || !in_.readF64(record.longitude) || !in_.readI32(record.altitude))
                return false;
            records.add(record);
            mapProgress_->StepIt();
            break;
        }
        default:
            in_.unread(2);
            map.records = records.finish();
            return true;
        }
    }
}

bool ProjectFileReader::readOldMapItems(AltitudeMap& map)
{
    const std::int32_t version = doc_.formatVersion;
    if (!in_.readI32(map.columns) || !in_.readI32(map.rows))
        return false;
    if (version < 6 && !in_.skip(4 + 4 + 8 + 8 + 8 + 8))
        return false;
    std::uint16_t ignored;
    if (!in_.readTag(ignored) || !in_.readString(map.title))
        return false;
    if (!in_.readI32(map.sourceType) || !in_.readI32(map.sourceParam1) || !in_.readI32(map.sourceParam2))
        return false;
    if (map.columns < 0 || map.rows < 0)
        return false;
    const std::int64_t count = static_cast<std::int64_t>(map.columns) * map.rows;
    if (!readRecords(map, count, version >= 2 ? kRecordSize : kVersion1RecordSize))
        return false;
    if (!in_.readI32(map.enabled) || !in_.readI32(map.showWater))
        return false;
    if (version >= 3 && !in_.readI32(map.waterLevel))
        return false;

    for (;;) {
        std::uint16_t tag;
        if (!in_.readTag(tag))
            return true;   // the outer loop reports the missing end tag
        switch (tag) {
        case 31: if (!readEditList(map.overrides)) return false; break;
        case 32: if (!readEditList(map.deletions)) return false; break;
        case 33: if (!readEditList(map.insertions)) return false; break;
        default:
            in_.unread(2);
            return true;
        }
    }
}

bool ProjectFileReader::readRecords(AltitudeMap& map, std::int64_t count, std::size_t recordSize)
{
    // The count comes from the file: nothing is reserved beyond what the file really holds.
    if (count < 0 || static_cast<std::uint64_t>(count) > in_.remaining() / recordSize)
        return false;
    mapProgress_->SetRange(0, static_cast<int>(count));
    auto& records = map.records.edit();
    reserveRecords(records, static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        AltitudeRecord record;
        if (recordSize == kVersion1RecordSize) {
            // Version 1 stored 32-byte images: the position at bytes 8-23, the altitude at 24-27.
            if (!in_.skip(8) || !in_.readF64(record.latitude) || !in_.readF64(record.longitude) ||
                !in_.readI32(record.altitude) || !in_.skip(4))
                return false;
        } else if (!in_.readF64(record.latitude) || !in_.readF64(record.longitude) ||
                   !in_.readI32(record.altitude)) {
            return false;
        }
        records.push_back(record);
        mapProgress_->StepIt();
    }
    return true;
}

bool ProjectFileReader::readEditList(std::vector<AltitudeRecord>& list)
{
    std::int32_t count;
    if (!in_.readI32(count) || count < 0 || static_cast<std::size_t>(count) > in_.remaining() / kRecordSize)
        return false;
    for (std::int32_t i = 0; i < count; ++i) {
        AltitudeRecord record;
        if (!in_.readF64(record.latitude) || !in_.readF64(record.longitude) || !in_.readI32(record.altitude))
            return false;
        list.push_back(record);
    }
    return true;
}

bool ProjectFileReader::readOldMapHeader(MapKind kind)
{
    std::uint32_t length;
    std::int32_t values[4];
    double extents[4];
    if (!in_.readU32(length))
        return false;
    for (std::int32_t& value : values)
        if (!in_.readI32(value))
            return false;
    for (double& extent : extents)
        if (!in_.readF64(extent))
            return false;
    AltitudeMap& pending = pendingMaps_[static_cast<std::size_t>(kind)];
    pending.title = kOldMapTitle;
    pending.sourceType = static_cast<std::int32_t>(kind) + 1;   // 1 BMP, 2 DTED, 3 TEXT
    if (kind == MapKind::Bmp)
        bmpExtents_ = {extents[0], extents[1], extents[2], extents[3], values[2], values[3]};
    return true;
}

bool ProjectFileReader::readOldMapReference(MapKind kind)
{
    std::string path;
    if (!in_.readString(path))
        return false;
    AltitudeMap& pending = pendingMaps_[static_cast<std::size_t>(kind)];
    // Records of an earlier reference of the same kind do not carry over.
    pending.records.clear();
    if (!path.empty()) {
        const std::string nativePath = PathUtil::toNative(path);
        switch (kind) {
        case MapKind::Bmp:
            if (readBmpAltitudeMap(doc_, pending, nativePath))
                setBmpExtents(doc_, pending, bmpExtents_.minLatitude, bmpExtents_.maxLatitude,
                              bmpExtents_.minLongitude, bmpExtents_.maxLongitude, bmpExtents_.minAltitude,
                              bmpExtents_.maxAltitude);
            break;
        case MapKind::Dted: readDtedAltitudeMap(doc_, pending, nativePath); break;
        case MapKind::Text: readTextAltitudeMap(doc_, pending, nativePath); break;
        }
    }
    // A copy would lose the title (the source path): carry it over explicitly.
    auto map = std::make_unique<AltitudeMap>(pending);
    map->title = pending.title;
    map->owner = &doc_;
    doc_.altitudeMaps.push_back(std::move(map));
    return true;
}

bool ProjectFileReader::readMenuPositionItem()
{
    FsMenuPositionItem item;
    std::uint16_t ignored;
    if (!in_.readTag(ignored) || !in_.readString(item.title))
        return false;
    if (!in_.readF64(item.latitude) || !in_.readF64(item.longitude) || !in_.readI32(item.altitude) ||
        !in_.readF64(item.heading) || !in_.readF64(item.com) || !in_.readF64(item.nav1) || !in_.readI32(item.obi1) ||
        !in_.readF64(item.nav2) || !in_.readI32(item.obi2))
        return false;
    if (!in_.readTag(ignored) || !in_.readString(item.description))
        return false;
    if (!in_.readI32(item.mapX) || !in_.readI32(item.mapY))
        return false;
    doc_.menuPositionItems.push_back(std::move(item));
    return true;
}

bool ProjectFileReader::readMacroItem()
{
    FsMacroItem item;
    std::uint16_t ignored;
    std::int32_t count;
    if (!in_.readTag(ignored) || !in_.readString(item.macroFile) || !in_.readI32(count) || count < 0)
        return false;
    // Each value takes at least its tag and length, so the file's size bounds the loop.
    for (std::int32_t i = 0; i < count; ++i) {
        std::string value;
        if (!in_.readTag(ignored) || !in_.readString(value))
            return false;
        item.parameterValues.push_back(std::move(value));
    }
    if (!in_.readI32(item.mapX) || !in_.readI32(item.mapY))
        return false;
    doc_.macroItems.push_back(std::move(item));
    return true;
}

template <class Items>
bool ProjectFileReader::readInclusionFlags(Items& items)
{
    std::uint32_t length;
    if (!in_.readU32(length))
        return false;
    if (length != items.size() * 4)
        return in_.skip(length);
    for (auto& item : items) {
        std::int32_t flag;
        if (!in_.readI32(flag))
            return false;
        item.included = flag != 0;
    }
    return true;
}

bool ProjectFileReader::readChunkCount()
{
    std::int32_t count = 0;
    if (!readInt(count))
        return false;
    chunkProgress_ = doc_.app.platform.createProgress("Loading TexRelief Chunks...");
    chunkProgress_->SetRange(0, count);
    chunkProgress_->SetStep(1);
    return true;
}

bool ProjectFileReader::readChunkBlock()
{
    std::uint32_t length;
    if (!in_.readU32(length))
        return false;
    const std::size_t end = in_.position() + length;
    doc_.chunks.emplace_back();
    // A short read ends the chunk, and with it the file: what follows cannot be located, so it
    // must not be taken for items (the bytes left could even read as the outer end tag).
    if (!readChunkItems(doc_.chunks.back()))
        return false;
    if (in_.position() < end && end <= in_.size())
        in_.seek(end);
    if (chunkProgress_)
        chunkProgress_->StepIt();
    return true;
}

bool ProjectFileReader::readChunkItems(TexReliefChunk& chunk)
{
    for (;;) {
        std::uint16_t tag;
        if (!in_.readTag(tag))
            return false;
        switch (tag) {
        case 1: return true;
        case 76: if (!readInt(chunk.chunkValueA)) return false; break;
        case 77: if (!readInt(chunk.chunkValueB)) return false; break;
        case 78: if (!readInt(chunk.chunkValueC)) return false; break;
        case 80: if (!readInt(chunk.textureKind)) return false; break;
        case 81: if (!readRectangleBlock(chunk.area)) return false; break;
        case 49: if (!readChunkProperties(chunk.properties)) return false; break;
        case 79: {
            std::string name;
            if (!in_.readString(name))
                return false;
            takeTextureName(chunk, name);
            break;
        }
        default: {
            std::uint32_t length;
            if (!in_.readU32(length) || !in_.skip(length))
                return false;
        }
        }
    }
}

bool ProjectFileReader::readChunkProperties(ChunkProperties& properties)
{
    std::uint32_t length;
    if (!in_.readU32(length))
        return false;
    for (;;) {
        std::uint16_t tag;
        if (!in_.readTag(tag))
            return false;
        if (tag == 1)
            return true;
        if (std::int32_t* field = chunkPropertyField(properties, tag)) {
            if (!readInt(*field))
                return false;
        } else if (!in_.readU32(length) || !in_.skip(length)) {
            return false;
        }
    }
}

void ProjectFileReader::takeTextureName(TexReliefChunk& chunk, const std::string& name)
{
    // The kind item comes before the name, so the kind says where the name points.
    if (chunk.textureKind == 0) {
        AppContext& app = doc_.app;
        const std::string variant = seasonalTextureName(name, app.settings.viewSeason);
        const std::size_t index = findLibraryTexture(app, variant);
        linkChunkTexture(app, chunk, static_cast<long>(index));
        if (index >= app.textureLibrary.size())
            chunk.unresolvedTextureName = name;
    } else if (chunk.textureKind == 1) {
        doc_.textureFileNames.push_back(name);
    }
}

void ProjectFileReader::finishLoading()
{
    chunkProgress_.reset();
    mergeAltitudeMaps(doc_);

    const std::size_t firstNew = doc_.projectTextures.size();
    for (const std::string& name : doc_.textureFileNames) {
        auto texture = std::make_unique<Texture>();   // every other field at its default
        texture->name = name;
        texture->kind = 1;
        doc_.projectTextures.push_back(std::move(texture));
    }
    // Project-texture chunks take the new textures in order, one each.
    std::size_t next = firstNew;
    for (TexReliefChunk& chunk : doc_.chunks) {
        if (chunk.textureKind != 1)
            continue;
        if (next >= doc_.projectTextures.size())
            break;
        linkChunkToTexture(chunk, doc_.projectTextures[next++].get());
    }
}
