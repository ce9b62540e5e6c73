#pragma once
// Captions and explanatory texts of the PhotoReal wizard (the string table of its pages).

namespace WizardTexts {

inline constexpr const char* kCaption = "Wizard";   // string 287

inline constexpr const char* kPage1Title = "PhotoReal Wizard Step 1";
inline constexpr const char* kPage2Title = "PhotoReal Wizard Step 2";
inline constexpr const char* kPage3Title = "PhotoReal Wizard Step 3";
inline constexpr const char* kPage4Title = "PhotoReal Wizard Step 4";

// string 419: what the wizard does
inline constexpr const char* kIntro =
    "This wizard makes a new photographic scenery project in four steps: the source bitmap, its "
    "geographic extents, optional altitude maps, and the scenery folder with a texture name prefix. "
    "Finish cuts the bitmap into 256 x 256 pixel texture tiles (level 3, full resolution) and lays "
    "out one TexRelief chunk per tile.";

// string 420: the source bitmap is required
inline constexpr const char* kNeedBitmap =
    "A source bitmap of the landscape is required: a 256-colour (8-bit) BMP file whose width and "
    "height are multiples of 1024 pixels. Press Browse... to choose it.";

// string 61465: entering the texture extents
inline constexpr const char* kExtents =
    "Enter the extents of the texture: the latitudes of its north and south edges and the longitudes "
    "of its east and west edges, either as degrees:minutes:seconds (45:30:00) or as decimal degrees "
    "(45.5); south and west are negative or carry S or W. The resolutions follow the extents. A "
    "changed resolution moves the edges away from the reference corner chosen beside the picture; a "
    "locked resolution is kept while the extents are typed.";

// string 61459: altitude maps
inline constexpr const char* kAltitude =
    "Altitude maps give the terrain its heights: grayscale BMP height images, DTED files or text "
    "files of latitude, longitude and altitude points. Without them the scenery is flat.";

// string 61464: the scenery folder and prefix
inline constexpr const char* kFolder =
    "Choose the root folder of the new scenery. The folder must exist; the folders \\scenery and "
    "\\texture are created in it. The bitmap prefix starts the name of every texture tile and is "
    "usually one or two letters.";

inline constexpr const char* kWelcome = "Welcome to Orvane PhotoWizard!";
inline constexpr const char* kAltitudeNote = "You can omit this step and select the altitude map(s) later";
inline constexpr const char* kFolderPrompt = "Please specify a folder where the new scenery will reside...";
inline constexpr const char* kFolderNote =
    "Note: This is the root scenery location, where \"scenery\" and \"texture\" folders will be located. "
    "Default is the source bitmap location.";

} // namespace WizardTexts
