#include <QApplication>

#include "app/ui/COrvaneApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
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
