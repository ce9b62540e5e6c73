#include "cli/ImportCommand.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <ostream>

#include "base/PathUtil.h"
#include "base/TextFormat.h"
#include "cli/CliArguments.h"
#include "cli/CliPlatform.h"
#include "cli/OrvaneCli.h"
#include "import/FixedPalette.h"
#include "import/RasterImport.h"
#include "output/Coordinates.h"

const char* const kImportUsage =
    "usage: orvane-cli import IMAGE OUT.bmp [--resolution M] [--palette adaptive|default|FILE]\n"
    "                         [--dither] [--pad COLOR] [--resample nearest|bilinear|cubic|lanczos|average]\n"
    "                         [--reserve N] [--passes N] [--north LAT --south LAT --east LON --west LON]\n"
    "\n"
    "Turns any picture GDAL reads (GeoTIFF, JPEG, PNG, JPEG 2000, ...) into a 256-colour project\n"
    "bitmap whose sides are multiples of 1024 pixels, and prints its extents. A georeferenced picture\n"
    "is warped to latitude/longitude on WGS 84 and brings its extents; the extents are the outer\n"
    "edges of the outer pixels. A picture without georeferencing keeps the extents given here.\n"
    "A file that already is a valid project bitmap is copied unchanged.\n"
    "\n"
    "  --resolution M   resample to M metres per pixel, each side rounded to whole 1024s\n"
    "                   (default: each side to its nearest multiple of 1024)\n"
    "  --pad COLOR      keep the pixels and fill the canvas up to whole 1024s east and south with\n"
    "                   COLOR (#RRGGBB or R,G,B); also the colour of corners a warp leaves empty\n"
    "  --palette P      adaptive (default: median cut and k-means), default (colors.pcf, else\n"
    "                   default.bmp, in the current folder), or a JASC or 768-byte palette file\n"
    "  --dither         error diffusion (Floyd-Steinberg)\n"
    "  --resample R     resampling of the warp (default cubic)\n"
    "  --reserve N      keep palette indices 0 to N-1 out of the picture\n"
    "  --passes N       k-means passes of the adaptive palette (default 3)\n";

namespace {

struct ImportUsageError {
    std::string text;
};

std::vector<CliArguments::Option> importOptionList()
{
    return {{"--resolution", 1}, {"--palette", 1}, {"--dither", 0}, {"--pad", 1}, {"--resample", 1},
            {"--reserve", 1},    {"--passes", 1}};
}

double parseNumber(const std::string& text, const std::string& what)
{
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value))
        throw ImportUsageError{what + " must be a number, not '" + text + "'"};
    return value;
}

int parseWhole(const std::string& text, const std::string& what, int low, int high)
{
    const double value = parseNumber(text, what);
    if (value != std::floor(value) || value < low || value > high)
        throw ImportUsageError{what + " must be a whole number from " + std::to_string(low) + " to " +
                               std::to_string(high)};
    return static_cast<int>(value);
}

std::uint32_t parseColor(const std::string& text)
{
    std::string hex = text.size() == 7 && text[0] == '#' ? text.substr(1) : text;
    if (hex.size() == 6 && hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
        const unsigned long rgb = std::stoul(hex, nullptr, 16);
        return static_cast<std::uint32_t>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
    }
    std::uint32_t color = 0;
    std::size_t start = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const std::size_t comma = text.find(',', start);
        if ((channel < 2) != (comma != std::string::npos))
            throw ImportUsageError{"--pad takes #RRGGBB or R,G,B, not '" + text + "'"};
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        color |= static_cast<std::uint32_t>(parseWhole(part, "a colour channel", 0, 255)) << (8 * channel);
        start = comma + 1;
    }
    return color;
}

