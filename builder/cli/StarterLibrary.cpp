#include "cli/StarterLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/AppStartup.h"
#include "app/ConfigFile.h"
#include "base/AppSettings.h"
#include "base/PathUtil.h"
#include "base/ReplaceFile.h"

namespace StarterLibrary {

namespace {

constexpr int kSize = 256;
constexpr int kShades = 40;        // palette entries per class: class k owns k x 40 .. k x 40 + 39
constexpr int kNoMatchDark = 250;
constexpr int kNoMatchLight = 251;
constexpr double kTwoPi = 6.283185307179586;

std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t salt)
{
    std::uint32_t h = x * 374761393u + y * 668265263u + salt * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

/// Smooth noise 0..1 on a lattice of `cell` pixels that repeats every 256 pixels, so a texture
/// joins itself (and every texture of the same class) without a seam.
double noise(int x, int y, int cell, std::uint32_t salt)
{
    const int cells = kSize / cell;
    const int cx = x / cell, cy = y / cell;
    const double fx = (x % cell) / static_cast<double>(cell), fy = (y % cell) / static_cast<double>(cell);
    auto at = [&](int i, int j) {
        return (hash(static_cast<std::uint32_t>((i % cells + cells) % cells),
                     static_cast<std::uint32_t>((j % cells + cells) % cells), salt) & 0xFFFF) / 65535.0;
    };
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = at(cx, cy) * (1 - sx) + at(cx + 1, cy) * sx;
    const double bottom = at(cx, cy + 1) * (1 - sx) + at(cx + 1, cy + 1) * sx;
    return top * (1 - sy) + bottom * sy;
}

int shadeOf(double value)
{
    return std::clamp(static_cast<int>(value * (kShades - 1) + 0.5), 0, kShades - 1);
}

/// The shade (0..39) of a class at (x, y): each class has its own pattern, all repeating at 256.
int classShade(int code, int x, int y)
{
    switch (code) {
    case 0: {   // water: long waves over slow swell
        const double wave = std::sin(kTwoPi * (x * 3 + y * 5) / kSize) * 0.15;
        return shadeOf(0.35 + noise(x, y, 64, 1) * 0.4 + wave);
    }
    case 1:     // grass: soft meadow patches
        return shadeOf(0.2 + noise(x, y, 32, 2) * 0.5 + noise(x, y, 8, 3) * 0.3);
    case 2: {   // forest: dense crowns
        const double crowns = noise(x, y, 8, 4);
        return shadeOf(0.1 + crowns * crowns * 0.6 + noise(x, y, 64, 5) * 0.3);
    }
    case 3: {   // farmland: fields of 64 x 64 pixels, each with its own shade and furrow direction
        const std::uint32_t field = hash(static_cast<std::uint32_t>(x / 64), static_cast<std::uint32_t>(y / 64), 6);
        const bool across = field & 1;
        const int furrow = ((across ? x : y) / 3) % 2;
        if (x % 64 < 2 || y % 64 < 2)
            return 4;   // hedges and tracks between the fields
        return shadeOf(0.25 + (field >> 8 & 0xFF) / 255.0 * 0.55 + furrow * 0.08);
    }
    default: {  // town: blocks of 32 x 32 with streets and roofs
        if (x % 32 < 4 || y % 32 < 4)
            return 20;   // street
        const std::uint32_t block = hash(static_cast<std::uint32_t>(x / 32), static_cast<std::uint32_t>(y / 32), 7);
        const std::uint32_t roof = hash(static_cast<std::uint32_t>(x / 8), static_cast<std::uint32_t>(y / 8), block);
        return (roof & 3) == 0 ? 30 + static_cast<int>(roof >> 4 & 7) : 8 + static_cast<int>(roof >> 4 & 15);
    }
    }
}

/// 0x00BBGGRR from red, green and blue.
std::uint32_t rgb(double r, double g, double b)
{
    auto c = [](double v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5); };
    return c(r) | c(g) << 8 | c(b) << 16;
}

std::uint32_t shadeColor(int code, int shade, bool winter)
{
    const double t = shade / static_cast<double>(kShades - 1);
    switch (code) {
    case 0:
        return winter ? rgb(120 + 60 * t, 140 + 60 * t, 160 + 60 * t) : rgb(10 + 40 * t, 50 + 80 * t, 110 + 90 * t);
    case 1:
        return winter ? rgb(200 + 45 * t, 205 + 45 * t, 210 + 40 * t) : rgb(60 + 80 * t, 110 + 90 * t, 30 + 40 * t);
    case 2:
        return winter ? rgb(40 + 170 * t * t, 60 + 160 * t * t, 50 + 170 * t * t) : rgb(15 + 45 * t, 50 + 70 * t, 15 + 30 * t);
    case 3:
        if (shade < 8)
            return winter ? rgb(90, 80, 70) : rgb(70, 90, 40);
        return winter ? rgb(215 + 30 * t, 215 + 30 * t, 220 + 30 * t) : rgb(120 + 110 * t, 100 + 90 * t, 40 + 40 * t);
    default:
        if (shade >= 30)
            return winter ? rgb(230, 230, 235) : rgb(150 + 60 * t, 50 + 20 * t, 40);   // roofs
        return winter ? rgb(150 + 90 * t, 150 + 90 * t, 155 + 90 * t) : rgb(90 + 100 * t, 90 + 100 * t, 95 + 100 * t);
    }
}

/// The border between the main class and an edge class: how far the edge class reaches in from
/// the edge at position `along`; a wavy line, the same on every texture so edges agree.
int edgeReach(int along, std::uint32_t salt)
{
    return 40 + static_cast<int>(std::sin(kTwoPi * along * 2 / kSize) * 12 + noise(along, 0, 16, salt) * 20);
}

std::vector<std::uint8_t> bitmapFile(const std::vector<std::uint8_t>& pixels, const std::vector<std::uint32_t>& colors)
{
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> bytes(offset, 0);
    auto put16 = [&](std::size_t at, std::uint16_t v) {
        bytes[at] = static_cast<std::uint8_t>(v);
        bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, offset + static_cast<std::uint32_t>(pixels.size()));
    put32(10, offset);
    put32(14, 40);
    put32(18, kSize);
    put32(22, kSize);
    put16(26, 1);
    put16(28, 8);
    put32(34, static_cast<std::uint32_t>(pixels.size()));
    put32(38, 2835);
    put32(42, 2835);
    put32(46, 256);
    for (std::size_t i = 0; i < 256 && i < colors.size(); ++i) {
        bytes[54 + 4 * i] = static_cast<std::uint8_t>(colors[i] >> 16);   // blue
        bytes[54 + 4 * i + 1] = static_cast<std::uint8_t>(colors[i] >> 8);
        bytes[54 + 4 * i + 2] = static_cast<std::uint8_t>(colors[i]);
    }
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

bool writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    return replaceFile(path, {{bytes.data(), bytes.size()}});
}

} // namespace

