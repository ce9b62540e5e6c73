#include "cli/DemoPhoto.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "import/GeoTiffWriter.h"

namespace {
constexpr int kWgs84 = 4326;
constexpr int kUtm33North = 32633;
constexpr int kPattern = 4096;   // the landscape's colours are looked up on a grid this fine

// Grain of a film photo: the same for the same pixel on every run.
int grain(int x, int y, int channel)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(channel) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) % 13) - 6;
}
} // namespace

bool DemoPhoto::writeGeoTiff(const std::string& path, const DemoData::Extents& extents, int side, std::string& error)
{
    // The UTM box around the four corners.
    std::vector<double> x = {extents.west(), extents.east(), extents.west(), extents.east()};
    std::vector<double> y = {extents.south(), extents.south(), extents.north(), extents.north()};
    if (!convertPoints(kWgs84, kUtm33North, x, y)) {
        error = "cannot convert the sample's corners to UTM";
        return false;
    }
    const double left = *std::min_element(x.begin(), x.end()), right = *std::max_element(x.begin(), x.end());
    const double bottom = *std::min_element(y.begin(), y.end()), top = *std::max_element(y.begin(), y.end());
    // Square pixels, `side` rows from north to south; as many columns as the box needs.
    const double pixel = (top - bottom) / side;
    const int columns = std::max(2, static_cast<int>(std::ceil((right - left) / pixel)));

    const std::vector<std::uint32_t> colors = DemoData::palette();
    RgbImage image(columns, side);
    std::vector<double> lon(static_cast<std::size_t>(columns)), lat(static_cast<std::size_t>(columns));
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < columns; ++column) {
            lon[static_cast<std::size_t>(column)] = left + (column + 0.5) * pixel;
            lat[static_cast<std::size_t>(column)] = top - (row + 0.5) * pixel;
        }
        if (!convertPoints(kUtm33North, kWgs84, lon, lat)) {
            error = "cannot convert UTM to latitude/longitude";
            return false;
        }
        for (int column = 0; column < columns; ++column) {
            const double u = (lon[static_cast<std::size_t>(column)] - extents.west()) / (extents.east() - extents.west());
            const double v =
                (lat[static_cast<std::size_t>(column)] - extents.south()) / (extents.north() - extents.south());
            const int px = std::clamp(static_cast<int>(u * kPattern), 0, kPattern - 1);
            const int py = std::clamp(static_cast<int>(v * kPattern), 0, kPattern - 1);
            const std::uint32_t c = colors[DemoData::pixelAt(px, py, kPattern, kPattern)];
            std::uint8_t* p = image.at(column, row);
            for (int k = 0; k < 3; ++k)
                p[k] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(c >> (8 * k) & 0xFF) + grain(column, row, k), 0, 255));
        }
    }
    return ::writeGeoTiff(path, image, kUtm33North, {left, pixel, 0, top, 0, -pixel}, error);
}
