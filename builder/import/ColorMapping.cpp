#include "import/ColorMapping.h"

#include <algorithm>

#include "import/NearestEntryTable.h"

namespace {
constexpr int kRowsPerBand = 256;
constexpr int kMostBands = 4;
} // namespace

std::array<bool, 256> usableEntries(int reservedLow)
{
    std::array<bool, 256> usable{};
    for (int i = 0; i < 256; ++i)
        usable[static_cast<std::size_t>(i)] = i >= reservedLow;
    return usable;
}

std::vector<std::uint8_t> mapToPalette(const RgbImage& image, const ImportColors& colors,
                                       const std::array<bool, 256>& usable, bool dither,
                                       const std::function<bool(int row)>& keepGoing)
{
    NearestEntryTable table(colors, usable);
    std::vector<std::uint8_t> out(image.pixelCount());
    const int w = image.width;
    NearestEntryTable::Cursor at = table.cursor();
    if (!dither) {
        for (int y = 0; y < image.height; ++y) {
            if (keepGoing && !keepGoing(y))
                return {};
            const std::uint8_t* p = image.at(0, y);
            std::uint8_t* o = &out[static_cast<std::size_t>(y) * w];
            for (int x = 0; x < w; ++x, p += 3)
                o[x] = table.nearest(at, p[0], p[1], p[2]);
        }
        return out;
    }

    std::array<std::array<int, 3>, 256> entry{};
    for (std::size_t i = 0; i < 256; ++i)
        entry[i] = {int(colors[i] & 0xFF), int(colors[i] >> 8 & 0xFF), int(colors[i] >> 16 & 0xFF)};

    // A tall picture is diffused in a few bands of rows side by side, pixel by pixel in turn: each
    // pixel waits on its neighbour's error and lookup, and independent bands fill those waits. The
    // bands depend only on the picture's height, so the indices are the same on every machine.
    const int bandCount = std::clamp(image.height / kRowsPerBand, 1, kMostBands);
    struct Band {
        int first = 0, end = 0;                // rows
        std::vector<int> thisRow, nextRow;     // errors in sixteenths, one guard column either side
        const std::uint8_t* p = nullptr;
        std::uint8_t* o = nullptr;
        const int* above = nullptr;
        int* below = nullptr;
        int step = 3;
        int ahead[3] = {0, 0, 0};              // the error pushed along the row
    };
    std::vector<Band> bands(static_cast<std::size_t>(bandCount));
    for (int k = 0; k < bandCount; ++k) {
        Band& band = bands[static_cast<std::size_t>(k)];
        band.first = static_cast<int>(static_cast<long long>(image.height) * k / bandCount);
        band.end = static_cast<int>(static_cast<long long>(image.height) * (k + 1) / bandCount);
        band.thisRow.assign(static_cast<std::size_t>(w + 2) * 3, 0);
        band.nextRow.assign(band.thisRow.size(), 0);
    }
    const int tallest = bands.front().end - bands.front().first;
    for (int t = 0; t <= tallest; ++t) {
        if (keepGoing && !keepGoing(t * bandCount))
            return {};
        int running = 0;
        for (Band& band : bands) {
            const int y = band.first + t;
            if (y >= band.end)
                continue;
            ++running;
            const bool leftToRight = (y - band.first) % 2 == 0;
            band.step = leftToRight ? 3 : -3;
            std::fill(band.nextRow.begin(), band.nextRow.end(), 0);
            const int x0 = leftToRight ? 0 : w - 1;
            band.p = image.at(x0, y);
            band.o = &out[static_cast<std::size_t>(y) * w + x0];
            band.above = &band.thisRow[static_cast<std::size_t>(x0 + 1) * 3];
            band.below = &band.nextRow[static_cast<std::size_t>(x0 + 1) * 3];
            band.ahead[0] = band.ahead[1] = band.ahead[2] = 0;
        }
        if (running == 0)
            break;
        for (int i = 0; i < w; ++i) {
            for (Band& band : bands) {
                if (band.first + t >= band.end)
                    continue;
                int want[3];
                for (int c = 0; c < 3; ++c)
                    want[c] = std::clamp(band.p[c] + (band.above[c] + band.ahead[c] + 8) / 16, 0, 255);
                const std::uint8_t index = table.nearest(at, static_cast<std::uint8_t>(want[0]),
                                                         static_cast<std::uint8_t>(want[1]),
                                                         static_cast<std::uint8_t>(want[2]));
                *band.o = index;
                const std::array<int, 3>& have = entry[index];
                const int step = band.step;
                int* below = band.below;
                for (int c = 0; c < 3; ++c) {
                    const int error = want[c] - have[c];
                    band.ahead[c] = error * 7;
                    below[-step + c] += error * 3;
                    below[c] += error * 5;
                    below[step + c] += error;
                }
                band.p += step;
                band.o += step / 3;
                band.above += step;
                band.below += step;
            }
        }
        for (Band& band : bands)
            std::swap(band.thisRow, band.nextRow);
    }
    return out;
}
