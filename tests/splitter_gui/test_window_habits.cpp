// What users of desktop programs expect of the split tool's window: it opens within the
// screen and where it was left, offers recent sources, takes a dropped source, has shortcuts
// and mnemonics, shows SCASM's log in a fixed-width font and carries its own icon.

#include <QAction>
#include <QDropEvent>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "IniFile.h"
#include "RecentSources.h"
#include "ui/ProjectDetailsDialog.h"
#include "ui/ScasmResultsDialog.h"
#include "ui/SplitWindow.h"

class TestWindowHabits : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<GuiTestDir> dir;
  std::unique_ptr<TestSplitPlatform> platform;

  std::unique_ptr<SplitWindow> openWindow() {
    auto window = std::make_unique<SplitWindow>(dir->qpath(), platform.get());
    window->show();
    return window;
  }
  /// Answers the questions of a load whose source is already chosen, and does not compile or save.
  void answerLoad() {
    onModal<ProjectDetailsDialog>([](ProjectDetailsDialog* d) { d->LibIdOk->click(); });
    platform->answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::No,
                         MessageAnswer::No};
    platform->saveAnswers = {*dir / "Field.sca"};
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
  }
  void cleanup() {
    platform.reset();
    dir.reset();
  }

  void opensWithinTheScreen() {
    auto window = openWindow();
    const QRect room = window->screen()->availableGeometry();
    QVERIFY2(room.contains(window->frameGeometry()),
             qPrintable(QStringLiteral("%1x%2 on a %3x%4 screen")
                            .arg(window->frameGeometry().width())
                            .arg(window->frameGeometry().height())
                            .arg(room.width())
                            .arg(room.height())));
  }

  void sizeAndPlaceAreRemembered() {
    {
      auto window = openWindow();
      window->resize(640, 430);
      window->move(40, 30);
      QVERIFY(window->close());
    }
    auto again = openWindow();
    QCOMPARE(again->size(), QSize(640, 430));
    QCOMPARE(again->pos(), QPoint(40, 30));
  }

  void recentSourcesAreOfferedAndAVanishedOneIsDropped() {
    auto window = openWindow();
    QVERIFY(!window->RecentFiles->isEnabled());
    const std::string source = *dir / "Copy.sca";
    writeBytes(source, readBytes(testData("builder_two_chunks.sca")));
    answerLoad();
    platform->openAnswers = {source};
    window->LoadOvFile->trigger();
    QVERIFY(window->RecentFiles->isEnabled());
    QCOMPARE(window->RecentFiles->actions().size(), 1);
    QVERIFY(window->RecentFiles->actions()[0]->text().endsWith(QDir::toNativeSeparators(QString::fromStdString(source))));

    // Chosen again from the menu: no open dialog, the same questions otherwise.
    window->SaveAllDocs->trigger();
    platform->messages.clear();
    answerLoad();
    window->RecentFiles->actions()[0]->trigger();
    QCOMPARE(platform->openRequests.size(), size_t(1));
    QCOMPARE(platform->messages.front().text, std::string("Opening Orvane.sca file will\r\rclear all existing documents? "));
    QCOMPARE(window->Page->tabText(0), QString("Copy.sca (original)"));

    // Gone since: said so plainly and taken off the list.
    window->SaveAllDocs->trigger();
    std::filesystem::remove(source);
    platform->messages.clear();
    platform->answers.clear();
    window->RecentFiles->actions()[0]->trigger();
    QCOMPARE(platform->messages.size(), size_t(1));
    QVERIFY(platform->messages[0].text.find("does not exist") != std::string::npos);
    QVERIFY(RecentSources::list(IniFile(*dir / "OVSPLIT.cfg")).empty());
    QVERIFY(!window->RecentFiles->isEnabled());
  }

  void droppedSourceIsSplit() {
    auto window = openWindow();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(testData("builder_two_chunks.sca")))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    answerLoad();
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QTRY_COMPARE_WITH_TIMEOUT(window->Page->tabText(0), QString("builder_two_chunks.sca (original)"), 60000);
    QVERIFY(platform->openRequests.empty());

    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(QString::fromStdString(*dir / "picture.bmp"))});
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(window.get(), &refused);
    QVERIFY(!refused.isAccepted());
  }

  void shortcutsAndMnemonics() {
    auto window = openWindow();
    QCOMPARE(window->LoadOvFile->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(window->SaveAllDocs->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(window->ClearAllDocs->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
    QCOMPARE(window->Mexit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    for (QAction* menuAction : window->menuBar()->actions()) {
      QVERIFY2(menuAction->text().contains('&'), qPrintable(menuAction->text()));
      QList<QChar> keys;
      for (QAction* item : menuAction->menu()->actions()) {
        if (item->isSeparator()) continue;
        const qsizetype amp = item->text().indexOf('&');
        QVERIFY2(amp >= 0 && amp + 1 < item->text().size(), qPrintable(item->text()));
        const QChar key = item->text().at(amp + 1).toLower();
        QVERIFY2(!keys.contains(key), qPrintable("two entries on " + QString(key)));
        keys << key;
      }
    }
  }

  void scasmLogInAFixedWidthFont() {
    auto window = openWindow();
    QVERIFY(QFontInfo(platform->scasmResultsDialog()->ScasmResults->font()).fixedPitch());
    QVERIFY(QFontInfo(window->editors[SplitSession::DocumentA]->font()).fixedPitch());
  }

  void cleanScasmRunSaysSoAndContinueIsTheDefault() {
    auto window = openWindow();
    QString placeholder;
    bool continueDefault = false;
    onModal<ScasmResultsDialog>([&](ScasmResultsDialog* r) {
      placeholder = r->ScasmResults->placeholderText();
      continueDefault = r->Cont->isDefault() && !r->Stp->isDefault();
      r->Cont->click();
    });
    QVERIFY(platform->showScasmResults({}, true));
    QVERIFY(placeholder.contains("no errors"));
    QVERIFY(continueDefault);

    bool stopDefault = false;
    onModal<ScasmResultsDialog>([&](ScasmResultsDialog* r) {
      placeholder = r->ScasmResults->placeholderText();
      stopDefault = r->Stp->isDefault() && !r->Cont->isDefault();
      r->Stp->click();
    });
    QVERIFY(!platform->showScasmResults({"error line"}, false));
    QVERIFY(placeholder.isEmpty());
    QVERIFY(stopDefault);
  }

  void carriesItsOwnIcon() {
    auto window = openWindow();
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
  }
};

QTEST_MAIN(TestWindowHabits)
#include "test_window_habits.moc"
