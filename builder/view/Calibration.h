#pragma once
// Calibration of the project's extents from landmarks clicked on the map: two landmarks, or one
// landmark and the ground scale. The clicks come from the map view; the dialogs that ask for the
// landmarks' positions are reached through CalibrationDialogs so this runs without windows.

#include <cstdint>
#include <optional>
#include <string>

#include "project/GeoRect.h"
#include "view/MapTransform.h"

class CDibDoc;

/// Shared by every map view of the program: one calibration at a time.
struct CalibrationState {
    /// 0 none, 1 waiting for the first of two landmarks, 2 for the second, 3 for the point-scale landmark.
    int step = 0;
    ViewPoint lastClick;
};

/// The dialogs a calibration click opens. Each returns true when the user pressed OK.
class CalibrationDialogs {
public:
    virtual ~CalibrationDialogs() = default;
    /// The 2-point dialog; `secondStep` false for the first landmark ("Proceed..."), true for the second.
    virtual bool twoPoint(CDibDoc& doc, bool secondStep, int pixelX, int pixelY) = 0;
    virtual bool pointScale(CDibDoc& doc, int pixelX, int pixelY) = 0;
    /// Shows the new boundary (the Define Boundary Area command).
    virtual void defineBoundary(CDibDoc& doc) = 0;
};

/// Starts a calibration: step 1 (two landmarks) or 3 (point and scale), every landmark value 0.
void startCalibration(CalibrationState& state, CDibDoc& doc, bool twoPoint);

/// A left click while a calibration is under way, with the pointer's pixel already in the project's
/// clickPixelX / clickPixelY (-1 off the bitmap, used as it is). Returns true when the click goes
/// on as an ordinary click of the view; false when the calibration took it.
bool calibrationClick(CalibrationState& state, CDibDoc& doc, ViewPoint click, CalibrationDialogs& dialogs);

/// The width and height the formulas scale to: the bitmap's, or the chunk grid's when the project
/// has no bitmap loaded (a synthetic project).
int calibrationWidth(const CDibDoc& doc);
int calibrationHeight(const CDibDoc& doc);

/// The boundary through two landmarks. Nothing when they share a pixel column or row, or a value
/// would not be a finite number.
std::optional<GeoRect> twoPointBoundary(double lat1, double lon1, int px1, int py1, double lat2, double lon2, int px2,
                                        int py2, int width, int height);

/// The boundary through one landmark at `metresPerPixel`. Nothing when a value would not be finite.
std::optional<GeoRect> pointScaleBoundary(double latitude, double longitude, int px, int py, double metresPerPixel,
                                          int width, int height);

/// OK of the first 2-point dialog: landmark 1's position from the two texts.
void acceptFirstLandmark(CDibDoc& doc, const std::string& latitudeText, const std::string& longitudeText);

/// OK of the second 2-point dialog: both positions from the texts, then the boundary. Landmarks on
/// one pixel column or row leave the boundary as it was and say why; false then.
bool acceptTwoPoint(CDibDoc& doc, const std::string& lat1, const std::string& lon1, const std::string& lat2,
                    const std::string& lon2);

/// OK of the point-scale dialog. False (with a message) when the result would not be finite.
bool acceptPointScale(CDibDoc& doc, const std::string& latitudeText, const std::string& longitudeText,
                      double metresPerPixel);

/// The texts shown when the formulas give no boundary.
extern const char* const kSameColumnOrRowText;
extern const char* const kNoFiniteBoundaryText;
