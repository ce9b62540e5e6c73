// The SynthWizard on the offscreen platform: its page rules, the menu command, and the whole road
// from the starter library and a DTED file to a saved project and source, compared byte for byte
// with what orvane-cli synth makes of the same input and seed.

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "GuiWait.h"
#include "altitude/ui/CAltMapsPropertySheet.h"
#include "altitude/ui/CDTEDAltMap.h"
#include "app/ConfigFile.h"
#include "base/PathUtil.h"
#include "base/ui/CommandRegistry.h"
#include "output/Coordinates.h"
#include "output/SourceCommandFlow.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "RecordingFrame.h"
#include "WizardTestHelpers.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "synth/TextureLibrary.h"
#include "wizards/ui/SynthGridPreview.h"
#include "wizards/ui/SynthWizard.h"
#include "wizards/ui/SynthWizardAltitudePage.h"
#include "wizards/ui/SynthWizardClassesPage.h"
#include "wizards/ui/SynthWizardExtentsPage.h"
#include "wizards/ui/SynthWizardGridPage.h"

namespace fs = std::filesystem;

namespace {

double coordinate(QLineEdit* edit) { return parseCoordinate(edit->text().toStdString()); }

// An application as the builder starts in the test folder: TexRelief.cfg read, library loaded.
struct StartedApp {
    ScriptedPlatform platform;
    AppContext app{platform};
    explicit StartedApp(int coordinateFormat)
    {
        readConfigFile("TexRelief.cfg", app.settings);
        app.settings.applicationPath = fs::current_path().string();
        app.settings.coordinateFormat = coordinateFormat;
        loadTextureLibrary(app);
        platform.messages.clear();
    }
};

} // namespace

class SynthWizardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void gridPreviewDrawsCells();
    void pagesFollowTheirRules();
    void commandIsOfferedOnlyWithALibrary();
    void cancelDuringGenerationLeavesNoProject();
    void wizardAndBatchProgramMakeTheSameProject();

private:
    std::unique_ptr<TempDir> dir_;
    fs::path previous_;
    QString dted_;
};

void SynthWizardTest::initTestCase()
{
    QVERIFY2(QFile::exists(cliPath()), qPrintable("orvane-cli not built at " + cliPath()));
    dir_ = std::make_unique<TempDir>();
    previous_ = fs::current_path();
    fs::current_path(dir_->path());   // the application folder of both programs
    qputenv("SOURCE_DATE_EPOCH", "946684800");
    QString output;
    const QString folder = QString::fromStdString(dir_->str());
    QCOMPARE(runCli(folder, {"demo-data", "--library", folder}, &output), 0);
    QCOMPARE(runCli(folder, {"demo-data", "--out", "input", "--size", "1024", "--points", "61"}, &output), 0);
    dted_ = QString::fromStdString(dir_->file("input/landscape.dt0"));
    QVERIFY2(QFile::exists(dted_) && QFile::exists("TexRelief.cfg"), qPrintable(output));
}

void SynthWizardTest::cleanupTestCase()
{
    if (!previous_.empty())
        fs::current_path(previous_);
    dir_.reset();
}

void SynthWizardTest::gridPreviewDrawsCells()
{
    struct Case {
        int width, height, columns, rows, count, side;
    } cases[] = {
        {200, 100, 4, 2, 8, 50}, {200, 100, 4, 4, 16, 25}, {100, 100, 0, 3, 0, 0},   {100, 100, 3, 0, 0, 0},
        {100, 100, 150, 2, 2, 50}, {100, 100, 101, 101, 1, 100}, {100, 100, 100, 1, 100, 1},
    };
    for (const Case& c : cases) {
        const QVector<QRect> cells = SynthGridPreview::cells(c.width, c.height, c.columns, c.rows);
        QCOMPARE(int(cells.size()), c.count);
        if (!cells.isEmpty()) {
            QCOMPARE(cells.front().width(), c.side);
            // The block is centred in the frame.
            const QRect block = cells.front().united(cells.back());
            QCOMPARE(block.left(), (c.width - block.width()) / 2);
            QCOMPARE(block.top(), (c.height - block.height()) / 2);
        }
    }
}