const std::vector<ClassInfo>& classes()
{
    static const std::vector<ClassInfo> list = {
        {0, "Water", 0xB05010},
        {1, "Grass", 0x30B060},
        {2, "Forest", 0x206020},
        {3, "Farmland", 0x40B0D0},
        {4, "Town", 0x7070A0},
    };
    return list;
}

std::vector<std::string> textureNames(char season)
{
    std::vector<std::string> names;
    const int count = static_cast<int>(classes().size());
    for (int m = 0; m < count; ++m)
        for (int e = 0; e < count; ++e)
            for (int s = 0; s < count; ++s) {
                char name[48];
                std::snprintf(name, sizeof name, "%02d%02d%02d%c1.bmp", m, e, s, season);
                names.push_back(name);
            }
    return names;
}

std::vector<std::uint32_t> palette(char season)
{
    std::vector<std::uint32_t> colors(256, 0);
    for (const ClassInfo& info : classes())
        for (int shade = 0; shade < kShades; ++shade)
            colors[static_cast<std::size_t>(info.code * kShades + shade)] = shadeColor(info.code, shade, season == 'w');
    colors[kNoMatchDark] = 0x000000;
    colors[kNoMatchLight] = 0xFF00FF;
    return colors;
}

std::vector<std::uint8_t> texturePixels(int mainClass, int eastClass, int southClass)
{
    // The class patterns and the two edge lines are the same in every texture: made once.
    static const std::vector<std::vector<std::uint8_t>> patterns = [] {
        std::vector<std::vector<std::uint8_t>> all;
        for (const ClassInfo& info : classes()) {
            std::vector<std::uint8_t> pattern(static_cast<std::size_t>(kSize * kSize));
            for (int y = 0; y < kSize; ++y)
                for (int x = 0; x < kSize; ++x)
                    pattern[static_cast<std::size_t>(y * kSize + x)] =
                        static_cast<std::uint8_t>(info.code * kShades + classShade(info.code, x, y));
            all.push_back(std::move(pattern));
        }
        return all;
    }();
    static const std::vector<int> southReach = [] {
        std::vector<int> reach(kSize);
        for (int x = 0; x < kSize; ++x)
            reach[static_cast<std::size_t>(x)] = edgeReach(x, 11);
        return reach;
    }();
    static const std::vector<int> eastReach = [] {
        std::vector<int> reach(kSize);
        for (int y = 0; y < kSize; ++y)
            reach[static_cast<std::size_t>(y)] = edgeReach(y, 12);
        return reach;
    }();

    const int last = static_cast<int>(patterns.size()) - 1;
    auto pattern = [&](int code) -> const std::vector<std::uint8_t>& { return patterns[static_cast<std::size_t>(std::clamp(code, 0, last))]; };
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSize * kSize));
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Stored rows start at the bottom: y = 0 is the south edge.
            int code = mainClass;
            if (y < southReach[static_cast<std::size_t>(x)])
                code = southClass;
            else if (kSize - 1 - x < eastReach[static_cast<std::size_t>(y)])
                code = eastClass;
            const std::size_t at = static_cast<std::size_t>(y * kSize + x);
            pixels[at] = pattern(code)[at];
        }
    }
    return pixels;
}

