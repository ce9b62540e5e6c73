#include "cli/ProjectEditCommands.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <ostream>

#include "app/AppStartup.h"
#include "app/ConfigFile.h"
#include "base/PathUtil.h"
#include "cli/CliArguments.h"
#include "cli/CliPlatform.h"
#include "cli/OrvaneCli.h"
#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/FsItemEdits.h"
#include "project/ProjectFile.h"

namespace {

const char* const kSetUsage =
    "usage: orvane-cli set PROJECT.prj [--chunks LIST] [chunk options] [project options] [--save OUT.prj]\n"
    "\n"
    "Changes chunk properties and the project's source options, as the chunk and project\n"
    "properties sheets do, and saves the project (over PROJECT.prj unless --save is given).\n"
    "Options not given leave their values as they are.\n"
    "\n"
    "  --chunks LIST            chunk indices counted from 0 in the project's chunk order, as\n"
    "                           'info' lists them: all, N, A-B, or a comma list of these\n"
    "                           (default: all)\n"
    "chunk options:\n"
    "  --density N              TexRelief nodes per side: 1, 2, 4, ..., 256\n"
    "  --range KM               Area Range\n"
    "  --bitmap-mode 0|1        BitmapMode\n"
    "  --bitmap-index N         BitmapMode index (0..255)\n"
    "  --smoothing 0|1\n"
    "  --surface-color N        polygon colour number\n"
    "  --perspective-shade 0|1\n"
    "  --polygon-color 0|1      Polygon Col.\n"
    "  --flat-grid 0|1          Enable Flat Grid Optimization\n"
    "  --perspective-call 1|2   PerspectiveCall or PerspectiveCall2\n"
    "  --refpoint-type 2|7      RefPoint type\n"
    "  --refpoint-altitude M    altitude of a type 2 RefPoint\n"
    "  --color-mode dpc|tc|nc   colour mode\n"
    "  --flip 0..3              texture orientation: 1 mirrors east-west, 2 north-south, 3 both\n"
    "project options:\n"
    "  --altitude-coordinates 0|1  --area-max 0|1  --area-max-size KB\n"
    "  --copyright 0|1  --copyright-text TEXT (at most 80 characters)\n"
    "  --seasons LIST           winter,spring,summer,fall (any of them, or none)\n";

const char* const kPositionUsage =
    "usage: orvane-cli add-position PROJECT.prj --lat LAT --lon LON [--alt M] [--heading DEG]\n"
    "                               [--com F] [--nav1 F] [--obi1 N] [--nav2 F] [--obi2 N]\n"
    "                               [--description TEXT] [--title TEXT] [--pixel X Y] [--save OUT.prj]\n"
    "\n"
    "Adds an FS menu position item, as Insert FS position preset... does. Latitude -90..90,\n"
    "longitude -180..180 (decimal degrees or d:m:s, S and W negative), heading 0..359.99.\n"
    "The menu title is the first item's once the project has one. --pixel gives the map pixel\n"
    "(column, row) the item belongs to (default -1 -1: none).\n";

const char* const kMacroUsage =
    "usage: orvane-cli add-macro PROJECT.prj --file MACRO [--lat LAT] [--lon LON] [--alt M]\n"
    "                            [--value N=TEXT]... [--pixel X Y] [--save OUT.prj]\n"
    "\n"
    "Adds an FS macro item, as Insert Macro... does: reads the parameter list of MACRO (the words\n"
    "after 'macro(' up to ')', without words holding a dot) and gives each parameter its starting\n"
    "value: lat/nn the latitude, lon/ee the longitude, elev/alt the altitude, others 0. --value\n"
    "sets parameter N (counted from 1) or the parameter named N. The file name (without folder)\n"
    "may have at most 14 characters.\n";

struct Usage {
    std::string text;
};

long long parseWhole(const std::string& text, const std::string& what, long long low, long long high)
{
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high)
        throw Usage{what + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                    ", not '" + text + "'"};
    return value;
}

