// Edit > Undo and Redo: the active project's history, with the edit's name in the menu.

#include <QWidget>

#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"

namespace {

void step(FrameServices& frame, bool back)
{
    CDibDoc* doc = frame.activeDocument();
    if (!doc)
        return;
    if (back)
        doc->undoStack.undo(*doc);
    else
        doc->undoStack.redo(*doc);
    // Boundary steps change the scenery's size and scale.
    frame.showSceneryProperties(doc->sceneryWidthKm, doc->sceneryHeightKm, doc->metresPerPixel);
    doc->repaintViews();
    if (QWidget* view = frame.activeView())
        view->update();
    frame.refreshCommands();
}

const CommandRegistrar undoCommand{{"edit.undo", "&Undo", "Take back the last change of the project",
                                    QKeySequence("Ctrl+Z"), [](FrameServices& f) { step(f, true); },
                                    [](FrameServices& f) {
                                        const CDibDoc* doc = f.activeDocument();
                                        return doc && doc->undoStack.canUndo();
                                    },
                                    {}}};

const CommandRegistrar redoCommand{{"edit.redo", "&Redo", "Make the change that was taken back again",
                                    QKeySequence("Ctrl+Shift+Z"), [](FrameServices& f) { step(f, false); },
                                    [](FrameServices& f) {
                                        const CDibDoc* doc = f.activeDocument();
                                        return doc && doc->undoStack.canRedo();
                                    },
                                    {}}};

} // namespace
