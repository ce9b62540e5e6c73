#include "cli/OrvaneCli.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <filesystem>
#include <memory>
#include <ostream>

#include "altitude/AltitudeMerge.h"
#include "altitude/AltitudeReaders.h"
#include "project/AppContext.h"
#include "app/AppStartup.h"
#include "app/ConfigFile.h"
#include "base/PathUtil.h"
#include "base/ProgramFiles.h"
#include "base/TextFormat.h"
#include "cli/AltitudeSource.h"
#include "cli/CliArguments.h"
#include "cli/CliPlatform.h"
#include "cli/DemoData.h"
#include "cli/DemoPhoto.h"
#include "cli/ElevationSource.h"
#include "cli/ImportCommand.h"
#include "cli/ProjectEditCommands.h"
#include "cli/DemoPhoto.h"
#include "cli/ImportCommand.h"
#include "cli/ProjectJson.h"
#include "cli/StarterLibrary.h"
#include "cli/SynthCommand.h"
#include "imagery/ProjectBitmap.h"
#include "imagery/TextureCutter.h"
#include "output/CompileToBgl.h"
#include "output/Coordinates.h"
#include "output/ScasmWriter.h"
#include "output/SourceCommandFlow.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "project/SceneryDimensions.h"
#include "wizards/NewProject.h"
#include "wizards/PhotoExtentsModel.h"
#include "wizards/PhotoRealFinish.h"

namespace {

const char* const kProgramUsage =
    "usage: orvane-cli <command> [options]\n"
    "\n"
    "Builds photographic scenery without windows. Reads TexRelief.cfg, colors.pcf, default.bmp and\n"
    "scasm.exe from the current folder, like the builder.\n"
    "\n"
    "commands:\n"
    "  photo      make a project from a bitmap, as the PhotoReal wizard does\n"
    "  sca        write the SCASM source of a saved project\n"
    "  compile    compile a saved project into a BGL with scasm.exe\n"
    "  cut        cut texture tiles of a saved project\n"
    "  info       print a saved project as JSON\n"
    "  set        change chunk properties and source options of a saved project\n"
    "  add-position  add an FS menu position item to a saved project\n"
    "  add-macro  add an FS macro item to a saved project\n"
    "  synth      make a synthetic project from the texture library, as the SynthWizard does\n"
    "  demo-data  write a sample landscape bitmap and its DTED heights, or a starter texture library\n"
    "  import     turn any (georeferenced) picture into a project bitmap\n"
    "\n"
    "'orvane-cli <command> --help' describes a command.\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

const char* const kPhotoUsage =
    "usage: orvane-cli photo --bitmap FILE --north LAT --south LAT --east LON --west LON --prefix TEXT\n"
    "                        [--corner 0..3] [--horizontal M] [--vertical M]\n"
    "                        [--folder DIR] [--dted FILE]... [--text FILE]...\n"
    "                        [--dem FILE]... [--dem-spacing M] [--voids fill|skip]\n"
    "                        [--bmp FILE MINLAT MAXLAT MINLON MAXLON MINALT MAXALT]...\n"
    "                        [--levels 3|1,2,3|all] [--platform N] [--project OUT.prj]\n"
    "                        [--sca OUT.sca] [--bgl OUT.bgl]\n"
    "\n"
    "Makes a photographic project as the PhotoReal wizard does: loads the 256-colour bitmap (width\n"
    "and height multiples of 1024), sets its extents (decimal degrees or d:m:s, S and W negative),\n"
    "reads the altitude sources in the order given and merges them, creates DIR/texture and\n"
    "DIR/scenery, cuts the level 3 tiles and lays out one chunk per 256 x 256 pixels. --levels also\n"
    "cuts levels 1 and 2. Then writes the source (--sca), compiles it (--bgl, needs scasm.exe in\n"
    "the current folder; the .sca is placed beside the .bgl) and saves the project.\n"
    "\n"
    "  --bgl OUT.bgl     see 'compile --help' for how scasm.exe is found and run\n"
    "  --corner N        reference corner of the extents page: 0 north-west, 1 south-west (default),\n"
    "                    2 north-east, 3 south-east\n"
    "  --horizontal M    metres per pixel east-west, locked as with the page's Lock: the longitude\n"
    "                    away from the corner follows from it (whole chunks of 256 pixels), so that\n"
    "                    one of --east / --west may be left out\n"
    "  --vertical M      metres per pixel north-south, locked likewise: the latitude away from the\n"
    "                    corner follows, so one of --north / --south may be left out\n"
    "  --folder DIR      scenery folder, made when missing (default: the bitmap's folder)\n"
    "  --platform N      0 writes .r8 tiles, other values .bmp tiles (default: TexRelief.cfg)\n"
    "  --project FILE    project file (default: DIR/PREFIX.prj)\n"
    "  --image FILE      any picture instead of --bitmap: imported first (see 'import --help' for\n"
    "                    its options) into a bitmap beside it; a georeferenced one brings its extents\n"
    "  --dem FILE        an elevation file GDAL reads (SRTM .hgt, GeoTIFF, DTED 1/2), clipped to the\n"
    "                    extents plus one post; --dem-spacing thins its posts to M metres (corners\n"
    "                    kept); --voids fill (default) or skip its no-data posts\n";

const char* const kScaUsage =
    "usage: orvane-cli sca PROJECT.prj OUT.sca [--save OUT.prj]\n"
    "\n"
    "Writes the SCASM source of the project, as Write Source Code > SCASM does. --save then saves\n"
    "the project as the builder would after writing (source name, flat chunks included).\n";

const char* const kCompileUsage =
    "usage: orvane-cli compile PROJECT.prj OUT.bgl [--save OUT.prj]\n"
    "\n"
    "Compiles the project as Compile to BGL does: writes the source into the current folder, runs\n"
    "scasm.exe there through sca.bat and moves the .sca and .bgl beside OUT.bgl. --save then saves\n"
    "the project as the builder would after compiling.\n"
    "\n";

} // namespace