double parseReal(const std::string& text, const std::string& what)
{
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value))
        throw Usage{what + " must be a number, not '" + text + "'"};
    return value;
}

std::vector<int> parseChunkList(const std::string& text, std::size_t count)
{
    std::vector<int> chunks;
    const long long last = static_cast<long long>(count) - 1;
    if (text == "all") {
        for (std::size_t i = 0; i < count; ++i)
            chunks.push_back(static_cast<int>(i));
        return chunks;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t dash = part.find('-', 1);
        const long long from = parseWhole(part.substr(0, dash), "a chunk index", 0, last);
        const long long to = dash == std::string::npos ? from : parseWhole(part.substr(dash + 1), "a chunk index", from, last);
        for (long long i = from; i <= to; ++i)
            chunks.push_back(static_cast<int>(i));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return chunks;
}

// One run: the settings of the current folder, as the builder reads them, and the project.
struct EditSession {
    EditSession(std::ostream& err, bool terminal) : platform(err, terminal), app(platform) {}
    CliPlatform platform;
    AppContext app;
    std::unique_ptr<CDibDoc> doc;

    bool open(const std::string& path, std::ostream& err)
    {
        app.settings.applicationPath = PathUtil::currentFolder();
        const std::string config = PathUtil::join(app.settings.applicationPath, AppStartup::kConfigFileName);
        if (readConfigFile(config, app.settings) == ConfigFileState::Corrupt) {
            err << "orvane-cli: error: " << config << " is damaged\n";
            return false;
        }
        app.settings.programFolder = runningProgramFolder();
        // The library links chunk textures by name, so their names survive the save.
        AppStartup(app).loadTexturesIfWanted();
        doc = std::make_unique<CDibDoc>(app);
        if (!openProject(*doc, path)) {
            err << "orvane-cli: error: cannot open project " << path << "\n";
            return false;
        }
        doc->filePath = path;
        return true;
    }
};

using Field = std::int32_t ChunkProperties::*;
struct ChunkOption {
    const char* name;
    Field field;
    long long low;
    long long high;
};
const ChunkOption kChunkOptions[] = {
    {"--range", &ChunkProperties::areaRangeKm, 0, std::numeric_limits<std::int32_t>::max()},
    {"--bitmap-mode", &ChunkProperties::useBitmapMode, 0, 1},
    {"--bitmap-index", &ChunkProperties::bitmapModeIndex, 0, 255},
    {"--smoothing", &ChunkProperties::smoothing, 0, 1},
    {"--surface-color", &ChunkProperties::surfaceColor, 0, 255},
    {"--perspective-shade", &ChunkProperties::perspectiveShade, 0, 1},
    {"--polygon-color", &ChunkProperties::useSurfaceColor, 0, 1},
    {"--flat-grid", &ChunkProperties::flatGridOptimization, 0, 1},
    {"--refpoint-altitude", &ChunkProperties::refPointAltitude, std::numeric_limits<std::int32_t>::min(),
     std::numeric_limits<std::int32_t>::max()},
};

std::vector<CliArguments::Option> setOptions()
{
    std::vector<CliArguments::Option> options = {
        {"--chunks", 1}, {"--density", 1}, {"--perspective-call", 1}, {"--refpoint-type", 1}, {"--color-mode", 1},
        {"--flip", 1}, {"--altitude-coordinates", 1}, {"--area-max", 1}, {"--area-max-size", 1}, {"--copyright", 1},
        {"--copyright-text", 1}, {"--seasons", 1}, {"--save", 1}};
    for (const ChunkOption& option : kChunkOptions)
        options.push_back({option.name, 1});
    return options;
}

bool saveEdited(EditSession& session, const CliArguments& args, const std::string& project, std::ostream& out,
                std::ostream& err)
{
    const std::string target = args.has("--save") ? absolutePath(args.value("--save")) : project;
    if (!saveProject(*session.doc, target)) {
        err << "orvane-cli: error: cannot save " << target << "\n";
        return false;
    }
    out << "saved " << target << "\n";
    return true;
}

int runSet(const CliArguments& args, std::ostream& out, std::ostream& err, bool terminal)
{
    // Every value is checked before the project is touched.
    const std::string project = absolutePath(args.positionals[0]);
    EditSession session(err, terminal);
    if (!session.open(project, err))
        return kExitFailure;
    CDibDoc& doc = *session.doc;
    const std::vector<int> chunks = parseChunkList(args.value("--chunks", "all"), doc.chunks.size());

    std::vector<std::pair<Field, std::int32_t>> changes;
    if (args.has("--density")) {
        const long long d = parseWhole(args.value("--density"), "--density", 1, 256);
        if ((d & (d - 1)) != 0)
            throw Usage{"--density must be a power of two from 1 to 256"};
        changes.emplace_back(&ChunkProperties::gridDensity, static_cast<std::int32_t>(d));
    }
    for (const ChunkOption& option : kChunkOptions)
        if (args.has(option.name))
            changes.emplace_back(option.field,
                                 static_cast<std::int32_t>(parseWhole(args.value(option.name), option.name, option.low, option.high)));
    if (args.has("--perspective-call")) {
        const std::string v = args.value("--perspective-call");
        if (v != "1" && v != "2")
            throw Usage{"--perspective-call is 1 or 2"};
        changes.emplace_back(&ChunkProperties::usePerspectiveCall2, v == "2" ? 1 : 0);
    }
    if (args.has("--refpoint-type")) {
        const std::string v = args.value("--refpoint-type");
        if (v != "2" && v != "7")
            throw Usage{"--refpoint-type is 2 or 7"};
        changes.emplace_back(&ChunkProperties::useRefPointType2, v == "2" ? 1 : 0);
    }
    if (args.has("--color-mode")) {
        const std::string v = args.value("--color-mode");
        const int mode = v == "dpc" ? 0 : v == "tc" ? 1 : v == "nc" ? 2 : -1;
        if (mode < 0)
            throw Usage{"--color-mode is dpc, tc or nc"};
        changes.emplace_back(&ChunkProperties::colorMode, mode);
    }
    const int flip = args.has("--flip") ? static_cast<int>(parseWhole(args.value("--flip"), "--flip", 0, 3)) : -1;

    std::optional<std::int32_t> seasons;
    if (args.has("--seasons")) {
        std::int32_t bits = 0;
        const std::string list = args.value("--seasons");
        std::size_t start = 0;
        while (start < list.size()) {
            const std::size_t comma = list.find(',', start);
            const std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            const int bit = name == "winter" ? 1 : name == "spring" ? 2 : name == "summer" ? 4 : name == "fall" ? 8 : 0;
            if (bit == 0)
                throw Usage{"seasons are winter, spring, summer and fall, not '" + name + "'"};
            bits |= bit;
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        seasons = bits;
    }
    if (args.has("--copyright-text") && args.value("--copyright-text").size() > 80)
        throw Usage{"--copyright-text may have at most 80 characters"};
    auto flag = [&args](const char* name) {
        return static_cast<std::int32_t>(parseWhole(args.value(name), name, 0, 1)) == 1;
    };

    for (int index : chunks) {
        TexReliefChunk& chunk = doc.chunks[static_cast<std::size_t>(index)];
        for (const auto& [field, value] : changes)
            chunk.properties.*field = value;
        if (flip >= 0)
            chunk.chunkValueC = flip;
    }
    if (args.has("--altitude-coordinates"))
        doc.writeAltitudeCoordinates = flag("--altitude-coordinates");
    if (args.has("--area-max"))
        doc.writeAreaMaxHeader = flag("--area-max");
    if (args.has("--area-max-size"))
        doc.areaMaxSizeKB = static_cast<std::int32_t>(
            parseWhole(args.value("--area-max-size"), "--area-max-size", 0, std::numeric_limits<std::int32_t>::max()));
    if (args.has("--copyright"))
        doc.writeCopyright = flag("--copyright");
    if (args.has("--copyright-text"))
        doc.copyrightText = args.value("--copyright-text");
    if (seasons)
        doc.includedSeasons = *seasons;
    out << "changed " << chunks.size() << " chunk(s)\n";
    return saveEdited(session, args, project, out, err) ? kExitSuccess : kExitFailure;
}

void takePixel(const CliArguments& args, CDibDoc& doc)
{
    doc.clickPixelX = -1;
    doc.clickPixelY = -1;
    for (const CliArguments::Occurrence& o : args.occurrences)
        if (o.name == "--pixel") {
            doc.clickPixelX = static_cast<std::int32_t>(parseWhole(o.values[0], "--pixel X", -1, 1 << 30));
            doc.clickPixelY = static_cast<std::int32_t>(parseWhole(o.values[1], "--pixel Y", -1, 1 << 30));
        }
}

int runAddPosition(const CliArguments& args, std::ostream& out, std::ostream& err, bool terminal)
{
    if (!args.has("--lat") || !args.has("--lon"))
        throw Usage{"missing --lat or --lon"};
    FsMenuPositionItem item;
    item.latitude = parseCoordinate(args.value("--lat"));
    item.longitude = parseCoordinate(args.value("--lon"));
    item.altitude = static_cast<std::int32_t>(parseWhole(args.value("--alt", "0"), "--alt",
                                                         std::numeric_limits<std::int32_t>::min(),
                                                         std::numeric_limits<std::int32_t>::max()));
    item.heading = parseReal(args.value("--heading", "0"), "--heading");
    item.com = parseReal(args.value("--com", "0"), "--com");
    item.nav1 = parseReal(args.value("--nav1", "0"), "--nav1");
    item.obi1 = static_cast<std::int32_t>(parseWhole(args.value("--obi1", "0"), "--obi1", -360, 360));
    item.nav2 = parseReal(args.value("--nav2", "0"), "--nav2");
    item.obi2 = static_cast<std::int32_t>(parseWhole(args.value("--obi2", "0"), "--obi2", -360, 360));
    item.description = args.value("--description");
    item.title = args.value("--title");
    if (std::optional<std::string> error = menuPositionRangeError(item)) {
        err << "orvane-cli: error: " << *error << "\n";
        return kExitFailure;
    }
    const std::string project = absolutePath(args.positionals[0]);
    EditSession session(err, terminal);
    if (!session.open(project, err))
        return kExitFailure;
    takePixel(args, *session.doc);
    if (args.has("--title") && existingMenuTitle(*session.doc) && *existingMenuTitle(*session.doc) != item.title)
        err << "orvane-cli: note: the menu title stays '" << *existingMenuTitle(*session.doc)
            << "', the first item's\n";
    addMenuPositionItem(*session.doc, item);
    out << "added menu position item " << session.doc->menuPositionItems.size() << "\n";
    return saveEdited(session, args, project, out, err) ? kExitSuccess : kExitFailure;
}

int runAddMacro(const CliArguments& args, std::ostream& out, std::ostream& err, bool terminal)
{
    if (!args.has("--file"))
        throw Usage{"missing --file"};
    const std::string macroPath = args.value("--file");
    const std::string macroFile = PathUtil::fileName(macroPath);
    if (std::optional<std::string> error = macroFileNameError(macroFile)) {
        err << "orvane-cli: error: " << macroFile << ": " << *error << "\n";
        return kExitFailure;
    }
    const std::optional<MacroParameters> parameters = readMacroParameters(macroPath);
    if (!parameters) {
        err << "orvane-cli: error: " << macroPath << ": Couldn't read that file.\n";
        return kExitFailure;
    }
    if (!parameters->recognised) {
        err << "orvane-cli: error: " << macroPath << ": This Macro has improper syntax and it cannot be recognized.\n";
        return kExitFailure;
    }
    const std::string project = absolutePath(args.positionals[0]);
    EditSession session(err, terminal);
    if (!session.open(project, err))
        return kExitFailure;
    CDibDoc& doc = *session.doc;
    doc.clickLatitude = args.has("--lat") ? parseCoordinate(args.value("--lat")) : 0.0;
    doc.clickLongitude = args.has("--lon") ? parseCoordinate(args.value("--lon")) : 0.0;
    doc.clickAltitude = static_cast<std::int32_t>(parseWhole(args.value("--alt", "0"), "--alt",
                                                             std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
    takePixel(args, doc);
    std::vector<std::string> values;
    for (const std::string& name : parameters->names)
        values.push_back(macroParameterDefault(name, doc));
    for (const CliArguments::Occurrence& o : args.occurrences) {
        if (o.name != "--value")
            continue;
        const std::size_t eq = o.values[0].find('=');
        if (eq == std::string::npos || eq == 0)
            throw Usage{"--value takes N=TEXT, not '" + o.values[0] + "'"};
        const std::string key = o.values[0].substr(0, eq);
        std::size_t index = parameters->names.size();
        for (std::size_t i = 0; i < parameters->names.size(); ++i)
            if (parameters->names[i] == key)
                index = i;
        if (index == parameters->names.size() && key.find_first_not_of("0123456789") == std::string::npos)
            index = static_cast<std::size_t>(
                        parseWhole(key, "a parameter number", 1, static_cast<long long>(parameters->names.size()))) -
                    1;
        if (index >= parameters->names.size())
            throw Usage{"the macro has no parameter '" + key + "'"};
        values[index] = o.values[0].substr(eq + 1);
    }
    addMacroItem(doc, macroFile, values);
    out << "added macro item " << doc.macroItems.size() << " with " << values.size() << " parameter(s)\n";
    return saveEdited(session, args, project, out, err) ? kExitSuccess : kExitFailure;
}

} // namespace

bool isProjectEditCommand(const std::string& command)
{
    return command == "set" || command == "add-position" || command == "add-macro";
}

std::string projectEditUsage(const std::string& command)
{
    return command == "set" ? kSetUsage : command == "add-position" ? kPositionUsage : kMacroUsage;
}

int runProjectEdit(const std::string& command, const std::vector<std::string>& argv, std::ostream& out,
                   std::ostream& err, bool terminal)
{
    std::vector<CliArguments::Option> options;
    if (command == "set")
        options = setOptions();
    else if (command == "add-position")
        options = {{"--lat", 1}, {"--lon", 1}, {"--alt", 1}, {"--heading", 1}, {"--com", 1}, {"--nav1", 1},
                   {"--obi1", 1}, {"--nav2", 1}, {"--obi2", 1}, {"--description", 1}, {"--title", 1},
                   {"--pixel", 2}, {"--save", 1}};
    else
        options = {{"--file", 1}, {"--lat", 1}, {"--lon", 1}, {"--alt", 1}, {"--value", 1, true},
                   {"--pixel", 2}, {"--save", 1}};
    try {
        CliArguments args;
        std::string error;
        if (!args.parse(argv, options, error))
            throw Usage{error};
        if (args.help) {
            out << projectEditUsage(command);
            return kExitSuccess;
        }
        if (args.positionals.size() != 1)
            throw Usage{args.positionals.empty() ? "missing PROJECT.prj" : "unexpected argument " + args.positionals[1]};
        if (command == "set")
            return runSet(args, out, err, terminal);
        if (command == "add-position")
            return runAddPosition(args, out, err, terminal);
        return runAddMacro(args, out, err, terminal);
    } catch (const Usage& usage) {
        err << "orvane-cli: " << usage.text << "\n\n" << projectEditUsage(command);
        return kExitUsage;
    }
}
