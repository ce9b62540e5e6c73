// A project's life as the user meets it in the main window: made by the PhotoReal wizard into a
// folder that does not exist yet, saved, closed and opened again with its pictures, opened after
// its bitmap moved, and a recent file that is gone.

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

#include "app/ui/CMainFrame.h"
#include "app/ui/ProjectWindow.h"
#include "base/PathUtil.h"
#include "imagery/ShippedFiles.h"
#include "base/ui/CommandRegistry.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "synth/Texture.h"
#include "wizards/WizardTestFiles.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/PhotoWizardBitmapPage.h"
#include "wizards/ui/PhotoWizardExtentsPage.h"
#include "wizards/ui/PhotoWizardFolderPage.h"
#include "WizardTestHelpers.h"

namespace fs = std::filesystem;

namespace {

bool everyChunkHasItsPicture(const CDibDoc& doc)
{
    if (doc.chunks.empty())
        return false;
    for (const TexReliefChunk& chunk : doc.chunks)
        if (!chunk.texture || !chunk.texture->image)
            return false;
    return true;
}

} // namespace

class ProjectLifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void wizardMakesTheMissingFolderAndOpensTheProject();
    void aFolderThatCannotBeMadeIsNamedAndOpensNothing();
    void tilesThatCannotBeWrittenAreCountedAndOpenNothing();
    void reopenedProjectShowsItsPictures();
    void missingTilesAreCountedInOneMessage();
    void movedBitmapIsOfferedFirstAndMarksTheProjectModified();
    void aRecentFileThatIsGoneIsNamedAndDropped();

private:
    // Runs File > Wizards > PhotoWizard through its four pages; `folder` and `prefix` on page 4.
    // `atFinish` runs once Finish was pressed while the wizard still shows (a refused page).
    void runWizard(const std::string& folder, const std::function<void(PhotoWizard&)>& atFinish = {});
    ProjectWindow* onlyWindow();
    void closeAll();

    std::unique_ptr<TempDir> dir_;
    ScriptedPlatform platform_;
    std::unique_ptr<AppContext> app_;
    std::unique_ptr<CMainFrame> frame_;
    std::string bitmap_;
    std::string prj_;
};

void ProjectLifecycleTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    dir_ = std::make_unique<TempDir>();
    QVERIFY(writeShippedFiles(dir_->str()));   // colors.pcf as the program ships it
    bitmap_ = dir_->file("photo.bmp");
    WizardTestFiles::writeBitmap(bitmap_, 1024, 1024, WizardTestFiles::chunkCode);
    app_ = std::make_unique<AppContext>(platform_);
    app_->settings.applicationPath = dir_->str();
    app_->settings.platform = 1;
    frame_ = std::make_unique<CMainFrame>(*app_);
    frame_->show();
}

void ProjectLifecycleTest::cleanupTestCase()
{
    frame_.reset();
    app_.reset();
    dir_.reset();
}

void ProjectLifecycleTest::runWizard(const std::string& folder, const std::function<void(PhotoWizard&)>& atFinish)
{
    platform_.fileAnswers.push_back(bitmap_);
    bool reachedFinish = false;
    QTimer::singleShot(0, [&] {
        auto* wizard = qobject_cast<PhotoWizard*>(QApplication::activeModalWidget());
        if (!wizard)
            return;
        wizard->page1()->browseButton()->click();
        wizard->button(QWizard::NextButton)->click();
        PhotoWizardExtentsPage* p2 = wizard->page2();
        type(p2->fields()->maxLat(), "45");
        type(p2->fields()->minLat(), "44.9");
        type(p2->fields()->maxLon(), "15.1");
        type(p2->fields()->minLon(), "15");
        wizard->button(QWizard::NextButton)->click();
        wizard->button(QWizard::NextButton)->click();
        PhotoWizardFolderPage* p4 = wizard->page4();
        if (wizard->currentPage() != p4)
            return wizard->reject();
        type(p4->folderEdit(), QString::fromStdString(folder));
        type(p4->prefixEdit(), "ab");
        reachedFinish = true;
        wizard->button(QWizard::FinishButton)->click();
        if (wizard->isVisible()) {
            if (atFinish)
                atFinish(*wizard);
            wizard->reject();
        }
    });
    frame_->commandAction("wizard.photo")->trigger();
    QVERIFY(reachedFinish);
}

