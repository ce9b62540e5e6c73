#include "view/Calibration.h"

#include <cmath>

#include "base/Platform.h"
#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

const char* const kSameColumnOrRowText =
    "The two landmarks lie on the same pixel column or row, so they do not fix the extents.\n"
    "The boundary is left unchanged.";
const char* const kNoFiniteBoundaryText =
    "These values do not give usable extents.\nThe boundary is left unchanged.";

void startCalibration(CalibrationState& state, CDibDoc& doc, bool twoPoint)
{
    state.step = twoPoint ? 1 : 3;
    doc.landmark1Latitude = doc.landmark1Longitude = 0.0;
    doc.landmark1PixelX = doc.landmark1PixelY = 0;
    doc.landmark2Latitude = doc.landmark2Longitude = 0.0;
    doc.landmark2PixelX = doc.landmark2PixelY = 0;
}

bool calibrationClick(CalibrationState& state, CDibDoc& doc, ViewPoint click, CalibrationDialogs& dialogs)
{
    // One click advances the calibration by one step at most.
    switch (state.step) {
    case 3:
        state.lastClick = click;
        state.step = 0;
        doc.landmark1PixelX = doc.clickPixelX;
        doc.landmark1PixelY = doc.clickPixelY;
        if (!dialogs.pointScale(doc, doc.landmark1PixelX, doc.landmark1PixelY))
            return false;
        dialogs.defineBoundary(doc);
        return true;
    case 2:
        state.lastClick = click;
        state.step = 0;
        doc.landmark2PixelX = doc.clickPixelX;
        doc.landmark2PixelY = doc.clickPixelY;
        if (!dialogs.twoPoint(doc, true, doc.landmark2PixelX, doc.landmark2PixelY))
            return false;
        dialogs.defineBoundary(doc);
        return true;
    case 1:
        state.lastClick = click;
        state.step = 2;
        doc.landmark1PixelX = doc.clickPixelX;
        doc.landmark1PixelY = doc.clickPixelY;
        if (!dialogs.twoPoint(doc, false, doc.landmark1PixelX, doc.landmark1PixelY)) {
            state.step = 0;
            return false;
        }
        return true;
    default:
        return true;
    }
}

int calibrationWidth(const CDibDoc& doc)
{
    return doc.bitmapWidth > 0 ? doc.bitmapWidth : doc.chunkColumns * 256;
}

int calibrationHeight(const CDibDoc& doc)
{
    return doc.bitmapHeight > 0 ? doc.bitmapHeight : doc.chunkRows * 256;
}

namespace {
bool finite(const GeoRect& r)
{
    return std::isfinite(r.south) && std::isfinite(r.north) && std::isfinite(r.west) && std::isfinite(r.east);
}
} // namespace

std::optional<GeoRect> twoPointBoundary(double lat1, double lon1, int px1, int py1, double lat2, double lon2, int px2,
                                        int py2, int width, int height)
{
    if (px1 == px2 || py1 == py2)
        return std::nullopt;
    GeoRect r;
    const double dLon = (lon2 - lon1) / (px2 - px1);
    r.west = lon1 - px1 * dLon;
    r.east = lon2 + (width - px2) * dLon;
    const double dLat = (lat2 - lat1) / (py2 - py1);
    r.south = lat1 - py1 * dLat;
    r.north = lat2 + (height - py2) * dLat;
    if (!finite(r))
        return std::nullopt;
    return r;
}

std::optional<GeoRect> pointScaleBoundary(double latitude, double longitude, int px, int py, double metresPerPixel,
                                          int width, int height)
{
    const double mLon = std::cos(latitude * 3.14159265359 / 180) * 40075.0 / 360.0 * 1000.0;
    const double mLat = 40007.0 / 360.0 * 1000.0;
    const double dLon = metresPerPixel / mLon;
    const double dLat = metresPerPixel / mLat;
    GeoRect r;
    r.west = longitude - px * dLon;
    r.east = longitude + (width - px) * dLon;
    r.south = latitude - py * dLat;
    r.north = latitude + (height - py) * dLat;
    if (!finite(r))
        return std::nullopt;
    return r;
}

void acceptFirstLandmark(CDibDoc& doc, const std::string& latitudeText, const std::string& longitudeText)
{
    doc.landmark1Latitude = parseCoordinate(latitudeText);
    doc.landmark1Longitude = parseCoordinate(longitudeText);
}

bool acceptTwoPoint(CDibDoc& doc, const std::string& lat1, const std::string& lon1, const std::string& lat2,
                    const std::string& lon2)
{
    doc.landmark1Latitude = parseCoordinate(lat1);
    doc.landmark1Longitude = parseCoordinate(lon1);
    doc.landmark2Latitude = parseCoordinate(lat2);
    doc.landmark2Longitude = parseCoordinate(lon2);
    const bool sameLine = doc.landmark1PixelX == doc.landmark2PixelX || doc.landmark1PixelY == doc.landmark2PixelY;
    const auto boundary = twoPointBoundary(doc.landmark1Latitude, doc.landmark1Longitude, doc.landmark1PixelX,
                                           doc.landmark1PixelY, doc.landmark2Latitude, doc.landmark2Longitude,
                                           doc.landmark2PixelX, doc.landmark2PixelY, calibrationWidth(doc),
                                           calibrationHeight(doc));
    if (!boundary) {
        doc.app.platform.message(sameLine ? kSameColumnOrRowText : kNoFiniteBoundaryText, MsgIcon::Exclamation);
        return false;
    }
    doc.boundary = *boundary;
    doc.setModified(true);
    return true;
}

bool acceptPointScale(CDibDoc& doc, const std::string& latitudeText, const std::string& longitudeText,
                      double metresPerPixel)
{
    doc.landmark1Latitude = parseCoordinate(latitudeText);
    doc.landmark1Longitude = parseCoordinate(longitudeText);
    const auto boundary =
        pointScaleBoundary(doc.landmark1Latitude, doc.landmark1Longitude, doc.landmark1PixelX, doc.landmark1PixelY,
                           metresPerPixel, calibrationWidth(doc), calibrationHeight(doc));
    if (!boundary) {
        doc.app.platform.message(kNoFiniteBoundaryText, MsgIcon::Exclamation);
        return false;
    }
    doc.boundary = *boundary;
    doc.setModified(true);
    return true;
}
