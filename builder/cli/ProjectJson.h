#pragma once
// The JSON description of a project printed by "orvane-cli info".

#include <string>

class CDibDoc;

/// The project's saved fields, its lists (altitude maps, FS items, project textures) and its chunk
/// count as a JSON object, one field per line, ending in a newline.
/// With `withRecords`, every altitude map also lists its records ("recordList") and the main
/// map's records follow as "mainAltitudeRecordList", one [latitude, longitude, altitude] a line.
std::string projectJson(const CDibDoc& doc, bool withRecords = false);

/// `text` as a JSON string literal, quotes included.
std::string jsonString(const std::string& text);
