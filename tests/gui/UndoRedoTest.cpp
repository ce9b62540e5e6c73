// Edit > Undo and Redo in the main window, driven from the keyboard: the boundary, the altitude
// sheet, a moved bitmap found at load; the menu names the step, and the window's modified mark
// follows the history and a save.

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <memory>

#include "altitude/ui/CAltMapsPropertySheet.h"
#include "altitude/ui/CMainAltMap.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ProjectWindow.h"
#include "base/PathUtil.h"
#include "imagery/ui/PaletteDialog.h"
#include "imagery/ShippedFiles.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "project/FsItemEdits.h"
#include "project/ui/BoundaryAreaDlg.h"
#include "project/ui/ProjectPropertiesSheet.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "wizards/WizardTestFiles.h"

namespace fs = std::filesystem;

class UndoRedoTest : public QObject {
    Q_OBJECT

private:
    ScriptedPlatform platform;
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CMainFrame> frame;

    ProjectWindow* window() { return frame->activeProjectWindow(); }
    CDibDoc& doc() { return window()->document(); }

    void press(QKeySequence keys)
    {
        // Shortcuts reach the main window while it is the active one.
        frame->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(frame->isActiveWindow(), 10000);
        QTest::keySequence(frame.get(), keys);
        QCoreApplication::processEvents();
    }

    QString editEntry(const char* id)
    {
        QMenu* edit = nullptr;
        for (QAction* a : frame->menuBar()->actions())
            if (a->text() == "&Edit")
                edit = a->menu();
        if (!edit)
            return {};
        emit edit->aboutToShow();
        return frame->commandAction(id)->text();
    }

