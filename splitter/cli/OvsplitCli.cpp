#include "OvsplitCli.h"

#include <ostream>

#include "CliPlatform.h"
#include "FileText.h"
#include "IniFile.h"
#include "ProjectDetails.h"
#include "RunwayModel.h"
#include "SplitSession.h"

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

int usageError(std::ostream& err, const std::string& what) {
  err << "ovsplit-cli: error: " << what << "\n\n";
  OvsplitCli::printUsage(err);
  return kUsage;
}

std::string printable(std::string text) {
  for (char& c : text)
    if (c == '\r') c = ' ';
  return text;
}

/// Checks a runway as the dialog would before Ok; the lines Ok adds.
bool runwayLines(const IniFile& file, const std::string& label, std::vector<std::string>& lines,
                 std::string& error) {
  RunwayModel runway;
  runway.load(file);
  if (!RunwayModel::runwayNumber(runway.runwayId)) {
    error = label + ": " + RunwayModel::kRunwayIdMessage;
    return false;
  }
  if (const auto bad = runway.firstInvalidBox()) {
    error = label + ": " + printable(RunwayModel::boxMessage(*bad));
    return false;
  }
  lines = runway.okLines();
  return true;
}

/// One runway given on the command line: a runway file, or its keys as KEY=VALUE;KEY=VALUE.
struct RunwaySource {
  bool isFile;
  std::string text;
};

/// Builds the runway file's section from KEY=VALUE pairs over the values of a blank dialog;
/// false with `error` on an unknown key.
bool runwayFromFields(const std::string& fields, IniFile& file, std::string& error) {
  IniFile known;
  RunwayModel().save(known);  // holds every key of a runway file
  RunwayModel().save(file);
  std::size_t from = 0;
  while (from <= fields.size()) {
    std::size_t end = fields.find(';', from);
    if (end == std::string::npos) end = fields.size();
    const std::string pair = FileText::trim(fields.substr(from, end - from));
    from = end + 1;
    if (pair.empty()) continue;
    const std::size_t eq = pair.find('=');
    const std::string key = FileText::trim(pair.substr(0, eq));
    if (eq == std::string::npos || !known.hasKey("Runway", key)) {
      error = "--runway-fields: '" + pair + "' is not KEY=VALUE with a key of a runway file";
      return false;
    }
    file.writeString("Runway", key, pair.substr(eq + 1));
  }
  return true;
}

bool isFolderName(const std::string& save) {
  return FileText::baseNameOf(save).empty() || FileText::folderExists(save);
}

}  // namespace

void OvsplitCli::printUsage(std::ostream& s) {
  s << "Usage: ovsplit-cli split SOURCE.sca SAVE.sca [options]\n"
       "\n"
       "Splits an Orvane SCASM source into SAVE_A.sca, SAVE_B.sca, SAVE_C.scm, SAVE_D.scm and\n"
       "SAVE_Compile.doc, written beside SAVE.\n"
       "\n"
       "Options:\n"
       "  --object-name NAME   library object name (at most 32 characters; default Scenery1)\n"
       "  --id1 TEXT .. --id4 TEXT\n"
       "                       library id texts (at most 4 characters each;\n"
       "                       defaults NECS 1YRE 1 0)\n"
       "  --quoted FLAGS       four 1/0 flags: put id 1..4 in single quotes (default 1100)\n"
       "  --runway FILE.rwy    add the runway of a runway file; may be given any number of times\n"
       "  --runway-fields 'KEY=VALUE;KEY=VALUE...'\n"
       "                       add a runway given by the keys of a runway file (ID, LENgth,\n"
       "                       CoordNSD, MARKERS_EdgeLine, ...); keys not given keep the values\n"
       "                       of a blank runway dialog.\n"
       "                       Runways from both options are added in the order given\n"
       "  --config OVSPLIT.cfg read the offered object name, ids and quote flags from this\n"
       "                       configuration file and update it as the window does (the\n"
       "                       source, save and last runway file, the project details);\n"
       "                       without it no configuration is read or written\n"
       "  --strict             refuse a source whose first line is not the copyright line\n"
       "                       (otherwise a warning)\n"
       "  -h, --help           show this text\n"
       "\n"
       "Exit codes: 0 success, 1 failure, 2 usage error.\n";
}

