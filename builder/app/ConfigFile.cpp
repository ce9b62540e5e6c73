#include "app/ConfigFile.h"

#include <filesystem>
#include <system_error>

#include "base/FileLimits.h"
#include "project/TaggedReader.h"
#include "project/TaggedWriter.h"

namespace {

enum Tag : std::uint16_t {
    kEnd = 1,
    kContainer = 2,
    kCoordinateFormat = 27,
    kExtraValues = 34,
    kSynthTexturesPath = 63,
    kLoadTexturesOnOpen = 65,
    kTextureClass = 66,
    kClassName = 67,
    kClassColor = 68,
    kClassEnabled = 69,
    kClassCode = 70,
    kPlatform = 71,
    kFs98Path = 72,
    kCfsPath = 73,
    kFs2000Path = 74,
    kShowSynthTilesColorCoded = 84,
    kZoomLevel = 85,
    kViewSeason = 91,
};

// Skips an item of an unknown tag: its 4-byte length and that many bytes.
bool skipItem(TaggedReader& reader)
{
    std::uint32_t length;
    return reader.readU32(length) && reader.skip(length);
}

bool readTextureClass(TaggedReader& reader, TextureClass& textureClass)
{
    std::uint32_t blockLength;
    if (!reader.readU32(blockLength))
        return false;
    for (;;) {
        std::uint16_t tag = 0;
        if (!reader.readTag(tag))
            return false;
        switch (tag) {
        case kEnd: return true;
        case kClassName:
            if (!reader.readString(textureClass.name))
                return false;
            break;
        case kClassColor:
            if (!reader.readValueInto(&textureClass.color, sizeof textureClass.color))
                return false;
            break;
        case kClassEnabled:
            if (!reader.readValueInto(&textureClass.enabled, sizeof textureClass.enabled))
                return false;
            break;
        case kClassCode:
            if (!reader.readValueInto(&textureClass.code, sizeof textureClass.code))
                return false;
            break;
        default:
            if (!skipItem(reader))
                return false;
        }
    }
}

bool readExtraValues(TaggedReader& reader, std::vector<std::int32_t>& values)
{
    std::uint32_t count;
    if (!reader.readU32(count))
        return false;
    // A hostile count must not make us reserve or loop beyond what the file holds.
    if (count > reader.remaining() / 4)
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::int32_t value;
        if (!reader.readI32(value))
            return false;
        values.push_back(value);
    }
    return true;
}

bool readItems(TaggedReader& reader, AppSettings& s)
{
    for (;;) {
        // A tag that cannot be read counts as tag 0 and so ends in the unknown-tag branch below,
        // whose length read fails: a file cut short is refused.
        std::uint16_t tag = 0;
        reader.readTag(tag);
        switch (tag) {
        case kEnd: return true;
        case kContainer: {
            std::uint32_t ignored;
            if (!reader.readU32(ignored))
                return false;
            break;
        }
        case kSynthTexturesPath:
            if (!reader.readString(s.synthTexturesPath))
                return false;
            break;
        case kFs98Path:
            if (!reader.readString(s.fs98Path))
                return false;
            break;
        case kCfsPath:
            if (!reader.readString(s.cfsPath))
                return false;
            break;
        case kFs2000Path:
            if (!reader.readString(s.fs2000Path))
                return false;
            break;
        case kLoadTexturesOnOpen:
            if (!reader.readValueInto(&s.loadTexturesOnOpen, sizeof s.loadTexturesOnOpen))
                return false;
            break;
        case kPlatform:
            if (!reader.readValueInto(&s.platform, sizeof s.platform))
                return false;
            break;
        case kShowSynthTilesColorCoded:
            if (!reader.readValueInto(&s.showSynthTilesColorCoded, sizeof s.showSynthTilesColorCoded))
                return false;
            break;
        case kCoordinateFormat:
            if (!reader.readValueInto(&s.coordinateFormat, sizeof s.coordinateFormat))
                return false;
            break;
        case kViewSeason:
            if (!reader.readValueInto(&s.viewSeason, sizeof s.viewSeason))
                return false;
            break;
        case kZoomLevel:
            if (!reader.readValueInto(&s.zoomLevel, sizeof s.zoomLevel))
                return false;
            break;
        case kTextureClass:
            s.textureClasses.emplace_back();
            if (!readTextureClass(reader, s.textureClasses.back()))
                return false;
            break;
        case kExtraValues:
            // The value list is the last item; the end tag after it is not read.
            return readExtraValues(reader, s.extraValues);
        default:
            if (!skipItem(reader))
                return false;
        }
    }
}

} // namespace

bool readConfig(TaggedReader& reader, AppSettings& settings)
{
    // Read into a copy so that a corrupt file never leaves half-read settings behind.
    AppSettings read = settings;
    if (!readItems(reader, read))
        return false;
    settings = std::move(read);
    return true;
}

void writeConfig(TaggedWriter& w, const AppSettings& s)
{
    w.beginBlock(kContainer);
    w.string(kSynthTexturesPath, s.synthTexturesPath);
    w.string(kFs98Path, s.fs98Path);
    w.string(kCfsPath, s.cfsPath);
    w.string(kFs2000Path, s.fs2000Path);
    w.valueI32(kLoadTexturesOnOpen, s.loadTexturesOnOpen);
    w.valueI32(kPlatform, s.platform);
    w.valueI32(kShowSynthTilesColorCoded, s.showSynthTilesColorCoded);
    w.valueF64(kZoomLevel, s.zoomLevel);
    w.valueI32(kCoordinateFormat, s.coordinateFormat);
    w.valueI32(kViewSeason, s.viewSeason);
    for (const TextureClass& c : s.textureClasses) {
        w.beginBlock(kTextureClass);
        w.string(kClassName, c.name);
        w.valueI32(kClassColor, static_cast<std::int32_t>(c.color));
        w.valueI32(kClassEnabled, c.enabled);
        w.valueI32(kClassCode, c.code);
        w.endBlock();
    }
    w.tag(kExtraValues);
    w.u32(static_cast<std::uint32_t>(s.extraValues.size()));
    for (std::int32_t v : s.extraValues)
        w.i32(v);
    w.endBlock();
}

ConfigFileState readConfigFile(const std::string& path, AppSettings& settings)
{
    // The file opens with its container (2). One that is there but refused (too large, not a
    // regular file, another first tag) is not ours to replace.
    TaggedReader::Fault fault = TaggedReader::Fault::None;
    auto reader = TaggedReader::fromFile(path, FileLimits::kConfigFile, {2}, &fault);
    if (!reader)
        return fault == TaggedReader::Fault::Unopenable ? ConfigFileState::Missing : ConfigFileState::Corrupt;
    return readConfig(*reader, settings) ? ConfigFileState::Loaded : ConfigFileState::Corrupt;
}

bool writeConfigFile(const std::string& path, const AppSettings& settings)
{
    TaggedWriter writer;
    writeConfig(writer, settings);
    return writer.commit(path);
}
