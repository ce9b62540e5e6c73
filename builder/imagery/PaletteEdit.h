#pragma once
// The scenery palette a project keeps (its name, the colour table and its four range flags),
// set as one undoable edit.

#include <array>
#include <cstdint>
#include <string>

class CDibDoc;

struct ScenePalette {
    std::string name;
    std::array<std::int32_t, 256> colors{};
    std::array<std::int32_t, 4> ranges{};   ///< standard, night, custom, sky/ground: 1 when chosen
    bool operator==(const ScenePalette&) const = default;
};

ScenePalette scenePaletteOf(const CDibDoc& doc);

/// Sets the project's palette and records "Define Palette"; false when it was already so.
bool defineScenePalette(CDibDoc& doc, const ScenePalette& palette);