ProjectWindow* ProjectLifecycleTest::onlyWindow()
{
    const QList<ProjectWindow*> windows = frame_->projectWindows();
    return windows.size() == 1 ? windows.front() : nullptr;
}

void ProjectLifecycleTest::closeAll()
{
    for (ProjectWindow* w : frame_->projectWindows()) {
        w->setCloseConfirmed(true);
        w->close();
    }
    QTRY_VERIFY_WITH_TIMEOUT(frame_->projectWindows().isEmpty(), 10000);
}

void ProjectLifecycleTest::wizardMakesTheMissingFolderAndOpensTheProject()
{
    const std::string folder = PathUtil::join(dir_->file("made"), "by-finish");
    QVERIFY(!fs::exists(folder));
    platform_.messages.clear();
    runWizard(folder);
    QVERIFY(platform_.messages.empty());
    ProjectWindow* window = onlyWindow();
    QVERIFY(window);
    const CDibDoc& doc = window->document();
    QVERIFY(PathUtil::folderExists(PathUtil::join(folder, "scenery")));
    QCOMPARE(int(doc.projectTextures.size()), 16);
    for (const auto& texture : doc.projectTextures)
        QVERIFY2(fs::is_regular_file(texture->name), texture->name.c_str());
    QVERIFY(everyChunkHasItsPicture(doc));

    // A cut says what it made and where.
    platform_.fileAnswers.push_back(PathUtil::join(folder, "ab"));
    frame_->commandAction("textures.cut1")->trigger();
    QVERIFY(fs::is_regular_file(PathUtil::join(doc.textureFolder, "ab00001.bmp")));
    QCOMPARE(frame_->statusBar()->currentMessage(),
             QString::fromStdString("Level 1: 1 tile written to " + doc.textureFolder));

    // Kept for the reopening tests below.
    prj_ = PathUtil::join(folder, "made.prj");
    platform_.fileAnswers.push_back(prj_);
    QVERIFY(window->saveAs());
    // Save As of a new project starts in its scenery folder.
    QCOMPARE(platform_.fileDialogs.back().title, std::string("Save As"));
    QCOMPARE(platform_.fileDialogs.back().initialDir, folder);
    closeAll();
}

void ProjectLifecycleTest::aFolderThatCannotBeMadeIsNamedAndOpensNothing()
{
    dir_->write("plain-file", std::string("in the way"));
    const std::string folder = PathUtil::join(dir_->file("plain-file"), "scenery");
    platform_.messages.clear();
    bool stayed = false;
    runWizard(folder, [&](PhotoWizard& wizard) { stayed = wizard.currentPage() == wizard.page4(); });
    QVERIFY(stayed);
    QCOMPARE(int(platform_.messages.size()), 1);
    QVERIFY(platform_.messages[0].text.find(folder) != std::string::npos);
    QVERIFY(frame_->projectWindows().isEmpty());
}

void ProjectLifecycleTest::tilesThatCannotBeWrittenAreCountedAndOpenNothing()
{
    const std::string folder = dir_->file("blocked-tiles");
    // Folders where two of the tiles go.
    fs::create_directories(PathUtil::join(PathUtil::join(folder, "texture"), "ab0000322.bmp"));
    fs::create_directories(PathUtil::join(PathUtil::join(folder, "texture"), "ab0000344.bmp"));
    platform_.messages.clear();
    runWizard(folder);
    QCOMPARE(int(platform_.messages.size()), 1);
    QVERIFY2(platform_.messages[0].text.rfind("2 of 16 texture tiles could not be written", 0) == 0,
             platform_.messages[0].text.c_str());
    QVERIFY(frame_->projectWindows().isEmpty());
}