void SynthWizardTest::pagesFollowTheirRules()
{
    StartedApp started(0);
    ScriptedPlatform& platform = started.platform;
    CDibDoc doc(started.app);
    platform.messages.clear();
    int altitudeRuns = 0;
    SynthWizardServices services;
    services.altitudeSources = [&](QWidget*, CDibDoc& project) {
        ++altitudeRuns;
        project.altitudeMaps.push_back(std::make_unique<AltitudeMap>());
    };
    SynthWizard wizard(doc, services);
    wizard.show();
    QCOMPARE(wizard.windowTitle(), QString("Wizard"));

    // Page 1: every change goes into the project at once; a grid without chunks has no Next.
    SynthWizardGridPage* p1 = wizard.page1();
    QCOMPARE(p1->columnsEdit()->text(), QString("1"));
    QCOMPARE(p1->rowsEdit()->text(), QString("1"));
    QVERIFY(!wizard.button(QWizard::BackButton)->isVisible());
    type(p1->columnsEdit(), "6");
    QCOMPARE(doc.chunkColumns, 6);
    type(p1->rowsEdit(), "0");
    QCOMPARE(doc.chunkRows, 0);
    QVERIFY(p1->preview()->cells().isEmpty());
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    type(p1->rowsEdit(), "4");
    QCOMPARE(int(p1->preview()->cells().size()), 24);
    type(p1->columnsEdit(), "4");
    QCOMPARE(int(p1->preview()->cells().size()), 16);
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.gridColumns(), 4);
    QCOMPARE(wizard.gridRows(), 4);

    // Page 2: locked at 2.0 m/pixel from the south-west corner, with the four tooltips.
    SynthWizardExtentsPage* p2 = wizard.page2();
    QCOMPARE(wizard.currentPage(), p2);
    QVERIFY(p2->fields()->horizontalLock()->isChecked() && p2->fields()->verticalLock()->isChecked());
    QVERIFY(!p2->fields()->horizontal()->isEnabled() && !p2->fields()->vertical()->isEnabled());
    QCOMPARE(p2->model().horizontal, 2.0);
    QCOMPARE(p2->model().vertical, 2.0);
    QVERIFY(p2->cornerButton(1)->isChecked());
    const char* tips[4] = {"Propagate auto extents calculation to Max Long, Min Lat",
                           "Propagate auto extents calculation to Max Long, Max Lat",
                           "Propagate auto extents calculation to Min Long, Min Lat",
                           "Propagate auto extents calculation to Min Long, Max Lat"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(p2->cornerButton(i)->toolTip(), QString(tips[i]));
    QVERIFY(p2->findChild<QGroupBox*>() && p2->findChild<QGroupBox*>()->title() == "Synthetic Scenery Resolution (m/pix):");
    type(p2->fields()->minLat(), "45");
    QVERIFY(qAbs(coordinate(p2->fields()->maxLat()) - (45 + 4 * 256 * 2.0 / 111130.55555555556)) < 1e-6);
    type(p2->fields()->minLon(), "15");
    const double k = p2->model().kmPerDegreeLongitude();
    QVERIFY(qAbs(coordinate(p2->fields()->maxLon()) - (15 + 4 * 256 * 2.0 / (k * 1000))) < 1e-6);

    // A grid changed on page 1 carries over when page 2 becomes active again.
    wizard.button(QWizard::BackButton)->click();
    type(p1->columnsEdit(), "8");
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.gridColumns(), 8);
    QVERIFY(qAbs(coordinate(p2->fields()->maxLon()) - (15 + 8 * 256 * 2.0 / (k * 1000))) < 1e-6);
    QVERIFY(qAbs(coordinate(p2->fields()->maxLat()) - (45 + 4 * 256 * 2.0 / 111130.55555555556)) < 1e-6);
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), wizard.page3());
    QCOMPARE(doc.boundary.south, 45.0);
    QCOMPARE(doc.boundary.west, 15.0);
    QVERIFY(doc.modified);

    // Page 3: the enabled classes, unchecked; an empty selection stays.
    SynthWizardClassesPage* p3 = wizard.page3();
    QTableWidget* list = p3->list();
    QCOMPARE(list->rowCount(), 5);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("Name"));
    QCOMPARE(list->horizontalHeaderItem(1)->text(), QString("Index"));
    QCOMPARE(list->columnWidth(0), 100);
    QCOMPARE(list->columnWidth(1), 60);
    QCOMPARE(list->item(1, 0)->text(), QString("Grass"));
    QCOMPARE(list->item(4, 1)->text(), QString("4"));
    for (int row = 0; row < 5; ++row)
        QCOMPARE(list->item(row, 0)->checkState(), Qt::Unchecked);
    platform.messages.clear();
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), p3);
    QVERIFY(hasMessage(platform, "Please select at least one Landscape Group Type."));
    QCOMPARE(platform.messages.back().icon, MsgIcon::Exclamation);
    list->item(1, 0)->setCheckState(Qt::Checked);
    list->item(2, 0)->setCheckState(Qt::Checked);
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(p3->selection(), (std::vector<std::int32_t>{1, 2}));

    // Page 4: no altitude map, no water; loading one offers it.
    SynthWizardAltitudePage* p4 = wizard.page4();
    QCOMPARE(wizard.currentPage(), p4);
    QCOMPARE(p4->loadButton()->text(), QString("Load Altitude Map..."));
    QCOMPARE(p4->waterBox()->text(), QString("Render water at water level"));
    QVERIFY(!p4->waterBox()->isEnabled());
    QVERIFY(!p4->waterBox()->isChecked());
    QVERIFY(!p4->renderWater());

    // Unchecking a group after Back removes it from the selection.
    wizard.button(QWizard::BackButton)->click();
    list->item(2, 0)->setCheckState(Qt::Unchecked);
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(p3->selection(), (std::vector<std::int32_t>{1}));

    p4->loadButton()->click();
    QCOMPARE(altitudeRuns, 1);
    QVERIFY(p4->waterBox()->isEnabled());
    p4->waterBox()->click();
    QVERIFY(p4->renderWater());
    QVERIFY(wizard.button(QWizard::FinishButton)->isVisible());
    wizard.button(QWizard::FinishButton)->click();
    QCOMPARE(wizard.result(), int(QDialog::Accepted));
}

