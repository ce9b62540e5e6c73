// The PhotoReal wizard on the offscreen platform: its page rules, and the whole road from a
// generated bitmap and DTED file to a saved project and source, compared byte for byte with
// what orvane-cli photo makes of the same input.

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "GuiWait.h"
#include "altitude/ui/CAltMapsPropertySheet.h"
#include "altitude/ui/CDTEDAltMap.h"
#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "RecordingFrame.h"
#include "WizardTestHelpers.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/PhotoWizardBitmapPage.h"
#include "wizards/ui/PhotoWizardExtentsPage.h"
#include "wizards/ui/PhotoWizardAltitudePage.h"
#include "wizards/ui/PhotoWizardFolderPage.h"
#include "wizards/ui/PhotoPreviewFrame.h"
#include "output/SourceCommandFlow.h"

namespace fs = std::filesystem;

namespace {

const char* const kTooLarge =
    "The range of scenery specified is too large for the texture provided. The scenery engine might have "
    "difficulties properly displaying the terrain.";

} // namespace

class PhotoWizardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pagesFollowTheirRules();
    void wizardAndBatchProgramMakeTheSameProject();

private:
    std::unique_ptr<TempDir> dir_;
    fs::path previous_;
    QString bitmap_, dted_;
};

void PhotoWizardTest::initTestCase()
{
    QVERIFY2(QFile::exists(cliPath()), qPrintable("orvane-cli not built at " + cliPath()));
    dir_ = std::make_unique<TempDir>();
    previous_ = fs::current_path();
    fs::current_path(dir_->path());   // the application folder of both programs
    qputenv("SOURCE_DATE_EPOCH", "946684800");
    QString output;
    QCOMPARE(runCli(QString::fromStdString(dir_->str()),
                    {"demo-data", "--out", "input", "--size", "2048", "--points", "61"}, &output),
             0);
    bitmap_ = QString::fromStdString(dir_->file("input/landscape.bmp"));
    dted_ = QString::fromStdString(dir_->file("input/landscape.dt0"));
    QVERIFY2(QFile::exists(bitmap_) && QFile::exists(dted_), qPrintable(output));
}

void PhotoWizardTest::cleanupTestCase()
{
    // Empty when initTestCase stopped before changing folders.
    if (!previous_.empty())
        fs::current_path(previous_);
    dir_.reset();
}

