#include "output/ScasmWriter.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "base/ReplacementFile.h"
#include "base/TextFormat.h"
#include "output/NearestRecordSearch.h"
#include "output/TextureOrientation.h"
#include "project/CDibDoc.h"
#include "synth/SeasonalNames.h"

using TextFormat::cformat;

namespace {

// A semicolon and 78 number signs.
const std::string kBanner = ";" + std::string(78, '#');
const char* const kBuildText = "Orvane Scenery. Build V1.93 (2.0 BETA) Jan 14, 2000";

/// Writes one piece of text with every "\n" as CR LF, whatever the platform.
void put(std::FILE* file, const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n')
            out += "\r\n";
        else
            out += c;
    }
    std::fwrite(out.data(), 1, out.size(), file);
}

/// A user text on one line: a line break inside it would split the keyword line it belongs to.
std::string oneLine(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (c == '\r' || c == '\n')
            c = ' ';
    return result;
}

/// Saturating conversion: truncates toward zero, NaN gives 0, out-of-range values the nearest limit.
std::int32_t truncToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

/// The altitudes of grid nodes: the record findNearest would pick in the main altitude map.
struct NodeAltitudes {
    const CDibDoc& doc;
    NearestRecordSearch search;
    ScasmWriteStats* stats;

    NodeAltitudes(const CDibDoc& d, ScasmWriteStats* s) : doc(d), search(d.mainAltitudeMap), stats(s) {}

    std::int32_t at(double latitude, double longitude) const
    {
        const auto& records = doc.mainAltitudeMap.records;
        // The commands are disabled without records; a direct call still must not read past the end.
        if (records.empty())
            return 0;
        const std::size_t index = search.nearest(latitude, longitude);
        if (stats)
            ++stats->nearestSearches;
        return index < records.size() ? records[index].altitude : 0;
    }
};

/// Node positions of a chunk's grid: line i (0..n) from the south, node j (0..n) from the west.
struct GridGeometry {
    std::int32_t n = 1;
    double south = 0.0, west = 0.0;
    double dLat = 0.0, dLon = 0.0;

    GridGeometry(const GeoRect& area, std::int32_t density)
        : n(density), south(area.south), west(area.west),
          dLat((area.north - area.south) / density), dLon((area.east - area.west) / density)
    {
    }
    // The last line and node use the same formula as the others, which puts them on the
    // north and east edges and keeps the power-of-two densities exactly as they always were.
    double latitude(std::int32_t i) const { return south + i * dLat; }
    double longitude(std::int32_t j) const { return west + j * dLon; }
};

std::string refPointLine(std::int32_t label, double clat, double clon, const ChunkProperties& p)
{
    if (p.useRefPointType2)
        return cformat("\tRefPoint( 2 :L%06X %f %f %f v1= 0 v2= 0 E= %d)\n", static_cast<unsigned>(label), 1.0, clat,
                       clon, p.refPointAltitude);
    return cformat("\tRefPoint( 7 :L%06X %f %f %f v1= 0 v2= 0)\n", static_cast<unsigned>(label), 1.0, clat, clon);
}

std::string labelLine(std::int32_t label)
{
    return cformat(":L%06X\n", static_cast<unsigned>(label));
}

void writeHeader(std::FILE* file, const CDibDoc& doc)
{
    if (doc.writeCopyright)
        put(file, cformat("Copyright( %s )\n", oneLine(doc.copyrightText).c_str()));
    put(file, cformat("\n%s\n", kBanner.c_str()));
    // Time and date follow the user's locale; everything else in the file is locale-free.
    put(file, cformat(";# Creation Time: %s\n", TextFormat::localTime("%X").c_str()));
    put(file, cformat(";# Creation Date: %s\n", TextFormat::localTime("%A, %B %d, %y ").c_str()));
    put(file, cformat(";# %s\n", kBuildText));
    put(file, cformat("%s\n\n", kBanner.c_str()));
    put(file, cformat("Header(1 %f %f %f %f)\n", doc.boundary.north, doc.boundary.south, doc.boundary.east,
                      doc.boundary.west));
    put(file, cformat("LatRange( %f %f)\n", doc.boundary.south, doc.boundary.north));
    if (doc.writeAreaMaxHeader)
        put(file, cformat("set( areamx %d )\n", doc.areaMaxSizeKB));
}

template <class Items>
bool anyIncluded(const Items& items)
{
    for (const auto& item : items)
        if (item.included)
            return true;
    return false;
}

