#pragma once
// Which cursor the map view shows: a calibration in progress wins over the pointer modes.

enum class ViewCursor { Arrow, CalibrateFirst, CalibrateSecond, CalibratePoint, MoveDragging, Zoom, Crosshair };

/// calibrationStep 1, 2, 3: the calibration cursors; else mode 2 with the button down: moving;
/// mode 3: zoom; mode 1: crosshair; otherwise the arrow.
inline ViewCursor chooseViewCursor(int calibrationStep, int viewMode, bool buttonDown)
{
    switch (calibrationStep) {
    case 1: return ViewCursor::CalibrateFirst;
    case 2: return ViewCursor::CalibrateSecond;
    case 3: return ViewCursor::CalibratePoint;
    default: break;
    }
    if (viewMode == 2 && buttonDown)
        return ViewCursor::MoveDragging;
    if (viewMode == 3)
        return ViewCursor::Zoom;
    if (viewMode == 1)
        return ViewCursor::Crosshair;
    return ViewCursor::Arrow;
}
