#include "altitude/ui/AltitudeSourcesCommand.h"

#include "altitude/AltitudeMapsSnapshot.h"
#include "altitude/ui/CAltMapsPropertySheet.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"

void showAltitudeSources(QWidget* parent, CDibDoc& doc)
{
    // Whatever the sheet adds, deletes or sets is one step of the history.
    AltitudeMapsSnapshot before = AltitudeMapsSnapshot::of(doc);
    {
        UndoStack::Busy recording(doc.undoStack);
        CAltMapsPropertySheet sheet(doc, parent);
        sheet.exec();
    }
    recordAltitudeMapsEdit(doc, "Altitude Maps", std::move(before));
    doc.repaintViews();
}

namespace {
const CommandRegistrar registerAltitudeSources{{
    "project.altitudeSources",
    QStringLiteral("Select Altitude &Data Source..."),
    QStringLiteral("Add, remove and merge the altitude maps of the project"),
    QKeySequence(),
    [](FrameServices& frame) {
        if (CDibDoc* doc = frame.activeDocument())
            showAltitudeSources(frame.window(), *doc);
    },
    [](FrameServices& frame) { return frame.activeDocument() != nullptr; },
    {},
}};
} // namespace
