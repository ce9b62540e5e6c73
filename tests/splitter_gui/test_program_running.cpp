#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <csignal>

#include "FileText.h"
#include "GuiTestSupport.h"
#include "IniFile.h"
#include "ui/ProgramRunningDialog.h"
#include "ui/ProjectDetailsDialog.h"
#include "ui/SplitWindow.h"

namespace {

/// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
  int paints = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

class TestProgramRunning : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<GuiTestDir> dir;
  std::unique_ptr<TestSplitPlatform> platform;
  std::unique_ptr<SplitWindow> window;

private slots:
  void init() {
    dir = std::make_unique<GuiTestDir>();
    platform = std::make_unique<TestSplitPlatform>();
    // A Scasm that runs until it is stopped; it leaves its process id behind.
    writeScript(*dir / "SCASM.EXE", "echo $$ > '" + *dir / "pid" + "'\nexec sleep 120\n");
    writeScript(*dir / "Catgen.exe", "exit 0\n");
    IniFile config(*dir / "OVSPLIT.cfg");
    config.writeString("Paths", "Scasm", *dir / "SCASM.EXE");
    config.writeString("Paths", "Catgen", *dir / "Catgen.exe");
    window = std::make_unique<SplitWindow>(dir->qpath(), platform.get());
    window->show();
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    platform->answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No,
                         MessageAnswer::No};
    platform->openAnswers = {testData("builder_two_chunks.sca")};
    platform->saveAnswers = {*dir / "Field.sca"};
    window->LoadOvFile->trigger();
    QVERIFY(window->MCompileNow->isEnabled());
    platform->messages.clear();
  }
  void cleanup() {
    window.reset();
    platform.reset();
    dir.reset();
  }

  void windowRepaintsWhileScasmRunsAndStopEndsIt() {
    PaintCounter counter;
    window->installEventFilter(&counter);
    ProgramRunningDialog* note = nullptr;
    int paintsAtNote = -1;
    bool modal = false, busy = false, repainted = false, gaveUp = false;
    QString running;
    QElapsedTimer clock;
    clock.start();
    // Runs from the window's own event loop while Scasm runs: it only runs at all when the
    // window keeps handling its events.
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
      if (!note) {
        note = window->findChild<ProgramRunningDialog*>();
        if (!note || !note->isVisible() || !FileText::fileExists(*dir / "pid")) {
          note = nullptr;
          return;
        }
        modal = QApplication::activeModalWidget() == note && note->windowModality() == Qt::ApplicationModal;
        busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        running = note->RunningLabel->text();
        paintsAtNote = counter.paints;
        window->update();
        return;
      }
      if (counter.paints > paintsAtNote) {
        repainted = true;
        QTest::mouseClick(note->Stop, Qt::LeftButton);
      } else if (clock.elapsed() > kGuiWaitMs) {
        gaveUp = true;
        note->Stop->click();
      }
    });
    timer.start(10);
    window->MCompileNow->trigger();  // returns once Scasm has ended
    timer.stop();

    QVERIFY(note);
    QVERIFY(!gaveUp);
    QVERIFY(repainted);
    QVERIFY(modal);
    QVERIFY(busy);
    QCOMPARE(running, QString("SCASM is running"));
    QVERIFY(note->NoteLabel->isHidden());
    QVERIFY(!note->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(platform->texts(), std::vector<std::string>{"SCASM was stopped."});
    // The stand-in is gone (ended and reaped).
    const pid_t pid = static_cast<pid_t>(std::stol(readBytes(*dir / "pid")));
    QVERIFY(::kill(pid, 0) != 0);
    QVERIFY(window->isEnabled());
    QVERIFY(window->MCompileNow->isEnabled());
  }

  void escapeAsksForTheStopToo() {
    bool pressed = false;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
      auto* note = window->findChild<ProgramRunningDialog*>();
      if (pressed || !note || !note->isVisible() || !FileText::fileExists(*dir / "pid")) return;
      pressed = true;
      QTest::keyClick(note, Qt::Key_Escape);
      QVERIFY(!note->Stop->isEnabled());  // the stop is under way
    });
    timer.start(10);
    window->MCompileNow->trigger();
    timer.stop();
    QVERIFY(pressed);
    QCOMPARE(platform->texts(), std::vector<std::string>{"SCASM was stopped."});
  }

  void noteShowsWinesFirstStart() {
    const std::string text = "Wine is preparing its folder /x/.wine for the first time; this can take a few seconds.";
    platform->programStarting({"SCASM", *dir / "SCASM.EXE", {}, text});
    auto* note = window->findChild<ProgramRunningDialog*>();
    QVERIFY(note && note->isVisible());
    QVERIFY(note->NoteLabel->isVisible());
    QCOMPARE(note->NoteLabel->text(), QString::fromStdString(text));
    platform->programEnded();
    QVERIFY(!note->isVisible());
  }
};

QTEST_MAIN(TestProgramRunning)
#include "test_program_running.moc"
