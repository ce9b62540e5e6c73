#include <QApplication>

#include <cstdio>
#include <cstring>

#include "base/BuildInfo.h"

#include "app/ui/COrvaneApp.h"

int main(int argc, char** argv)
{
    // Answered before any window system is needed.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("orvane %s (built %s)\n", BuildInfo::kVersion, BuildInfo::kBuildDate);
            return 0;
        }
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(BuildInfo::kVersion));
    QApplication::setApplicationName("Orvane");
    QApplication::setOrganizationName("Orvane");

    COrvaneApp theApp;
    if (!theApp.InitInstance(QApplication::arguments())) {
        // Shut-down runs after a failed start-up too; it leaves an unread configuration alone.
        const int code = theApp.ExitInstance();
        return code != 0 ? code : theApp.failedStartExitCode();
    }
    const int runCode = QApplication::exec();
    const int exitCode = theApp.ExitInstance();
    return exitCode != 0 ? exitCode : runCode;
}