const char* const kScasmRunHelp =
    "scasm.exe is looked for in the folder orvane-cli is started from (the current folder), in any\n"
    "letter case. A Windows program runs through wine, installed as root with: apt-get install wine.\n"
    "A 32-bit one also needs wine's 32-bit part (dpkg --add-architecture i386 && apt-get update &&\n"
    "apt-get install wine32:i386). Its input is closed, so a SCASM that waits for a key goes on. When\n"
    "no new BGL comes of the run, the error names SCASM's exit code, the SCAERROR.LOG it left and\n"
    "wine's own lines.\n";

namespace {

const char* const kCutUsage =
    "usage: orvane-cli cut PROJECT.prj --level 1|2|3|all [--folder DIR] [--prefix TEXT] [--platform N]\n"
    "\n"
    "Cuts texture tiles of the project's bitmap into DIR/texture (created when missing): level 3 at\n"
    "full resolution, level 2 at half, level 1 at quarter. DIR defaults to the project's scenery\n"
    "folder and TEXT to its texture prefix. The project file is not changed.\n";

const char* const kInfoUsage =
    "usage: orvane-cli info PROJECT.prj [--records]\n"
    "\n"
    "Prints the project's fields, lists and chunk count as JSON. --records adds every altitude\n"
    "map's records and the main map's records, one [latitude, longitude, altitude] a line.\n";

const char* const kDemoUsage =
    "usage: orvane-cli demo-data --out DIR [--size PIXELS] [--points N] [--name NAME] [--colors FILE]\n"
    "                            [--photo FILE.tif]\n"
    "\n"
    "Writes DIR/NAME.bmp, a 256-colour picture of an invented landscape of PIXELS x PIXELS\n"
    "(a multiple of 1024, default 2048), DIR/NAME.dt0, a DTED file of its heights with N x N\n"
    "points (default 121), and DIR/NAME.txt, the same heights as text. Prints the extents.\n"
    "--colors also writes the picture's colours as a default palette file (colors.pcf layout).\n"
    "--photo also writes the landscape as a true-colour GeoTIFF in UTM zone 33N, PIXELS high.\n"
    "\n"
    "usage: orvane-cli demo-data --library DIR\n"
    "\n"
    "Writes a starter synthetic texture library into DIR: water, grass, forest, farmland and town\n"
    "with every edge combination, summer and winter sets, NoMatch.bmp, and DIR/TexRelief.cfg that\n"
    "points the builder at it (the builder or orvane-cli started in DIR uses it at once).\n";

struct UsageError {
    std::string text;
};

class Stopwatch {
public:
    double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    void restart() { start_ = std::chrono::steady_clock::now(); }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// One run of the program: its platform, application state and settings.
class Session {
public:
    Session(std::ostream& err, bool terminal) : platform(err, terminal), app(platform), err_(err) {}