void PhotoWizardTest::pagesFollowTheirRules()
{
    ScriptedPlatform platform;
    AppContext app(platform);
    app.settings.coordinateFormat = 0;
    CDibDoc doc(app);
    platform.messages.clear();
    PhotoWizard wizard(doc, {[](QWidget*, CDibDoc&) {}, {}});
    wizard.show();
    QCOMPARE(wizard.windowTitle(), QString("Wizard"));

    // Page 1: no Back; Next only once a bitmap is chosen.
    PhotoWizardBitmapPage* p1 = wizard.page1();
    QVERIFY(p1->pathEdit()->isReadOnly());
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    QVERIFY(!wizard.button(QWizard::BackButton)->isVisible());
    platform.fileAnswers.push_back(std::nullopt);
    p1->browseButton()->click();
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    platform.fileAnswers.push_back(bitmap_.toStdString());
    p1->browseButton()->click();
    QCOMPARE(p1->pathEdit()->text(), bitmap_);
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    QCOMPARE(doc.sceneryFolder, PathUtil::folder(bitmap_.toStdString()));
    // A file that is refused leaves no bitmap loaded, so Next is withdrawn until a good one is chosen.
    platform.fileAnswers.push_back(dted_.toStdString());
    p1->browseButton()->click();
    QVERIFY(!doc.projectBitmap);
    QVERIFY(p1->pathEdit()->text().isEmpty());
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    platform.fileAnswers.push_back(bitmap_.toStdString());
    p1->browseButton()->click();
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    wizard.button(QWizard::NextButton)->click();

    // Page 2: empty extents, resolutions 0, the south-west corner, Locks clear.
    PhotoWizardExtentsPage* p2 = wizard.page2();
    QCOMPARE(wizard.currentPage(), p2);
    QVERIFY(p2->fields()->maxLat()->text().isEmpty());
    QVERIFY(p2->cornerButton(1)->isChecked());
    QVERIFY(!p2->fields()->horizontalLock()->isChecked() && !p2->fields()->verticalLock()->isChecked());
    QVERIFY(!p2->preview()->image().isNull());
    type(p2->fields()->maxLat(), "45");
    type(p2->fields()->minLat(), "44");
    // 1 degree of latitude over 2048 rows.
    QCOMPARE(p2->model().vertical, 111.13055555555556 * 1000 / 2048);
    QVERIFY(!p2->fields()->vertical()->text().isEmpty());
    type(p2->fields()->maxLon(), "0");
    type(p2->fields()->minLon(), "0");
    QCOMPARE(p2->fields()->maxLon()->text(), QString("0"));
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), p2);
    QVERIFY(hasMessage(platform, "Longitude range is invalid. Please set longitude range."));
    QCOMPARE(doc.boundary, GeoRect{});

    // Locking a resolution disables its edit and moves the edges from the reference corner.
    p2->fields()->horizontal()->setFocus();
    type(p2->fields()->horizontal(), "20");
    QCOMPARE(p2->fields()->maxLon()->text(), QString("0"));   // equal longitudes are left alone
    type(p2->fields()->maxLon(), "16");
    p2->fields()->verticalLock()->click();
    QVERIFY(!p2->fields()->vertical()->isEnabled());
    QCOMPARE(p2->fields()->minLat()->text(), QString("44"));
    p2->fields()->verticalLock()->click();
    QVERIFY(p2->fields()->vertical()->isEnabled());

    type(p2->fields()->maxLat(), "45");
    type(p2->fields()->minLat(), "45");
    platform.messages.clear();
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), p2);
    QVERIFY(hasMessage(platform, "Latitude range is invalid. Please set latitude range."));

    // A coarse scale warns and goes on.
    type(p2->fields()->minLat(), "44");
    type(p2->fields()->minLon(), "10");
    platform.messages.clear();
    wizard.button(QWizard::NextButton)->click();
    QVERIFY(hasMessage(platform, kTooLarge));
    QCOMPARE(wizard.currentPage(), wizard.page3());
    QCOMPARE(doc.boundary, (GeoRect{44, 45, 10, 16}));
    QVERIFY(doc.modified);

    // Page 3 opens the altitude sources; Page 4 starts at the bitmap's folder.
    int altitudeRuns = 0;
    PhotoWizard wizard2(doc, {[&](QWidget*, CDibDoc&) { ++altitudeRuns; }, {}});
    wizard2.page3()->selectButton()->click();
    QCOMPARE(altitudeRuns, 1);
    QCOMPARE(wizard.page3()->selectButton()->text(), QString("Select altitude map(s)"));
    wizard.button(QWizard::NextButton)->click();
    PhotoWizardFolderPage* p4 = wizard.page4();
    QCOMPARE(wizard.currentPage(), p4);
    QVERIFY(wizard.button(QWizard::FinishButton)->isVisible());
    QCOMPARE(p4->folderEdit()->text(), QString::fromStdString(doc.sceneryFolder));
    QCOMPARE(p4->prefixEdit()->text(), QString("<none>"));
    const bool checked[3] = {false, false, true};
    for (int level = 1; level <= 3; ++level) {
        QVERIFY(!p4->levelBox(level)->isEnabled());
        QCOMPARE(p4->levelBox(level)->isChecked(), checked[level - 1]);
    }
    const std::string root = dir_->file("rules");
    fs::create_directory(root);
    platform.folderAnswers.push_back(root);
    p4->browseButton()->click();
    QCOMPARE(platform.folderPrompts.back(), std::string("Please specify a folder where the new scenery will reside..."));
    QCOMPARE(p4->folderEdit()->text(), QString::fromStdString(root));
    // Each activation shows the project's scenery folder again (Finish has not applied it yet).
    wizard.button(QWizard::BackButton)->click();
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(p4->folderEdit()->text(), QString::fromStdString(doc.sceneryFolder));
    QCOMPARE(p2->fields()->minLon()->text(), QString("10"));   // page 2 keeps what was typed
    p4->folderEdit()->setText(QString::fromStdString(root));

    // "<none>" and an empty prefix keep the page; the folders are made all the same.
    for (const QString& prefix : {QString("<none>"), QString()}) {
        p4->prefixEdit()->setText(prefix);
        platform.messages.clear();
        wizard.button(QWizard::FinishButton)->click();
        QCOMPARE(wizard.currentPage(), p4);
        QVERIFY(hasMessage(platform, "Please provide texture name prefix."));
        QCOMPARE(platform.messages.back().icon, MsgIcon::Stop);
    }
    QVERIFY(PathUtil::folderExists(PathUtil::join(root, "texture")));
    QVERIFY(PathUtil::folderExists(PathUtil::join(root, "scenery")));
    p4->prefixEdit()->setText("ab");
    wizard.button(QWizard::FinishButton)->click();
    QCOMPARE(wizard.result(), int(QDialog::Accepted));
}

