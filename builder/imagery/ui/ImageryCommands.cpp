// The "Prepare Textures..." and palette menu commands of a project.

#include <QDialog>
#include <QDir>

#include "project/AppContext.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "imagery/PaletteFiles.h"
#include "imagery/TextureCutter.h"
#include "imagery/ui/PaletteDialog.h"
#include "project/CDibDoc.h"

namespace {
bool bitmapLoaded(FrameServices& frame)
{
    const CDibDoc* doc = frame.activeDocument();
    return doc && doc->projectBitmap.has_value();
}

// The scenery palette only matters for raw .r8 tiles, which platform 0 writes.
bool paletteApplies(FrameServices& frame)
{
    return bitmapLoaded(frame) && frame.app().settings.platform == 0;
}

std::function<void(FrameServices&)> onDocument(std::function<void(CDibDoc&)> action)
{
    return [action = std::move(action)](FrameServices& frame) {
        if (CDibDoc* doc = frame.activeDocument())
            action(*doc);
    };
}

// Runs a cut and says in the status bar how many tiles it wrote and where.
std::function<void(FrameServices&)> cutCommand(const QString& what, std::function<bool(CDibDoc&)> cut)
{
    return [what, cut = std::move(cut)](FrameServices& frame) {
        CDibDoc* doc = frame.activeDocument();
        if (!doc)
            return;
        const std::size_t before = doc->textureFileNames.size();
        if (!cut(*doc)) {
            frame.showStatus(QString());
            return;
        }
        const qsizetype made = static_cast<qsizetype>(doc->textureFileNames.size() - before);
        const QString folder = QDir::toNativeSeparators(QString::fromStdString(textureTileFolder(*doc)));
        frame.showStatus(made == 0 ? QStringLiteral("%1: no tiles could be written to %2").arg(what, folder)
                                   : QStringLiteral("%1: %2 %3 written to %4")
                                         .arg(what)
                                         .arg(made)
                                         .arg(made == 1 ? "tile" : "tiles", folder));
    };
}

const CommandRegistrar registerCutAll{{
    "textures.cutAll", QStringLiteral("Cut &all level images..."), QStringLiteral("Cut All Level Images"),
    QKeySequence(), cutCommand("All levels", [](CDibDoc& doc) { return cutAllLevels(doc); }), bitmapLoaded, {}}};
const CommandRegistrar registerCut1{{
    "textures.cut1", QStringLiteral("Cut level &1..."), QStringLiteral("Cut Level 1 (1024x1024) images..."),
    QKeySequence(), cutCommand("Level 1", [](CDibDoc& doc) { return cutTextureLevel(doc, 1, "", 4); }),
    bitmapLoaded, {}}};
const CommandRegistrar registerCut2{{
    "textures.cut2", QStringLiteral("Cut level &2..."), QStringLiteral("Cut Level 2 (512x512) Images"),
    QKeySequence(), cutCommand("Level 2", [](CDibDoc& doc) { return cutTextureLevel(doc, 2, "", 2); }),
    bitmapLoaded, {}}};
const CommandRegistrar registerCut3{{
    "textures.cut3", QStringLiteral("Cut level &3..."), QStringLiteral("Cut Level 3 (256x256) Images"),
    QKeySequence(), cutCommand("Level 3", [](CDibDoc& doc) { return cutTextureLevel(doc, 3, "", 1); }),
    bitmapLoaded, {}}};

const CommandRegistrar registerPaletteDefine{{
    "palette.define", QStringLiteral("&Define..."), QStringLiteral("Compose the scenery palette"), QKeySequence(),
    [](FrameServices& frame) {
        CDibDoc* doc = frame.activeDocument();
        if (!doc)
            return;
        PaletteDialog dialog(*doc, frame.window());
        dialog.exec();
    },
    paletteApplies, {}}};
const CommandRegistrar registerPaletteSave{{
    "palette.save", QStringLiteral("&Save..."), QStringLiteral("Save the scenery palette as a .pal file"),
    QKeySequence(), onDocument([](CDibDoc& doc) { savePaletteAs(doc); }), paletteApplies, {}}};
} // namespace
