#include "altitude/AltitudePreview.h"

#include <cmath>

#include "altitude/AltitudeMap.h"

namespace {

constexpr std::uint32_t kWater = 0x00FF0000;   // blue 255 in 0x00BBGGRR
// Cells a picture may have beyond its records: room for a map whose records were deleted.
constexpr std::uint64_t kSpareCells = 1u << 16;

// Truncated cell of `value` within [minimum, minimum + span) split in `cells`; -1 for no cell.
long long cellOf(double value, double minimum, double span, int cells)
{
    if (span == 0.0)
        return 0;   // all records on one line: they share the first cell
    const double cell = (value - minimum) / span * cells;
    if (!std::isfinite(cell) || cell < 0 || cell > cells)
        return -1;
    return static_cast<long long>(cell);
}

} // namespace

AltitudePreviewImage buildAltitudePreview(const AltitudeMap& map, bool showWater, std::int32_t waterLevel,
                                          bool clampEdges)
{
    AltitudePreviewImage image;
    if (map.columns <= 0 || map.rows <= 0)
        return image;
    // Every reader makes about one record per cell. A grid far larger than its records comes
    // from a damaged project file, and its picture could take more memory than there is.
    const std::uint64_t cells = static_cast<std::uint64_t>(map.columns) * static_cast<std::uint64_t>(map.rows);
    if (cells > 4 * static_cast<std::uint64_t>(map.records.size()) + kSpareCells)
        return image;
    image.width = map.columns;
    image.height = map.rows;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    if (map.records.empty())
        return image;

    const double minLon = map.minLongitude();
    const double lonSpan = map.maxLongitude() - minLon;
    const double minLat = map.minLatitude();
    const double latSpan = map.maxLatitude() - minLat;
    const std::int32_t lowest = map.minAltitudeOfRecords();
    const std::int32_t highest = map.maxAltitude();

    const bool bmp = map.sourceType == 1;
    const double levels = bmp ? static_cast<double>(map.sourceParam1) - map.sourceParam2 : 255.0;
    const double greyStep = levels != 0.0 ? (static_cast<double>(highest) - lowest) / levels : 0.0;
    const double w = greyStep != 0.0 ? (static_cast<double>(waterLevel) - lowest) / greyStep
                                     : (waterLevel >= lowest ? 0.0 : -1.0);

    for (const AltitudeRecord& record : map.records) {
        long long x = cellOf(record.longitude, minLon, lonSpan, image.width);
        long long y = cellOf(record.latitude, minLat, latSpan, image.height);
        if (clampEdges) {
            if (x == image.width)
                x = image.width - 1;
            if (y == image.height)
                y = image.height - 1;
        }
        if (x < 0 || y < 0 || x >= image.width || y >= image.height)
            continue;

        const double g = greyStep != 0.0 ? (static_cast<double>(record.altitude) - lowest) / greyStep : 0.0;
        std::uint32_t colour = kWater;
        if (!(showWater && w >= g)) {
            const double value = bmp ? map.sourceParam2 + g : g;
            const std::uint32_t grey = static_cast<std::uint32_t>(static_cast<long long>(value)) & 0xFF;
            colour = grey | grey << 8 | grey << 16;
        }
        image.pixels[static_cast<std::size_t>(image.height - 1 - y) * image.width + x] = colour;
    }
    return image;
}
