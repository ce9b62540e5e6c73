// The map view's overlay switches and pointer modes, bound to the View menu and the tool palette.
// Each acts on the active project window's view; without one they are disabled.

#include "altitude/AltitudeEdits.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"
#include "view/ui/CDibView.h"

namespace {

CDibView* activeMapView(FrameServices& frame)
{
    return qobject_cast<CDibView*>(frame.activeView());
}

bool hasView(FrameServices& frame)
{
    return activeMapView(frame) != nullptr;
}

bool hasAltitudeRecords(FrameServices& frame)
{
    CDibView* view = activeMapView(frame);
    return view && !view->document().mainAltitudeMap.records.empty();
}

CommandSpec overlay(const char* id, const char* text, bool CDibView::*flag, bool needsAltitude)
{
    CommandSpec command;
    command.id = id;
    command.text = text;
    command.run = [flag](FrameServices& frame) {
        if (CDibView* view = activeMapView(frame)) {
            view->*flag = !(view->*flag);
            view->viewport()->update();
        }
    };
    command.enabled = needsAltitude ? hasAltitudeRecords : hasView;
    command.checked = [flag](FrameServices& frame) {
        CDibView* view = activeMapView(frame);
        return view && view->*flag;
    };
    return command;
}

CommandSpec mode(const char* id, const char* text, int value)
{
    CommandSpec command;
    command.id = id;
    command.text = text;
    command.run = [value](FrameServices& frame) {
        if (CDibView* view = activeMapView(frame)) {
            view->viewMode = value;
            view->updateCursor();
        }
    };
    command.enabled = hasView;
    command.checked = [value](FrameServices& frame) {
        CDibView* view = activeMapView(frame);
        return view && view->viewMode == value;
    };
    return command;
}

const CommandRegistrar gridLines{overlay("view.gridLines", "&Grid Lines", &CDibView::showGridLines, false)};
const CommandRegistrar gridNodes{overlay("view.gridNodes", "&Grid Nodes", &CDibView::showGridNodes, false)};
const CommandRegistrar altitudeNodes{
    overlay("view.altitudeNodes", "&Altitude Nodes", &CDibView::showAltitudeNodes, true)};
const CommandRegistrar altitudeLabels{
    overlay("view.altitudeLabels", "&Altitude Labels", &CDibView::showAltitudeLabels, true)};
const CommandRegistrar defaultCursor{mode("view.defaultCursor", "Set &Default Cursor", 0)};
const CommandRegistrar crosshair{mode("view.crosshair", "Set &CrossHair Cursor", 1)};
const CommandRegistrar moveTexture{mode("view.moveTexture", "Dynamically &Move the Texture", 2)};
const CommandRegistrar zoomTool{mode("view.zoomTool", "&Zoom Tool", 3)};

// The altitude editing commands run the record edits on the position under the pointer. Their
// update rule keeps them disabled, so the menus show them greyed out and never start them.
CommandSpec altitudeEdit(const char* id, const char* text, bool (*edit)(CDibDoc&))
{
    CommandSpec command;
    command.id = id;
    command.text = text;
    command.run = [edit](FrameServices& frame) {
        if (CDibDoc* doc = frame.activeDocument())
            edit(*doc);
    };
    command.enabled = [](FrameServices&) { return false; };
    return command;
}

const CommandRegistrar overrideAltitude{altitudeEdit("altitude.override", "Override Altitude...", overrideAltitudeCommand)};
const CommandRegistrar deleteAltitude{
    altitudeEdit("altitude.delete", "Delete Altitude Record", deleteAltitudeRecordCommand)};
const CommandRegistrar insertAltitude{
    altitudeEdit("altitude.insert", "Insert Altitude Record...", insertAltitudeRecordCommand)};

} // namespace
