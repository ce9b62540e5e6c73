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
  err << "ovsplit-cli: " << what << "\n\n";
  OvsplitCli::printUsage(err);
  return kUsage;
}

std::string printable(std::string text) {
  for (char& c : text)
    if (c == '\r') c = ' ';
  return text;
}

/// Reads one runway file and checks it as the dialog would before Ok; the lines Ok adds.
bool runwayLines(const std::string& path, std::vector<std::string>& lines, std::string& error) {
  if (!FileText::fileExists(path)) {
    error = "cannot read runway file " + path;
    return false;
  }
  IniFile file(path);
  if (!file.load()) {
    error = "cannot read runway file " + path;
    return false;
  }
  RunwayModel runway;
  runway.load(file);
  if (!RunwayModel::runwayNumber(runway.runwayId)) {
    error = path + ": " + RunwayModel::kRunwayIdMessage;
    return false;
  }
  if (const auto bad = runway.firstInvalidBox()) {
    error = path + ": " + printable(RunwayModel::boxMessage(*bad));
    return false;
  }
  lines = runway.okLines();
  return true;
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
  std::vector<std::string> runwayFiles;
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
      runwayFiles.push_back(v);
    } else if (a.rfind("--", 0) == 0) {
      return usageError(err, "unknown option '" + a + "'");
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) return usageError(err, "split needs SOURCE.sca and SAVE.sca");
  const std::string& source = positional[0];
  const std::string& save = positional[1];
  if (FileText::baseNameOf(save).empty()) return usageError(err, "SAVE.sca needs a file name");

  std::vector<std::vector<std::string>> runways;
  for (const std::string& file : runwayFiles) {
    std::vector<std::string> lines;
    std::string error;
    if (!runwayLines(file, lines, error)) {
      err << "ovsplit-cli: error: " << error << "\n";
      return kFailure;
    }
    runways.push_back(std::move(lines));
  }

  // The batch program keeps no configuration: every split starts from the offered defaults.
  IniFile config;
  CliPlatform platform(err, overrides, std::move(runways), strict);
  SplitSession session(platform, config);
  if (!session.CheckSourceFile(source)) return kFailure;
  if (!session.SplitSource(source, save) || platform.errors() > 0) return kFailure;

  for (const char* suffix : {"_A.sca", "_B.sca", "_C.scm", "_D.scm", "_Compile.doc"})
    out << session.dir << session.name << suffix << "\n";
  return kSuccess;
}
