// Commands of the chunk and project properties and the FS items.

#include <QDialog>

#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"
#include "project/ChunksEdit.h"
#include "project/ui/ChunkPropertiesSheet.h"
#include "project/ui/FsMacroDialog.h"
#include "project/ui/FsMenuPositionDialog.h"
#include "project/ui/ProjectPropertiesSheet.h"

namespace {

bool hasDocument(FrameServices& frame) { return frame.activeDocument() != nullptr; }

bool hasSelection(FrameServices& frame)
{
    const CDibDoc* doc = frame.activeDocument();
    return doc && !ChunkPropertiesSheet::selectedChunks(*doc).empty();
}

// The items are placed at the point last picked on the map.
bool hasPickedPoint(FrameServices& frame)
{
    const CDibDoc* doc = frame.activeDocument();
    return doc && doc->clickPixelX >= 0 && doc->clickPixelY >= 0;
}

template <class Dialog>
std::function<void(FrameServices&)> openOnDocument()
{
    return [](FrameServices& frame) {
        if (CDibDoc* doc = frame.activeDocument()) {
            Dialog dialog(*doc, frame.window());
            dialog.exec();
            frame.refreshCommands();
        }
    };
}

const CommandRegistrar registerGridProperties{{
    "view.gridProperties", QStringLiteral("Grid &Properties..."),
    QStringLiteral("Edit the TexRelief values and the texture of the selected chunks"), QKeySequence(),
    [](FrameServices& frame) {
        CDibDoc* doc = frame.activeDocument();
        if (!doc)
            return;
        const std::vector<int> selection = ChunkPropertiesSheet::selectedChunks(*doc);
        if (selection.empty())
            return;
        // What the sheet changes, live or on Apply, is one step of the history.
        std::vector<TexReliefChunk> before = doc->chunks;
        {
            UndoStack::Busy recording(doc->undoStack);
            ChunkPropertiesSheet sheet(*doc, selection, frame.window());
            sheet.exec();
        }
        recordChunksEdit(*doc, "Chunk Properties", std::move(before));
        frame.refreshCommands();
    },
    hasSelection, {}}};

const CommandRegistrar registerProjectProperties{{
    "view.projectProperties", QStringLiteral("Project &Properties..."),
    QStringLiteral("Edit the map colours, the source options and the FS items of the project"), QKeySequence(),
    openOnDocument<ProjectPropertiesSheet>(), hasDocument, {}}};

const CommandRegistrar registerInsertPosition{{
    "fs.insertPosition", QStringLiteral("Insert FS position preset..."),
    QStringLiteral("Add a position of the simulator's menu at the picked point"), QKeySequence(),
    openOnDocument<FsMenuPositionDialog>(), hasPickedPoint, {}}};

const CommandRegistrar registerInsertMacro{{
    "fs.insertMacro", QStringLiteral("Insert Macro..."),
    QStringLiteral("Add a macro call at the picked point"), QKeySequence(),
    openOnDocument<FsMacroDialog>(), hasPickedPoint, {}}};

} // namespace
