#pragma once
// Elevation rasters (SRTM .hgt, GeoTIFF DEMs, DTED of any level, anything single-band GDAL reads)
// become an ordinary altitude map: one record per post, on latitude/longitude WGS 84, in metres.
// GDAL stays inside this folder's .cpp files.

#include <cstdint>
#include <optional>
#include <string>

#include "altitude/AltitudeMap.h"
#include "project/GeoRect.h"

class CDibDoc;
class ProgressWindow;

enum class ElevationVoids {
    Fill,   ///< no-data posts take a value interpolated from their neighbours
    Skip,   ///< no-data posts give no record
};

struct ElevationOptions {
    ElevationVoids voids = ElevationVoids::Fill;
    /// Thin the posts to at least this many metres apart (corners always kept); 0 keeps every post.
    double spacingMetres = 0.0;
    /// Keep only the posts inside this rectangle plus one post around it; nothing keeps the file.
    std::optional<GeoRect> clip;
};

struct ElevationResult {
    AltitudeMap map;                 ///< title, source kind, records, grid size and water level set
    std::int64_t postsRead = 0;      ///< posts of the clipped window
    std::int64_t voids = 0;          ///< no-data posts among them
    std::int64_t voidsFilled = 0;
    std::int64_t recordsKept = 0;
    bool warped = false;             ///< the file was reprojected to latitude/longitude
    bool feet = false;               ///< the file's heights were in feet
};

/// Marks a map as read from an elevation file. Such a map is stored as a text map (source kind 3,
/// its records in the project file) so any reader of the project format takes it whole; the
/// marker in the first source parameter, 0 for a real text map, tells the two apart.
constexpr std::int32_t kElevationFileMarker = 4;
bool isElevationFileMap(const AltitudeMap& map);
void markElevationFileMap(AltitudeMap& map);

/// Reads the file. Refusals and failures (not a raster, more than one band, no georeferencing,
/// nothing inside the clip, every post void, Cancel) set `error` to a sentence for the user.
std::optional<ElevationResult> importElevation(const std::string& path, const ElevationOptions& options,
                                               ProgressWindow* progress, std::string& error);

/// The one-line account of a read: posts read, voids and what became of them, records kept.
std::string describeElevationResult(const ElevationResult& result);

/// Reads the file clipped to the project boundary (when it has one) into `map`, owned by the
/// project. Messages through the project's platform; false on any refusal or Cancel.
bool readElevationAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path, ElevationOptions options);

/// Reads the file clipped to the project boundary (when it has one) and appends the map to the
/// project's list. Messages through the project's platform; false leaves the list untouched.
bool addElevationMap(CDibDoc& doc, const std::string& path, ElevationOptions options);

/// Parses "fill" / "skip".
std::optional<ElevationVoids> parseElevationVoids(const std::string& word);