// Import options from the command line. False, with `error` set, for a palette that cannot be read.
bool optionsFrom(const CliArguments& args, ImportOptions& options, std::string& error)
{
    if (args.has("--resolution")) {
        options.sizing = ImportSizing::Resolution;
        options.metresPerPixel = parseNumber(args.value("--resolution"), "--resolution");
        if (!(options.metresPerPixel > 0))
            throw ImportUsageError{"--resolution must be greater than 0"};
    }
    if (args.has("--pad")) {
        if (args.has("--resolution"))
            throw ImportUsageError{"--pad and --resolution cannot be combined"};
        options.sizing = ImportSizing::Pad;
        options.fillColor = parseColor(args.value("--pad"));
    }
    if (args.has("--resample")) {
        const auto resampling = parseResampling(args.value("--resample"));
        if (!resampling)
            throw ImportUsageError{"unknown resampling " + args.value("--resample")};
        options.resampling = *resampling;
    }
    options.dither = args.has("--dither");
    options.reservedLow = parseWhole(args.value("--reserve", "0"), "--reserve", 0, 255);
    options.refinementPasses = parseWhole(args.value("--passes", "3"), "--passes", 0, 100);
    const std::string palette = args.value("--palette", "adaptive");
    if (palette != "adaptive") {
        std::optional<FixedPalette> fixed = palette == "default"
                                                ? readDefaultPalette(PathUtil::currentFolder(), error)
                                                : readPaletteFile(palette, error);
        if (!fixed)
            return false;
        options.palette = ImportPaletteKind::Fixed;
        options.fixedColors = fixed->colors;
        // Entries past the file's colours repeat its last one: on a tie the lower index wins, so
        // they never appear among the pixels.
        for (int i = fixed->count; i < 256; ++i)
            options.fixedColors[static_cast<std::size_t>(i)] = fixed->colors[static_cast<std::size_t>(fixed->count - 1)];
    }
    const char* sides[4] = {"--north", "--south", "--east", "--west"};
    int given = 0;
    for (const char* side : sides)
        given += args.has(side) ? 1 : 0;
    if (given != 0 && given != 4)
        throw ImportUsageError{"give all four of --north, --south, --east and --west, or none"};
    if (given == 4)
        options.extents = GeoRect{parseCoordinate(args.value("--south")), parseCoordinate(args.value("--north")),
                                  parseCoordinate(args.value("--west")), parseCoordinate(args.value("--east"))};
    return true;
}

std::string degrees(double value) { return TextFormat::cformat("%.9f", value); }

// Runs the import and writes the bitmap; reports on `out`. False with the reason on `err`.
std::optional<ImportResult> importAndWrite(const std::string& image, const std::string& bitmap,
                                           const ImportOptions& options, std::ostream& out, std::ostream& err,
                                           bool terminal)
{
    const auto start = std::chrono::steady_clock::now();
    CliPlatform platform(err, terminal);
    std::unique_ptr<ProgressWindow> progress = platform.createProgress("Importing " + PathUtil::fileName(image));
    std::string error;
    std::optional<ImportResult> result = importRaster(image, options, progress.get(), error);
    progress.reset();
    if (!result) {
        err << "orvane-cli: error: " << error << "\n";
        return std::nullopt;
    }
    if (!writeImportedBitmap(*result, bitmap, error)) {
        err << "orvane-cli: error: " << error << "\n";
        return std::nullopt;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out << "  image: " << image << ": " << result->sourceWidth << " x " << result->sourceHeight << " pixels, "
        << result->sourceBands << (result->sourceBands == 1 ? " band, " : " bands, ")
        << (result->georeferenced ? result->sourceSystem : std::string("no georeferencing")) << "\n";
    out << "  bitmap: " << bitmap << ": " << result->bitmap.width() << " x " << result->bitmap.height() << " pixels"
        << (result->passedThrough ? ", copied unchanged" : "") << " (" << TextFormat::cformat("%.2f", seconds)
        << " s)\n";
    return result;
}

void printExtents(const ImportResult& result, std::ostream& out)
{
    if (!result.extents) {
        out << "  extents: none (the image carries no georeferencing)\n";
        return;
    }
    out << "north " << degrees(result.extents->north) << "\n"
        << "south " << degrees(result.extents->south) << "\n"
        << "west " << degrees(result.extents->west) << "\n"
        << "east " << degrees(result.extents->east) << "\n";
}
} // namespace

int runImportCommand(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err, bool terminal)
{
    try {
        CliArguments args;
        std::string error;
        std::vector<CliArguments::Option> importOptions = importOptionList();
        for (const char* side : {"--north", "--south", "--east", "--west"})
            importOptions.push_back({side, 1});
        if (!args.parse(argv, importOptions, error))
            throw ImportUsageError{error};
        if (args.help) {
            out << kImportUsage;
            return kExitSuccess;
        }
        if (args.positionals.size() != 2)
            throw ImportUsageError{args.positionals.size() < 2 ? "missing arguments"
                                                               : "unexpected argument " + args.positionals[2]};
        ImportOptions options;
        if (!optionsFrom(args, options, error)) {
            err << "orvane-cli: error: " << error << "\n";
            return kExitFailure;
        }
        out << "orvane-cli import\n";
        const auto result =
            importAndWrite(absolutePath(args.positionals[0]), absolutePath(args.positionals[1]), options, out, err,
                           terminal);
        if (!result)
            return kExitFailure;
        printExtents(*result, out);
        return kExitSuccess;
    } catch (const ImportUsageError& usage) {
        err << "orvane-cli: " << usage.text << "\n\n" << kImportUsage;
        return kExitUsage;
    }
}