// Items the user unchecked stay in the project but are left out of the scenery. The menu title
// is the project's, kept on its first item whether that item is included or not.
void writeMenuBlock(std::FILE* file, const CDibDoc& doc)
{
    if (!anyIncluded(doc.menuPositionItems))
        return;
    put(file, "\n");
    put(file, cformat("Menu( %s )\n", oneLine(doc.menuPositionItems.front().title).c_str()));
    for (const FsMenuPositionItem& m : doc.menuPositionItems)
        if (m.included)
            put(file, cformat("MenuEntry( %f %f %d %f %f %f %d %f %d %s )\n", m.latitude, m.longitude, m.altitude,
                              m.heading, m.com, m.nav1, m.obi1, m.nav2, m.obi2, oneLine(m.description).c_str()));
    put(file, "\n");
}

void writeMacroBlock(std::FILE* file, const CDibDoc& doc)
{
    if (!anyIncluded(doc.macroItems))
        return;
    put(file, "\n");
    for (const FsMacroItem& m : doc.macroItems) {
        if (!m.included)
            continue;
        std::string text = m.macroFile;
        for (const std::string& value : m.parameterValues)
            text += " " + value;
        put(file, cformat("Macro( %s )\n", oneLine(text).c_str()));
    }
    put(file, "\n");
}

} // namespace

std::int32_t effectiveGridDensity(std::int32_t storedDensity)
{
    if (storedDensity < 1)
        return 1;
    if (storedDensity > 256)
        return 256;
    return storedDensity;
}

std::string chunkBitmapName(const TexReliefChunk& chunk)
{
    if (!chunk.texture)
        return std::string();
    const std::string& name = chunk.texture->name;
    if (chunk.textureKind == 1)
        return PathUtil::fileName(name);
    return summerTextureName(name);
}

namespace {

std::pair<std::int32_t, std::int32_t> altitudeRange(const TexReliefChunk& chunk, const NodeAltitudes& altitudes)
{
    const GridGeometry grid(chunk.area, effectiveGridDensity(chunk.properties.gridDensity));
    std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
    std::int32_t highest = 0;
    for (std::int32_t i = 0; i <= grid.n; ++i) {
        const double lat = grid.latitude(i);
        for (std::int32_t j = 0; j <= grid.n; ++j) {
            const std::int32_t altitude = altitudes.at(lat, grid.longitude(j));
            if (altitude < lowest)
                lowest = altitude;
            if (altitude > highest)
                highest = altitude;
        }
    }
    return {lowest, highest};
}

void texRelief(TexReliefChunk& chunk, std::FILE* file, CDibDoc& doc, const NodeAltitudes& altitudes)
{
    ChunkProperties& p = chunk.properties;
    const TextureOrientation orientation = TextureOrientation::fromFlipValue(chunk.chunkValueC);

    if (p.flatGridOptimization) {
        const auto [lowest, highest] = altitudeRange(chunk, altitudes);
        // Taken in 64 bits: the difference of two 32-bit altitudes need not fit in 32.
        if (static_cast<std::int64_t>(highest) - lowest == 0 && p.gridDensity != 1) {
            p.gridDensity = 1;
            doc.setModified();
        }
    }

    const std::int32_t n = effectiveGridDensity(p.gridDensity);
    const GridGeometry grid(chunk.area, n);
    const GeoRect& a = chunk.area;
    const double phi = std::fabs(a.south + a.north) / 2 * 3.14159265359 / 180;
    const double kLon = std::cos(phi) * 40075.0 / 360.0;
    const double kLat = 40007.0 / 360.0;
    const std::int32_t cw = truncToInt32(kLon * grid.dLon * 1000 + 1);
    const std::int32_t ch = truncToInt32(kLat * grid.dLat * 1000 + 1);
    const std::int32_t x0 = truncToInt32(-(static_cast<double>(cw) * n) / 2 + 1);
    const std::int32_t z0 = truncToInt32(-(static_cast<double>(ch) * n) / 2 + 1);

    put(file, cformat("\tTexRelief( %d %d %d %d %d %d\n", n, n, cw, ch, x0, z0));
    for (std::int32_t i = 0; i <= n; ++i) {
        const double lat = grid.latitude(i);
        const std::int32_t v = textureCoordinate(i, n, orientation.mirrorNorthSouth);
        for (std::int32_t j = 0; j <= n; ++j) {
            const std::int32_t u = textureCoordinate(j, n, orientation.mirrorEastWest);
            put(file, cformat("\t\t%d\t%d\t%d\n", u, v, altitudes.at(lat, grid.longitude(j))));
        }
    }
    put(file, "\t)\n");
}

void chunkArea(TexReliefChunk& chunk, std::FILE* file, CDibDoc& doc, const NodeAltitudes& altitudes)
{
    const GeoRect& r = chunk.area;
    const double clat = (r.north - r.south) / 2 + r.south;
    const double clon = (r.east - r.west) / 2 + r.west;

    // Five numbers per chunk; a + 1 is reserved and never written.
    const std::int32_t a = doc.labelCounter;
    const std::int32_t c = a + 2;
    const std::int32_t d = a + 3;
    const std::int32_t e = a + 4;
    doc.labelCounter = a + 5;

    const ChunkProperties& p = chunk.properties;
    put(file, cformat("Area(B %f %f %d)\n", clat, clon, p.areaRangeKm));
    put(file, refPointLine(a, clat, clon, p));
    put(file, cformat("\tJump(:L%06X)\n", static_cast<unsigned>(c)));
    put(file, labelLine(c));
    if (p.usePerspectiveCall2)
        put(file, cformat("\tPerspectiveCall2(:L%06X)\n", static_cast<unsigned>(d)));
    else
        put(file, cformat("\tPerspectiveCall(:L%06X)\n", static_cast<unsigned>(d)));
    put(file, cformat("\tJump(:L%06X)\n", static_cast<unsigned>(a)));
    put(file, labelLine(d));
    put(file, "\tPerspective\n");
    put(file, refPointLine(e, clat, clon, p));
    if (!doc.paletteName.empty())
        put(file, cformat("\tPalette( %s )\n", oneLine(doc.paletteName).c_str()));
    if (p.useSurfaceColor)
        put(file, cformat("\tSurfaceColor( %X 69 )\n", static_cast<unsigned>(p.surfaceColor)));
    if (p.smoothing)
        put(file, "\tSmoothing( 1 )\n");
    put(file, cformat("\tBitmap( %s 0 0 0 0 )\n", oneLine(chunkBitmapName(chunk)).c_str()));
    if (p.useBitmapMode)
        put(file, cformat("\tBitmapMode( %d )\n", p.bitmapModeIndex));
    texRelief(chunk, file, doc, altitudes);
    if (p.useBitmapMode)
        put(file, "\tBitmapMode( 0 )\n");
    if (p.smoothing)
        put(file, "\tSmoothing( 0 )\n");
    put(file, labelLine(e));
    put(file, "\tReturn\n");
    put(file, labelLine(a));
    put(file, "EndA\n");
}

} // namespace

