// Renders the main window with a project open into a PNG, so the window can be looked at without
// a display. With a file argument it writes there; without one (as a test) it checks that a
// picture of the full window size comes out. A second argument names the project to open
// instead of the small demonstration one.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "project/AppContext.h"
#include "app/ui/CMainFrame.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "DemoProject.h"
#include "support/ScriptedPlatform.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QStringList args = QApplication::arguments();
    QTemporaryDir work;
    const QString output = args.size() > 1 ? args[1] : work.filePath("main-window.png");

    ScriptedPlatform platform;
    AppContext app(platform);
    CMainFrame frame(app);
    frame.resize(1280, 800);
    frame.show();

    // Through the project file, as a user would open it.
    const QString projectPath = args.size() > 2 ? args[2] : work.filePath("Demo.prj");
    if (args.size() <= 2) {
        CDibDoc doc(app);
        fillDemoProject(doc);
        if (!saveProject(doc, projectPath.toStdString())) {
            std::fprintf(stderr, "could not write the demonstration project\n");
            return 1;
        }
    }
    if (!frame.openProjectFile(projectPath)) {
        std::fprintf(stderr, "could not open the demonstration project\n");
        return 1;
    }
    frame.setZoomText("1.00");
    // Sample read-outs belong to the demonstration project only.
    if (args.size() <= 2)
        frame.setCursorPosition("15:22:30.00", "45:18:45.00", "312", "411", "393");
    // Let layouts settle and the clock panes fill (quitting the application would close the windows).
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();

    const QImage image = frame.grab().toImage();
    if (image.isNull() || !image.save(output, "PNG")) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(output));
        return 1;
    }
    const QImage back(output);
    if (back.size() != frame.size()) {
        std::fprintf(stderr, "the picture has the wrong size\n");
        return 1;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(output)));
    return 0;
}
