#pragma once
// The scale bar: 10 km when a bitmap pixel covers more than 15 m, else 1 km, at a fixed size
// whatever the zoom, with its box, ticks and the two texts.

#include <optional>
#include <string>
#include <vector>

#include "view/MapTransform.h"

struct ScaleBarTick {
    ViewPoint from;   ///< on the bar
    ViewPoint to;     ///< above it
    bool operator==(const ScaleBarTick&) const = default;
};

struct ScaleBarLayout {
    ViewRect box;                    ///< the black box behind the bar
    ViewPoint barFrom, barTo;        ///< the bar itself
    std::vector<ScaleBarTick> ticks; ///< eleven: 8 high at both ends and the middle, 4 elsewhere
    ViewPoint zeroTextAt;            ///< "0 m", centred, its top at this point
    ViewPoint lengthTextAt;          ///< the length text, centred, its top at this point
    std::string zeroText = "0 m";
    std::string lengthText;          ///< "%6.0f m" of the length
    double lengthMetres = 0;
};

/// The bar for the scale and the bar's height `y` in window coordinates. Nothing when the scale
/// is not a positive finite number (no boundary yet) or the bar would not fit in a window.
std::optional<ScaleBarLayout> scaleBarLayout(double metresPerPixel, int y);