void ProjectLifecycleTest::reopenedProjectShowsItsPictures()
{
    QVERIFY(!prj_.empty());
    platform_.messages.clear();
    QVERIFY(frame_->openProjectFile(QString::fromStdString(prj_)));
    QVERIFY(platform_.messages.empty());
    ProjectWindow* window = onlyWindow();
    QVERIFY(window);
    QCOMPARE(int(window->document().chunks.size()), 16);
    QVERIFY(everyChunkHasItsPicture(window->document()));
    QVERIFY(!window->isWindowModified());
    closeAll();
}

void ProjectLifecycleTest::missingTilesAreCountedInOneMessage()
{
    const std::string texture = PathUtil::join(PathUtil::folder(prj_), "texture");
    const std::string first = PathUtil::join(texture, "ab0000311.bmp");
    const std::string gone = dir_->file("ab0000311.bmp");
    fs::rename(first, gone);
    fs::rename(PathUtil::join(texture, "ab0000313.bmp"), dir_->file("ab0000313.bmp"));
    platform_.messages.clear();
    QVERIFY(frame_->openProjectFile(QString::fromStdString(prj_)));
    QCOMPARE(int(platform_.messages.size()), 1);
    const std::string text = platform_.messages[0].text;
    QVERIFY2(text.rfind("2 texture images of 16 could not be loaded", 0) == 0, text.c_str());
    QVERIFY(text.find("ab0000311.bmp") != std::string::npos || text.find("ab0000313.bmp") != std::string::npos);
    int placeholders = 0;
    for (const TexReliefChunk& chunk : onlyWindow()->document().chunks)
        placeholders += chunk.texture->image ? 0 : 1;
    QCOMPARE(placeholders, 2);
    closeAll();
    fs::rename(gone, first);
    fs::rename(dir_->file("ab0000313.bmp"), PathUtil::join(texture, "ab0000313.bmp"));
}

void ProjectLifecycleTest::movedBitmapIsOfferedFirstAndMarksTheProjectModified()
{
    const std::string moved = dir_->file("moved.bmp");
    fs::rename(bitmap_, moved);
    platform_.messages.clear();
    platform_.answers.push_back(MsgAnswer::Yes);
    platform_.fileAnswers.push_back(moved);
    QVERIFY(frame_->openProjectFile(QString::fromStdString(prj_)));
    // The offer to look comes first, and nothing else is said.
    QCOMPARE(int(platform_.messages.size()), 1);
    QCOMPARE(platform_.messages[0].buttons, MsgButtons::YesNo);
    ProjectWindow* window = onlyWindow();
    QVERIFY(window);
    QCOMPARE(window->document().bitmapPath, moved);
    QVERIFY(window->document().modified);
    QVERIFY(window->isWindowModified());
    // Saving keeps the new place.
    QVERIFY(window->save());
    closeAll();
    platform_.messages.clear();
    QVERIFY(frame_->openProjectFile(QString::fromStdString(prj_)));
    QVERIFY(platform_.messages.empty());
    QVERIFY(!onlyWindow()->isWindowModified());
    closeAll();
    fs::rename(moved, bitmap_);
}

void ProjectLifecycleTest::aRecentFileThatIsGoneIsNamedAndDropped()
{
    const QString gone = QString::fromStdString(dir_->file("gone.prj"));
    frame_->addRecentFile(gone);
    QCOMPARE(frame_->recentFiles().front(), gone);
    // The first recent entry of the File menu, as the user sees it.
    QAction* entry = nullptr;
    for (QAction* top : frame_->menuBar()->actions())
        if (top->text() == "&File")
            for (QAction* a : top->menu()->actions())
                if (a->text() == "&1 " + QDir::toNativeSeparators(gone))
                    entry = a;
    QVERIFY(entry);
    platform_.messages.clear();
    entry->trigger();
    QCOMPARE(int(platform_.messages.size()), 1);
    QCOMPARE(platform_.messages[0].text, "The project file\n" + PathUtil::toNative(gone.toStdString()) +
                                             "\ndoes not exist.");
    QVERIFY(!frame_->recentFiles().contains(gone));
    QVERIFY(frame_->projectWindows().isEmpty());
}

QTEST_MAIN(ProjectLifecycleTest)
#include "ProjectLifecycleTest.moc"
