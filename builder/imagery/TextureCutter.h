#pragma once
#include <cstdint>
#include <string>

class CDibDoc;
class ProgressWindow;

/// Cuts the project bitmap into level 1, 2 or 3 tiles (step 4, 2 or 1 source pixels per tile pixel).
/// With an empty folder text the name dialog asks for the prefix and folder; false only when cancelled.
/// Tiles that cannot be written are counted in one message, unless the caller reports them itself.
bool cutTextureLevel(CDibDoc& doc, int level, const std::string& folderText, int step,
                     ProgressWindow* progress = nullptr, bool reportFailures = true);

/// The folder the tiles of a cut go to: the project's texture folder, else its scenery folder.
std::string textureTileFolder(const CDibDoc& doc);

/// "Cut all level images...": one name dialog, then levels 1, 2 and 3 under one progress window.
bool cutAllLevels(CDibDoc& doc);

/// The largest step a tile is resampled with (the menus use 1, 2 and 4).
inline constexpr int kMaxTileStep = 32;

/// Resamples and writes one 256 x 256 tile whose lower-left source pixel is (x0, y0) (row 0 = bottom).
/// Appends the path to textureFileNames on success; false without a message when the file cannot be
/// made or the step is not 1 to kMaxTileStep.
bool writeTextureTile(CDibDoc& doc, const std::string& path, int x0, int y0, int step,
                      ProgressWindow* progress = nullptr);

/// The rule of level 1 and 2 tiles for one channel: the sum of the channel over a step x step
/// square divided by its area, rounded with exact halves going down, kept to 8 bits.
std::uint8_t averagedChannel(double sum, double area);