    /// Reads TexRelief.cfg from the current folder as the builder does at start-up. A missing file
    /// leaves the defaults (nothing is written back by this program); a damaged one stops the run.
    bool start()
    {
        app.settings.applicationPath = PathUtil::currentFolder();
        const std::string config = PathUtil::join(app.settings.applicationPath, AppStartup::kConfigFileName);
        if (readConfigFile(config, app.settings) == ConfigFileState::Corrupt) {
            err_ << "orvane-cli: error: " << config << " is damaged\n";
            return false;
        }
        app.settings.programFolder = runningProgramFolder();
        AppStartup(app).loadTexturesIfWanted();
        return true;
    }

    CliPlatform platform;
    AppContext app;

private:
    std::ostream& err_;
};

int parseInt(const std::string& text, const std::string& what)
{
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw UsageError{what + " must be a whole number, not '" + text + "'"};
    return value;
}

void applyPlatformOption(const CliArguments& args, AppContext& app)
{
    if (args.has("--platform"))
        app.settings.platform = parseInt(args.value("--platform"), "--platform");
}

std::vector<int> parseLevels(const std::string& text)
{
    if (text == "all")
        return {1, 2, 3};
    std::vector<int> levels;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const int level = parseInt(part, "a level");
        if (level < 1 || level > 3)
            throw UsageError{"levels are 1, 2 and 3, not " + part};
        levels.push_back(level);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return levels;
}

int stepOfLevel(int level) { return level == 1 ? 4 : level == 2 ? 2 : 1; }

void requireOptions(const CliArguments& args, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (!args.has(name))
            throw UsageError{std::string("missing ") + name};
}

void requirePositionals(const CliArguments& args, std::size_t count)
{
    if (args.positionals.size() < count)
        throw UsageError{"missing arguments"};
    if (args.positionals.size() > count)
        throw UsageError{"unexpected argument " + args.positionals[count]};
}

// The menu offers the source commands only for a project with a boundary and altitude records.
bool sourceAvailable(const CDibDoc& doc, std::ostream& err)
{
    if (canWriteSource(doc))
        return true;
    err << "orvane-cli: error: the project has no boundary or no altitude records, so it has no source\n";
    return false;
}

// Write Source Code > SCASM after its file dialog: the chosen name is remembered in the project.
bool writeSource(CDibDoc& doc, const std::string& path)
{
    doc.scasmFileTitle = PathUtil::titleOf(path);
    doc.scasmFolder = PathUtil::folder(path);
    return writeScasmSource(doc, path);
}

std::unique_ptr<CDibDoc> openSavedProject(Session& session, const std::string& path, std::ostream& err)
{
    auto doc = std::make_unique<CDibDoc>(session.app);
    if (!openProject(*doc, path)) {
        err << "orvane-cli: error: cannot open project " << path << "\n";
        return nullptr;
    }
    doc->filePath = path;
    return doc;
}

std::string fixed2(double value) { return TextFormat::cformat("%.2f", value); }

// --- photo -------------------------------------------------------------------------------------

double parseMetres(const std::string& text, const std::string& what)
{
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(value > 0) || !std::isfinite(value))
        throw UsageError{what + " must be a positive number of metres, not '" + text + "'"};
    return value;
}

// The extents page's inputs: the four coordinates, the reference corner and the locked resolutions.
struct ExtentsInput {
    std::string north, south, east, west;
    int corner = PhotoExtentsModel::SouthWest;
    std::optional<double> horizontal, vertical;
};

struct Extents {
    double north, south, east, west;
};

ExtentsInput parseExtentsInput(const CliArguments& args)
{
    ExtentsInput in;
    if (args.has("--corner")) {
        in.corner = parseInt(args.value("--corner"), "--corner");
        if (in.corner < 0 || in.corner > 3)
            throw UsageError{"--corner is 0, 1, 2 or 3"};
    }
    if (args.has("--horizontal"))
        in.horizontal = parseMetres(args.value("--horizontal"), "--horizontal");
    if (args.has("--vertical"))
        in.vertical = parseMetres(args.value("--vertical"), "--vertical");
    const bool northKept = in.corner == PhotoExtentsModel::NorthWest || in.corner == PhotoExtentsModel::NorthEast;
    const bool westKept = in.corner == PhotoExtentsModel::NorthWest || in.corner == PhotoExtentsModel::SouthWest;
    // A locked resolution computes the side away from the corner; every other side is needed.
    const auto need = [&](const char* name, bool computed, std::string& into) {
        if (!computed && !args.has(name))
            throw UsageError{std::string("missing ") + name};
        into = args.value(name, "");
    };
    need("--north", in.vertical && !northKept, in.north);
    need("--south", in.vertical && northKept, in.south);
    need("--east", in.horizontal && westKept, in.east);
    need("--west", in.horizontal && !westKept, in.west);
    return in;
}

// The page's arithmetic with the command line's answers: the texts as typed, then each locked
// resolution entered (latitudes first, as the longitude step depends on the mean latitude).
Extents photoExtents(const ExtentsInput& in, const CDibDoc& doc, int coordinateFormat)
{
    PhotoExtentsModel page(doc.bitmapWidth, doc.bitmapHeight, coordinateFormat);
    page.corner = in.corner;
    page.maxLatText = in.north;
    page.minLatText = in.south;
    page.maxLonText = in.east;
    page.minLonText = in.west;
    // A side the resolution will compute starts one degree away from its partner, so the page
    // sees a range to recompute (the computed value does not depend on it).
    const auto placeholder = [&](std::string& text, const std::string& partner, double offset) {
        if (text.empty())
            text = formatCoordinate(parseCoordinate(partner) + offset, 0);
    };
    placeholder(page.maxLatText, in.south, 1.0);
    placeholder(page.minLatText, in.north, -1.0);
    placeholder(page.maxLonText, in.west, 1.0);
    placeholder(page.minLonText, in.east, -1.0);
    if (in.vertical) {
        page.vertical = *in.vertical;
        page.verticalLock = true;
        page.verticalChanged();
    }
    if (in.horizontal) {
        page.horizontal = *in.horizontal;
        page.horizontalLock = true;
        page.horizontalChanged();
    }
    return {page.north(), page.south(), page.east(), page.west()};
}

int runPhoto(std::vector<std::string> argv, std::ostream& out, std::ostream& err, bool terminal)
{
    if (int failed = 0; importPhotoImage(argv, out, err, terminal, failed) && argv.empty())
        return failed;
    CliArguments args;
    std::string error;
    const std::vector<CliArguments::Option> options = {
        {"--bitmap", 1},  {"--north", 1}, {"--south", 1},       {"--east", 1},       {"--west", 1},
        {"--prefix", 1},  {"--folder", 1}, {"--dted", 1, true}, {"--text", 1, true}, {"--bmp", 7, true},
        {"--dem", 1, true}, {"--dem-spacing", 1}, {"--voids", 1},
        {"--levels", 1},  {"--platform", 1}, {"--project", 1},  {"--sca", 1},        {"--bgl", 1},
        {"--corner", 1},  {"--horizontal", 1}, {"--vertical", 1}};
    if (!args.parse(argv, options, error))
        throw UsageError{error};
    if (args.help) {
        out << kPhotoUsage;
        return kExitSuccess;
    }
    requirePositionals(args, 0);
    requireOptions(args, {"--bitmap", "--prefix"});
    const ExtentsInput extentsInput = parseExtentsInput(args);
    const std::optional<ElevationOptions> elevation =
        elevationOptionsFrom(args.value("--dem-spacing", ""), args.value("--voids", ""), error);
    if (!elevation)
        throw UsageError{error};
    std::vector<AltitudeSource> sources;
    for (const auto& o : args.occurrences)
        if (o.name == "--dted" || o.name == "--text" || o.name == "--bmp" || o.name == "--dem") {
            if (o.name == "--bmp") {
                parseInt(o.values[5], "the minimum altitude");
                parseInt(o.values[6], "the maximum altitude");
            }
            sources.push_back({o.name, o.values, *elevation});
        }
    const std::vector<int> levels = parseLevels(args.value("--levels", "3"));
    if ((args.has("--sca") || args.has("--bgl")) && sources.empty())
        throw UsageError{"--sca and --bgl need altitude data (--dted, --text, --bmp or --dem)"};

    Session session(err, terminal);
    if (!session.start())
        return kExitFailure;
    applyPlatformOption(args, session.app);
    // .r8 tiles borrow default.bmp's header: without it every tile would be cut in vain.
    if (session.app.settings.platform == 0 && findProgramFile(session.app.settings, "default.bmp").empty()) {
        err << "orvane-cli: error: platform 0 writes .r8 tiles, which need default.bmp in "
            << programFileFolders(session.app.settings) << "; it is missing, so nothing was cut\n";
        return kExitFailure;
    }

    const std::string bitmap = absolutePath(args.value("--bitmap"));
    const std::string folder = absolutePath(args.value("--folder", PathUtil::folder(bitmap)));
    const std::string prefix = args.value("--prefix");
    const std::string project =
        absolutePath(args.value("--project", PathUtil::join(folder, prefix + ".prj")));

    // The wizard expects an existing folder; here the folder named on the command line is made.
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (!PathUtil::folderExists(folder)) {
        err << "orvane-cli: error: cannot make the scenery folder " << folder << "\n";
        return kExitFailure;
    }

    out << "orvane-cli photo\n";
    Stopwatch total;
    // The wizard's pages, in their order, with the command line's answers.
    NewProjectWizards wizards;
    bool pagesDone = false;
    bool reported = false;   // the reason is printed already: no second line
    wizards.photoReal = [&](CDibDoc& doc) {
        // A page that warns refuses its input; here that ends the run.
        struct Refusals {
            CliPlatform& platform;
            explicit Refusals(CliPlatform& p) : platform(p) { platform.setRefusalsAreErrors(true); }
            ~Refusals() { platform.setRefusalsAreErrors(false); }
        } refusals(session.platform);
        Stopwatch watch;
        doc.bitmapPath = bitmap;
        doc.sceneryFolder = PathUtil::folder(bitmap);
        if (!loadProjectBitmap(doc, bitmap))
            return false;
        out << "  bitmap: " << bitmap << ": " << doc.bitmapWidth << " x " << doc.bitmapHeight << " pixels, "
            << doc.chunkColumns << " x " << doc.chunkRows << " chunks (" << fixed2(watch.seconds()) << " s)\n";

        const Extents extents = photoExtents(extentsInput, doc, session.app.settings.coordinateFormat);
        if (!applyPhotoExtents(doc, extents.north, extents.south, extents.east, extents.west))
            return false;
        out << "  extents: " << fixed2(doc.sceneryWidthKm) << " x " << fixed2(doc.sceneryHeightKm) << " km, "
            << fixed2(doc.metresPerPixel) << " m/pixel\n";

        watch.restart();
        for (const AltitudeSource& source : sources)
            if (!readAltitudeSource(doc, source, out, err)) {
                reported = true;
                return false;
            }
        if (!sources.empty()) {
            mergeAltitudeMaps(doc);
            doc.setModified();
            out << "  altitude: main map " << doc.mainAltitudeMap.records.size() << " records ("
                << fixed2(watch.seconds()) << " s)\n";
        }

        if (!applyPhotoFolder(doc, folder, prefix))
            return false;
        pagesDone = true;

        watch.restart();
        // The tiles' images would only be drawn: a run without windows leaves them on the disk.
        if (!finishPhotoRealWizard(doc, folder, TileImages::Skip))
            return false;
        out << "  level 3: " << doc.projectTextures.size() << " tiles in " << doc.textureFolder << " ("
            << fixed2(watch.seconds()) << " s)\n";
        return true;
    };

    session.app.settings.newProjectMode = 1;
    auto doc = std::make_unique<CDibDoc>(session.app);
    const int errorsBefore = session.platform.stops();
    if (!initializeNewProject(*doc, wizards)) {
        if (!reported && session.platform.stops() == errorsBefore)
            err << "orvane-cli: error: "
                << (pagesDone ? "the project could not be made" : "the wizard's input was refused") << "\n";
        return kExitFailure;
    }

    for (int level : levels) {
        if (level == 3)
            continue;   // cut by Finish
        Stopwatch watch;
        const std::size_t before = doc->textureFileNames.size();
        cutTextureLevel(*doc, level, folder, stepOfLevel(level));
        const std::size_t made = doc->textureFileNames.size() - before;
        out << "  level " << level << ": " << made << " tiles (" << fixed2(watch.seconds()) << " s)\n";
        const std::size_t expected =
            static_cast<std::size_t>(doc->chunkRows / 4) * (doc->chunkColumns / 4) * (level == 1 ? 1 : 4);
        if (made != expected) {
            err << "orvane-cli: error: only " << made << " of " << expected << " level " << level
                << " tiles could be written; the " << made << " written are left in " << doc->textureFolder << "\n";
            return kExitFailure;
        }
    }
    doc->textureFileNames.clear();

    if ((args.has("--sca") || args.has("--bgl")) && !sourceAvailable(*doc, err))
        return kExitFailure;
    if (args.has("--sca")) {
        Stopwatch watch;
        const std::string sca = absolutePath(args.value("--sca"));
        if (!writeSource(*doc, sca)) {
            err << "orvane-cli: error: cannot write " << sca << "\n";
            return kExitFailure;
        }
        out << "  source: " << sca << " (" << fixed2(watch.seconds()) << " s)\n";
    }
    if (args.has("--bgl")) {
        Stopwatch watch;
        const std::string bgl = absolutePath(args.value("--bgl"));
        if (!compileForCli(*doc, bgl, err))
            return kExitFailure;
        out << "  compile: " << bgl << " (" << fixed2(watch.seconds()) << " s)\n";
    }

    Stopwatch watch;
    if (!saveProject(*doc, project)) {
        err << "orvane-cli: error: cannot save " << project << "\n";
        return kExitFailure;
    }
    out << "  project: " << project << " (" << fixed2(watch.seconds()) << " s)\n";
    out << "  total: " << fixed2(total.seconds()) << " s\n";
    return kExitSuccess;
}

// --- sca, compile, info, cut ---------------------------------------------------------------------

// --save: the project as it stands after writing, as the builder's Save would write it.
int saveAfterWriting(CDibDoc& doc, const CliArguments& args, std::ostream& out, std::ostream& err)
{
    if (!args.has("--save"))
        return kExitSuccess;
    const std::string path = absolutePath(args.value("--save"));
    if (!saveProject(doc, path)) {
        err << "orvane-cli: error: cannot save " << path << "\n";
        return kExitFailure;
    }
    out << path << "\n";
    return kExitSuccess;
}

int runProjectCommand(const std::string& command, const std::vector<std::string>& argv, std::ostream& out,
                      std::ostream& err, bool terminal)
{
    CliArguments args;
    std::string error;
    std::vector<CliArguments::Option> options;
    if (command == "cut")
        options = {{"--level", 1}, {"--folder", 1}, {"--prefix", 1}, {"--platform", 1}};
    else if (command == "sca" || command == "compile")
        options = {{"--save", 1}};
    else if (command == "info")
        options = {{"--records", 0}};
    if (!args.parse(argv, options, error))
        throw UsageError{error};
    const char* usage = command == "sca" ? kScaUsage : command == "compile" ? kCompileUsage
                      : command == "cut" ? kCutUsage : kInfoUsage;
    if (args.help) {
        out << usage << (command == "compile" ? kScasmRunHelp : "");
        return kExitSuccess;
    }
    requirePositionals(args, command == "sca" || command == "compile" ? 2 : 1);
    std::vector<int> levels;
    if (command == "cut") {
        requireOptions(args, {"--level"});
        levels = parseLevels(args.value("--level"));
    }

    Session session(err, terminal);
    if (!session.start())
        return kExitFailure;
    applyPlatformOption(args, session.app);
    const std::string project = absolutePath(args.positionals[0]);
    std::unique_ptr<CDibDoc> doc = openSavedProject(session, project, err);
    if (!doc)
        return kExitFailure;

    if (command == "info") {
        computeSceneryDimensions(*doc);   // derived values are not saved
        out << projectJson(*doc, args.has("--records"));
        return kExitSuccess;
    }
    if ((command == "sca" || command == "compile") && !sourceAvailable(*doc, err))
        return kExitFailure;
    if (command == "sca") {
        const std::string sca = absolutePath(args.positionals[1]);
        if (!writeSource(*doc, sca)) {
            err << "orvane-cli: error: cannot write " << sca << "\n";
            return kExitFailure;
        }
        out << sca << "\n";
        return saveAfterWriting(*doc, args, out, err);
    }
    if (command == "compile") {
        const std::string bgl = absolutePath(args.positionals[1]);
        if (!compileForCli(*doc, bgl, err))
            return kExitFailure;
        out << bgl << "\n";
        return saveAfterWriting(*doc, args, out, err);
    }

    // cut
    if (!doc->projectBitmap) {
        err << "orvane-cli: error: the project's bitmap is not loaded\n";
        return kExitFailure;
    }
    const std::string folder = absolutePath(args.value("--folder", doc->sceneryFolder));
    if (folder.empty())
        throw UsageError{"the project has no scenery folder; give --folder"};
    doc->texturePrefix = args.value("--prefix", doc->texturePrefix);
    doc->textureFolder = PathUtil::join(folder, "texture");
    std::error_code ignored;
    std::filesystem::create_directories(doc->textureFolder, ignored);
    for (int level : levels) {
        Stopwatch watch;
        const std::size_t before = doc->textureFileNames.size();
        cutTextureLevel(*doc, level, folder, stepOfLevel(level));
        const std::size_t made = doc->textureFileNames.size() - before;
        const std::size_t expected =
            static_cast<std::size_t>(doc->chunkRows / 4) * (doc->chunkColumns / 4) * (level == 1 ? 1 : level == 2 ? 4 : 16);
        out << "level " << level << ": " << made << " tiles in " << doc->textureFolder << " (" << fixed2(watch.seconds())
            << " s)\n";
        if (made != expected) {
            err << "orvane-cli: error: only " << made << " of " << expected << " level " << level
                << " tiles could be written; the " << made << " written are left in " << doc->textureFolder << "\n";
            return kExitFailure;
        }
    }
    return kExitSuccess;
}

// --- subcommands added from outside ------------------------------------------------------------

std::vector<CliProjectCommand>& projectCommands()
{
    static std::vector<CliProjectCommand> commands;
    return commands;
}

const CliProjectCommand* findProjectCommand(const std::string& name)
{
    for (const CliProjectCommand& command : projectCommands())
        if (command.name == name)
            return &command;
    return nullptr;
}

int runAddedCommand(const CliProjectCommand& command, const std::vector<std::string>& argv, std::ostream& out,
                    std::ostream& err, bool terminal)
{
    CliArguments args;
    std::string error;
    if (!args.parse(argv, command.options, error))
        throw UsageError{error};
    if (args.help) {
        out << command.usage;
        return kExitSuccess;
    }
    requirePositionals(args, command.positionals);
    if (command.check) {
        const std::string problem = command.check(args);
        if (!problem.empty())
            throw UsageError{problem};
    }
    Session session(err, terminal);
    if (!session.start())
        return kExitFailure;
    std::unique_ptr<CDibDoc> doc = openSavedProject(session, absolutePath(args.positionals[0]), err);
    if (!doc)
        return kExitFailure;
    computeSceneryDimensions(*doc);   // derived values are not saved
    return command.run(*doc, args, out, err);
}

// --- demo-data -----------------------------------------------------------------------------------

int writeStarterLibrary(const CliArguments& args, std::ostream& out, std::ostream& err)
{
    requirePositionals(args, 0);
    if (args.occurrences.size() != 1)
        throw UsageError{"--library takes no other option"};
    const std::string folder = absolutePath(args.value("--library"));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    int written = 0;
    std::string error;
    if (!PathUtil::folderExists(folder) || !StarterLibrary::write(folder, written, error)) {
        err << "orvane-cli: error: " << (error.empty() ? "cannot make the folder " + folder : error) << "\n";
        return kExitFailure;
    }
    out << "library " << folder << "\n"
        << "textures " << written << "\n"
        << "config " << PathUtil::join(folder, AppStartup::kConfigFileName) << "\n";
    return kExitSuccess;
}

int runDemoData(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err)
{
    CliArguments args;
    std::string error;
    if (!args.parse(argv, {{"--out", 1}, {"--size", 1}, {"--points", 1}, {"--name", 1}, {"--colors", 1}, {"--library", 1},
                           {"--photo", 1}},
                    error))
        throw UsageError{error};
    if (args.help) {
        out << kDemoUsage;
        return kExitSuccess;
    }
    if (args.has("--library"))
        return writeStarterLibrary(args, out, err);
    requirePositionals(args, 0);
    requireOptions(args, {"--out"});
    const int size = parseInt(args.value("--size", "2048"), "--size");
    const int points = parseInt(args.value("--points", "121"), "--points");
    if (size < 1024 || size > 16384 || size % 1024 != 0)
        throw UsageError{"--size must be a multiple of 1024 from 1024 to 16384"};
    if (points < 2 || points > 3601)
        throw UsageError{"--points must be from 2 to 3601"};
    const std::string name = args.value("--name", "landscape");
    const std::string folder = absolutePath(args.value("--out"));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!PathUtil::folderExists(folder)) {
        err << "orvane-cli: error: cannot make the folder " << folder << "\n";
        return kExitFailure;
    }

