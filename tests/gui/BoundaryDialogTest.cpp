// The Boundary Area dialog and its project command on the offscreen platform.

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <memory>

#include "GuiWait.h"
#include "project/AppContext.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"
#include "project/SceneryDimensions.h"
#include "project/SceneryDimensions.h"
#include "project/ui/BoundaryAreaDlg.h"
#include "RecordingFrame.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace {

const char* const kWarning = "The range of scenery specified is too large for the texture provided. The scenery engine "
                             "might have difficulties properly displaying the terrain.";


} // namespace

class BoundaryDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CDibDoc> doc;
    std::unique_ptr<TempDir> dir;

private slots:
    void init()
    {
        platform = std::make_unique<ScriptedPlatform>();
        app = std::make_unique<AppContext>(*platform);
        dir = std::make_unique<TempDir>();
        app->settings.applicationPath = dir->str();
        doc = std::make_unique<CDibDoc>(*app);
        doc->boundary = {45.0, 46.0, 15.0, 16.0};
        platform->messages.clear();
    }
    void cleanup()
    {
        doc.reset();
        app.reset();
        platform.reset();
        dir.reset();
    }

    void okStoresComputesAndWarnsAboveFiftyMetres_data()
    {
        QTest::addColumn<int>("chunks");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<bool>("warns");
        QTest::newRow("4 chunks") << 4 << "76.20" << true;
        QTest::newRow("8 chunks") << 8 << "38.10" << false;
        QTest::newRow("no bitmap") << 0 << "0.00" << false;
    }
    void okStoresComputesAndWarnsAboveFiftyMetres()
    {
        QFETCH(int, chunks);
        QFETCH(QString, scale);
        QFETCH(bool, warns);
        doc->chunkColumns = chunks;
        app->settings.coordinateFormat = 0;
        BoundaryAreaDlg dialog(*doc);
        QCOMPARE(dialog.northEdit()->text(), QStringLiteral("46.000000"));
        QCOMPARE(dialog.westEdit()->text(), QStringLiteral("15.000000"));
        QVERIFY(dialog.northEdit()->isReadOnly());
        dialog.accept();
        QCOMPARE(QString::asprintf("%4.2f", doc->sceneryWidthKm), QStringLiteral("78.02"));
        QCOMPARE(QString::asprintf("%4.2f", doc->sceneryHeightKm), QStringLiteral("111.13"));
        QCOMPARE(QString::asprintf("%4.2f", doc->metresPerPixel), scale);
        if (warns) {
            QCOMPARE(platform->messageTexts(), std::vector<std::string>{kWarning});
            QCOMPARE(platform->messages[0].icon, MsgIcon::Exclamation);
        } else {
            QVERIFY(platform->messages.empty());
        }
        QVERIFY(doc->modified);   // stored either way
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void exactlyFiftyMetresIsNoWarning()
    {
        QVERIFY(!sceneryTooCoarse(50.0));
        QVERIFY(sceneryTooCoarse(std::nextafter(50.0, 51.0)));
    }

    void boundaryTakesThePrecisionOfTheText()
    {
        app->settings.coordinateFormat = 1;
        doc->boundary = {-45.123456789, 46.5, 15.25, 16.0};
        BoundaryAreaDlg dialog(*doc);
        QCOMPARE(dialog.southEdit()->text(), QStringLiteral("-45:7:24.44"));
        QCOMPARE(dialog.northEdit()->text(), QStringLiteral("46:30:0.00"));
        dialog.accept();
        QCOMPARE(doc->boundary.south, -(45 + 7 / 60.0 + 24.44 / 3600));
        QCOMPARE(doc->boundary.north, 46.5);
        QCOMPARE(doc->boundary.west, 15.25);
    }

    void cancelChangesNothing()
    {
        doc->boundary.south = 45.123456789;
        BoundaryAreaDlg dialog(*doc);
        dialog.reject();
        QCOMPARE(doc->boundary.south, 45.123456789);
        QVERIFY(!doc->modified);
        QVERIFY(platform->messages.empty());
    }

    void commandUpdatesTheSceneryPropertiesBar()
    {
        const CommandSpec* command = CommandRegistry::instance().find("project.boundary");
        QVERIFY(command);
        QCOMPARE(command->text, QStringLiteral("Define &Boundary Area..."));
        RecordingFrame none(*app, nullptr);
        QVERIFY(!command->enabled(none));

        doc->chunkColumns = 8;
        RecordingFrame frame(*app, doc.get());
        QVERIFY(command->enabled(frame));
        whenModal<BoundaryAreaDlg>([](BoundaryAreaDlg* dialog) { dialog->accept(); });
        command->run(frame);
        QCOMPARE(QString::asprintf("%4.2f %4.2f %4.2f", frame.shown[0], frame.shown[1], frame.shown[2]),
                 QStringLiteral("78.02 111.13 38.10"));
    }
};

QTEST_MAIN(BoundaryDialogTest)
#include "BoundaryDialogTest.moc"
