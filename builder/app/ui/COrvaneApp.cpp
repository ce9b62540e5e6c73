#include "app/ui/COrvaneApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <clocale>

#include "app/ui/CMainFrame.h"
#include "app/ui/CSplashWindow.h"
#include "app/ui/DesktopRegistration.h"

namespace {

// Switches are accepted with '/' or '-' (or two dashes), in any letter case.
QString switchName(const QString& argument)
{
    QString name = argument;
    if (name.startsWith("--"))
        return name.mid(2).toLower();
    if (name.startsWith('/') && !QFileInfo::exists(name))
        return name.mid(1).toLower();
    if (name.startsWith('-'))
        return name.mid(1).toLower();
    return QString();
}

} // namespace

COrvaneApp::COrvaneApp() : app_(platform_), startup_(app_) {}

COrvaneApp::~COrvaneApp()
{
    frame_.reset();
}

bool COrvaneApp::splashWanted()
{
    if (qEnvironmentVariableIsSet("ORVANE_NO_SPLASH"))
        return false;
    return QGuiApplication::platformName() != "offscreen";
}

bool COrvaneApp::InitInstance(const QStringList& arguments)
{
    QString projectToOpen;
    bool embedding = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString name = switchName(arguments[i]);
        if (name == "regserver" || name == "unregserver") {
            registrationRun_ = true;
            const bool ok = name == "regserver"
                                ? DesktopRegistration::install(QFileInfo(QCoreApplication::applicationFilePath())
                                                                   .absoluteFilePath())
                                : DesktopRegistration::uninstall();
            if (!ok)
                registrationRun_ = false;  // reported through the exit code
            return false;
        }
        if (name == "embedding" || name == "automation")
            embedding = true;
        else if (name.isEmpty() && projectToOpen.isEmpty())
            projectToOpen = arguments[i];
    }

    // Numbers, dates and coordinate texts follow the user's regional settings.
    std::setlocale(LC_ALL, "");

    if (embedding) {
        // There is no object server on this desktop: nothing to serve, nothing to show.
        registrationRun_ = true;
        return false;
    }

    frame_ = std::make_unique<CMainFrame>(app_);
    platform_.setMainWindow(frame_.get());
    frame_->showMaximized();

    if (!startup_.readSettings())
        return false;
    frame_->setCoordinateFormatButtons(app_.settings.coordinateFormat);
    // The program's own colors.pcf and default.bmp lie beside it.
    app_.settings.programFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    startup_.loadTexturesIfWanted();

    if (splashWanted())
        (new CSplashWindow)->showCentred();

    if (!projectToOpen.isEmpty())
        frame_->openProjectFile(projectToOpen);
    frame_->refreshCommands();
    return true;
}

int COrvaneApp::ExitInstance()
{
    // Project windows own their projects, which refer to the application context.
    frame_.reset();
    platform_.setMainWindow(nullptr);
    return startup_.writeSettings();
}
