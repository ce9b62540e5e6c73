#include "cli/ProjectJson.h"

#include <cmath>

#include "base/TextFormat.h"
#include "import/ElevationImport.h"
#include "project/CDibDoc.h"

namespace {

// Which kind of file a map came from, in words.
std::string altitudeSourceName(const AltitudeMap& map)
{
    if (isElevationFileMap(map))
        return "elevation file";
    switch (map.sourceType) {
    case 1: return "bmp";
    case 2: return "dted";
    case 3: return "text";
    default: return "none";
    }
}

std::string number(double value)
{
    // JSON has no NaN or infinity; a damaged project must still print.
    if (!std::isfinite(value))
        return "null";
    return TextFormat::cformat("%.17g", value);
}

std::string number(long long value) { return std::to_string(value); }

class JsonObject {
public:
    explicit JsonObject(int indent) : indent_(indent) {}
    JsonObject& field(const std::string& name, const std::string& rawValue)
    {
        text_ += (first_ ? "" : ",\n") + std::string(indent_ + 2, ' ') + jsonString(name) + ": " + rawValue;
        first_ = false;
        return *this;
    }
    JsonObject& str(const std::string& name, const std::string& value) { return field(name, jsonString(value)); }
    JsonObject& num(const std::string& name, double value) { return field(name, number(value)); }
    JsonObject& num(const std::string& name, long long value) { return field(name, number(value)); }
    JsonObject& flag(const std::string& name, bool value) { return field(name, value ? "true" : "false"); }
    std::string close() const
    {
        return first_ ? "{}" : "{\n" + text_ + "\n" + std::string(indent_, ' ') + "}";
    }

private:
    int indent_;
    std::string text_;
    bool first_ = true;
};

template <typename List, typename Fn>
std::string array(const List& list, int indent, Fn item)
{
    if (list.empty())
        return "[]";
    std::string text = "[\n";
    bool first = true;
    for (const auto& element : list) {
        text += (first ? "" : ",\n") + std::string(indent + 2, ' ') + item(element);
        first = false;
    }
    return text + "\n" + std::string(indent, ' ') + "]";
}

// One record per line: [latitude, longitude, altitude].
template <typename Records>
std::string recordList(const Records& records, int indent)
{
    return array(records, indent, [](const AltitudeRecord& r) {
        return "[" + number(r.latitude) + ", " + number(r.longitude) + ", " + number(static_cast<long long>(r.altitude)) + "]";
    });
}

std::string rect(const GeoRect& r, int indent)
{
    return JsonObject(indent).num("south", r.south).num("north", r.north).num("west", r.west).num("east", r.east).close();
}

} // namespace

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20)
                out += TextFormat::cformat("\\u%04x", c);
            else
                out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string projectJson(const CDibDoc& doc, bool withRecords)
{
    JsonObject o(0);
    o.num("formatVersion", static_cast<long long>(doc.formatVersion))
        .str("bitmapPath", doc.bitmapPath)
        .str("texturePrefix", doc.texturePrefix)
        .str("sceneryFolder", doc.sceneryFolder)
        .str("paletteName", doc.paletteName)
        .str("scasmFolder", doc.scasmFolder)
        .str("scasmFileTitle", doc.scasmFileTitle)
        .field("boundary", rect(doc.boundary, 2))
        .num("chunkColumns", static_cast<long long>(doc.chunkColumns))
        .num("chunkRows", static_cast<long long>(doc.chunkRows))
        .num("chunkCount", static_cast<long long>(doc.chunks.size()))
        .num("bitmapWidth", static_cast<long long>(doc.bitmapWidth))
        .num("bitmapHeight", static_cast<long long>(doc.bitmapHeight))
        .num("sceneryWidthKm", doc.sceneryWidthKm)
        .num("sceneryHeightKm", doc.sceneryHeightKm)
        .num("metresPerPixel", doc.metresPerPixel)
        .flag("writeAltitudeCoordinates", doc.writeAltitudeCoordinates)
        .flag("writeAreaMaxHeader", doc.writeAreaMaxHeader)
        .num("areaMaxSizeKB", static_cast<long long>(doc.areaMaxSizeKB))
        .flag("writeCopyright", doc.writeCopyright)
        .str("copyrightText", doc.copyrightText)
        .num("includedSeasons", static_cast<long long>(doc.includedSeasons))
        .field("colorTableParams", array(doc.colorTableParams, 2, [](std::int32_t v) { return number(static_cast<long long>(v)); }))
        .num("textColor", static_cast<long long>(doc.textColor))
        .num("gridColor", static_cast<long long>(doc.gridColor))
        .num("scaleColor", static_cast<long long>(doc.scaleColor))
        .field("altitudeMaps", array(doc.altitudeMaps, 2, [withRecords](const std::unique_ptr<AltitudeMap>& m) {
                   JsonObject map(4);
                   map
                       .str("title", m->title)
                       .num("sourceType", static_cast<long long>(m->sourceType))
                       .str("source", altitudeSourceName(*m))
                       .num("columns", static_cast<long long>(m->columns))
                       .num("rows", static_cast<long long>(m->rows))
                       .num("records", static_cast<long long>(m->records.size()))
                       .flag("enabled", m->enabled != 0)
                       .flag("showWater", m->showWater != 0)
                       .num("waterLevel", static_cast<long long>(m->waterLevel));
                   if (withRecords)
                       map.field("recordList", recordList(m->records, 6));
                   return map.close();
               }))
        .num("mainAltitudeRecords", static_cast<long long>(doc.mainAltitudeMap.records.size()));
    if (withRecords)
        o.field("mainAltitudeRecordList", recordList(doc.mainAltitudeMap.records, 2));
    o
        .field("menuPositionItems", array(doc.menuPositionItems, 2, [](const FsMenuPositionItem& item) {
                   return JsonObject(4)
                       .str("title", item.title)
                       .num("latitude", item.latitude)
                       .num("longitude", item.longitude)
                       .num("altitude", static_cast<long long>(item.altitude))
                       .num("heading", item.heading)
                       .str("description", item.description)
                       .close();
               }))
        .field("macroItems", array(doc.macroItems, 2, [](const FsMacroItem& item) {
                   return JsonObject(4)
                       .str("macroFile", item.macroFile)
                       .field("parameterValues", array(item.parameterValues, 6, [](const std::string& v) { return jsonString(v); }))
                       .close();
               }))
        .field("projectTextures", array(doc.projectTextures, 2, [](const std::unique_ptr<Texture>& t) {
                   return jsonString(t->name);
               }));
    return o.close() + "\n";
}