void SynthWizardTest::commandIsOfferedOnlyWithALibrary()
{
    const CommandSpec* command = CommandRegistry::instance().find("wizard.synth");
    QVERIFY(command);
    QCOMPARE(command->text, QString("&SynthWizard..."));
    QVERIFY(command->enabled);

    ScriptedPlatform emptyPlatform;
    AppContext empty(emptyPlatform);
    RecordingFrame emptyFrame(empty);
    QVERIFY(!command->enabled(emptyFrame));

    StartedApp started(1);
    RecordingFrame frame(started.app);
    QVERIFY(command->enabled(frame));
    // Cancel: no project.
    whenModal<SynthWizard>([](SynthWizard* wizard) { wizard->reject(); });
    command->run(frame);
    QVERIFY(!frame.opened);
    QCOMPARE(started.app.settings.newProjectMode, 2);
    QCOMPARE(frame.refreshes, 1);
}

void SynthWizardTest::cancelDuringGenerationLeavesNoProject()
{
    StartedApp started(0);
    started.platform.cancelAfterSteps = 3;
    RecordingFrame frame(started.app);
    QString failure;
    whenModal<SynthWizard>([&](SynthWizard* wizard) {
        if (!wizard) {
            failure = "no wizard shown";
            return;
        }
        type(wizard->page1()->columnsEdit(), "3");
        type(wizard->page1()->rowsEdit(), "3");
        wizard->button(QWizard::NextButton)->click();
        type(wizard->page2()->fields()->minLat(), "45");
        type(wizard->page2()->fields()->minLon(), "15");
        wizard->button(QWizard::NextButton)->click();
        wizard->page3()->list()->item(0, 0)->setCheckState(Qt::Checked);
        wizard->button(QWizard::NextButton)->click();
        wizard->button(QWizard::FinishButton)->click();
        if (wizard->isVisible()) {
            failure = "Finish did not close the wizard";
            wizard->reject();
        }
    });
    CommandRegistry::instance().find("wizard.synth")->run(frame);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(!frame.opened);
    const auto& log = started.platform.progressLog;
    QVERIFY(std::find(log.begin(), log.end(), "create Please Wait...SynthWizard is doing its magic...") != log.end());
    QVERIFY(std::find(log.begin(), log.end(), "range 0 9 step 1") != log.end());
}