    // Runs a modal dialog's command and, once it shows, `drive` on it.
    template <class Dialog, class Drive>
    void runDialog(const char* id, Drive drive)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                seen = true;
                drive(*dialog);
            }
        });
        frame->commandAction(id)->trigger();
        QVERIFY(seen);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        dir = std::make_unique<TempDir>();
        QVERIFY(writeShippedFiles(dir->str()));
        app = std::make_unique<AppContext>(platform);
        app->settings.applicationPath = dir->str();
        app->settings.coordinateFormat = 0;
        frame = std::make_unique<CMainFrame>(*app);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    void cleanupTestCase()
    {
        frame.reset();
        app.reset();
        dir.reset();
    }

    void boundaryAndAltitudeMapsAreUndoneAndRedone()
    {
        auto project = std::make_unique<CDibDoc>(*app);
        project->chunkColumns = 8;
        // More digits than the dialog shows: OK stores the shown precision, a real change.
        project->boundary = {45.1234567891, 46.0, 15.0, 16.0};
        project->filePath = dir->file("undo.prj");
        frame->openDocumentWindow(std::move(project));
        QVERIFY(window());
        doc().setModified(false);
        QVERIFY(!frame->commandAction("edit.undo")->isEnabled());

        runDialog<BoundaryAreaDlg>("project.boundary", [](BoundaryAreaDlg& d) { d.accept(); });
        QCOMPARE(doc().boundary.south, 45.123457);
        QVERIFY(window()->isWindowModified());
        QCOMPARE(editEntry("edit.undo"), QString("&Undo Boundary"));

        press(QKeySequence("Ctrl+Z"));
        QCOMPARE(doc().boundary.south, 45.1234567891);
        QVERIFY(!window()->isWindowModified());
        QCOMPARE(editEntry("edit.redo"), QString("&Redo Boundary"));
        press(QKeySequence("Ctrl+Shift+Z"));
        QCOMPARE(doc().boundary.south, 45.123457);
        QVERIFY(window()->isWindowModified());

        // Saving is the clean state; undoing from there marks the project modified again.
        frame->commandAction("file.save")->trigger();
        QVERIFY(!window()->isWindowModified());
        press(QKeySequence("Ctrl+Z"));
        QVERIFY(window()->isWindowModified());
        press(QKeySequence("Ctrl+Shift+Z"));
        QVERIFY(!window()->isWindowModified());

        // A map deleted in the altitude sheet comes back with Undo.
        auto map = std::make_unique<AltitudeMap>();
        map->title = "hills";
        map->sourceType = 2;
        map->owner = &doc();
        map->records = {{45.5, 15.5, 300}};
        doc().altitudeMaps.push_back(std::move(map));
        runDialog<CAltMapsPropertySheet>("project.altitudeSources", [](CAltMapsPropertySheet& sheet) {
            // The main page's Delete, then OK.
            sheet.tabs()->setCurrentIndex(0);
            sheet.mainPage()->list()->setCurrentRow(0);
            sheet.mainPage()->deleteButton()->click();
            sheet.okButton()->click();
        });
        QVERIFY(doc().altitudeMaps.empty());
        QCOMPARE(editEntry("edit.undo"), QString("&Undo Altitude Maps"));
        press(QKeySequence("Ctrl+Z"));
        QCOMPARE(int(doc().altitudeMaps.size()), 1);
        QCOMPARE(doc().altitudeMaps[0]->title, std::string("hills"));
        QCOMPARE(editEntry("edit.undo"), QString("&Undo Boundary"));

        window()->setCloseConfirmed(true);
        window()->close();
        QTRY_VERIFY_WITH_TIMEOUT(frame->projectWindows().isEmpty(), 10000);
    }

    void projectPropertiesPaletteAndFsItemFlagsAreUndone()
    {
        auto project = std::make_unique<CDibDoc>(*app);
        project->chunkColumns = 2;
        project->boundary = {45.0, 46.0, 15.0, 16.0};
        project->copyrightText = "first";
        FsMacroItem macro;
        macro.macroFile = "tower.api";
        project->macroItems.push_back(macro);
        frame->openDocumentWindow(std::move(project));
        QVERIFY(window());
        doc().setModified(false);

        // Project Properties: both pages' changes are one step.
        runDialog<ProjectPropertiesSheet>("view.projectProperties", [](ProjectPropertiesSheet& sheet) {
            auto* text = sheet.findChild<QLineEdit*>("copyrightText");
            auto* size = sheet.findChild<QLineEdit*>("areaMaxSize");
            QVERIFY(text && size);
            text->setText("second");
            size->setText("96");
            emit text->textEdited("second");
            sheet.okButton()->click();
        });
        QCOMPARE(doc().copyrightText, std::string("second"));
        QCOMPARE(doc().areaMaxSizeKB, 96);
        QVERIFY(window()->isWindowModified());
        QCOMPARE(editEntry("edit.undo"), QString("&Undo Project Properties"));
        press(QKeySequence("Ctrl+Z"));
        QCOMPARE(doc().copyrightText, std::string("first"));
        QCOMPARE(doc().areaMaxSizeKB, 64);
        QVERIFY(!window()->isWindowModified());
        press(QKeySequence("Ctrl+Shift+Z"));
        QCOMPARE(doc().copyrightText, std::string("second"));

        // The palette dialog's OK.
        {
            PaletteDialog dialog(doc(), frame.get());
            dialog.findChild<QLineEdit*>("paletteName")->setText("dusk.pal");
            dialog.accept();
        }
        QCOMPARE(doc().paletteName, std::string("dusk.pal"));
        QCOMPARE(editEntry("edit.undo"), QString("&Undo Define Palette"));
        press(QKeySequence("Ctrl+Z"));
        QCOMPARE(doc().paletteName, std::string());

        // Leaving an FS item out of the source, from the properties sheet's list.
        QVERIFY(setMacroItemIncluded(doc(), 0, false));
        QVERIFY(!setMacroItemIncluded(doc(), 0, false));
        QVERIFY(!setMacroItemIncluded(doc(), 1, true));
        QCOMPARE(editEntry("edit.undo"), QString("&Undo Leave Out FS Item"));
        press(QKeySequence("Ctrl+Z"));
        QVERIFY(doc().macroItems[0].included);

        window()->setCloseConfirmed(true);
        window()->close();
        QTRY_VERIFY_WITH_TIMEOUT(frame->projectWindows().isEmpty(), 10000);
    }

    void relocatingTheBitmapAtLoadCanBeUndone()
    {
        const std::string bitmap = dir->file("first.bmp");
        WizardTestFiles::writeBitmap(bitmap, 1024, 1024, [](int, int) { return std::uint8_t(3); });
        {
            CDibDoc project(*app);
            project.bitmapPath = bitmap;
            project.sceneryFolder = dir->str();
            QVERIFY(saveProject(project, dir->file("moved.prj")));
        }
        const std::string moved = dir->file("second.bmp");
        fs::rename(bitmap, moved);
        platform.answers.push_back(MsgAnswer::Yes);
        platform.fileAnswers.push_back(moved);
        QVERIFY(frame->openProjectFile(QString::fromStdString(dir->file("moved.prj"))));
        QVERIFY(window()->isWindowModified());
        QCOMPARE(doc().bitmapPath, moved);
        QCOMPARE(editEntry("edit.undo"), QString("&Undo Bitmap Location"));
        press(QKeySequence("Ctrl+Z"));
        QCOMPARE(doc().bitmapPath, bitmap);
        QVERIFY(!window()->isWindowModified());
        press(QKeySequence("Ctrl+Shift+Z"));
        QCOMPARE(doc().bitmapPath, moved);
        QVERIFY(window()->isWindowModified());
    }
};

QTEST_MAIN(UndoRedoTest)
#include "UndoRedoTest.moc"
