#include "altitude/ui/AltitudeSourcesCommand.h"

#include "altitude/ui/CAltMapsPropertySheet.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"

void showAltitudeSources(QWidget* parent, CDibDoc& doc)
{
    CAltMapsPropertySheet sheet(doc, parent);
    sheet.exec();
    doc.repaintViews();
}

namespace {
const CommandRegistrar registerAltitudeSources{{
    "project.altitudeSources",
    QStringLiteral("Select Altitude Data Source..."),
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
