// What users of desktop programs expect of the main window: shortcuts to close and quit, File >
// New, mnemonics on the menus, a window layout that is kept between runs, the program's own
// icons, an About naming the version and a help entry that opens a guide, a status bar that
// rests on "Ready", and no read-outs of a project that is no longer open.

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>

#include <memory>

#include "app/ui/AppIcons.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/UserGuideWindow.h"
#include "app/ui/ProjectWindow.h"
#include "base/ui/CommandRegistry.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"

namespace {

class BrowsingPlatform : public ScriptedPlatform {
public:
    std::vector<std::string> urls;
    void openUrl(const std::string& url) override { urls.push_back(url); }
};

QMenu* menuNamed(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

// Every visible entry of `menu` and of its submenus, with the path that leads to it.
void collectEntries(QMenu* menu, const QString& path, QList<QPair<QString, QAction*>>& out)
{
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        out.append({path + " > " + a->text(), a});
        if (a->menu())
            collectEntries(a->menu(), path + " > " + a->text(), out);
    }
}

bool sameImage(const QPixmap& a, const QPixmap& b)
{
    return a.toImage().convertToFormat(QImage::Format_ARGB32) == b.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class MainFrameHabitsTest : public QObject {
    Q_OBJECT

private:
    BrowsingPlatform platform;
    std::unique_ptr<AppContext> app;

    void clearSettings()
    {
        QSettings settings("Orvane", "Orvane");
        settings.remove(CMainFrame::kGeometryKey);
        settings.remove(CMainFrame::kLayoutKey);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        app = std::make_unique<AppContext>(platform);
        clearSettings();
    }

    void cleanupTestCase() { clearSettings(); }

    void closeAndQuitHaveTheirShortcuts()
    {
        CMainFrame frame(*app);
        QCOMPARE(frame.commandAction("file.close")->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(frame.commandAction("app.exit")->shortcut(), QKeySequence("Ctrl+Q"));
        // Ctrl+Q from the keyboard closes the window.
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        QTest::keyClick(&frame, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!frame.isVisible(), 10000);
    }

    void fileNewOffersBothWizards()
    {
        CMainFrame frame(*app);
        for (bool withProject : {false, true}) {
            if (withProject)
                frame.openDocumentWindow(std::make_unique<CDibDoc>(*app));
            QMenu* file = menuNamed(frame.menuBar(), "&File");
            QVERIFY(file);
            QVERIFY(!file->actions().isEmpty());
            QAction* first = file->actions().front();
            QCOMPARE(first->text(), QString("&New"));
            QVERIFY(first->menu());
            const QList<QAction*> entries = first->menu()->actions();
            QCOMPARE(entries.size(), 2);
            QCOMPARE(entries[0], frame.commandAction("wizard.photo"));
            QCOMPARE(entries[1], frame.commandAction("wizard.synth"));
        }
    }

    void everyMenuAndEntryHasAMnemonic()
    {
        CMainFrame frame(*app);
        for (bool withProject : {false, true}) {
            if (withProject)
                frame.openDocumentWindow(std::make_unique<CDibDoc>(*app));
            QStringList missing;
            for (QAction* top : frame.menuBar()->actions()) {
                if (!top->text().contains('&'))
                    missing << top->text();
                QList<QPair<QString, QAction*>> entries;
                collectEntries(top->menu(), top->text(), entries);
                for (const auto& [path, action] : entries)
                    if (!action->text().contains('&'))
                        missing << path;
            }
            QVERIFY2(missing.isEmpty(), qPrintable(missing.join("\n")));
        }
    }

    void layoutOfTheBarsIsKeptBetweenRuns()
    {
        clearSettings();
        {
            CMainFrame frame(*app);
            frame.show();
            auto* scenery = frame.findChild<QDockWidget*>("sceneryPropertiesBar");
            auto* tools = frame.findChild<QDockWidget*>("toolPalette");
            QVERIFY(scenery && tools);
            QCOMPARE(frame.dockWidgetArea(scenery), Qt::RightDockWidgetArea);
            frame.addDockWidget(Qt::LeftDockWidgetArea, scenery);
            tools->hide();
            frame.resize(900, 650);
            QVERIFY(frame.close());
        }
        CMainFrame again(*app);
        again.show();
        auto* scenery = again.findChild<QDockWidget*>("sceneryPropertiesBar");
        auto* tools = again.findChild<QDockWidget*>("toolPalette");
        QCOMPARE(again.dockWidgetArea(scenery), Qt::LeftDockWidgetArea);
        QVERIFY(!tools->isVisible());
        QCOMPARE(again.size(), QSize(900, 650));
        clearSettings();
    }

    void windowsCarryTheProgramsOwnIcons()
    {
        CMainFrame frame(*app);
        QVERIFY(sameImage(frame.windowIcon().pixmap(48, 48), AppIcons::applicationPixmap(48)));
        QVERIFY(sameImage(QApplication::windowIcon().pixmap(48, 48), AppIcons::applicationPixmap(48)));
        frame.openDocumentWindow(std::make_unique<CDibDoc>(*app));
        ProjectWindow* window = frame.activeProjectWindow();
        QVERIFY(window);
        QVERIFY(sameImage(window->windowIcon().pixmap(48, 48), AppIcons::documentPixmap(48)));
        QVERIFY(!sameImage(AppIcons::applicationPixmap(48), AppIcons::documentPixmap(48)));
    }

    void aboutNamesTheVersionAndHelpOpensTheGuide()
    {
        QVERIFY(CMainFrame::aboutText().contains(QRegularExpression("^Orvane version \\d+\\.\\d+\n")));
        CMainFrame frame(*app);
        QCOMPARE(frame.commandAction("help.guide")->shortcut(), QKeySequence(Qt::Key_F1));
        frame.commandAction("help.guide")->trigger();
        auto* guide = frame.findChild<UserGuideWindow*>();
        QVERIFY(guide);
        QVERIFY(guide->isVisible());
        QCOMPARE(QFileInfo(guide->browser()->source().toLocalFile()).fileName(), QString("user-guide.md"));
        QVERIFY(guide->browser()->toPlainText().contains("PhotoReal Wizard"));
        // The pictures next to the guide are found through its address.
        const QVariant picture = guide->browser()->loadResource(QTextDocument::ImageResource,
                                                                 QUrl("images/orvane-main-project.png"));
        QVERIFY(!picture.isNull());
        // Online Help reads the same guide in the same window.
        frame.commandAction("help.online")->trigger();
        QCOMPARE(frame.findChildren<UserGuideWindow*>().size(), 1);
    }

    void statusBarRestsOnReadyAndMenuHintsGoWithTheMenu()
    {
        CMainFrame frame(*app);
        frame.show();
        auto* ready = frame.statusBar()->findChild<QLabel*>("paneReady");
        QVERIFY(ready);
        QCOMPARE(ready->text(), QString("Ready"));
        QVERIFY(ready->isVisible());

        QMenu* file = menuNamed(frame.menuBar(), "&File");
        file->popup(frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QAction* open = frame.commandAction("file.open");
        open->showStatusText(&frame);
        QCOMPARE(frame.statusBar()->currentMessage(), open->statusTip());
        QVERIFY(!ready->isVisible());
        file->hide();
        QCOMPARE(frame.statusBar()->currentMessage(), QString());
        QVERIFY(ready->isVisible());

        frame.showStatus("Level 1: 1 tile written to /x");
        QCOMPARE(frame.statusBar()->currentMessage(), QString("Level 1: 1 tile written to /x"));
        frame.showStatus(QString());
        QVERIFY(ready->isVisible());
    }

    void sceneryPropertiesAreClearedWithTheLastProject()
    {
        CMainFrame frame(*app);
        frame.show();
        auto doc = std::make_unique<CDibDoc>(*app);
        doc->sceneryWidthKm = 12.5;
        doc->sceneryHeightKm = 7.25;
        doc->metresPerPixel = 3.0;
        frame.openDocumentWindow(std::move(doc));
        auto* width = frame.findChild<QLabel*>("value_250");
        QVERIFY(width);
        QVERIFY(width->text().contains("12"));
        ProjectWindow* window = frame.activeProjectWindow();
        window->setCloseConfirmed(true);
        window->close();
        for (const char* name : {"value_250", "value_251", "value_252"})
            QTRY_COMPARE_WITH_TIMEOUT(frame.findChild<QLabel*>(name)->text(), QString(), 10000);
    }
};

QTEST_MAIN(MainFrameHabitsTest)
#include "MainFrameHabitsTest.moc"