bool write(const std::string& folder, int& written, std::string& error)
{
    written = 0;
    for (char season : {'s', 'w'}) {
        const std::vector<std::uint32_t> colors = palette(season);
        for (const std::string& name : textureNames(season)) {
            const int m = (name[0] - '0') * 10 + (name[1] - '0');
            const int e = (name[2] - '0') * 10 + (name[3] - '0');
            const int s = (name[4] - '0') * 10 + (name[5] - '0');
            const std::string path = PathUtil::join(folder, name);
            if (!writeBytes(path, bitmapFile(texturePixels(m, e, s), colors))) {
                error = "cannot write " + path;
                return false;
            }
            ++written;
        }
    }

    std::vector<std::uint8_t> checks(static_cast<std::size_t>(kSize * kSize));
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            checks[static_cast<std::size_t>(y * kSize + x)] = ((x / 32 + y / 32) % 2) ? kNoMatchLight : kNoMatchDark;
    const std::string noMatch = PathUtil::join(folder, "NoMatch.bmp");
    if (!writeBytes(noMatch, bitmapFile(checks, palette('s')))) {
        error = "cannot write " + noMatch;
        return false;
    }

    // The folder's configuration points the builder at the library; other settings stay.
    AppSettings settings;
    const std::string config = PathUtil::join(folder, AppStartup::kConfigFileName);
    if (readConfigFile(config, settings) == ConfigFileState::Corrupt) {
        error = config + " is damaged";
        return false;
    }
    settings.synthTexturesPath = folder;
    settings.loadTexturesOnOpen = 1;
    settings.textureClasses.clear();
    for (const ClassInfo& info : classes()) {
        TextureClass textureClass;
        textureClass.name = info.name;
        textureClass.color = info.color;
        textureClass.enabled = 1;
        textureClass.code = info.code;
        settings.textureClasses.push_back(textureClass);
    }
    if (!writeConfigFile(config, settings)) {
        error = "cannot write " + config;
        return false;
    }
    return true;
}

} // namespace StarterLibrary