void PhotoWizardTest::wizardAndBatchProgramMakeTheSameProject()
{
    ScriptedPlatform platform;
    AppContext app(platform);
    app.settings.coordinateFormat = 1;
    RecordingFrame frame(app);
    const CommandSpec* command = CommandRegistry::instance().find("wizard.photo");
    QVERIFY(command);
    QCOMPARE(command->text, QString("&PhotoWizard..."));

    const std::string root = dir_->file("scenery-root");
    fs::create_directory(root);
    const std::string sca = PathUtil::join(PathUtil::join(root, "scenery"), "landscape.sca");
    const std::string prj = PathUtil::join(root, "landscape.prj");
    platform.fileAnswers = {bitmap_.toStdString(), dted_.toStdString(), sca};
    platform.folderAnswers = {root};

    QString failure;
    auto check = [&failure](bool ok, const char* what) {
        if (!ok && failure.isEmpty())
            failure = what;
        return ok;
    };
    // Drives the modal wizard (and the altitude sheet it opens) once the command has shown it.
    whenModal<PhotoWizard>([&](PhotoWizard* wizard) {
        if (!check(wizard != nullptr, "no wizard shown"))
            return;
        wizard->page1()->browseButton()->click();
        wizard->button(QWizard::NextButton)->click();
        PhotoWizardExtentsPage* p2 = wizard->page2();
        if (!check(wizard->currentPage() == p2, "page 2 not reached"))
            return wizard->reject();
        type(p2->fields()->maxLat(), "45:30");
        type(p2->fields()->minLat(), "45");
        type(p2->fields()->maxLon(), "15.5");
        type(p2->fields()->minLon(), "15:0:0");
        wizard->button(QWizard::NextButton)->click();
        if (!check(wizard->currentPage() == wizard->page3(), "page 3 not reached"))
            return wizard->reject();

        whenModal<CAltMapsPropertySheet>([&](CAltMapsPropertySheet* sheet) {
            if (!check(sheet != nullptr, "no altitude sheet shown"))
                return;
            sheet->tabs()->setCurrentWidget(sheet->dtedPage());
            QPushButton* add = buttonWithText(sheet->dtedPage(), "Add...");
            if (check(add != nullptr, "no Add... button"))
                add->click();
            sheet->okButton()->click();
        });
        wizard->page3()->selectButton()->click();
        wizard->button(QWizard::NextButton)->click();
        PhotoWizardFolderPage* p4 = wizard->page4();
        p4->browseButton()->click();
        p4->prefixEdit()->setText("ls");
        wizard->button(QWizard::FinishButton)->click();
        if (wizard->isVisible()) {
            check(false, "Finish did not close the wizard");
            wizard->reject();
        }
    });
    command->run(frame);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(frame.opened);
    CDibDoc& doc = *frame.opened;
    QCOMPARE(doc.creationKind, 1);
    QCOMPARE(int(doc.chunks.size()), 64);
    QCOMPARE(int(doc.altitudeMaps.size()), 1);
    QVERIFY(!doc.mainAltitudeMap.records.empty());
    QVERIFY(frame.shown[2] > 0);   // the scenery properties were shown

    // Write Source Code > SCASM, then the project is saved.
    QVERIFY(runScasmSourceCommand(doc));
    QVERIFY(saveProject(doc, prj));
    const QByteArray wizardPrj = slurp(QString::fromStdString(prj));
    const QByteArray wizardSca = slurp(QString::fromStdString(sca));
    QVERIFY(!wizardPrj.isEmpty() && !wizardSca.isEmpty());
    QVERIFY(wizardSca.contains("Bitmap( ls0000322.bmp"));
    fs::remove(prj);
    fs::remove(sca);

    QString output;
    const int code = runCli(QString::fromStdString(dir_->str()),
                            {"photo", "--bitmap", bitmap_, "--north", "45:30", "--south", "45", "--east", "15.5",
                             "--west", "15:0:0", "--folder", QString::fromStdString(root), "--prefix", "ls", "--dted",
                             dted_, "--sca", QString::fromStdString(sca), "--project", QString::fromStdString(prj)},
                            &output);
    QVERIFY2(code == 0, qPrintable(output));
    QVERIFY2(slurp(QString::fromStdString(prj)) == wizardPrj, "the project files differ");
    QVERIFY2(slurp(QString::fromStdString(sca)) == wizardSca, "the sources differ");
}

QTEST_MAIN(PhotoWizardTest)
#include "PhotoWizardTest.moc"
