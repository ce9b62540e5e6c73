#include "imagery/PaletteEdit.h"

#include "project/CDibDoc.h"
#include "project/SnapshotEdit.h"

ScenePalette scenePaletteOf(const CDibDoc& doc)
{
    return {doc.paletteName, doc.colorTable, doc.colorTableParams};
}

namespace {
void restoreScenePalette(CDibDoc& doc, const ScenePalette& palette)
{
    doc.paletteName = palette.name;
    doc.colorTable = palette.colors;
    doc.colorTableParams = palette.ranges;
}
} // namespace

bool defineScenePalette(CDibDoc& doc, const ScenePalette& palette)
{
    return recordEdit<ScenePalette>(doc, "Define Palette", scenePaletteOf, restoreScenePalette, [&] {
        if (scenePaletteOf(doc) == palette)
            return false;
        restoreScenePalette(doc, palette);
        return true;
    });
}
