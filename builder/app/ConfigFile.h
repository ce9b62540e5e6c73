#pragma once
// TexRelief.cfg: the application settings in the tagged item format.

#include <string>

#include "base/AppSettings.h"

class TaggedReader;
class TaggedWriter;

/// Reads the configuration items into `settings`. Strings, values, texture-class blocks and the
/// tag 34 value list are read; unknown tags are skipped by their length. A value item longer than
/// its setting fills the setting and its surplus is skipped. False when a length or an item runs
/// past the end of the data; `settings` is then left exactly as it was.
bool readConfig(TaggedReader& reader, AppSettings& settings);

/// Appends the whole configuration to `writer`: tag 2 with its back-patched length, the four
/// folders, the six values, one tag 66 block per texture class, tag 34 with its bare count and
/// values, and the end tag.
void writeConfig(TaggedWriter& writer, const AppSettings& settings);

/// Outcome of reading the configuration file of a folder.
enum class ConfigFileState { Loaded, Missing, Corrupt };

/// Reads `path` into `settings`: Missing when the file cannot be opened (settings untouched),
/// Corrupt when readConfig fails (settings untouched), Loaded otherwise.
ConfigFileState readConfigFile(const std::string& path, AppSettings& settings);

/// Writes the configuration to `path`, replacing the old file only when the new one was written.
bool writeConfigFile(const std::string& path, const AppSettings& settings);