bool importPhotoImage(std::vector<std::string>& argv, std::ostream& out, std::ostream& err, bool terminal,
                      int& exitCode)
{
    // The import's own options are taken out; everything else is left for the photo command.
    std::vector<std::string> rest, mine;
    const std::vector<CliArguments::Option> importOptions = [] {
        auto s = importOptionList();
        s.push_back({"--image", 1});
        return s;
    }();
    std::string image, bitmap;
    bool sides[4] = {false, false, false, false};
    const char* sideNames[4] = {"--north", "--south", "--east", "--west"};
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const auto option = std::find_if(importOptions.begin(), importOptions.end(), [&](const auto& s) { return s.name == argv[i]; });
        if (option == importOptions.end()) {
            for (int k = 0; k < 4; ++k)
                sides[k] = sides[k] || argv[i] == sideNames[k];
            if (argv[i] == "--bitmap" && i + 1 < argv.size())
                bitmap = argv[i + 1];
            rest.push_back(argv[i]);
            continue;
        }
        mine.push_back(argv[i]);
        for (int k = 0; k < option->values && i + 1 < argv.size(); ++k)
            mine.push_back(argv[++i]);
    }
    if (std::find(mine.begin(), mine.end(), "--image") == mine.end())
        return false;
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end() ||
        std::find(rest.begin(), rest.end(), "-h") != rest.end())
        return false;   // the photo command's help

    try {
        CliArguments args;
        std::string error;
        if (!args.parse(mine, importOptions, error))
            throw ImportUsageError{error};
        if (!args.positionals.empty())
            throw ImportUsageError{"unexpected argument " + args.positionals[0]};
        ImportOptions options;
        if (!optionsFrom(args, options, error)) {
            err << "orvane-cli: error: " << error << "\n";
            exitCode = kExitFailure;
            argv.clear();
            return true;
        }
        image = absolutePath(args.value("--image"));
        const bool givenBitmap = !bitmap.empty();
        bitmap = givenBitmap ? absolutePath(bitmap) : importedBitmapPath(image);
        // Without georeferencing the extents must be given; that is known before anything is written.
        const bool allSides = sides[0] && sides[1] && sides[2] && sides[3];
        const std::optional<RasterInfo> info = probeRaster(image, error);
        if (info && !info->georeferenced && !allSides && !isProjectBitmapFile(image)) {
            err << "orvane-cli: error: " << PathUtil::fileName(image)
                << " carries no georeferencing: give --north, --south, --east and --west\n";
            exitCode = kExitUsage;
            argv.clear();
            return true;
        }
        out << "orvane-cli photo --image\n";
        const auto result = importAndWrite(image, bitmap, options, out, err, terminal);
        if (!result) {
            exitCode = kExitFailure;
            argv.clear();
            return true;
        }
        if (result->extents)
            printExtents(*result, out);
        if (!allSides && !result->extents) {
            err << "orvane-cli: error: " << PathUtil::fileName(image)
                << " carries no georeferencing: give --north, --south, --east and --west\n";
            exitCode = kExitUsage;
            argv.clear();
            return true;
        }
        if (!givenBitmap)
            rest.insert(rest.end(), {"--bitmap", bitmap});
        else
            for (std::size_t i = 0; i + 1 < rest.size(); ++i)
                if (rest[i] == "--bitmap")
                    rest[i + 1] = bitmap;
        if (result->extents) {
            const double values[4] = {result->extents->north, result->extents->south, result->extents->east,
                                      result->extents->west};
            // Six decimals, as the wizard's page shows and applies them, so both make the same project.
            for (int k = 0; k < 4; ++k)
                if (!sides[k])
                    rest.insert(rest.end(), {sideNames[k], TextFormat::cformat("%5.6f", values[k])});
        }
        argv = rest;
        return true;
    } catch (const ImportUsageError& usage) {
        err << "orvane-cli: " << usage.text << "\n\n" << cliUsage("photo");
        exitCode = kExitUsage;
        argv.clear();
        return true;
    }
}
