// Every window of the split tool as the user meets it, on a 1920 x 1080 screen at the scale
// factor the test runs at (CTest runs it at 1 and 2): no control cut off by its parent, none
// on top of another, none squeezed below its minimum, no window larger than the screen.
// With ORVANE_SHOT_DIR set it also leaves a picture of each (scripts/screenshot-dialogs.sh).

#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "IniFile.h"
#include "WindowGallery.h"
#include "ui/CatgenInstructionsDialog.h"
#include "ui/ProgramRunningDialog.h"
#include "ui/ProjectDetailsDialog.h"
#include "ui/RunwayDialog.h"
#include "ui/ScasmResultsDialog.h"
#include "ui/SplitWindow.h"

namespace {
const QString kProgram = QStringLiteral("ovsplit");

/// Fails with every fault listed, one per line.
void expectNoFaults(const QStringList& faults) {
  if (!faults.isEmpty()) QFAIL(qPrintable(QStringLiteral("\n") + faults.join(QLatin1Char('\n'))));
}
}  // namespace

class TestLayoutGallery : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<GuiTestDir> dir;
  std::unique_ptr<TestSplitPlatform> platform;

private slots:
  void init() {
    dir = std::make_unique<GuiTestDir>();
    platform = std::make_unique<TestSplitPlatform>();
    writeScript(*dir / "SCASM.EXE", "exit 0\n");
    writeScript(*dir / "Catgen.exe", "exit 0\n");
    IniFile config(*dir / "OVSPLIT.cfg");
    config.writeString("Paths", "Scasm", *dir / "SCASM.EXE");
    config.writeString("Paths", "Catgen", *dir / "Catgen.exe");
  }
  void cleanup() {
    platform.reset();
    dir.reset();
  }

  void theCheckFindsEachKindOfFault() {
    QDialog squeezed;
    auto* layout = new QVBoxLayout(&squeezed);
    layout->addWidget(new QPushButton(QStringLiteral("A caption far too long for the room it gets")));
    squeezed.setFixedSize(60, 200);
    auto* first = new QLabel(QStringLiteral("one"), &squeezed);
    auto* second = new QLabel(QStringLiteral("two"), &squeezed);
    first->setGeometry(5, 150, 40, 20);
    second->setGeometry(30, 155, 40, 20);  // on top of the first, and past the right edge
    squeezed.show();
    QVERIFY(QTest::qWaitForWindowExposed(&squeezed, 60000));
    const QString found = LayoutCheck::faults(&squeezed).join(QLatin1Char('\n'));
    QVERIFY2(found.contains(QStringLiteral("squeezed")), qPrintable(found));
    QVERIFY2(found.contains(QStringLiteral("overlaps")), qPrintable(found));
    QVERIFY2(found.contains(QStringLiteral("reaches past its parent")), qPrintable(found));

    QWidget huge;
    huge.resize(huge.screen()->availableGeometry().size() + QSize(10, 10));
    huge.show();
    QVERIFY(QTest::qWaitForWindowExposed(&huge, 60000));
    QVERIFY(LayoutCheck::faults(&huge).join(QLatin1Char('\n')).contains(QStringLiteral("larger than the screen")));
  }

  void mainWindowWithSplitDocuments() {
    SplitWindow window(dir->qpath(), platform.get());
    platform->answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    window.session().SplitSource(testData("builder_two_chunks.sca"), *dir / "Field.sca");
    expectNoFaults(WindowGallery::check(&window, kProgram, QStringLiteral("main"),
                                        WindowGallery::tabStates(window.Page)));
  }

  void projectDetails() {
    ProjectDetailsDialog dialog;
    dialog.setDetails({"Scenery1", {"NECS", "1YRE", "1", "0"}, {true, true, false, false}});
    expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("project-details")));
  }

  void runwayDetailsEveryTab() {
    RunwayDialog dialog(*platform);
    expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("runway"),
                                        WindowGallery::tabStates(dialog.Page)));
  }

  void scasmResults() {
    ScasmResultsDialog dialog;
    dialog.ScasmResults->setPlainText(QStringLiteral("Field_A.sca(12) : warning : something to look at\n"
                                                     "1 warning(s), 0 error(s)"));
    expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("scasm-results")));
  }

  void catgenInstructions() {
    CatgenInstructionsDialog dialog;
    const std::string folder = dir->withSlash() + "a folder with a rather long name for its scenery/";
    const std::array<std::string, 6> labels = {"In the Catgen Window:", "Click \"NEW\" and navigate to: " + folder,
                                               "Save file as Field.cat (if asked for index table size, click OK)",
                                               "Click \"BGL\" and load Field_A.bgl", "Click \"ADD\", then \"SAVE\".",
                                               "Close Catgen and click \"OK\" in this window."};
    for (int i = 0; i < 6; ++i) dialog.Label[i]->setText(QString::fromStdString(labels[static_cast<std::size_t>(i)]));
    expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("catgen-instructions")));
  }

  void catgenInstructionsUnderWine() {
    CatgenInstructionsDialog dialog;
    const std::string folder = dir->withSlash() + "a folder with a rather long name for its scenery/";
    std::string windows = "Z:" + folder;
    for (char& c : windows)
      if (c == '/') c = '\\';
    dialog.Label[1]->setText(
        QString::fromStdString("Click \"NEW\" and navigate to: " + windows + "\n(the Linux folder " + folder + ")"));
    expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("catgen-instructions-wine")));
  }

  void programRunningWithWinesFirstStart() {
    ProgramRunningDialog dialog;
    dialog.begin("SCASM", "Wine is preparing its folder " + dir->withSlash() +
                              "a rather long folder name/.wine for the first time; this can take a few seconds.");
    expectNoFaults(WindowGallery::check(&dialog, kProgram, QStringLiteral("program-running")));
    dialog.end();
  }
};

QTEST_MAIN(TestLayoutGallery)
#include "test_layout_gallery.moc"
