#pragma once
// Captions and explanatory texts of the SynthWizard (the string table of its pages).

namespace SynthWizardTexts {

inline constexpr const char* kCaption = "Wizard";   // string 298

inline constexpr const char* kPage1Title = "Orvane SynthWizard Step1";
inline constexpr const char* kPage2Title = "Orvane SynthWizard Step 2";
inline constexpr const char* kPage3Title = "Orvane SynthWizard Step 3";
inline constexpr const char* kPage4Title = "Orvane SynthWizard Step 4";

// string 61461: the grid size
inline constexpr const char* kGrid =
    "Define the size of the synthetic scenery as a grid of chunks: the number of columns (west to "
    "east) and rows (south to north). Every chunk is 256 x 256 pixels and gets one texture of the "
    "synthetic library, chosen so that its edges fit its neighbours.";

// string 61460: the resolution of synthetic textures
inline constexpr const char* kExtents =
    "Enter the extents of the scenery, as degrees:minutes:seconds (45:30:00) or decimal degrees (45.5). "
    "Synthetic textures show about 2 metres per pixel; keep the resolution near that value. With the "
    "resolutions locked, typing one corner moves the opposite edges to fit the grid.";

// string 61462: the landscape types
inline constexpr const char* kClasses =
    "Check only the landscape group types that should take part in the scenery. Textures whose edges "
    "show any other type are left out.";

// string 61463: altitude maps and water
inline constexpr const char* kAltitude =
    "Altitude maps are optional. They give the terrain its heights and are needed to fit a coastline: "
    "with \"Render water at water level\", chunks whose nodes all lie at the water level (0 m, the "
    "lowest altitude by default) show water.";

inline constexpr const char* kResolutionGroup = "Synthetic Scenery Resolution (m/pix):";
inline constexpr const char* kNoGroupSelected = "Please select at least one Landscape Group Type.";
inline constexpr const char* kLoadAltitude = "Load Altitude Map...";
inline constexpr const char* kRenderWater = "Render water at water level";

// Tooltips of the reference corner buttons, by corner index.
inline constexpr const char* kCornerTips[4] = {
    "Propagate auto extents calculation to Max Long, Min Lat",
    "Propagate auto extents calculation to Max Long, Max Lat",
    "Propagate auto extents calculation to Min Long, Min Lat",
    "Propagate auto extents calculation to Min Long, Max Lat",
};

} // namespace SynthWizardTexts
