#include "import/ColorMapping.h"

#include <algorithm>

#include "import/NearestEntryTable.h"

namespace {
constexpr int kRowsPerBand = 256;
constexpr int kMostBands = 4;
constexpr int kLookAhead = 4;   // pixels
using Lanes = int __attribute__((vector_size(16)));
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

    // Red, green and blue (and an idle fourth lane) move together through the error arithmetic.
    std::array<Lanes, 256> entry{};
    for (std::size_t i = 0; i < 256; ++i)
        entry[i] = Lanes{int(colors[i] & 0xFF), int(colors[i] >> 8 & 0xFF), int(colors[i] >> 16 & 0xFF), 0};

    // A tall picture is diffused in a few bands of rows side by side, pixel by pixel in turn: each
    // pixel waits on its neighbour's error and lookup, and independent bands fill those waits. The
    // bands depend only on the picture's height, so the indices are the same on every machine.
    const int bandCount = std::clamp(image.height / kRowsPerBand, 1, kMostBands);
    struct Band {
        int first = 0, end = 0;                // rows
        std::vector<Lanes> thisRow, nextRow;   // errors in sixteenths, one guard column either side
        const std::uint8_t* p = nullptr;
        std::uint8_t* o = nullptr;
        const Lanes* above = nullptr;
        Lanes* below = nullptr;
        int step = 1;
        Lanes ahead{};                         // the error pushed along the row
    };
    std::vector<Band> bands(static_cast<std::size_t>(bandCount));
    for (int k = 0; k < bandCount; ++k) {
        Band& band = bands[static_cast<std::size_t>(k)];
        band.first = static_cast<int>(static_cast<long long>(image.height) * k / bandCount);
        band.end = static_cast<int>(static_cast<long long>(image.height) * (k + 1) / bandCount);
        band.thisRow.assign(static_cast<std::size_t>(w + 2), Lanes{});
        band.nextRow.assign(band.thisRow.size(), Lanes{});
    }
    const Lanes zero{}, top{255, 255, 255, 0}, eight{8, 8, 8, 0}, fifteen{15, 15, 15, 0};
    int tallest = 0;
    for (const Band& band : bands)
        tallest = std::max(tallest, band.end - band.first);
    for (int t = 0; t < tallest; ++t) {
        if (keepGoing && !keepGoing(t * bandCount))
            return {};
        for (Band& band : bands) {
            const int y = band.first + t;
            if (y >= band.end)
                continue;
            const bool leftToRight = (y - band.first) % 2 == 0;
            band.step = leftToRight ? 1 : -1;
            std::fill(band.nextRow.begin(), band.nextRow.end(), Lanes{});
            const int x0 = leftToRight ? 0 : w - 1;
            band.p = image.at(x0, y);
            band.o = &out[static_cast<std::size_t>(y) * w + x0];
            band.above = &band.thisRow[static_cast<std::size_t>(x0 + 1)];
            band.below = &band.nextRow[static_cast<std::size_t>(x0 + 1)];
            band.ahead = Lanes{};
        }
        for (int i = 0; i < w; ++i) {
            for (Band& band : bands) {
                if (band.first + t >= band.end)
                    continue;
                // The pixel plus its share of the errors, in sixteenths rounded as a division
                // would (towards zero), kept within 0 .. 255.
                const Lanes sum = *band.above + band.ahead + eight;
                Lanes want = Lanes{band.p[0], band.p[1], band.p[2], 0} + ((sum + (sum >> 31 & fifteen)) >> 4);
                want = want < zero ? zero : want;
                want = want > top ? top : want;
                const std::uint8_t index = table.nearest(at, static_cast<std::uint8_t>(want[0]),
                                                         static_cast<std::uint8_t>(want[1]),
                                                         static_cast<std::uint8_t>(want[2]));
                *band.o = index;
                const int step = band.step;
                if (i + kLookAhead < w) {
                    const std::uint8_t* next = band.p + 3 * kLookAhead * step;
                    NearestEntryTable::prefetch(at, next[0], next[1], next[2]);
                }
                const Lanes error = want - entry[index];
                band.ahead = error * 7;
                band.below[-step] += error * 3;
                band.below[0] += error * 5;
                band.below[step] += error;
                band.p += 3 * step;
                band.o += step;
                band.above += step;
                band.below += step;
            }
        }
        for (Band& band : bands)
            std::swap(band.thisRow, band.nextRow);
    }
    return out;
}
