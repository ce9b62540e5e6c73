// Split documents and hand edits are not thrown away without a question: closing the window
// in any way, Clear All Documents, loading another source and Exit ask "Save changes?".

#include <QAction>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "IniFile.h"
#include "ui/ProjectDetailsDialog.h"
#include "ui/SplitWindow.h"

class TestUnsavedWork : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<GuiTestDir> dir;
  std::unique_ptr<TestSplitPlatform> platform;
  std::unique_ptr<SplitWindow> window;

  /// Splits through the menu; `saveAfterSplit` answers "Save documents to:".
  void split(bool saveAfterSplit) {
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    platform->answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No,
                         saveAfterSplit ? MessageAnswer::Yes : MessageAnswer::No};
    platform->openAnswers = {testData("builder_two_chunks.sca")};
    platform->saveAnswers = {*dir / "Field.sca"};
    window->LoadOvFile->trigger();
    platform->messages.clear();
  }
  /// Types into an editor as the user does.
  void typeInto(int doc, const QString& text) {
    QPlainTextEdit* editor = window->editors[static_cast<std::size_t>(doc)];
    window->Page->setCurrentIndex(doc);
    editor->moveCursor(QTextCursor::End);
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0) QTest::keyClick(editor, Qt::Key_Return);
      QTest::keyClicks(editor, lines[i]);
    }
  }
  /// What the window's frame does on Alt+F4 or its close button.
  bool closeByFrame() {
    QCloseEvent event;
    QApplication::sendEvent(window.get(), &event);
    return event.isAccepted();
  }
  bool asked() const {
    return platform->messages.size() == 1 && platform->messages[0].text == "Save changes?" &&
           platform->messages[0].buttons == MessageButtons::YesNoCancel;
  }

private slots:
  void init() {
    dir = std::make_unique<GuiTestDir>();
    platform = std::make_unique<TestSplitPlatform>();
    writeScript(*dir / "SCASM.EXE", "exit 0\n");
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

  void titleMarksUnsavedDocuments() {
    QVERIFY(!window->isWindowModified());
    split(false);
    QVERIFY(window->isWindowModified());
    window->SaveAllDocs->trigger();
    QVERIFY(!window->isWindowModified());
    typeInto(SplitSession::DocumentB, "; more");
    QVERIFY(window->isWindowModified());
    window->SaveAllDocs->trigger();
    QVERIFY(!window->isWindowModified());
    QVERIFY(readBytes(*dir / "Field_B.sca").find("; more\r\n") != std::string::npos);
  }

  void closingTheWindowAsks_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("yes saves and closes") << int(MessageAnswer::Yes) << true << true;
    QTest::newRow("no discards and closes") << int(MessageAnswer::No) << true << false;
    QTest::newRow("cancel keeps the window") << int(MessageAnswer::Cancel) << false << false;
  }
  void closingTheWindowAsks() {
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    split(false);
    QVERIFY(!std::filesystem::exists(*dir / "Field_C.scm"));
    platform->answers = {MessageAnswer(answer)};
    QCOMPARE(closeByFrame(), closes);
    QVERIFY(asked());
    QCOMPARE(std::filesystem::exists(*dir / "Field_C.scm"), saved);
  }

  void handEditAfterSavingAsksAgain() {
    split(true);
    QVERIFY(closeByFrame());  // saved: no question
    QVERIFY(platform->messages.empty());

    typeInto(SplitSession::DocumentC, "\n\t; by hand");
    platform->answers = {MessageAnswer::Yes};
    QVERIFY(closeByFrame());
    QVERIFY(asked());
    QVERIFY(readBytes(*dir / "Field_C.scm").find("\t; by hand\r\n") != std::string::npos);
  }

  void editingTheSourceTabIsNotUnsavedWork() {
    split(true);
    typeInto(SplitSession::OvDoc, "x");  // never written anywhere
    QVERIFY(!window->isWindowModified());
    QVERIFY(closeByFrame());
    QVERIFY(platform->messages.empty());
  }

  void clearAllDocumentsAsks() {
    split(true);
    typeInto(SplitSession::DocumentA, "; mine");
    platform->answers = {MessageAnswer::Cancel};
    window->ClearAllDocs->trigger();
    QVERIFY(asked());
    QVERIFY(window->editors[SplitSession::DocumentA]->toPlainText().endsWith("; mine"));

    platform->messages.clear();
    platform->answers = {MessageAnswer::No};
    window->ClearAllDocs->trigger();
    QVERIFY(asked());
    QVERIFY(window->editors[SplitSession::DocumentA]->toPlainText().isEmpty());
    QVERIFY(!window->isWindowModified());
    QVERIFY(readBytes(*dir / "Field_A.sca").find("; mine") == std::string::npos);  // discarded
  }

  void loadingAnotherSourceAsksFirst() {
    split(false);
    platform->answers = {MessageAnswer::Cancel};
    window->LoadOvFile->trigger();
    QVERIFY(asked());  // and nothing after it: no open dialog either
    QVERIFY(platform->openRequests.size() == 1);
    QVERIFY(!window->editors[SplitSession::DocumentB]->toPlainText().isEmpty());

    // Yes saves, then the load goes on as usual.
    platform->messages.clear();
    platform->answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    window->LoadOvFile->trigger();
    QCOMPARE(platform->texts(), (std::vector<std::string>{"Save changes?", "Opening Orvane.sca file will\r\rclear all existing documents? "}));
    QVERIFY(std::filesystem::exists(*dir / "Field_D.scm"));
  }

  void exitAsksOnceAboutUnsavedWork() {
    split(false);
    platform->answers = {MessageAnswer::Cancel};
    window->Mexit->trigger();
    QVERIFY(asked());
    QVERIFY(window->isVisible());

    platform->messages.clear();
    platform->answers = {MessageAnswer::Yes};
    window->Mexit->trigger();
    QVERIFY(asked());  // one question, not "Exit OVSplit?" as well
    QVERIFY(!window->isVisible());
    QVERIFY(std::filesystem::exists(*dir / "Field_A.sca"));
  }

  void failedSaveKeepsTheWindow() {
    split(false);
    std::filesystem::remove_all(dir->withSlash());  // the output folder is gone
    platform->answers = {MessageAnswer::Yes};
    QVERIFY(!closeByFrame());
    QCOMPARE(platform->messages.size(), size_t(2));
    QCOMPARE(platform->messages[1].type, MessageType::Error);
  }
};

QTEST_MAIN(TestUnsavedWork)
#include "test_unsaved_work.moc"
