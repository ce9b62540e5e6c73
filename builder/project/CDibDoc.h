#pragma once
// The project document: owns everything a scenery project is. Operations on it live in the
// subsystem folders (project file, altitude, imagery, output, synth) as functions taking a CDibDoc.

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "altitude/AltitudeMap.h"
#include "imagery/LogicalPalette.h"
#include "imagery/PackedBitmap.h"
#include "project/FsMacroItem.h"
#include "project/FsMenuPositionItem.h"
#include "project/GeoRect.h"
#include "project/TexReliefChunk.h"
#include "project/UndoStack.h"
#include "synth/Texture.h"

class AppContext;

class CDibDoc {
public:
    /// Sets every default, then reads the default colours from colors.pcf in the application
    /// folder (saying so through the platform when it cannot be opened). Registers with `app`.
    explicit CDibDoc(AppContext& app);
    ~CDibDoc();
    CDibDoc(const CDibDoc&) = delete;
    CDibDoc& operator=(const CDibDoc&) = delete;

    AppContext& app;

    // Project identity and files
    std::int32_t formatVersion = 0;
    std::string bitmapPath;
    std::string texturePrefix;
    std::string sceneryFolder;
    std::string textureFolder;         // not saved
    std::string sceneryOutputFolder;   // not saved
    std::string paletteName;
    std::string scasmFolder;
    std::string scasmFileTitle;
    std::string filePath;              // the .prj this project was opened from / saved to

    // Geography and grid
    GeoRect boundary;
    std::int32_t chunkColumns = 0;
    std::int32_t chunkRows = 0;
    std::int32_t documentWidth = 1;    // documentSize, not saved
    std::int32_t documentHeight = 1;
    double sceneryWidthKm = 0.0;       // derived, not saved
    double sceneryHeightKm = 0.0;
    double metresPerPixel = 0.0;
    std::vector<TexReliefChunk> chunks;

    // Altitude data
    AltitudeMap mainAltitudeMap;
    std::vector<std::unique_ptr<AltitudeMap>> altitudeMaps;
    double clickLatitude = std::numeric_limits<double>::max();
    double clickLongitude = std::numeric_limits<double>::max();
    std::int32_t clickAltitude = 0;
    std::int32_t clickPixelX = -1;
    std::int32_t clickPixelY = -1;

    // Calibration landmarks (transient)
    double landmark1Latitude = 0.0, landmark1Longitude = 0.0;
    std::int32_t landmark1PixelX = 0, landmark1PixelY = 0;
    double landmark2Latitude = 0.0, landmark2Longitude = 0.0;
    std::int32_t landmark2PixelX = 0, landmark2PixelY = 0;

    // Colours (0x00BBGGRR)
    std::array<std::int32_t, 256> colorTable{};
    std::array<std::int32_t, 4> colorTableParams{};   // standard, night, custom, sky/ground
    std::array<std::uint32_t, 116> standardColors{};  // colors.pcf 0-115
    std::array<std::uint32_t, 12> nightColors{};      // 116-127
    std::array<std::uint32_t, 32> skyGroundColors{};  // 160-191
    std::array<std::uint32_t, 64> customColors{};     // 192-255
    std::uint32_t textColor = 0xFFFFFF;
    std::uint32_t gridColor = 0xFFFFFF;
    std::uint32_t scaleColor = 0xFFFFFF;

    // The project bitmap
    std::optional<PackedBitmap> projectBitmap;
    std::optional<LogicalPalette> projectPalette;
    std::int32_t bitmapWidth = 0;
    std::int32_t bitmapHeight = 0;

    // SCASM output options
    bool writeAltitudeCoordinates = true;
    bool writeAreaMaxHeader = true;
    std::int32_t areaMaxSizeKB = 64;
    bool writeCopyright = true;
    std::string copyrightText;         // the product's notice by default
    std::int32_t includedSeasons = 4;  // 1 Winter, 2 Spring, 4 Summer, 8 Fall
    std::int32_t labelCounter = 0;     // next SCASM label; not saved

    // FS items
    std::vector<FsMenuPositionItem> menuPositionItems;
    std::vector<FsMacroItem> macroItems;

    // Textures
    std::vector<std::unique_ptr<Texture>> projectTextures;
    std::vector<std::string> textureFileNames;   // staging list, not saved

    std::int32_t creationKind = 0;     // 1 PhotoReal wizard, 2 SynthWizard

    // Modified mark and view notifications (set by the window that shows the project).
    // The mark follows the undo history: undoing back to the saved state clears it.
    bool modified = false;
    /// True: a change (outside the history, unless one is being recorded). False: the project
    /// is as on disk (saved or loaded); the history remembers this state as the clean one.
    void setModified(bool value = true);
    /// Sets the mark from the history alone (after an edit was recorded, undone or redone).
    void modifiedFollowsHistory();
    UndoStack undoStack;
    std::function<void()> onModifiedChanged;
    std::function<void()> onRepaint;
    void repaintViews() { if (onRepaint) onRepaint(); }
};
