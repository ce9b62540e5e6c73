// The map view's overlay switches and pointer modes as the tool palette shows them: disabled
// without a project, checked as the active view's state says, the altitude overlays only with records.
#include <QAbstractButton>
#include <QStandardPaths>
#include <QtTest>

#include "app/AppContext.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ProjectWindow.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "view/ui/CDibView.h"

class ViewCommandsTest : public QObject {
    Q_OBJECT

    QAbstractButton* button(int id) { return frame->findChild<QAbstractButton*>(QString("tool_%1").arg(id)); }

    ScriptedPlatform platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CMainFrame> frame;

private slots:
    void init()
    {
        QStandardPaths::setTestModeEnabled(true);
        app = std::make_unique<AppContext>(platform);
        frame = std::make_unique<CMainFrame>(*app);
        frame->show();
    }

    void cleanup()
    {
        for (ProjectWindow* w : frame->projectWindows()) {
            w->setCloseConfirmed(true);
            delete w;
        }
        frame.reset();
        app.reset();
    }

    void disabledWithoutProject()
    {
        frame->refreshCommands();
        for (int id : {32836, 32837, 32826, 32832, 32787, 32788, 32789, 32801})
            QVERIFY2(!button(id)->isEnabled(), qPrintable(QString::number(id)));
    }

    void overlaysToggleTheActiveView()
    {
        auto doc = std::make_unique<CDibDoc>(*app);
        doc->chunkColumns = doc->chunkRows = 1;
        frame->openDocumentWindow(std::move(doc));
        frame->refreshCommands();
        auto* view = qobject_cast<CDibView*>(frame->activeView());
        QVERIFY(view);
        QVERIFY(button(32787)->isEnabled());
        QVERIFY(!button(32787)->isChecked());
        button(32787)->click();
        frame->refreshCommands();
        QVERIFY(view->showGridLines);
        QVERIFY(button(32787)->isChecked());
        button(32788)->click();
        QVERIFY(view->showGridNodes);
        // Without altitude records there is nothing to show.
        QVERIFY(!button(32789)->isEnabled());
        QVERIFY(!button(32801)->isEnabled());
    }

    void altitudeOverlaysNeedRecords()
    {
        auto doc = std::make_unique<CDibDoc>(*app);
        doc->chunkColumns = doc->chunkRows = 1;
        doc->boundary = {45.0, 45.1, -73.1, -73.0};
        doc->mainAltitudeMap.records.push_back({45.05, -73.05, 120});
        frame->openDocumentWindow(std::move(doc));
        frame->refreshCommands();
        auto* view = qobject_cast<CDibView*>(frame->activeView());
        QVERIFY(button(32789)->isEnabled());
        button(32789)->click();
        button(32801)->click();
        QVERIFY(view->showAltitudeNodes);
        QVERIFY(view->showAltitudeLabels);
        view->grab();   // paints the crosses and labels without failing
    }

    void modesAreExclusive()
    {
        frame->openDocumentWindow(std::make_unique<CDibDoc>(*app));
        frame->refreshCommands();
        auto* view = qobject_cast<CDibView*>(frame->activeView());
        QVERIFY(button(32836)->isChecked());
        button(32832)->click();
        frame->refreshCommands();
        QCOMPARE(view->viewMode, 3);
        QVERIFY(button(32832)->isChecked());
        QVERIFY(!button(32836)->isChecked());
        button(32837)->click();
        frame->refreshCommands();
        QCOMPARE(view->viewMode, 1);
        QVERIFY(!button(32832)->isChecked());
    }
};

QTEST_MAIN(ViewCommandsTest)
#include "ViewCommandsTest.moc"
