#include "cli/DemoData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/ReplaceFile.h"
#include "base/TextFormat.h"

namespace DemoData {

namespace {

constexpr double kSeaLevel = 260.0;
constexpr double kTreeLine = 1250.0;
constexpr double kSnowLine = 1800.0;

// The colour table holds eight ground classes of 32 shades each, dark to light, so the picture
// can show relief (hill shading) in every class.
enum GroundClass { Water, Meadow, Pasture, Farmland, Forest, Rock, Scree, Snow };
constexpr int kShades = 32;
constexpr std::uint32_t kBaseColours[8] = {0x9A5A28, 0x4AA878, 0x3C8C5C, 0x4A7A9C, 0x2E5A2A, 0x6E7A86, 0x98A0A8, 0xF4F0EC};

double bump(double u, double v, double cu, double cv, double radius)
{
    const double du = u - cu, dv = v - cv;
    return std::exp(-(du * du + dv * dv) / (radius * radius));
}

// A small integer hash: the same speckle on every machine, no random generator state.
std::uint32_t hash(std::uint32_t x, std::uint32_t y)
{
    std::uint32_t h = x * 374761393u + y * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

void put16(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v)
{
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}

void put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = (v >> (8 * k)) & 0xFF;
}

void putText(std::vector<unsigned char>& b, std::size_t at, const std::string& text)
{
    std::copy(text.begin(), text.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

// DDMMSSH / DDDMMSSH for whole seconds.
std::string dtedAngle(double degrees, bool longitude)
{
    const char hemisphere = longitude ? (degrees < 0 ? 'W' : 'E') : (degrees < 0 ? 'S' : 'N');
    long seconds = std::lround(std::fabs(degrees) * 3600);
    const long d = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    return TextFormat::cformat(longitude ? "%03ld%02ld%02ld%c" : "%02ld%02ld%02ld%c", d, m, s, hemisphere);
}

} // namespace

double heightAt(double u, double v)
{
    double h = 560.0;
    h += 260.0 * std::sin(3.1 * u + 0.5) * std::cos(2.3 * v - 0.4);
    h += 120.0 * std::sin(7.7 * u + 4.1 * v);
    h += 45.0 * std::cos(17.0 * u - 11.0 * v);
    h += 1500.0 * bump(u, v, 0.74, 0.70, 0.16);   // the massif in the north-east
    h += 700.0 * bump(u, v, 0.55, 0.88, 0.08);
    h -= 700.0 * bump(u, v, 0.26, 0.30, 0.13);    // the lake basin in the south-west
    h -= 330.0 * bump(u, v, 0.45 + 0.1 * std::sin(9 * v), v, 0.03); // a winding valley
    return h;
}

std::vector<std::uint32_t> palette()
{
    std::vector<std::uint32_t> table(256, 0);
    for (int c = 0; c < 8; ++c)
        for (int s = 0; s < kShades; ++s) {
            const double light = 0.45 + 0.75 * s / (kShades - 1);
            std::uint32_t colour = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const double base = (kBaseColours[c] >> (8 * channel)) & 0xFF;
                colour |= static_cast<std::uint32_t>(std::clamp(base * light, 0.0, 255.0)) << (8 * channel);
            }
            table[c * kShades + s] = colour;
        }
    return table;
}

namespace {

// The colour index of one pixel from its height and its neighbours' heights (for the shading).
std::uint8_t colourOf(int x, int y, int width, double h, double west, double east, double south, double north)
{
    const std::uint32_t noise = hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
    const double speckle = ((noise & 0xFF) / 255.0 - 0.5);

    GroundClass ground;
    if (h < kSeaLevel) {
        ground = Water;
    } else if (h < 720.0) {
        // Fields of the lowland: patches of 48 pixels, each meadow, pasture or farmland.
        const std::uint32_t patch = hash(static_cast<std::uint32_t>(x / 48), static_cast<std::uint32_t>(y / 48)) % 3;
        ground = patch == 0 ? Meadow : patch == 1 ? Pasture : Farmland;
    } else if (h + 60 * speckle < kTreeLine) {
        ground = Forest;
    } else if (h + 60 * speckle < kSnowLine - 200) {
        ground = Rock;
    } else if (h + 60 * speckle < kSnowLine) {
        ground = Scree;
    } else {
        ground = Snow;
    }

    double light;
    if (ground == Water) {
        light = 0.35 + 0.6 * std::clamp(h / kSeaLevel, 0.0, 1.0) + 0.05 * speckle;
    } else {
        // Hill shading: sun from the north-west, relief exaggerated for the eye.
        const double metresPerPixel = 39000.0 / width / 12.0;
        const double gx = (east - west) / (2 * metresPerPixel);
        const double gy = (north - south) / (2 * metresPerPixel);
        const double shade = (-gx * 0.7 + gy * 0.7 + 0.35) / std::sqrt(gx * gx + gy * gy + 1.0);
        light = 0.55 + 1.1 * (shade - 0.35) + 0.12 * speckle;
    }
    const int shadeIndex = std::clamp(static_cast<int>(light * (kShades - 1)), 0, kShades - 1);
    return static_cast<std::uint8_t>(ground * kShades + shadeIndex);
}

double pixelHeight(int x, int y, int width, int height)
{
    return heightAt((x + 0.5) / width, (y + 0.5) / height);
}

} // namespace

std::uint8_t pixelAt(int x, int y, int width, int height)
{
    return colourOf(x, y, width, pixelHeight(x, y, width, height), pixelHeight(x - 1, y, width, height),
                    pixelHeight(x + 1, y, width, height), pixelHeight(x, y - 1, width, height),
                    pixelHeight(x, y + 1, width, height));
}

bool writeBitmap(const std::string& path, int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
    const std::size_t offset = 14 + 40 + 256 * 4;
    std::vector<unsigned char> bytes(offset + pixelBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 10, static_cast<std::uint32_t>(offset));
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(height));
    put16(bytes, 26, 1);
    put16(bytes, 28, 8);
    put32(bytes, 34, static_cast<std::uint32_t>(pixelBytes));
    put32(bytes, 38, 2835);
    put32(bytes, 42, 2835);
    put32(bytes, 46, 256);
    const std::vector<std::uint32_t> colors = palette();
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t c = colors[i];
        bytes[54 + 4 * i] = (c >> 16) & 0xFF;   // blue
        bytes[54 + 4 * i + 1] = (c >> 8) & 0xFF;
        bytes[54 + 4 * i + 2] = c & 0xFF;
    }
    // Each height is computed once: rows y - 1, y and y + 1 (with a one-pixel margin) are kept.
    auto heightRow = [&](int y) {
        std::vector<double> row(static_cast<std::size_t>(width) + 2);
        for (int x = -1; x <= width; ++x)
            row[static_cast<std::size_t>(x + 1)] = pixelHeight(x, y, width, height);
        return row;
    };
    std::vector<double> below = heightRow(-1), here = heightRow(0), above;
    for (int y = 0; y < height; ++y) {
        above = heightRow(y + 1);
        unsigned char* row = bytes.data() + offset + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(x) + 1;
            row[x] = colourOf(x, y, width, here[i], here[i - 1], here[i + 1], below[i], above[i]);
        }
        below = std::move(here);
        here = std::move(above);
    }
    return replaceFile(path, {{bytes.data(), bytes.size()}});
}

