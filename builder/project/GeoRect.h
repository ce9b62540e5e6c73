#pragma once

/// A geographic rectangle in degrees, north and east positive.
struct GeoRect {
    double south = 0.0;
    double north = 0.0;
    double west = 0.0;
    double east = 0.0;

    bool operator==(const GeoRect&) const = default;
    /// True when the rectangle has an extent in either direction.
    bool hasExtent() const { return east != west || north != south; }
};
