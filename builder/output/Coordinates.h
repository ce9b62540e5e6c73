#pragma once
// Coordinate texts of every dialog: decimal degrees or degrees:minutes:seconds, in the process locale.

#include <string>

struct DmsParts {
    int degrees = 0;      ///< never negative
    int minutes = 0;      ///< 0..59
    double seconds = 0;   ///< 0 up to 60
    int sign = 1;         ///< +1 or -1
};

/// Splits |value| into whole degrees, whole minutes and seconds, with the sign apart.
DmsParts splitDms(double value);

/// dms == 0: "%5.6f"; otherwise "[-]d:m:s.ss" ("%d:%d:%2.2f"). No hemisphere letter.
std::string formatCoordinate(double value, int dms);

/// Reads decimal or d:m:s text, with an optional sign and hemisphere letter (S/W negative).
/// Unreadable parts count as 0; empty text gives 0.
double parseCoordinate(const std::string& text);
