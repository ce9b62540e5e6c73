// The main window on the offscreen platform: its bars, buttons, tooltips and menus, the enabling of
// the project buttons, the clock panes, the coordinate form switch and the converter.

#include <QAction>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cstdlib>

#include "GuiWait.h"
#include "project/AppContext.h"
#include "app/ui/CMainFrame.h"
#include "base/ui/CommandRegistry.h"
#include "app/ui/ProjectWindow.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "support/ScriptedPlatform.h"

namespace {

// The tool palette buttons that act on a project, with their commands.
const std::pair<int, const char*> kProjectButtons[] = {
    {32836, "view.defaultCursor"}, {32837, "view.crosshair"},  {32826, "view.moveTexture"},
    {32832, "view.zoomTool"},      {32787, "view.gridLines"},   {32788, "view.gridNodes"},
    {32789, "view.altitudeNodes"}, {32801, "view.altitudeLabels"}, {32781, "source.scasm"},
    {32784, "source.compile"},     {301, "view.projectProperties"}, {32835, "view.gridProperties"},
};

QStringList titlesOf(const QList<QAction*>& actions)
{
    QStringList titles;
    for (QAction* a : actions)
        if (!a->isSeparator() && a->isVisible())
            titles << a->text();
    return titles;
}

QMenu* menuNamed(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

QMenu* submenuNamed(QMenu* menu, const QString& title)
{
    for (QAction* a : menu->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

QAction* entryNamed(QMenu* menu, const QString& title)
{
    for (QAction* a : menu->actions())
        if (a->text() == title)
            return a;
    return nullptr;
}

bool hasLabel(QWidget* root, const QString& text)
{
    for (QLabel* label : root->findChildren<QLabel*>())
        if (label->text() == text)
            return true;
    return false;
}

// The scripted platform, also recording the web pages opened.
class BrowsingPlatform : public ScriptedPlatform {
public:
    std::vector<std::string> urls;
    void openUrl(const std::string& url) override { urls.push_back(url); }
};

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private:
    BrowsingPlatform platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CMainFrame> frame;
    bool gridLinesOn = true;

    QToolButton* button(int id) { return frame->findChild<QToolButton*>(QString("tool_%1").arg(id)); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ::unsetenv("SOURCE_DATE_EPOCH");  // the clock must run
        // Stand-ins for the view's commands, always enabled; grid lines reports itself on.
        for (const auto& [id, command] : kProjectButtons)
            CommandRegistry::instance().add({command, "", "", {}, [](FrameServices&) {}, {}, {}});
        CommandRegistry::instance().add(
            {"view.gridLines", "&Grid Lines", "", {}, [](FrameServices&) {}, {}, [this](FrameServices&) {
                 return gridLinesOn;
             }});
        app = std::make_unique<AppContext>(platform);
        frame = std::make_unique<CMainFrame>(*app);
        frame->show();
    }

    void cleanupTestCase()
    {
        frame.reset();
        app.reset();
    }

    void cleanup()
    {
        for (ProjectWindow* w : frame->projectWindows()) {
            w->setCloseConfirmed(true);
            delete w;
        }
        QCoreApplication::processEvents();
    }

    void barsDockWhereTheyBelong()
    {
        auto* palette = frame->findChild<QDockWidget*>("toolPalette");
        auto* scenery = frame->findChild<QDockWidget*>("sceneryPropertiesBar");
        auto* cursor = frame->findChild<QDockWidget*>("cursorPositionBar");
        QVERIFY(palette && scenery && cursor);
        QCOMPARE(frame->dockWidgetArea(palette), Qt::LeftDockWidgetArea);
        QCOMPARE(frame->dockWidgetArea(scenery), Qt::RightDockWidgetArea);
        QCOMPARE(frame->dockWidgetArea(cursor), Qt::BottomDockWidgetArea);
        for (QDockWidget* dock : {palette, scenery}) {
            QCOMPARE(dock->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
            QVERIFY(dock->features() & QDockWidget::DockWidgetMovable);
        }
        QCOMPARE(scenery->windowTitle(), QString("Scenery Properties"));
        for (const char* label : {"Width (km):", "Height (km):", "Scale (m/pix):"})
            QVERIFY2(hasLabel(scenery, label), label);
        frame->showSceneryProperties(78.0234, 111.126, 76.2);
        QCOMPARE(frame->findChild<QLabel*>("value_250")->text(), QString("78.02"));
        QCOMPARE(frame->findChild<QLabel*>("value_251")->text(), QString("111.13"));
        QCOMPARE(frame->findChild<QLabel*>("value_252")->text(), QString("76.20"));
    }

    void toolPaletteHasEveryButtonWithIconAndTooltip()
    {
        const struct {
            int id;
            const char* toolTip;  // nullptr: any non-empty text
            bool checkable;
        } buttons[] = {
            {32836, "Set Default Cursor", true},
            {32837, "Set CrossHair Cursor", true},
            {32826, "Dynamically Move the Texture", true},
            {32832, nullptr, true},
            {32787, "Enable / Disable 256-pixel grid", true},
            {32788, "Enable / Disable Texture Altitude Nodes", true},
            {32789, "Enable / Disable Terrain Data Point Nodes", true},
            {32801, "Enable / Disable Terrain Data Point Altitude Labels", true},
            {301, nullptr, false},
            {32835, nullptr, false},
            {57664, nullptr, false},
            {32838, nullptr, false},
            {32781, nullptr, false},
            {32784, nullptr, false},
            {32777, nullptr, false},
            {32773, nullptr, false},
        };
        for (const auto& b : buttons) {
            QToolButton* tool = button(b.id);
            QVERIFY2(tool, qPrintable(QString::number(b.id)));
            QVERIFY(!tool->icon().isNull());
            QVERIFY(!tool->icon().pixmap(24, 24).isNull());
            if (b.toolTip)
                QCOMPARE(tool->toolTip(), QString(b.toolTip));
            else
                QVERIFY(!tool->toolTip().isEmpty());
            QCOMPARE(tool->isCheckable(), b.checkable);
        }
        // Every icon is its own picture.
        QSet<QByteArray> pictures;
        for (const auto& b : buttons) {
            const QImage image = button(b.id)->icon().pixmap(24, 24).toImage();
            pictures.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        }
        QCOMPARE(pictures.size(), int(std::size(buttons)));
        auto* zoom = frame->findChild<QLineEdit*>("edit_367");
        QVERIFY(zoom && zoom->isReadOnly());
        frame->setZoomText("1.00");
        QCOMPARE(zoom->text(), QString("1.00"));
    }

    void cursorBarAndStatusBar()
    {
        auto* cursor = frame->findChild<QDockWidget*>("cursorPositionBar");
        QCOMPARE(frame->findChild<QRadioButton*>("radio_242")->text(), QString("D:M:S"));
        QCOMPARE(frame->findChild<QRadioButton*>("radio_243")->text(), QString("Decimal"));
        for (int id : {228, 229, 117, 118, 119}) {
            auto* edit = frame->findChild<QLineEdit*>(QString("edit_%1").arg(id));
            QVERIFY(edit && edit->isReadOnly());
        }
        for (const char* label : {"Longitude (E-W)", "Latitude (N-S)", "Altitude", "Y:", "X:"})
            QVERIFY2(hasLabel(cursor, label), label);
        bool converterGroup = false;
        for (QGroupBox* group : cursor->findChildren<QGroupBox*>())
            converterGroup |= group->title() == "Coordinate converter";
        QVERIFY(converterGroup);
        QCOMPARE(frame->findChild<QPushButton*>("button_244")->text(), QString("Show in DMS"));
        QCOMPARE(frame->findChild<QPushButton*>("button_245")->text(), QString("Show in Decimal"));
        frame->setCursorPosition("1", "2", "3", "4", "5");
        QCOMPARE(frame->findChild<QLineEdit*>("edit_228")->text(), QString("1"));
        QCOMPARE(frame->findChild<QLineEdit*>("edit_119")->text(), QString("5"));

        QVERIFY(frame->statusBar()->isVisible());
        QVERIFY(!frame->findChild<QLabel*>("paneDate")->text().isEmpty());
        QVERIFY(!frame->findChild<QLabel*>("paneTime")->text().isEmpty());
    }

    void menusWithoutProject()
    {
        QMenuBar* bar = frame->menuBar();
        QCOMPARE(titlesOf(bar->actions()), (QStringList{"&File", "&View", "&Help"}));
        QMenu* file = menuNamed(bar, "&File");
        QAction* open = entryNamed(file, "&Open Project...");
        QVERIFY(open);
        QCOMPARE(open->shortcut(), QKeySequence("Ctrl+O"));
        QMenu* wizards = submenuNamed(file, "Wi&zards...");
        QVERIFY(wizards);
        QCOMPARE(titlesOf(wizards->actions()), (QStringList{"&PhotoWizard...", "&SynthWizard..."}));
        QAction* preferences = entryNamed(file, "&Preferences...");
        QVERIFY(preferences);
        QCOMPARE(preferences->shortcut(), QKeySequence("Ctrl+P"));
        QVERIFY(entryNamed(file, "E&xit"));
        QVERIFY(!entryNamed(file, "&Save"));
        QMenu* help = menuNamed(bar, "&Help");
        QVERIFY(entryNamed(help, "&Online Help...."));
        QVERIFY(!entryNamed(help, "&Contact Orvane...."));
        QVERIFY(entryNamed(help, "&About Orvane..."));
    }

    void projectButtonsFollowTheActiveProject()
    {
        frame->refreshCommands();
        for (const auto& [id, command] : kProjectButtons) {
            QVERIFY2(!button(id)->isEnabled(), command);
            QVERIFY2(!button(id)->isChecked(), command);
        }
        frame->openDocumentWindow(std::make_unique<CDibDoc>(*app));
        QVERIFY(frame->activeDocument());
        for (const auto& [id, command] : kProjectButtons)
            QVERIFY2(button(id)->isEnabled(), command);
        QVERIFY(button(32787)->isChecked());   // the view's rule checks it
        QVERIFY(!button(32788)->isChecked());
        gridLinesOn = false;
        frame->refreshCommands();
        QVERIFY(!button(32787)->isChecked());
        gridLinesOn = true;

        // Closing the last project disables them again.
        frame->activeProjectWindow()->close();
        QTRY_VERIFY_WITH_TIMEOUT(frame->projectWindows().isEmpty(), kGuiWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!button(32836)->isEnabled(), kGuiWaitMs);
        QVERIFY(!button(32787)->isChecked());
        QCOMPARE(titlesOf(frame->menuBar()->actions()), (QStringList{"&File", "&View", "&Help"}));
    }

    void menusWithProject()
    {
        frame->openDocumentWindow(std::make_unique<CDibDoc>(*app));
        QMenuBar* bar = frame->menuBar();
        QCOMPARE(titlesOf(bar->actions()), (QStringList{"&File", "&Edit", "&Project", "Prepare &Textures...",
                                                         "W&rite Source Code...", "&View", "&Window", "&Help"}));
        QMenu* file = menuNamed(bar, "&File");
        for (const char* entry : {"&Open Project...", "&Close", "&Save", "Save &As...", "&Preferences...", "E&xit"})
            QVERIFY2(entryNamed(file, entry), entry);
        QVERIFY(submenuNamed(file, "Wi&zards..."));
        QMenu* project = menuNamed(bar, "&Project");
        QVERIFY(entryNamed(project, "Define &Boundary Area..."));
        QVERIFY(entryNamed(project, "Select Altitude &Data Source..."));
        QMenu* palette = submenuNamed(project, "Pa&lette");
        QVERIFY(palette);
        QCOMPARE(titlesOf(palette->actions()), (QStringList{"&Define...", "&Save..."}));
        QCOMPARE(titlesOf(menuNamed(bar, "Prepare &Textures...")->actions()),
                 (QStringList{"Cut &all level images...", "Cut level &1...", "Cut level &2...", "Cut level &3..."}));
        QCOMPARE(titlesOf(menuNamed(bar, "W&rite Source Code...")->actions()),
                 (QStringList{"&SCASM", "&Compile to BGL"}));
        QMenu* view = menuNamed(bar, "&View");
        for (const char* entry : {"&Grid Lines", "&Grid Nodes", "&Altitude Nodes", "&Altitude Labels"})
            QVERIFY2(entryNamed(view, entry), entry);
        QMenu* help = menuNamed(bar, "&Help");
        QVERIFY(entryNamed(help, "&Contact Orvane...."));
        QVERIFY(entryNamed(help, "&Online Help...."));   // the user guide, with a project too
        // The window list names the project.
        QMenu* window = menuNamed(bar, "&Window");
        emit window->aboutToShow();
        QVERIFY(titlesOf(window->actions()).contains("&1 Untitled"));
    }

    void openingASavedProjectEnablesTheProjectButtons()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("saved.prj");
        {
            CDibDoc doc(*app);
            doc.chunkColumns = 2;
            doc.chunkRows = 1;
            doc.boundary = {45.0, 46.0, 15.0, 16.0};
            if (!saveProject(doc, path.toStdString()))
                QSKIP("the project file writer is not available");
        }
        QVERIFY(frame->openProjectFile(path));
        QVERIFY(frame->activeDocument());
        QCOMPARE(frame->activeDocument()->chunkColumns, 2);
        QCOMPARE(frame->activeProjectWindow()->windowTitle(), QString("saved.prj[*]"));
        QVERIFY(frame->windowTitle().contains("saved.prj"));  // the maximized window names its project
        for (const auto& [id, command] : kProjectButtons)
            QVERIFY2(button(id)->isEnabled(), command);
        QCOMPARE(frame->recentFiles().value(0), QFileInfo(path).absoluteFilePath());
        // Opening it again activates the same window.
        QVERIFY(frame->openProjectFile(path));
        QCOMPARE(frame->projectWindows().size(), 1);
    }

    void helpOpensTheGuideAndContactTheProductPage()
    {
        platform.urls.clear();
        frame->commandAction("help.online")->trigger();
        QVERIFY(frame->findChild<QWidget*>("userGuide"));
        frame->openDocumentWindow(std::make_unique<CDibDoc>(*app));
        frame->commandAction("help.contact")->trigger();
        QCOMPARE(platform.urls.size(), std::size_t(1));
        QCOMPARE(platform.urls[0], std::string(CMainFrame::kProductUrl));
        QVERIFY(QUrl(CMainFrame::kProductUrl).isValid());
    }

    void droppedProjectFilesOpen()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("dropped.prj");
        {
            CDibDoc doc(*app);
            if (!saveProject(doc, path.toStdString()))
                QSKIP("the project file writer is not available");
        }
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &drop);
        QCOMPARE(frame->projectWindows().size(), 1);
        QCOMPARE(frame->activeProjectWindow()->projectTitle(), QString("dropped.prj"));
        // The recent list offers it in the File menu.
        QMenu* file = menuNamed(frame->menuBar(), "&File");
        emit file->aboutToShow();
        QVERIFY(titlesOf(file->actions()).contains("&1 " + QFileInfo(path).absoluteFilePath()));
    }

    void openProjectAsksWithItsTitleAndFilter()
    {
        platform.fileAnswers.push_back(std::nullopt);
        const std::size_t before = platform.fileDialogs.size();
        frame->commandAction("file.open")->trigger();
        QCOMPARE(platform.fileDialogs.size(), before + 1);
        QCOMPARE(platform.fileDialogs.back().title, std::string("Open Orvane Project"));
        QCOMPARE(platform.fileDialogs.back().filter, std::string("prj files (*.prj)|*.prj|"));
        QVERIFY(frame->projectWindows().isEmpty());
    }

    void ctrlOOpensTheProjectDialogWithOrWithoutProjects()
    {
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get(), kGuiWaitMs));
        for (bool withProject : {false, true}) {
            if (withProject)
                frame->openDocumentWindow(std::make_unique<CDibDoc>(*app));
            platform.fileAnswers.push_back(std::nullopt);
            const std::size_t before = platform.fileDialogs.size();
            QTest::keySequence(frame.get(), QKeySequence("Ctrl+O"));
            QCOMPARE(platform.fileDialogs.size(), before + 1);
        }
    }

    void closingAModifiedProjectAsksFirst()
    {
        frame->openDocumentWindow(std::make_unique<CDibDoc>(*app));
        frame->activeDocument()->setModified(true);
        QVERIFY(frame->activeProjectWindow()->isWindowModified());
        platform.messages.clear();
        platform.answers = {MsgAnswer::Cancel};
        frame->commandAction("file.close")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(frame->projectWindows().size(), 1);
        QCOMPARE(platform.messageTexts(), std::vector<std::string>{"Save changes to Untitled?"});
        QCOMPARE(platform.messages[0].buttons, MsgButtons::YesNoCancel);
        platform.answers = {MsgAnswer::No};
        frame->commandAction("file.close")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(frame->projectWindows().isEmpty(), kGuiWaitMs);
    }

    void timePaneFollowsTheClock()
    {
        auto* pane = frame->findChild<QLabel*>("paneTime");
        const QString first = pane->text();
        QVERIFY(!first.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(pane->text() != first, kGuiWaitMs);
        QCOMPARE(frame->findChild<QLabel*>("paneDate")->text(), CMainFrame::dateText());
    }

    void coordinateFormatButtonsSwitchTheSetting()
    {
        auto* dms = frame->findChild<QRadioButton*>("radio_242");
        auto* decimal = frame->findChild<QRadioButton*>("radio_243");
        app->settings.coordinateFormat = 1;
        frame->refreshCommands();
        QVERIFY(dms->isChecked() && !decimal->isChecked());
        decimal->click();
        QCOMPARE(app->settings.coordinateFormat, 0);
        QVERIFY(decimal->isChecked() && !dms->isChecked());
        dms->click();
        QCOMPARE(app->settings.coordinateFormat, 1);
        QVERIFY(dms->isChecked() && !decimal->isChecked());
    }

    void converterTurnsTextBothWaysWithoutTouchingTheSetting()
    {
        auto* edit = frame->findChild<QLineEdit*>("edit_246");
        app->settings.coordinateFormat = 1;
        edit->setText("W73:30:45");
        frame->findChild<QPushButton*>("button_245")->click();
        QCOMPARE(edit->text(), QString("-73.512500"));
        frame->findChild<QPushButton*>("button_244")->click();
        QCOMPARE(edit->text(), QString("-73:30:45.00"));
        QCOMPARE(app->settings.coordinateFormat, 1);
        edit->clear();
        frame->findChild<QPushButton*>("button_244")->click();
        QCOMPARE(edit->text(), QString());  // empty text stays empty
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
