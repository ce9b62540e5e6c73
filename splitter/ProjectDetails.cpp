#include "ProjectDetails.h"

#include "FileText.h"
#include "IniFile.h"

namespace {
const std::array<const char*, 4> kDefaultIds = {"NECS", "1YRE", "1", "0"};
const std::array<bool, 4> kDefaultQuoted = {true, true, false, false};

std::string orDefault(const std::string& stored, const char* fallback) {
  return FileText::trim(stored).empty() ? std::string(fallback) : stored;
}
}  // namespace

ProjectDetails ProjectDetails::offered(const IniFile& config) {
  ProjectDetails d;
  d.objectName = orDefault(config.readString("Recent", "ObjectName"), "Scenery1");
  for (std::size_t k = 0; k < 4; ++k) {
    const std::string n = std::to_string(k + 1);
    d.ids[k] = orDefault(config.readString("Recent", "ID" + n), kDefaultIds[k]);
    d.quoted[k] = config.readBool("ID_Settings", "ID" + n + "_Quoted", kDefaultQuoted[k]);
  }
  return d;
}

void ProjectDetails::store(IniFile& config) const {
  for (std::size_t k = 0; k < 4; ++k)
    config.writeBool("ID_Settings", "ID" + std::to_string(k + 1) + "_Quoted", quoted[k]);
  config.writeString("Recent", "ObjectName", objectName);
  for (std::size_t k = 0; k < 4; ++k) config.writeString("Recent", "ID" + std::to_string(k + 1), ids[k]);
}

std::string ProjectDetails::idText(std::size_t k) const {
  return quoted[k] ? "'" + ids[k] + "'" : ids[k];
}

std::string ProjectDetails::libObjLine() const {
  return "LibObj( 0 20 0 0 0 101 0 0 0 \"" + objectName + "\" );SCASM command";
}

std::string ProjectDetails::libIdLine() const {
  return "LibID( " + idText(0) + " " + idText(1) + " " + idText(2) + " " + idText(3) + " ) ;SCASM command";
}

std::string ProjectDetails::callLibObjLine() const {
  return "CallLibObj( 0  \"" + objectName + "\" ) ;SCASM command";
}
