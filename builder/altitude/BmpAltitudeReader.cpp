// Grayscale BMP height images: read the image and its grey levels, then lay it over the
// extents the user gives (setBmpExtents), one record per pixel, rows from the south.

#include <cmath>
#include <cstdint>
#include <limits>

#include <unistd.h>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "altitude/CappedProgress.h"
#include "project/AppContext.h"
#include "base/Platform.h"
#include "imagery/BitmapFile.h"
#include "project/CDibDoc.h"

namespace {

void clearImage(AltitudeMap& map)
{
    map.imageGrey.clear();
    map.imageGrey.shrink_to_fit();
    map.imageWidth = 0;
    map.imageHeight = 0;
}

// A side of at most 256 pixels must divide 256, a longer one must be a multiple of 256.
bool sideAllowed(std::int32_t side)
{
    if (side <= 0)
        return false;
    return side <= 256 ? 256 % side == 0 : side % 256 == 0;
}

// Palette index of pixel x of stored row y; the caller has made sure the rows are all present.
std::size_t pixelIndexOf(const PackedBitmap& bitmap, std::int32_t x, std::int32_t y)
{
    const std::uint8_t* row = bitmap.pixels() + static_cast<std::size_t>(y) * bitmap.rowStride();
    switch (bitmap.bitsPerPixel()) {
    case 8: return row[x];
    case 4: return (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default: return (row[x / 8] >> (7 - x % 8)) & 1;   // 1 bit per pixel
    }
}

} // namespace

bool readBmpAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path)
{
    Platform& platform = doc.app.platform;
    clearImage(map);
    if (path.empty())
        return false;

    // Asked without opening: opening a FIFO to try it would wait for a writer.
    {
        if (::access(path.c_str(), R_OK) != 0) {
            platform.message("Cannot open the file " + path + ".", MsgIcon::Exclamation);
            return false;
        }
    }

    platform.setWaitCursor(true);
    std::string reason = "its header is not a bitmap header";
    std::optional<PackedBitmap> bitmap = readBitmapFile(path, &reason);
    platform.setWaitCursor(false);
    if (!bitmap || !bitmap->hasValidHeader()) {
        platform.message("This file is not a readable bitmap: " + reason + ". Loading abandoned.", MsgIcon::Exclamation);
        return false;
    }

    // Read unsigned, so a negative height the reader could not turn counts as too large as well.
    if (bitmap->rawWidth() >= 2147483648u || bitmap->rawHeight() >= 2147483648u) {
        platform.message("DIB is too large", MsgIcon::Information);
        return false;
    }

    std::optional<LogicalPalette> palette = createBitmapPalette(*bitmap);
    if (!palette) {
        platform.message("This Image has more than 256 colors. Loading Abandoned.", MsgIcon::Exclamation);
        return false;
    }

    const std::int32_t width = bitmap->width();
    const std::int32_t height = bitmap->height();
    if (!sideAllowed(width)) {
        platform.message("This Image's width is not a power of 2 . Loading abandoned.", MsgIcon::Exclamation);
        return false;
    }
    if (!sideAllowed(height)) {
        platform.message("This Image's height is not a power of 2 . Loading abandoned.", MsgIcon::Exclamation);
        return false;
    }

    // Only plain palette rows can be indexed; anything else would be read beside the pixels.
    const std::uint16_t bpp = bitmap->bitsPerPixel();
    if ((bpp != 1 && bpp != 4 && bpp != 8) || bitmap->compression() != 0 || !bitmap->pixelsComplete()) {
        platform.message("This Image's pixel rows are compressed or incomplete. Loading abandoned.",
                         MsgIcon::Exclamation);
        return false;
    }

    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> grey;
    grey.reserve(count);
    std::int32_t highest = 0;
    std::int32_t lowest = std::numeric_limits<std::int32_t>::max();

    CappedProgress progress(platform, "Loading Altitude Map...", count);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::size_t index = pixelIndexOf(*bitmap, x, y);
            // An index past the colour table has no colour at all: not a grey level either.
            if (index >= palette->size() || palette->entries[index].red != palette->entries[index].green ||
                palette->entries[index].green != palette->entries[index].blue) {
                platform.message("This image is not a grayscale image. Loading abandoned.", MsgIcon::Exclamation);
                return false;
            }
            const std::uint8_t level = palette->entries[index].red;
            grey.push_back(level);
            highest = std::max<std::int32_t>(highest, level);
            lowest = std::min<std::int32_t>(lowest, level);
            progress.step();
            if (progress.cancelled())
                return false;
        }
    }

    map.imageGrey = std::move(grey);
    map.imageWidth = width;
    map.imageHeight = height;
    map.sourceParam1 = highest;
    map.sourceParam2 = lowest;
    map.sourceType = 1;
    map.title = path;
    return true;
}

bool setBmpExtents(CDibDoc& doc, AltitudeMap& map, double minLatitude, double maxLatitude, double minLongitude,
                   double maxLongitude, std::int32_t minAltitude, std::int32_t maxAltitude)
{
    const std::int32_t width = map.imageWidth;
    const std::int32_t height = map.imageHeight;
    const std::size_t count = static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0));
    if (count == 0 || map.imageGrey.size() != count)
        return false;

    map.columns = width;
    map.rows = height;
    map.records.clear();
    std::vector<AltitudeRecord>& records = map.records.edit();
    records.resize(count);

    // A single row or column has no spacing: it stays on the minimum edge.
    const double latitudeStep = height > 1 ? (maxLatitude - minLatitude) / (height - 1) : 0.0;
    const double longitudeStep = width > 1 ? (maxLongitude - minLongitude) / (width - 1) : 0.0;
    // Differences taken as whole numbers (64-bit, so extreme altitudes cannot overflow), divided in
    // floating point. A single grey level has no scale: every record gets the minimum altitude.
    const std::int64_t altitudeSpan = static_cast<std::int64_t>(maxAltitude) - minAltitude;
    const std::int64_t greySpan = static_cast<std::int64_t>(map.sourceParam1) - map.sourceParam2;
    const double altitudeScale = greySpan != 0 ? static_cast<double>(altitudeSpan) / static_cast<double>(greySpan) : 0.0;

    map.waterLevel = minAltitude;

    CappedProgress progress(doc.app.platform, "Initializing Altitude Map...", count);
    std::size_t next = 0;
    for (std::int32_t r = 0; r < height; ++r) {
        for (std::int32_t c = 0; c < width; ++c, ++next) {
            AltitudeRecord& record = records[next];
            record.latitude = minLatitude + r * latitudeStep;
            record.longitude = minLongitude + c * longitudeStep;
            const double grey = static_cast<double>(map.imageGrey[next]) - map.sourceParam2;
            record.altitude = static_cast<std::int32_t>(std::trunc(minAltitude + grey * altitudeScale));
            progress.step();
            if (progress.cancelled()) {
                map.records.clear();
                return false;
            }
        }
    }
    clearImage(map);
    map.records.pack();
    return true;
}