void SynthWizardTest::wizardAndBatchProgramMakeTheSameProject()
{
    StartedApp started(1);
    ScriptedPlatform& platform = started.platform;
    const std::string sca = dir_->file("synthetic.sca");
    const std::string prj = dir_->file("synthetic.prj");
    platform.fileAnswers = {dted_.toStdString(), sca};

    QString failure;
    auto check = [&failure](bool ok, const char* what) {
        if (!ok && failure.isEmpty())
            failure = what;
        return ok;
    };
    whenModal<SynthWizard>([&](SynthWizard* wizard) {
        if (!check(wizard != nullptr, "no wizard shown"))
            return;
        type(wizard->page1()->columnsEdit(), "8");
        type(wizard->page1()->rowsEdit(), "6");
        wizard->button(QWizard::NextButton)->click();
        SynthWizardExtentsPage* p2 = wizard->page2();
        if (!check(wizard->currentPage() == p2, "page 2 not reached"))
            return wizard->reject();
        type(p2->fields()->minLat(), "45:0:30");
        type(p2->fields()->minLon(), "15.01");
        wizard->button(QWizard::NextButton)->click();
        if (!check(wizard->currentPage() == wizard->page3(), "page 3 not reached"))
            return wizard->reject();
        QTableWidget* list = wizard->page3()->list();
        for (int row = 0; row < list->rowCount(); ++row)
            list->item(row, 0)->setCheckState(Qt::Checked);
        wizard->button(QWizard::NextButton)->click();
        SynthWizardAltitudePage* p4 = wizard->page4();
        if (!check(wizard->currentPage() == p4, "page 4 not reached"))
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
        p4->loadButton()->click();
        if (!check(p4->waterBox()->isEnabled(), "water not offered after loading a map"))
            return wizard->reject();
        p4->waterBox()->click();
        wizard->button(QWizard::FinishButton)->click();
        if (wizard->isVisible()) {
            check(false, "Finish did not close the wizard");
            wizard->reject();
        }
    });
    CDibDoc doc(started.app);
    SynthWizardServices services;
    services.seed = 4321;
    const bool made = runSynthWizard(doc, nullptr, services);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(made);
    QCOMPARE(doc.creationKind, 2);
    QCOMPARE(int(doc.chunks.size()), 48);
    QCOMPARE(doc.documentWidth, 8 * 256);
    QVERIFY(!doc.mainAltitudeMap.records.empty());

    QVERIFY(runScasmSourceCommand(doc));
    QVERIFY(saveProject(doc, prj));
    const QByteArray wizardPrj = slurp(QString::fromStdString(prj));
    const QByteArray wizardSca = slurp(QString::fromStdString(sca));
    QVERIFY(!wizardPrj.isEmpty() && !wizardSca.isEmpty());
    QVERIFY(wizardSca.contains("\tBitmap( 0"));
    fs::remove(prj);
    fs::remove(sca);

    QString output;
    const int code = runCli(QString::fromStdString(dir_->str()),
                            {"synth", "--columns", "8", "--rows", "6", "--south", "45:0:30", "--west", "15.01",
                             "--dted", dted_, "--water", "--seed", "4321", "--sca", QString::fromStdString(sca),
                             "--project", QString::fromStdString(prj)},
                            &output);
    QVERIFY2(code == 0, qPrintable(output));
    QVERIFY2(slurp(QString::fromStdString(prj)) == wizardPrj, "the project files differ");
    QVERIFY2(slurp(QString::fromStdString(sca)) == wizardSca, "the sources differ");
}

QTEST_MAIN(SynthWizardTest)
#include "SynthWizardTest.moc"
