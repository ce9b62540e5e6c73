#include "import/FixedPalette.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "base/PathUtil.h"
#include "imagery/BitmapFile.h"

namespace {
constexpr std::size_t kRawSize = 768;

std::uint32_t rgb(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

bool readAll(const std::string& path, std::vector<char>& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    // A palette is small: anything far larger is not one, and is not read whole.
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || size > 16 * 1024 * 1024)
        return false;
    file.seekg(0);
    bytes.resize(static_cast<std::size_t>(size));
    file.read(bytes.data(), size);
    return static_cast<std::streamoff>(file.gcount()) == size;
}

FixedPalette fromRaw(const std::vector<char>& bytes)
{
    FixedPalette palette;
    for (std::size_t i = 0; i < 256; ++i)
        palette.colors[i] = rgb(static_cast<unsigned char>(bytes[3 * i]), static_cast<unsigned char>(bytes[3 * i + 1]),
                                static_cast<unsigned char>(bytes[3 * i + 2]));
    palette.count = 256;
    return palette;
}

std::optional<FixedPalette> fromBitmap(const std::string& path)
{
    const std::optional<PackedBitmap> bitmap = readBitmapFile(path);
    if (!bitmap || !bitmapFitsBlock(*bitmap))
        return std::nullopt;
    const int count = bitmapColorCount(*bitmap);
    if (count <= 0 || count > 256)
        return std::nullopt;
    FixedPalette palette;
    for (int i = 0; i < count; ++i)
        palette.colors[static_cast<std::size_t>(i)] = bitmap->colorAt(static_cast<std::size_t>(i));
    palette.count = count;
    return palette;
}
} // namespace

std::optional<FixedPalette> readPaletteFile(const std::string& path, std::string& error)
{
    std::vector<char> bytes;
    if (!readAll(path, bytes)) {
        error = "Cannot read the palette file " + path + ".";
        return std::nullopt;
    }
    const std::string start(bytes.begin(), bytes.begin() + static_cast<long>(std::min<std::size_t>(bytes.size(), 8)));
    if (start == "JASC-PAL") {
        // The header's word and two numbers, then red, green, blue triples.
        std::istringstream text(std::string(bytes.begin(), bytes.end()));
        std::string word;
        long version = 0, declared = 0;
        text >> word >> version >> declared;
        FixedPalette palette;
        long red = 0, green = 0, blue = 0;
        while (palette.count < 256 && text >> red >> green >> blue)
            palette.colors[static_cast<std::size_t>(palette.count++)] =
                rgb(static_cast<unsigned>(red), static_cast<unsigned>(green), static_cast<unsigned>(blue));
        if (palette.count == 0) {
            error = "The palette file " + path + " holds no colours.";
            return std::nullopt;
        }
        return palette;
    }
    if (bytes.size() == kRawSize)
        return fromRaw(bytes);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        if (std::optional<FixedPalette> palette = fromBitmap(path))
            return palette;
    error = "The palette file " + path +
            " is neither a JASC palette, nor 768 bytes of colours, nor a 256-colour bitmap.";
    return std::nullopt;
}

std::optional<FixedPalette> readDefaultPalette(const std::string& applicationFolder, std::string& error)
{
    const std::string pcf = PathUtil::join(applicationFolder, "colors.pcf");
    std::vector<char> bytes;
    if (readAll(pcf, bytes) && bytes.size() >= kRawSize) {
        bytes.resize(kRawSize);
        return fromRaw(bytes);
    }
    if (std::optional<FixedPalette> palette = fromBitmap(PathUtil::join(applicationFolder, "default.bmp")))
        return palette;
    error = "No default palette: neither colors.pcf nor default.bmp in " + applicationFolder + " gives one.";
    return std::nullopt;
}
