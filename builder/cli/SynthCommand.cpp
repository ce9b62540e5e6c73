#include "cli/SynthCommand.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <ostream>

#include "altitude/AltitudeMerge.h"
#include "altitude/AltitudeReaders.h"
#include "app/AppStartup.h"
#include "app/ConfigFile.h"
#include "base/PathUtil.h"
#include "base/TextFormat.h"
#include "cli/AltitudeSource.h"
#include "cli/CliArguments.h"
#include "cli/CliPlatform.h"
#include "cli/ElevationSource.h"
#include "cli/OrvaneCli.h"
#include "output/CompileToBgl.h"
#include "output/Coordinates.h"
#include "output/ScasmWriter.h"
#include "output/SourceCommandFlow.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "synth/SynthRandom.h"
#include "synth/SyntheticScenery.h"
#include "synth/TextureLibrary.h"
#include "wizards/NewProject.h"
#include "wizards/PhotoExtentsModel.h"
#include "wizards/PhotoRealFinish.h"

const char* const kSynthUsage =
    "usage: orvane-cli synth --columns N --rows N (--south LAT | --north LAT) (--west LON | --east LON)\n"
    "                        [--north LAT --east LON ...] [--resolution METRES] [--classes C1,C2,...]\n"
    "                        [--water] [--dted FILE]... [--text FILE]...\n"
    "                        [--dem FILE]... [--dem-spacing M] [--voids fill|skip]\n"
    "                        [--bmp FILE MINLAT MAXLAT MINLON MAXLON MINALT MAXALT]...\n"
    "                        [--seed N] [--library DIR] [--project OUT.prj] [--sca OUT.sca] [--bgl OUT.bgl]\n"
    "\n"
    "Makes a synthetic project as the SynthWizard does: a grid of N x N chunks, each linked to a\n"
    "texture of the synthetic library whose edges fit its neighbours. Give one latitude and one\n"
    "longitude (the corner the grid grows from); the other two follow from the grid at the locked\n"
    "resolution (default 2.0 m/pixel). With all four extents given, they are taken as they are.\n"
    "Altitude sources are read in the order given and merged; --water puts the water texture\n"
    "(000000s1.bmp) on chunks whose nodes all lie at 0 m and re-fits their neighbours. Then writes the\n"
    "source (--sca), compiles it (--bgl, needs scasm.exe in the current folder) and saves the project.\n"
    "\n"
    "  --bgl OUT.bgl     see 'compile --help' for how scasm.exe is found and run\n"
    "  --classes LIST    texture class codes that may appear (default: every enabled class)\n"
    "  --seed N          the random sequence (default: from the clock); the same seed and input give\n"
    "                    the same files\n"
    "  --library DIR     the texture library folder (default: TexRelief.cfg's); its classes are\n"
    "                    rescanned from the file names when TexRelief.cfg lists none\n"
    "  --project FILE    project file (default: synthetic.prj)\n"
    "Prints how many chunks got no fitting texture (NoMatch.bmp).\n";

