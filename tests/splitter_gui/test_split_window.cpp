#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "IniFile.h"
#include "ui/SplitWindow.h"
#include "ui/CatgenInstructionsDialog.h"
#include "ui/ScasmResultsDialog.h"
#include "ui/RunwayDialog.h"
#include "ui/ProjectDetailsDialog.h"

class TestSplitWindow : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<GuiTestDir> dir;
  std::unique_ptr<TestSplitPlatform> platform;
  std::unique_ptr<SplitWindow> window;

  /// A stand-in Scasm ending with `code` for both parts, writing `log` when it is not empty.
  void useScasm(int code, const std::string& log = "") {
    writeScript(*dir / "SCASM.EXE", (log.empty() ? "" : "printf '" + log + "\\r\\n' > SCAERROR.LOG\n") +
                                        "printf BGL > \"${1%.sca}.bgl\"\nexit " + std::to_string(code) + "\n");
  }
  QStringList tabTexts() const {
    QStringList t;
    for (int i = 0; i < window->Page->count(); ++i) t << window->Page->tabText(i);
    return t;
  }
  /// Splits the builder-format source through the menu, answering every question.
  void loadAndSplit(std::deque<MessageAnswer> afterDetails) {
    platform->answers = {MessageAnswer::Ok, MessageAnswer::Ok};  // clear documents?, select directory
    for (MessageAnswer a : afterDetails) platform->answers.push_back(a);
    platform->openAnswers = {testData("builder_two_chunks.sca")};
    platform->saveAnswers = {*dir / "Field.sca"};
    window->LoadOvFile->trigger();
  }