std::pair<std::int32_t, std::int32_t> chunkAltitudeRange(const TexReliefChunk& chunk, const CDibDoc& doc,
                                                         ScasmWriteStats* stats)
{
    return altitudeRange(chunk, NodeAltitudes(doc, stats));
}

void writeTexRelief(TexReliefChunk& chunk, std::FILE* file, CDibDoc& doc, ScasmWriteStats* stats)
{
    texRelief(chunk, file, doc, NodeAltitudes(doc, stats));
}

void writeChunkArea(TexReliefChunk& chunk, std::FILE* file, CDibDoc& doc, ScasmWriteStats* stats)
{
    chunkArea(chunk, file, doc, NodeAltitudes(doc, stats));
}

bool writeScasmSource(CDibDoc& doc, const std::string& path, ScasmWriteStats* stats)
{
    if (path.empty())
        return false;
    Platform& platform = doc.app.platform;
    // The text goes to a new file that takes the old one's place only when complete.
    ReplacementFile out;
    if (!out.open(path)) {
        platform.message("Cannot write " + path + ": " + out.error() + ".", MsgIcon::Exclamation);
        return false;
    }
    std::FILE* file = out.stream();

    doc.labelCounter = 0;
    writeHeader(file, doc);
    writeMenuBlock(file, doc);
    writeMacroBlock(file, doc);

    platform.setWaitCursor(true);
    bool cancelled = false;
    {
        std::unique_ptr<ProgressWindow> progress = platform.createProgress("Writing SCASM File...");
        if (progress) {
            progress->SetRange(1, static_cast<int>(doc.chunks.size()));
            progress->SetStep(1);
            progress->SetStatus("Writing TexRelief Chunks...");
        }
        const NodeAltitudes altitudes(doc, stats);
        for (TexReliefChunk& chunk : doc.chunks) {
            chunkArea(chunk, file, doc, altitudes);
            if (progress) {
                progress->StepIt();
                if (progress->CheckCancelButton()) {
                    cancelled = true;
                    break;
                }
            }
        }
    }
    platform.setWaitCursor(false);
    if (cancelled) {
        out.discard();
        platform.message("Writing the source was cancelled: " + path + " was left as it was.", MsgIcon::Information);
        return false;
    }
    if (!out.commit()) {
        platform.message("Cannot write " + path + ": " + out.error() + ".", MsgIcon::Exclamation);
        return false;
    }
    return true;
}