namespace {

struct SynthUsageError {
    std::string text;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string fixed2(double value) { return TextFormat::cformat("%.2f", value); }

long long parseWhole(const std::string& text, const std::string& what, long long lo, long long hi)
{
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw SynthUsageError{what + " must be a whole number, not '" + text + "'"};
    if (value < lo || value > hi)
        throw SynthUsageError{what + " must be from " + std::to_string(lo) + " to " + std::to_string(hi)};
    return value;
}

double parseMetres(const std::string& text)
{
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(value > 0) || value > 100000)
        throw SynthUsageError{"--resolution must be a number of metres above 0, not '" + text + "'"};
    return value;
}

std::vector<std::int32_t> parseClasses(const std::string& text)
{
    std::vector<std::int32_t> codes;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        codes.push_back(static_cast<std::int32_t>(parseWhole(part, "a class code", 0, 99)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return codes;
}


int run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err, bool terminal)
{
    CliArguments args;
    std::string error;
    const std::vector<CliArguments::Option> options = {
        {"--columns", 1},  {"--rows", 1},     {"--north", 1},       {"--south", 1},      {"--east", 1},
        {"--west", 1},     {"--resolution", 1}, {"--classes", 1},   {"--water", 0},      {"--dted", 1, true},
        {"--text", 1, true}, {"--bmp", 7, true}, {"--dem", 1, true}, {"--dem-spacing", 1}, {"--voids", 1},
        {"--seed", 1},     {"--library", 1},    {"--project", 1},
        {"--sca", 1},      {"--bgl", 1}};
    if (!args.parse(argv, options, error))
        throw SynthUsageError{error};
    if (args.help) {
        out << kSynthUsage;
        return kExitSuccess;
    }
    if (!args.positionals.empty())
        throw SynthUsageError{"unexpected argument " + args.positionals[0]};
    for (const char* name : {"--columns", "--rows"})
        if (!args.has(name))
            throw SynthUsageError{std::string("missing ") + name};
    if (!args.has("--north") && !args.has("--south"))
        throw SynthUsageError{"missing --south or --north"};
    if (!args.has("--east") && !args.has("--west"))
        throw SynthUsageError{"missing --west or --east"};
    const auto columns = static_cast<std::int32_t>(parseWhole(args.value("--columns"), "--columns", 1, kMaxSynthGridSide));
    const auto rows = static_cast<std::int32_t>(parseWhole(args.value("--rows"), "--rows", 1, kMaxSynthGridSide));
    const double resolution = args.has("--resolution") ? parseMetres(args.value("--resolution")) : 2.0;
    const std::optional<ElevationOptions> elevation =
        elevationOptionsFrom(args.value("--dem-spacing", ""), args.value("--voids", ""), error);
    if (!elevation)
        throw SynthUsageError{error};
    std::vector<AltitudeSource> sources;
    for (const auto& o : args.occurrences)
        if (o.name == "--dted" || o.name == "--text" || o.name == "--bmp" || o.name == "--dem") {
            if (o.name == "--bmp") {
                parseWhole(o.values[5], "the minimum altitude", INT32_MIN, INT32_MAX);
                parseWhole(o.values[6], "the maximum altitude", INT32_MIN, INT32_MAX);
            }
            sources.push_back({o.name, o.values, *elevation});
        }
    if ((args.has("--sca") || args.has("--bgl")) && sources.empty())
        throw SynthUsageError{"--sca and --bgl need altitude data (--dted, --text, --bmp or --dem)"};
    if (args.has("--water") && sources.empty())
        throw SynthUsageError{"--water needs altitude data (--dted, --text, --bmp or --dem)"};
    const std::uint32_t seed = args.has("--seed")
        ? static_cast<std::uint32_t>(parseWhole(args.value("--seed"), "--seed", 0, 4294967295LL))
        : static_cast<std::uint32_t>(std::time(nullptr));
    std::vector<std::int32_t> classes;
    if (args.has("--classes"))
        classes = parseClasses(args.value("--classes"));

    CliPlatform platform(err, terminal);
    AppContext app(platform);
    app.settings.applicationPath = PathUtil::currentFolder();
    const std::string config = PathUtil::join(app.settings.applicationPath, AppStartup::kConfigFileName);
    if (readConfigFile(config, app.settings) == ConfigFileState::Corrupt) {
        err << "orvane-cli: error: " << config << " is damaged\n";
        return kExitFailure;
    }
    app.settings.programFolder = runningProgramFolder();
    if (args.has("--library")) {
        app.settings.synthTexturesPath = absolutePath(args.value("--library"));
        if (app.settings.textureClasses.empty() && !rescanTextureClasses(app))
            return kExitFailure;
        loadTextureLibrary(app);
    } else {
        AppStartup(app).loadTexturesIfWanted();
    }
    if (!args.has("--classes"))
        for (const TextureClass& textureClass : app.settings.textureClasses)
            if (textureClass.enabled && textureClass.code >= 0)
                classes.push_back(textureClass.code);
    const std::string project = absolutePath(args.value("--project", "synthetic.prj"));

    out << "orvane-cli synth\n";
    const auto total = std::chrono::steady_clock::now();
    // The wizard's pages, in their order, with the command line's answers.
    NewProjectWizards wizards;
    wizards.synth = [&](CDibDoc& doc) {
        doc.chunkColumns = columns;
        doc.chunkRows = rows;

        // The extents page with both resolutions locked: a typed latitude moves the other one, a
        // typed longitude the other longitude, from the grid's pixel size.
        PhotoExtentsModel extents(columns * 256, rows * 256, app.settings.coordinateFormat);
        extents.horizontal = resolution;
        extents.vertical = resolution;
        extents.horizontalLock = true;
        extents.verticalLock = true;
        extents.maxLatText = args.value("--north");
        extents.minLatText = args.value("--south");
        extents.maxLonText = args.value("--east");
        extents.minLonText = args.value("--west");
        const bool allFour = args.has("--north") && args.has("--south") && args.has("--east") && args.has("--west");
        if (!allFour) {
            extents.corner = args.has("--north") ? (args.has("--east") ? PhotoExtentsModel::NorthEast
                                                                       : PhotoExtentsModel::NorthWest)
                                                 : (args.has("--east") ? PhotoExtentsModel::SouthEast
                                                                       : PhotoExtentsModel::SouthWest);
            if (args.has("--north") && !args.has("--south"))
                extents.maxLatChanged();
            else
                extents.minLatChanged();
            if (args.has("--east") && !args.has("--west"))
                extents.maxLonChanged();
            else
                extents.minLonChanged();
        }
        if (!applyPhotoExtents(doc, extents.north(), extents.south(), extents.east(), extents.west()))
            return false;
        out << "  grid: " << columns << " x " << rows << " chunks\n";
        out << "  extents: " << formatCoordinate(doc.boundary.south, 1) << " to "
            << formatCoordinate(doc.boundary.north, 1) << " N, " << formatCoordinate(doc.boundary.west, 1) << " to "
            << formatCoordinate(doc.boundary.east, 1) << " E, " << fixed2(doc.sceneryWidthKm) << " x "
            << fixed2(doc.sceneryHeightKm) << " km, " << fixed2(doc.metresPerPixel) << " m/pixel\n";

        for (const AltitudeSource& source : sources)
            if (!readAltitudeSource(doc, source, out, err))
                return false;
        if (!sources.empty()) {
            mergeAltitudeMaps(doc);
            doc.setModified();
            out << "  altitude: main map " << doc.mainAltitudeMap.records.size() << " records\n";
        }

        const auto watch = std::chrono::steady_clock::now();
        SynthRandom random(seed);
        if (!generateSyntheticScenery(doc, {classes, args.has("--water")}, random))
            return false;
        std::size_t noMatch = 0;
        for (const TexReliefChunk& chunk : doc.chunks)
            if (chunk.texture == app.noMatchTexture.get())
                ++noMatch;
        out << "  textures: " << app.textureLibrary.size() << " in " << app.settings.synthTexturesPath << "\n";
        out << "  seed: " << seed << "\n";
        out << "  chunks: " << doc.chunks.size() << " (" << fixed2(secondsSince(watch)) << " s)\n";
        out << "  no match: " << noMatch << "\n";
        return true;
    };

    app.settings.newProjectMode = 2;
    auto doc = std::make_unique<CDibDoc>(app);
    const int errorsBefore = platform.stops();
    if (!initializeNewProject(*doc, wizards)) {
        // The reason, when one was printed, is the run's last line.
        if (platform.stops() == errorsBefore)
            err << "orvane-cli: error: the synthetic project could not be made\n";
        return kExitFailure;
    }

    if ((args.has("--sca") || args.has("--bgl")) && !canWriteSource(*doc)) {
        err << "orvane-cli: error: the project has no boundary or no altitude records, so it has no source\n";
        return kExitFailure;
    }
    if (args.has("--sca")) {
        const std::string sca = absolutePath(args.value("--sca"));
        doc->scasmFileTitle = PathUtil::titleOf(sca);
        doc->scasmFolder = PathUtil::folder(sca);
        if (!writeScasmSource(*doc, sca)) {
            err << "orvane-cli: error: cannot write " << sca << "\n";
            return kExitFailure;
        }
        out << "  source: " << sca << "\n";
    }
    if (args.has("--bgl")) {
        const std::string bgl = absolutePath(args.value("--bgl"));
        if (!compileForCli(*doc, bgl, err))
            return kExitFailure;
        out << "  compile: " << bgl << "\n";
    }
    if (!saveProject(*doc, project)) {
        err << "orvane-cli: error: cannot save " << project << "\n";
        return kExitFailure;
    }
    out << "  project: " << project << "\n";
    out << "  total: " << fixed2(secondsSince(total)) << " s\n";
    return kExitSuccess;
}

} // namespace

int runSynthCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool terminal)
{
    try {
        return run(args, out, err, terminal);
    } catch (const SynthUsageError& usage) {
        err << "orvane-cli: " << usage.text << "\n\n" << kSynthUsage;
        return kExitUsage;
    }
}