int OvsplitCli::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") {
      printUsage(out);
      return kSuccess;
    }
  if (args.empty()) return usageError(err, "missing command");
  if (args[0] != "split") return usageError(err, "unknown command '" + args[0] + "'");

  CliPlatform::DetailOverrides overrides;
  std::vector<RunwaySource> runwaySources;
  std::string configPath;
  std::vector<std::string> positional;
  bool strict = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) return false;
      v = args[++i];
      return true;
    };
    std::string v;
    if (a == "--strict") {
      strict = true;
    } else if (a == "--object-name") {
      if (!value(v)) return usageError(err, "--object-name needs a value");
      if (v.size() > ProjectDetails::kMaxNameLength) return usageError(err, "object name longer than 32 characters");
      overrides.objectName = v;
    } else if (a.size() == 5 && a.rfind("--id", 0) == 0 && a[4] >= '1' && a[4] <= '4') {
      if (!value(v)) return usageError(err, a + " needs a value");
      if (v.size() > ProjectDetails::kMaxIdLength) return usageError(err, a + " longer than 4 characters");
      overrides.ids[static_cast<std::size_t>(a[4] - '1')] = v;
    } else if (a == "--quoted") {
      if (!value(v) || v.size() != 4 || v.find_first_not_of("01") != std::string::npos)
        return usageError(err, "--quoted needs four 1/0 flags, e.g. 1100");
      overrides.quoted = std::array<bool, 4>{v[0] == '1', v[1] == '1', v[2] == '1', v[3] == '1'};
    } else if (a == "--runway") {
      if (!value(v)) return usageError(err, "--runway needs a file");
      runwaySources.push_back({true, v});
    } else if (a == "--runway-fields") {
      if (!value(v)) return usageError(err, "--runway-fields needs KEY=VALUE pairs");
      runwaySources.push_back({false, v});
    } else if (a == "--config") {
      if (!value(v) || v.empty()) return usageError(err, "--config needs a file");
      configPath = v;
    } else if (a.rfind("--", 0) == 0) {
      return usageError(err, "unknown option '" + a + "'");
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) return usageError(err, "split needs SOURCE.sca and SAVE.sca");
  const std::string& source = positional[0];
  const std::string& save = positional[1];
  // The documents are named after a file: a folder cannot be saved to.
  if (isFolderName(save)) {
    err << "ovsplit-cli: error: " << save << " is a folder; give a file name in it, e.g. " << save
        << (save.back() == '/' || save.back() == '\\' ? "" : "/") << "Scenery.sca\n";
    return kFailure;
  }

  std::vector<std::vector<std::string>> runways;
  std::vector<std::string> runwayFiles;
  for (const RunwaySource& r : runwaySources) {
    std::vector<std::string> lines;
    std::string error;
    IniFile file;
    if (r.isFile) {
      std::string data;
      if (!FileText::readFile(r.text, data, error, FileText::kMaxRunwayBytes)) {
        err << "ovsplit-cli: error: cannot read runway file " << r.text << ": " << error << "\n";
        return kFailure;
      }
      file.parse(data);
    } else if (!runwayFromFields(r.text, file, error)) {
      return usageError(err, error);
    }
    if (!runwayLines(file, r.isFile ? r.text : "--runway-fields", lines, error)) {
      err << "ovsplit-cli: error: " << error << "\n";
      return kFailure;
    }
    runways.push_back(std::move(lines));
    runwayFiles.push_back(r.isFile ? r.text : std::string());
  }

  // Without --config every split starts from the offered defaults and nothing is remembered.
  IniFile config;
  if (!configPath.empty()) {
    config = IniFile(configPath);
    if (!config.loadError().empty()) {
      err << "ovsplit-cli: error: cannot read " << configPath << ": " << config.loadError() << "\n";
      return kFailure;
    }
  }
  CliPlatform platform(err, overrides, std::move(runways), strict, std::move(runwayFiles));
  SplitSession session(platform, config);
  // What the window remembers when the files are chosen.
  if (!configPath.empty()) config.writeString("Recent", "Orvane", source);
  if (!session.CheckSourceFile(source)) return kFailure;
  if (!configPath.empty()) config.writeString("Recent", "Saved", save);
  if (!session.SplitSource(source, save) || platform.errors() > 0) return kFailure;

  for (const char* suffix : {"_A.sca", "_B.sca", "_C.scm", "_D.scm", "_Compile.doc"})
    out << session.dir << session.name << suffix << "\n";
  return kSuccess;
}
