// The commands the main window itself carries out: opening, saving and closing projects, exit,
// the coordinate display form, and the Help menu.

#include <QDir>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/UserGuideWindow.h"
#include "base/ui/CommandRegistry.h"
#include "app/ui/ProjectWindow.h"
#include "project/CopyrightNotice.h"

namespace {

CMainFrame* frameOf(FrameServices& services)
{
    return dynamic_cast<CMainFrame*>(&services);
}

ProjectWindow* activeWindowOf(FrameServices& services)
{
    CMainFrame* frame = frameOf(services);
    return frame ? frame->activeProjectWindow() : nullptr;
}

bool haveProject(FrameServices& services)
{
    return services.activeDocument() != nullptr;
}

void setCoordinateFormat(FrameServices& services, int format)
{
    services.app().settings.coordinateFormat = format;
    if (QWidget* view = services.activeView())
        view->update();
}

const CommandRegistrar openCommand{{"file.open", "&Open Project...", "Open an existing project",
                                    QKeySequence("Ctrl+O"),
                                    [](FrameServices& f) {
                                        if (CMainFrame* frame = frameOf(f))
                                            frame->openProjectDialog();
                                    },
                                    {}, {}}};

const CommandRegistrar saveCommand{{"file.save", "&Save", "Save the active project", QKeySequence("Ctrl+S"),
                                    [](FrameServices& f) {
                                        if (ProjectWindow* w = activeWindowOf(f))
                                            w->save();
                                    },
                                    haveProject, {}}};

const CommandRegistrar saveAsCommand{{"file.saveAs", "Save &As...", "Save the active project with a new name",
                                      QKeySequence(),
                                      [](FrameServices& f) {
                                          if (ProjectWindow* w = activeWindowOf(f))
                                              w->saveAs();
                                      },
                                      haveProject, {}}};

const CommandRegistrar closeCommand{{"file.close", "&Close", "Close the active project", QKeySequence("Ctrl+W"),
                                     [](FrameServices& f) {
                                         if (ProjectWindow* w = activeWindowOf(f))
                                             w->close();
                                     },
                                     haveProject, {}}};

const CommandRegistrar exitCommand{{"app.exit", "E&xit", "Quit the application; prompts to save projects",
                                    QKeySequence("Ctrl+Q"), [](FrameServices& f) { f.window()->close(); }, {}, {}}};

const CommandRegistrar dmsCommand{{"coord.dms", "D:M:S", "Show coordinates as degrees:minutes:seconds",
                                   QKeySequence(), [](FrameServices& f) { setCoordinateFormat(f, 1); }, {},
                                   [](FrameServices& f) { return f.app().settings.coordinateFormat != 0; }}};

const CommandRegistrar decimalCommand{{"coord.decimal", "Decimal", "Show coordinates as decimal degrees",
                                       QKeySequence(), [](FrameServices& f) { setCoordinateFormat(f, 0); }, {},
                                       [](FrameServices& f) { return f.app().settings.coordinateFormat == 0; }}};

void openProductPage(FrameServices& f)
{
    f.app().platform.openUrl(CMainFrame::kProductUrl);
}

void openUserGuide(FrameServices& f)
{
    const QString guide = CMainFrame::userGuidePath();
    if (guide.isEmpty()) {
        f.app().platform.message("The user guide (user-guide.md) was not found in " +
                                     QDir::toNativeSeparators(CMainFrame::installedGuideFolder()).toStdString() +
                                     ". Reinstall Orvane to get it back.",
                                 MsgIcon::Exclamation);
        return;
    }
    UserGuideWindow::showGuide(f.window(), guide);
}

const CommandRegistrar userGuideCommand{
    {"help.guide", "&User Guide", "Read the Orvane user guide", QKeySequence("F1"), openUserGuide, {}, {}}};

const CommandRegistrar onlineHelpCommand{
    {"help.online", "&Online Help....", "Open the Orvane user guide", QKeySequence(), openUserGuide, {}, {}}};

const CommandRegistrar contactCommand{
    {"help.contact", "&Contact Orvane....", "Open the Orvane web page", QKeySequence(), openProductPage, {}, {}}};

const CommandRegistrar aboutCommand{{"help.about", "&About Orvane...", "Display program information and copyright",
                                     QKeySequence(),
                                     [](FrameServices& f) {
                                         QMessageBox::about(f.window(), "About Orvane",
                                                            CMainFrame::aboutText());
                                     },
                                     {}, {}}};

} // namespace