    const DemoData::Extents extents;
    const std::string bmp = PathUtil::join(folder, name + ".bmp");
    const std::string dted = PathUtil::join(folder, name + ".dt0");
    const std::string text = PathUtil::join(folder, name + ".txt");
    Stopwatch watch;
    if (!DemoData::writeBitmap(bmp, size, size) || !DemoData::writeDted(dted, extents, points) ||
        !DemoData::writeTextAltitudes(text, extents, points)) {
        err << "orvane-cli: error: cannot write the sample files into " << folder << "\n";
        return kExitFailure;
    }
    if (args.has("--colors") && !DemoData::writeColorFile(absolutePath(args.value("--colors")))) {
        err << "orvane-cli: error: cannot write " << args.value("--colors") << "\n";
        return kExitFailure;
    }
    if (args.has("--photo")) {
        const std::string photo = absolutePath(args.value("--photo"));
        if (!DemoPhoto::writeGeoTiff(photo, extents, size, error)) {
            err << "orvane-cli: error: cannot write " << photo << ": " << error << "\n";
            return kExitFailure;
        }
        out << "photo " << photo << "\n";
    }
    out << "bitmap " << bmp << "\n"
        << "dted " << dted << "\n"
        << "text " << text << "\n"
        << "south " << formatCoordinate(extents.south(), 1) << "\n"
        << "north " << formatCoordinate(extents.north(), 1) << "\n"
        << "west " << formatCoordinate(extents.west(), 1) << "\n"
        << "east " << formatCoordinate(extents.east(), 1) << "\n"
        << "seconds " << fixed2(watch.seconds()) << "\n";
    return kExitSuccess;
}

} // namespace

