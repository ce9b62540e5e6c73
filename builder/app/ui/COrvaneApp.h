#pragma once
// The application object: start-up (InitInstance) and shut-down (ExitInstance) of the builder.

#include <QString>
#include <QStringList>
#include <memory>

#include "project/AppContext.h"
#include "app/AppStartup.h"
#include "app/ui/QtPlatform.h"

class CMainFrame;

class COrvaneApp {
public:
    COrvaneApp();
    ~COrvaneApp();
    COrvaneApp(const COrvaneApp&) = delete;
    COrvaneApp& operator=(const COrvaneApp&) = delete;

    /// Start-up, in order: the registration switches (act and end), the process locale, the
    /// command line, the main window, TexRelief.cfg, the coordinate buttons, the texture library,
    /// the splash window, and the project named on the command line. False ends the program.
    bool InitInstance(const QStringList& arguments);
    /// Shut-down: closes the main window and writes TexRelief.cfg (unless start-up never read it).
    /// Returns the program's exit code: -1 when the file could not be written.
    int ExitInstance();

    /// Exit code of a run whose start-up returned false: 0 after a registration run, 1 after a failure.
    int failedStartExitCode() const { return registrationRun_ ? 0 : 1; }

    AppContext& context() { return app_; }
    CMainFrame* mainFrame() const { return frame_.get(); }

    /// Whether the splash window is shown: not when ORVANE_NO_SPLASH is set, nor on the
    /// offscreen platform, where nobody could see or dismiss it.
    static bool splashWanted();

private:
    QtPlatform platform_;
    AppContext app_;
    AppStartup startup_;
    std::unique_ptr<CMainFrame> frame_;
    bool registrationRun_ = false;
};