private slots:
  void init() {
    dir = std::make_unique<GuiTestDir>();
    platform = std::make_unique<TestSplitPlatform>();
    useScasm(0);
    writeScript(*dir / "Catgen.exe", "exit 0\n");
    IniFile config(*dir / "OVSPLIT.cfg");
    config.writeString("Paths", "Scasm", *dir / "SCASM.EXE");
    config.writeString("Paths", "Catgen", *dir / "Catgen.exe");
    window = std::make_unique<SplitWindow>(dir->qpath(), platform.get());
    window->show();
  }
  void cleanup() {
    window.reset();
    platform.reset();
    dir.reset();
  }

  void startsEmptyWithItsMenus() {
    QVERIFY(platform->messages.empty());  // both paths known: nothing to locate
    QCOMPARE(window->windowTitle(), QString("OVSplit v1.1[*]"));  // shown as "OVSplit v1.1" until changed
    QVERIFY(!window->isWindowModified());
    QCOMPARE(tabTexts(), QStringList({"OV Code (Original)", "Document_A", "Document_B", "Document_C", "Document_D",
                                      "Compile Instructions"}));
    QVERIFY(!window->MCompileNow->isEnabled());
    QCOMPARE(window->editors[SplitSession::OvDoc]->objectName(), QString("OvDoc"));
    QCOMPARE(window->editors[SplitSession::OvDoc]->lineWrapMode(), QPlainTextEdit::NoWrap);
    QStringList menus;
    for (QAction* a : window->menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, QStringList({"&File", "&Compile", "&About"}));
    QCOMPARE(window->session().scasmPath, *dir / "SCASM.EXE");
  }

  void cancellingTheSearchForScasmStartsAllTheSameAndCompileSearchesAgain() {
    GuiTestDir other;
    TestSplitPlatform p;
    SplitWindow w(other.qpath(), &p);  // no OVSPLIT.cfg: Scasm unknown; the open dialog is cancelled
    w.show();
    QVERIFY(w.isVisible());
    QCOMPARE(p.texts(), std::vector<std::string>{"Please locate Scasm.exe on your system"});
    QVERIFY(w.session().scasmPath.empty());

    // Splitting and saving work without Scasm.
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    p.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No, MessageAnswer::Yes};
    p.openAnswers = {testData("builder_two_chunks.sca")};
    p.saveAnswers = {other / "Field.sca"};
    w.LoadOvFile->trigger();
    QVERIFY(std::filesystem::exists(other / "Field_A.sca"));

    // Compile looks for Scasm again; cancelled, nothing runs.
    p.messages.clear();
    w.MCompileNow->trigger();
    QCOMPARE(p.texts(), std::vector<std::string>{"Please locate Scasm.exe on your system"});
    QVERIFY(w.session().pipeline().aborted());

    // Found this time: Catgen is asked for next, then Scasm runs and its results show.
    writeScript(other / "SCASM.EXE", "printf BGL > \"${1%.sca}.bgl\"\nexit 0\n");
    writeScript(other / "Catgen.exe", "exit 0\n");
    p.messages.clear();
    p.openAnswers = {other / "SCASM.EXE", other / "Catgen.exe"};
    p.answers = {MessageAnswer::Ok, MessageAnswer::Ok};  // the two notices
    onModal<ScasmResultsDialog>([](ScasmResultsDialog* r) { r->Stp->click(); });
    w.MCompileNow->trigger();
    QCOMPARE(p.texts(), (std::vector<std::string>{"Please locate Scasm.exe on your system",
                                                  "Please locate Catgen.exe on your system"}));
    QCOMPARE(w.session().scasmPath, other / "SCASM.EXE");
    QVERIFY(std::filesystem::exists(other / "Field_A.bgl"));
  }

  void loadSplitsThroughTheProjectDetailsAndRunwayDialogs() {
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) {
      QCOMPARE(d->LibObjNameBox->text(), QString("Scenery1"));
      d->LibObjNameBox->setText("Field");
      d->QT[2]->setChecked(true);
      d->LibIdOk->click();
    });
    // After the details: add a runway (then no more), no compile, save.
    platform->answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Yes, MessageAnswer::No,
                         MessageAnswer::No, MessageAnswer::Yes};
    platform->openAnswers = {testData("builder_two_chunks.sca")};
    platform->saveAnswers = {*dir / "Field.sca"};
    QTimer::singleShot(0, [] {
      onModal<RunwayDialog>([](RunwayDialog* r) {
        r->RwId_A->setText("27");
        r->markings[RunwayModel::EdgeLine]->setChecked(true);
        r->RwOk->click();
      });
    });
    window->LoadOvFile->trigger();

    QCOMPARE(tabTexts(), QStringList({"builder_two_chunks.sca (original)", "Field_A.sca", "Field_B.sca",
                                      "Field_C.scm", "Field_D.scm", "Field_Compile.doc"}));
    QVERIFY(window->MCompileNow->isEnabled());
    const QString a = window->editors[SplitSession::DocumentA]->toPlainText();
    QVERIFY(a.contains("LibID( 'NECS' '1YRE' '1' 0 ) ;SCASM command"));
    const QString c = window->editors[SplitSession::DocumentC]->toPlainText();
    QVERIFY(c.contains("LibObj( 0 20 0 0 0 101 0 0 0 \"Field\" );SCASM command"));
    QVERIFY(c.contains("\t;RUNWAYS ADDED START\n\n\t;Runway name: \n"));
    QVERIFY(c.contains("\tID 27\n\tSurface 0\n\tMARKERS 01\n\t)\n\n\t;RUNWAYS ADDED END"));
    QCOMPARE(readBytes(*dir / "Field_C.scm"),
             window->editors[SplitSession::DocumentC]->toPlainText().replace("\n", "\r\n").toStdString() + "\r\n");
    QVERIFY(window->editors[SplitSession::OvDoc]->toPlainText().startsWith("Copyright( Orvane"));
    QCOMPARE(IniFile(*dir / "OVSPLIT.cfg").readString("Recent", "ObjectName"), std::string("Field"));
  }

  void editedTextIsSavedAndClearResets() {
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    loadAndSplit({MessageAnswer::No, MessageAnswer::No, MessageAnswer::No});
    QVERIFY(!std::filesystem::exists(*dir / "Field_A.sca"));
    window->editors[SplitSession::DocumentD]->setPlainText("; changed by hand\n\tline two");
    window->SaveAllDocs->trigger();
    QCOMPARE(readBytes(*dir / "Field_D.scm"), std::string("; changed by hand\r\n\tline two\r\n"));
    QVERIFY(std::filesystem::exists(*dir / "Field_Compile.doc"));

    window->Page->setCurrentIndex(4);
    window->ClearAllDocs->trigger();
    QCOMPARE(window->Page->currentIndex(), 0);
    QCOMPARE(tabTexts().at(3), QString("Document_C"));
    QVERIFY(window->editors[SplitSession::DocumentC]->toPlainText().isEmpty());
    QVERIFY(!window->MCompileNow->isEnabled());
  }

  void unEditedDocumentsAreSavedByteForByte() {
    // A source in an 8-bit code page: the editors show such bytes as replacement characters,
    // but documents the user did not touch must reach the files unchanged.
    const std::string comment = " ;Montr\xe9" "al";
    std::string source = readBytes(testData("builder_two_chunks.sca"));
    source.insert(source.find_first_of("\r\n", source.rfind("Area(")), comment);
    writeBytes(*dir / "latin1.sca", source);
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    platform->answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No,
                         MessageAnswer::Yes};
    platform->openAnswers = {*dir / "latin1.sca"};
    platform->saveAnswers = {*dir / "Field.sca"};
    window->LoadOvFile->trigger();
    QVERIFY(readBytes(*dir / "Field_B.sca").find(comment) != std::string::npos);
    window->editors[SplitSession::DocumentA]->appendPlainText("; by hand");
    window->SaveAllDocs->trigger();
    QVERIFY(readBytes(*dir / "Field_B.sca").find(comment) != std::string::npos);
    QVERIFY(readBytes(*dir / "Field_A.sca").find("; by hand\r\n") != std::string::npos);
  }

  void compileShowsResultsAndCatgenInstructions() {
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    loadAndSplit({MessageAnswer::No, MessageAnswer::No, MessageAnswer::No});
    useScasm(0, "line one of the log");
    platform->messages.clear();
    platform->answers = {MessageAnswer::No};  // no move
    int resultsShown = 0;
    bool mainHiddenDuringCatgen = false;
    QString catgenLine2;
    std::function<void()> expectResults = [&] {
      onModal<ScasmResultsDialog>([&](ScasmResultsDialog* r) {
        ++resultsShown;
        QCOMPARE(r->windowTitle(), QString("Scasm Results"));
        QCOMPARE(r->ScasmResults->toPlainText(), QString("line one of the log"));
        QVERIFY(r->Cont->isEnabled());
        if (resultsShown == 1) {
          onModal<CatgenInstructionsDialog>([&](CatgenInstructionsDialog* g) {
            mainHiddenDuringCatgen = !window->isVisible();
            catgenLine2 = g->Label[1]->text();
            g->Button1->click();
            expectResults();
          });
        }
        r->Cont->click();
      });
    };
    expectResults();
    window->MCompileNow->trigger();
    QCOMPARE(resultsShown, 2);
    QVERIFY(mainHiddenDuringCatgen);
    QVERIFY(window->isVisible());
    QCOMPARE(catgenLine2, QString::fromStdString("Click \"NEW\" and navigate to: " + dir->withSlash()));
    QCOMPARE(platform->texts(), std::vector<std::string>{"Move Bgl files to your Orvane scenery directory?\r"});
  }

  void scasmErrorLeavesOnlyStop() {
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    loadAndSplit({MessageAnswer::No, MessageAnswer::No, MessageAnswer::No});
    useScasm(1, "syntax error");
    platform->messages.clear();
    bool continueEnabled = true;
    ScasmResultsDialog* results = nullptr;
    onModal<ScasmResultsDialog>([&](ScasmResultsDialog* r) {
      results = r;
      continueEnabled = r->Cont->isEnabled();
      r->Stp->click();
    });
    window->MCompileNow->trigger();
    QVERIFY(!continueEnabled);
    QVERIFY(results && results->Cont->isEnabled());  // enabled again afterwards
    QCOMPARE(platform->messages.size(), size_t(1));
    QCOMPARE(platform->messages[0].type, MessageType::Error);
    QVERIFY(window->session().pipeline().aborted());
  }

  void aboutAndExit() {
    window->AboutOVSplit->trigger();
    QCOMPARE(platform->messages.back().text, "OVSplit v1.1\r\rScasm Path: " + *dir / "SCASM.EXE" +
                                                 "\r\rCatgen Path: " + *dir / "Catgen.exe");
    platform->answers = {MessageAnswer::No};
    window->Mexit->trigger();
    QVERIFY(window->isVisible());
    platform->answers = {MessageAnswer::Yes};
    window->Mexit->trigger();
    QCOMPARE(platform->messages.back().text, std::string("Exit OVSplit?"));
    QVERIFY(!window->isVisible());
  }
};

QTEST_MAIN(TestSplitWindow)
#include "test_split_window.moc"
