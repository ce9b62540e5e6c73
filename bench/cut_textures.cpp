// Cuts all three texture levels of an 8192 x 8192 bitmap made in memory and prints tiles per second,
// beside baselines of the same run: `split -b` writing the same number of 64 KiB files from the
// raw pixels (what level 3 writes; the best of three turns of each), and, when ImageMagick's `convert` is installed, the same
// pyramid made by it (box scaling to 1/4 and 1/2, 256 x 256 crops, 8-bit bitmaps).
// Usage: bench_cut_textures [side in pixels, a multiple of 1024; default 8192] [bmp]

#include <algorithm>
#include <chrono>
#include <fstream>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "BenchPlatform.h"
#include "imagery/BitmapFile.h"
#include "imagery/TextureCutter.h"
#include "project/CDibDoc.h"

namespace {
constexpr int kRounds = 3;

// An 8-bit bitmap with a smooth colour ramp palette and a textured pattern, like a photo's.
PackedBitmap makeBitmap(int side)
{
    const std::size_t header = 40 + 256 * 4;
    std::vector<std::uint8_t> block(header + static_cast<std::size_t>(side) * side);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            block[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, static_cast<std::uint32_t>(side));
    put32(8, static_cast<std::uint32_t>(side));
    block[12] = 1;
    block[14] = 8;
    for (int i = 0; i < 256; ++i) {
        block[40 + 4 * i] = static_cast<std::uint8_t>((i * 5) & 0xFF);   // blue
        block[41 + 4 * i] = static_cast<std::uint8_t>(i);                // green
        block[42 + 4 * i] = static_cast<std::uint8_t>(255 - i);          // red
    }
    std::uint32_t seed = 12345;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int base = ((x / 64) * 7 + (y / 64) * 13) & 0xFF;
            block[header + static_cast<std::size_t>(y) * side + x] = static_cast<std::uint8_t>(base + (seed >> 29));
        }
    return PackedBitmap(std::move(block));
}
} // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 8192;
    const bool bmp = argc > 2 && std::string(argv[2]) == "bmp";
    if (side <= 0 || side % 1024 != 0) {
        std::fprintf(stderr, "side must be a positive multiple of 1024\n");
        return 2;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvane-bench-cut-" + std::to_string(std::rand()));
    std::filesystem::create_directories(folder);
    std::fclose(std::fopen((folder / "colors.pcf").string().c_str(), "wb"));   // default colours: all black

    BenchPlatform platform;
    AppContext app(platform);
    app.settings.applicationPath = folder.string();
    app.settings.platform = bmp ? 1 : 0;
    {
        CDibDoc doc(app);
        doc.projectBitmap = makeBitmap(side);
        doc.projectPalette = createBitmapPalette(*doc.projectBitmap);
        doc.bitmapWidth = doc.bitmapHeight = side;
        doc.chunkColumns = doc.chunkRows = side / 256;
        doc.textureFolder = folder.string();
        platform.fileAnswer = PathUtil::join(folder.string(), "bn");

        std::printf("cutting %d x %d into %s tiles in %s\n", side, side, bmp ? ".bmp" : ".r8", folder.string().c_str());
        double total = 0.0, level3Seconds = 0.0;
        std::size_t tiles = 0;
        for (int level : {1, 2, 3}) {
            const std::size_t before = doc.textureFileNames.size();
            const auto start = std::chrono::steady_clock::now();
            cutTextureLevel(doc, level, folder.string(), level == 1 ? 4 : (level == 2 ? 2 : 1));
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const std::size_t written = doc.textureFileNames.size() - before;
            std::printf("level %d: %zu tiles in %.3f s, %.1f tiles/s\n", level, written, seconds, written / seconds);
            if (level == 3)
                level3Seconds = seconds;
            total += seconds;
            tiles += written;
        }
        std::printf("all levels: %zu tiles in %.3f s, %.1f tiles/s\n", tiles, total, tiles / total);

        doc.textureFileNames.clear();
        const auto start = std::chrono::steady_clock::now();
        cutAllLevels(doc);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("cutAllLevels: %zu tiles in %.3f s, %.1f tiles/s\n", doc.textureFileNames.size(), seconds,
                    doc.textureFileNames.size() / seconds);

        // Baselines: the raw pixels and the bitmap file go to the folder first (not timed).
        const PackedBitmap& bitmap = *doc.projectBitmap;
        const std::string raw = (folder / "pixels.raw").string();
        {
            std::ofstream out(raw, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bitmap.pixels()), static_cast<std::streamsize>(side) * side);
        }
        auto timed = [](const std::string& command) {
            const auto begin = std::chrono::steady_clock::now();
            const int status = std::system(command.c_str());
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            return status == 0 ? s : -1.0;
        };
        // Level 3 and split in turns, each after a sync so that neither pays for what the other
        // left unwritten; the best of each is kept, as the machine may be shared.
        double best3 = level3Seconds, bestSplit = 0.0;
        // Both write new files into an empty folder, as split does.
        const std::filesystem::path tileFolder = folder / "tiles";
        doc.textureFolder = tileFolder.string();
        for (int round = 0; round < kRounds; ++round) {
            std::filesystem::remove_all(tileFolder);
            std::filesystem::create_directories(tileFolder);
            ::sync();
            const std::size_t before = doc.textureFileNames.size();
            const auto begin = std::chrono::steady_clock::now();
            cutTextureLevel(doc, 3, tileFolder.string(), 1);
            const double cut = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            if (doc.textureFileNames.size() - before != static_cast<std::size_t>(side / 256) * (side / 256))
                std::printf("level 3 wrote only %zu tiles\n", doc.textureFileNames.size() - before);
            best3 = std::min(best3, cut);
            ::sync();
            std::filesystem::remove_all(folder / "split");
            std::filesystem::create_directories(folder / "split");
            const double split =
                timed("cd '" + (folder / "split").string() + "' && split -a 4 -b 65536 '" + raw + "' t");
            bestSplit = round == 0 ? split : std::min(bestSplit, split);
            std::printf("round %d: level 3 %.3f s, split -b 65536 %.3f s\n", round + 1, cut, split);
        }
        std::printf("baseline split -b 65536: %.3f s; level 3 here: %.3f s (%.2f times), best of %d\n", bestSplit,
                    best3, best3 / bestSplit, kRounds);
        // The packaged program itself, ahead of whatever else answers to the name on the PATH.
        std::string convert;
        for (const char* candidate : {"/usr/bin/convert", "convert"})
            if (convert.empty() &&
                std::system((std::string(candidate) + " -version 2>/dev/null | grep -q ImageMagick").c_str()) == 0)
                convert = candidate;
        if (!convert.empty()) {
            const std::string bmpFile = (folder / "photo.bmp").string();
            writeBitmapFile(bitmap, bmpFile);
            std::filesystem::create_directories(folder / "magick");
            const std::string out = (folder / "magick").string();
            const double magick = timed(convert + " '" + bmpFile + "' -write mpr:photo +delete"
                                        " \\( mpr:photo -scale 25% -crop 256x256 +repage -type Palette -write BMP3:'" + out + "/a%04d.bmp' +delete \\)"
                                        " \\( mpr:photo -scale 50% -crop 256x256 +repage -type Palette -write BMP3:'" + out + "/b%04d.bmp' +delete \\)"
                                        " mpr:photo -crop 256x256 +repage -type Palette BMP3:'" + out + "/c%04d.bmp'");
            std::printf("baseline ImageMagick pyramid: %.3f s; all levels here: %.3f s (%.1f times faster)\n", magick,
                        seconds, magick / seconds);
        } else {
            std::printf("baseline ImageMagick pyramid: convert is not installed\n");
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
