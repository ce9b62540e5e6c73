#pragma once
// Edits of single altitude records: the map operations behind Override Altitude, Delete Altitude
// Record and Insert Altitude Record, the project commands that run them, and the folding of the
// pending edit lists that old project files carry.

#include <cstddef>
#include <optional>

class AltitudeMap;
class CDibDoc;

/// The record of a source map (any record order) nearest to (latitude, longitude) among those within
/// one degree of longitude; nothing when the map has no record in that window. Edits use this rather
/// than findNearest's fallback index 0, which would change a record far from the position.
std::optional<std::size_t> nearestRecordInWindow(const AltitudeMap& map, double latitude, double longitude);

/// Override Altitude: the Adjust Altitude dialog with the owner's clickAltitude; on OK the record
/// nearest to the owner's click position gets the dialog's altitude. False when cancelled, when the
/// map has no owner or when no record lies within one degree of longitude of the click.
bool overrideRecord(AltitudeMap& map);

/// Delete Altitude Record: removes the one record nearest to the owner's click position.
/// False when the map has no owner or no record lies within one degree of longitude of the click.
bool deleteRecord(AltitudeMap& map);

/// Insert Altitude Record: the Adjust Altitude dialog with the owner's clickAltitude; on OK appends
/// (clickLatitude, clickLongitude, the dialog's altitude). False when cancelled, without owner, or
/// while the click position is not a latitude and longitude (nothing picked yet).
bool insertRecord(AltitudeMap& map);

/// The project commands: take the only enabled map (nothing happens when none or several are
/// enabled), make the project its owner, run the operation and, when it changed the map, merge the
/// maps again and repaint the views. Each returns whether the map changed.
bool overrideAltitudeCommand(CDibDoc& doc);
bool deleteAltitudeRecordCommand(CDibDoc& doc);
bool insertAltitudeRecordCommand(CDibDoc& doc);

/// Applies the overrides, deletions and insertions an old project file carried to the map's own
/// records (override / remove the nearest record of the map, append the insertion), then empties
/// the three lists: the current file format has no place for them.
void foldPendingEdits(AltitudeMap& map);
