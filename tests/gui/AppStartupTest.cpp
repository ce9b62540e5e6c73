// Start-up and shut-down of the whole program on the offscreen platform: the configuration file
// in the current folder, the coordinate buttons, the project named on the command line, and the
// registration switches that install or remove the desktop entry and the .prj MIME type.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/ConfigFile.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/COrvaneApp.h"
#include "app/ui/DesktopRegistration.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class AppStartupTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home;       // the user's data and configuration folders
    QTemporaryDir folder;     // the current folder of each run
    QString previousFolder;

    QTimer answerer;          // answers every message box, recording it
    QStringList messages;
    QList<QMessageBox::Icon> icons;

    QString cfg() const { return folder.filePath("TexRelief.cfg"); }

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
        previousFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        connect(&answerer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->text();
                icons << box->icon();
                box->accept();
            }
        });
        answerer.start(20);
    }

    void cleanupTestCase() { QDir::setCurrent(previousFolder); }

    void init()
    {
        messages.clear();
        icons.clear();
    }

    void cleanup() { QFile::remove(cfg()); }

    void missingConfigurationSaysSoOnceAndIsWrittenAtExit()
    {
        COrvaneApp app;
        QVERIFY(app.InitInstance({"orvane"}));
        QCOMPARE(messages, QStringList{"Configuration settings not found. Creating new settings."});
        QCOMPARE(icons.value(0), QMessageBox::Warning);
        QCOMPARE(app.context().settings.applicationPath, QDir::currentPath().toStdString());
        QVERIFY(app.mainFrame()->findChild<QRadioButton*>("radio_242")->isChecked());
        QCOMPARE(app.ExitInstance(), 0);
        QVERIFY(QFile::exists(cfg()));
        QCOMPARE(messages.size(), 1);
    }

    void savedSettingsComeBackAndGoOut()
    {
        AppSettings saved;
        saved.coordinateFormat = 0;
        saved.fs98Path = "C:\\FS98";
        saved.textureClasses = {{"Water", 0xFF0000, 1, 0}};
        QVERIFY(writeConfigFile(cfg().toStdString(), saved));
        COrvaneApp app;
        QVERIFY(app.InitInstance({"orvane"}));
        QCOMPARE(app.context().settings.fs98Path, std::string("C:\\FS98"));
        QVERIFY(app.mainFrame()->findChild<QRadioButton*>("radio_243")->isChecked());
        app.context().settings.viewSeason = 0;
        QCOMPARE(app.ExitInstance(), 0);
        AppSettings back;
        QCOMPARE(readConfigFile(cfg().toStdString(), back), ConfigFileState::Loaded);
        QCOMPARE(back.viewSeason, 0);
        QCOMPARE(back.textureClasses.size(), std::size_t(1));
    }

    void corruptConfigurationEndsStartUpAndSurvives()
    {
        const QByteArray corrupt("\x02\x00\x10\x00\x00\x00\x3f\x00\xff\xff", 10);
        QFile file(cfg());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(corrupt);
        file.close();
        COrvaneApp app;
        QVERIFY(!app.InitInstance({"orvane"}));
        QCOMPARE(app.ExitInstance(), 0);
        QCOMPARE(app.failedStartExitCode(), 1);
        QCOMPARE(readAll(cfg()), corrupt);
        QVERIFY(messages.isEmpty());  // no word about it
    }

    void projectNamedOnTheCommandLineOpens()
    {
        QVERIFY(writeConfigFile(cfg().toStdString(), AppSettings()));
        const QString project = folder.filePath("Named.prj");
        {
            COrvaneApp maker;
            CDibDoc doc(maker.context());
            doc.chunkColumns = 1;
            doc.chunkRows = 1;
            if (!saveProject(doc, project.toStdString()))
                QSKIP("the project file writer is not available");
        }
        COrvaneApp app;
        QVERIFY(app.InitInstance({"orvane", project}));
        QVERIFY(app.mainFrame()->activeDocument());
        QCOMPARE(app.mainFrame()->activeDocument()->chunkColumns, 1);
        QCOMPARE(app.ExitInstance(), 0);
    }

    void registrationSwitchesInstallAndRemoveTheDesktopFiles()
    {
        const QString desktop = home.filePath("data/applications/orvane.desktop");
        const QString mime = home.filePath("data/mime/packages/orvane-project.xml");
        AppSettings custom;
        custom.cfsPath = "kept";
        QVERIFY(writeConfigFile(cfg().toStdString(), custom));
        const QByteArray before = readAll(cfg());
        {
            COrvaneApp app;
            QVERIFY(!app.InitInstance({"orvane", "/RegServer"}));
            QCOMPARE(app.failedStartExitCode(), 0);
            QCOMPARE(app.ExitInstance(), 0);
            QVERIFY(!app.mainFrame());
        }
        QVERIFY(QFile::exists(desktop));
        QVERIFY(QFile::exists(mime));
        QVERIFY(readAll(desktop).contains("MimeType=application/x-orvane-project;"));
        QVERIFY(readAll(desktop).contains("Exec=\""));
        QVERIFY(readAll(mime).contains("<glob pattern=\"*.prj\"/>"));
        // Our own icons for the program and its project files, not the toolkit's.
        QVERIFY(readAll(desktop).contains("Icon=orvane\n"));
        QVERIFY(readAll(mime).contains("<icon name=\"application-x-orvane-project\"/>"));
        const QString appIcon = home.filePath("data/icons/hicolor/48x48/apps/orvane.png");
        const QString docIcon = home.filePath("data/icons/hicolor/256x256/mimetypes/application-x-orvane-project.png");
        QCOMPARE(QImage(appIcon).size(), QSize(48, 48));
        QCOMPARE(QImage(docIcon).size(), QSize(256, 256));
        QCOMPARE(readAll(cfg()), before);  // a registration run leaves the settings alone
        {
            COrvaneApp app;
            QVERIFY(!app.InitInstance({"orvane", "-unregserver"}));
            QCOMPARE(app.failedStartExitCode(), 0);
            app.ExitInstance();
        }
        QVERIFY(!QFile::exists(desktop));
        QVERIFY(!QFile::exists(mime));
        QVERIFY(!QFile::exists(appIcon));
        QVERIFY(!QFile::exists(docIcon));
        QCOMPARE(readAll(cfg()), before);
    }

    void execLineQuotesWhatTheDesktopWouldExpand()
    {
        QCOMPARE(DesktopRegistration::execLine("/opt/orvane/orvane"), QString("\"/opt/orvane/orvane\" %f"));
        QCOMPARE(DesktopRegistration::execLine("/a b/$x\"y\\z%"), QString("\"/a b/\\$x\\\"y\\\\z%%\" %f"));
    }
};

QTEST_MAIN(AppStartupTest)
#include "AppStartupTest.moc"
