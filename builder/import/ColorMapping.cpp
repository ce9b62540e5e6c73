#include "import/ColorMapping.h"

#include <algorithm>

#include "import/NearestEntryTable.h"

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
    if (!dither) {
        for (int y = 0; y < image.height; ++y) {
            if (keepGoing && !keepGoing(y))
                return {};
            const std::uint8_t* p = image.at(0, y);
            std::uint8_t* o = &out[static_cast<std::size_t>(y) * w];
            for (int x = 0; x < w; ++x, p += 3)
                o[x] = table.nearest(p[0], p[1], p[2]);
        }
        return out;
    }

    // Errors in sixteenths, for this row and the next, with one guard column on either side.
    std::vector<int> thisRow(static_cast<std::size_t>(w + 2) * 3, 0), nextRow(thisRow.size(), 0);
    for (int y = 0; y < image.height; ++y) {
        if (keepGoing && !keepGoing(y))
            return {};
        const bool leftToRight = y % 2 == 0;
        const int step = leftToRight ? 1 : -1;
        std::fill(nextRow.begin(), nextRow.end(), 0);
        for (int i = 0; i < w; ++i) {
            const int x = leftToRight ? i : w - 1 - i;
            const std::uint8_t* p = image.at(x, y);
            const std::size_t e = static_cast<std::size_t>(x + 1) * 3;
            int want[3];
            for (int c = 0; c < 3; ++c)
                want[c] = std::clamp(p[c] + (thisRow[e + c] + 8) / 16, 0, 255);
            const std::uint8_t index = table.nearest(static_cast<std::uint8_t>(want[0]),
                                                     static_cast<std::uint8_t>(want[1]),
                                                     static_cast<std::uint8_t>(want[2]));
            out[static_cast<std::size_t>(y) * w + x] = index;
            const std::uint32_t got = colors[index];
            const int have[3] = {int(got & 0xFF), int(got >> 8 & 0xFF), int(got >> 16 & 0xFF)};
            const std::size_t ahead = static_cast<std::size_t>(x + 1 + step) * 3;
            const std::size_t behind = static_cast<std::size_t>(x + 1 - step) * 3;
            for (int c = 0; c < 3; ++c) {
                const int error = want[c] - have[c];
                thisRow[ahead + c] += error * 7;
                nextRow[behind + c] += error * 3;
                nextRow[e + c] += error * 5;
                nextRow[ahead + c] += error * 1;
            }
        }
        std::swap(thisRow, nextRow);
    }
    return out;
}