bool writeDted(const std::string& path, const Extents& extents, int points)
{
    if (points < 2 || points > 9999)
        return false;
    const std::size_t recordSize = 8 + 2 * static_cast<std::size_t>(points) + 4;
    std::vector<unsigned char> bytes(3428 + recordSize * static_cast<std::size_t>(points), ' ');

    const std::string swLat = dtedAngle(extents.south(), false), swLon = dtedAngle(extents.west(), true);
    const std::string neLat = dtedAngle(extents.north(), false), neLon = dtedAngle(extents.east(), true);
    const int intervalTenths = static_cast<int>(std::lround(extents.spanMinutes * 600.0 / (points - 1)));
    const std::string count = TextFormat::cformat("%04d", points);
    const std::string interval = TextFormat::cformat("%04d", intervalTenths);

    // User header label.
    putText(bytes, 0, "UHL1");
    putText(bytes, 4, swLon);
    putText(bytes, 12, dtedAngle(extents.south(), true).substr(0, 8));
    putText(bytes, 20, interval);
    putText(bytes, 24, interval);
    putText(bytes, 28, "NA  ");
    putText(bytes, 32, "U  ");
    putText(bytes, 47, count);
    putText(bytes, 51, count);
    putText(bytes, 55, "0");
    // Data set identification record: corners, intervals and line counts at their fixed places.
    const std::size_t dsi = 80;
    putText(bytes, dsi, "DSIU");
    putText(bytes, dsi + 59, "DTED0");
    putText(bytes, dsi + 141, "E96WGS84");
    putText(bytes, dsi + 204, swLat);
    putText(bytes, dsi + 211, swLon);
    putText(bytes, dsi + 219, neLat);
    putText(bytes, dsi + 226, swLon);
    putText(bytes, dsi + 234, neLat);
    putText(bytes, dsi + 241, neLon);
    putText(bytes, dsi + 249, swLat);
    putText(bytes, dsi + 256, neLon);
    putText(bytes, dsi + 264, "0000000.0");
    putText(bytes, dsi + 273, interval);
    putText(bytes, dsi + 277, interval);
    putText(bytes, dsi + 281, count);   // latitude lines: points per longitude line
    putText(bytes, dsi + 285, count);   // longitude lines
    putText(bytes, dsi + 289, "00");
    // Accuracy description record.
    putText(bytes, 728, "ACC");

    for (int i = 0; i < points; ++i) {
        const std::size_t at = 3428 + recordSize * static_cast<std::size_t>(i);
        bytes[at] = 0xAA;
        bytes[at + 1] = 0;
        bytes[at + 2] = static_cast<unsigned char>((i >> 8) & 0xFF);
        bytes[at + 3] = static_cast<unsigned char>(i & 0xFF);
        bytes[at + 4] = static_cast<unsigned char>((i >> 8) & 0xFF);
        bytes[at + 5] = static_cast<unsigned char>(i & 0xFF);
        bytes[at + 6] = 0;
        bytes[at + 7] = 0;
        for (int j = 0; j < points; ++j) {
            const double h = heightAt(static_cast<double>(i) / (points - 1), static_cast<double>(j) / (points - 1));
            const long metres = std::lround(h);
            // Signed magnitude, high byte first.
            const unsigned magnitude = static_cast<unsigned>(std::min(std::labs(metres), 32767L));
            const unsigned word = magnitude | (metres < 0 ? 0x8000u : 0u);
            bytes[at + 8 + 2 * static_cast<std::size_t>(j)] = static_cast<unsigned char>(word >> 8);
            bytes[at + 9 + 2 * static_cast<std::size_t>(j)] = static_cast<unsigned char>(word & 0xFF);
        }
        std::uint32_t checksum = 0;
        for (std::size_t k = 0; k < recordSize - 4; ++k)
            checksum += bytes[at + k];
        for (int k = 0; k < 4; ++k)
            bytes[at + recordSize - 4 + k] = static_cast<unsigned char>((checksum >> (24 - 8 * k)) & 0xFF);
    }
    return replaceFile(path, {{bytes.data(), bytes.size()}});
}

bool writeColorFile(const std::string& path)
{
    std::string bytes;
    for (std::uint32_t c : palette()) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
        bytes += static_cast<char>((c >> 16) & 0xFF);
    }
    return replaceFile(path, {{bytes.data(), bytes.size()}});
}

bool writeTextAltitudes(const std::string& path, const Extents& extents, int points)
{
    if (points < 2)
        return false;
    std::string out;
    for (int j = 0; j < points; ++j)
        for (int i = 0; i < points; ++i) {
            const double u = static_cast<double>(i) / (points - 1), v = static_cast<double>(j) / (points - 1);
            out += TextFormat::cformat("%.6f %.6f %ld\n", extents.south() + v * (extents.north() - extents.south()),
                                       extents.west() + u * (extents.east() - extents.west()), std::lround(heightAt(u, v)));
        }
    return replaceFile(path, {{out.data(), out.size()}});
}

} // namespace DemoData