bool compileForCli(CDibDoc& doc, const std::string& bgl, std::ostream& err)
{
    const CompileResult result = compileToBgl(doc, bgl, false);
    if (result.made && PathUtil::fileExists(bgl))
        return true;
    err << "orvane-cli: error: compiling " << bgl << " failed";
    if (!result.failure.empty())
        err << ": " << CliPlatform::indented(result.failure);
    err << "\n";
    return false;
}

void addCliProjectCommand(CliProjectCommand command)
{
    projectCommands().push_back(std::move(command));
}

std::string cliUsage(const std::string& subcommand)
{
    if (const CliProjectCommand* added = findProjectCommand(subcommand))
        return added->usage;
    if (subcommand == "photo")
        return kPhotoUsage;
    if (subcommand == "sca")
        return kScaUsage;
    if (subcommand == "compile")
        return std::string(kCompileUsage) + kScasmRunHelp;
    if (subcommand == "cut")
        return kCutUsage;
    if (subcommand == "info")
        return kInfoUsage;
    if (subcommand == "demo-data")
        return kDemoUsage;
    if (subcommand == "import")
        return kImportUsage;
    if (isProjectEditCommand(subcommand))
        return projectEditUsage(subcommand);
    if (subcommand == "synth")
        return kSynthUsage;
    if (subcommand == "import")
        return kImportUsage;
    std::string usage = kProgramUsage;
    std::string lines;
    for (const CliProjectCommand& command : projectCommands())
        lines += "  " + command.name + std::string(command.name.size() < 11 ? 11 - command.name.size() : 1, ' ') +
                 command.summary + "\n";
    const std::size_t listEnd = usage.find("\n\n'orvane-cli <command> --help'");
    if (listEnd != std::string::npos)
        usage.insert(listEnd + 1, lines);
    return usage;
}

int runOrvaneCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool terminal)
{
    if (args.empty()) {
        err << cliUsage();
        return kExitUsage;
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << cliUsage(rest.empty() ? std::string() : rest[0]);
        return kExitSuccess;
    }
    try {
        if (command == "photo")
            return runPhoto(rest, out, err, terminal);
        if (command == "sca" || command == "compile" || command == "cut" || command == "info")
            return runProjectCommand(command, rest, out, err, terminal);
        if (command == "demo-data")
            return runDemoData(rest, out, err);
        if (command == "import")
            return runImportCommand(rest, out, err, terminal);
        if (isProjectEditCommand(command))
            return runProjectEdit(command, rest, out, err, terminal);
        if (command == "synth")
            return runSynthCommand(rest, out, err, terminal);
        if (command == "import")
            return runImportCommand(rest, out, err, terminal);
        if (const CliProjectCommand* added = findProjectCommand(command))
            return runAddedCommand(*added, rest, out, err, terminal);
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& usage) {
        err << "orvane-cli: " << usage.text << "\n\n" << cliUsage(command);
        return kExitUsage;
    }
}
