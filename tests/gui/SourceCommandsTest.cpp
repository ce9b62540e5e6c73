// The "W&rite Source Code..." commands and the batch console window on the offscreen platform.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <memory>

#include "project/AppContext.h"
#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "output/ui/BatchConsole.h"
#include "project/CDibDoc.h"
#include "GuiWait.h"
#include "RecordingFrame.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {


QWidget* findConsole()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("batchConsole") && w->isVisible())
            return w;
    return nullptr;
}

/// Watches for the console; once it shows `untilText` and waits for a key, remembers what it
/// shows and presses one. The prompt is shown before the console waits: a key pressed in
/// between would be lost (and a second one pressed), so the driver waits for both.
struct ConsoleDriver {
    QString seen;
    int keys = 0;
    bool timedOut = false;
    QTimer timer;
    QElapsedTimer clock;
    explicit ConsoleDriver(const QString& untilText)
    {
        timer.setInterval(20);
        clock.start();
        QObject::connect(&timer, &QTimer::timeout, [this, untilText] {
            QWidget* console = findConsole();
            if (!console)
                return;
            const bool waiting = console->property("waitingForKey").toBool();
            if (clock.elapsed() > kGuiWaitMs && waiting) {
                timedOut = true;
                QTest::keyClick(console, Qt::Key_Space);
                return;
            }
            auto* text = console->findChild<QPlainTextEdit*>(QStringLiteral("consoleText"));
            if (!waiting || !text || !text->toPlainText().endsWith(untilText))
                return;
            seen = text->toPlainText();
            // Closing is refused only while a program runs; here the console waits for a key.
            ++keys;
            QTest::keyClick(console, Qt::Key_Space);
        });
        timer.start();
    }
};

void makeExecutable(const TempDir& dir, const std::string& name, const std::string& text)
{
    dir.write(name, text);
    fs::permissions(dir.file(name), fs::perms::owner_all, fs::perm_options::add);
}

} // namespace

class SourceCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void commandsNeedAProjectWithExtentAndAltitudes()
    {
        ScriptedPlatform platform;
        AppContext app(platform);
        RecordingFrame frame(app);
        const CommandSpec* scasm = CommandRegistry::instance().find("source.scasm");
        const CommandSpec* compile = CommandRegistry::instance().find("source.compile");
        QVERIFY(scasm && compile);
        QCOMPARE(scasm->text, QStringLiteral("&SCASM"));
        QCOMPARE(compile->text, QStringLiteral("&Compile to BGL"));
        QVERIFY(!scasm->enabled(frame));

        CDibDoc doc(app);
        frame.doc = &doc;
        QVERIFY(!scasm->enabled(frame) && !compile->enabled(frame));
        doc.boundary = {45.0, 45.1, -73.1, -73.0};
        QVERIFY(!scasm->enabled(frame));   // no altitude records yet
        doc.mainAltitudeMap.records = {{45.05, -73.05, 12}};
        QVERIFY(scasm->enabled(frame) && compile->enabled(frame));
        doc.boundary = {45.0, 45.0, -73.0, -73.0};
        QVERIFY(!scasm->enabled(frame) && !compile->enabled(frame));
    }

    void scasmCommandWritesTheChosenFile()
    {
        ScriptedPlatform platform;
        AppContext app(platform);
        RecordingFrame frame(app);
        CDibDoc doc(app);
        frame.doc = &doc;
        TempDir dir;
        doc.boundary = {45.0, 45.1, -73.1, -73.0};
        doc.mainAltitudeMap.records = {{45.05, -73.05, 12}};
        platform.fileAnswers.push_back(dir.file("lake.sca"));
        CommandRegistry::instance().find("source.scasm")->run(frame);
        QVERIFY(fs::exists(dir.file("lake.sca")));
        QCOMPARE(QString::fromStdString(doc.scasmFileTitle), QStringLiteral("lake"));
        QCOMPARE(frame.refreshes, 1);
        // The status bar says what was made and where; a Cancel puts "Ready" back.
        QCOMPARE(frame.statusTexts, std::vector<std::string>{"SCASM source written: " + dir.file("lake.sca")});
        platform.fileAnswers.push_back(std::nullopt);
        CommandRegistry::instance().find("source.scasm")->run(frame);
        QCOMPARE(frame.statusTexts.back(), std::string());
    }

    void consoleShowsOutputAndWaitsForAKeyAtPause()
    {
        TempDir dir;
        makeExecutable(dir, "tool", "#!/bin/sh\nsleep 0.2\necho \"tool says $1\"\n");
        dir.write("run.bat", "@echo off\r\ntool hello\r\npause\r\necho after\r\n");
        ConsoleDriver driver(QStringLiteral("Press any key to continue . . . "));
        QWidget parent;
        const BatchRunResult result = runBatchInConsole(&parent, dir.file("run.bat"), dir.str());
        QCOMPARE(result.exitCode, 0);
        QVERIFY(!driver.timedOut);
        QCOMPARE(driver.keys, 1);
        QCOMPARE(driver.seen, QStringLiteral("tool says hello\nPress any key to continue . . . "));
        QVERIFY(!findConsole());
    }

    // While a program runs the console keeps handling events: timers fire, it repaints, and its
    // Stop button ends the program. Nothing here waits for a time, only for what the window shows.
    void consoleStaysResponsiveAndStopEndsTheProgram()
    {
        TempDir dir;
        makeExecutable(dir, "scasm", "#!/bin/sh\necho started\nexec sleep 600\n");
        dir.write("run.bat", "@echo off\r\nscasm\r\necho after\r\npause\r\n");

        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint)
                    ++paints;
                return false;
            }
        } counter;
        int ticks = 0;
        int paintsBefore = -1;
        QString note;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        bool modal = false;
        bool timedOut = false;
        bool clicked = false;
        QElapsedTimer clock;
        clock.start();
        QTimer driver;
        driver.setInterval(20);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            QWidget* console = findConsole();
            if (!console || clicked)
                return;
            auto* bar = console->findChild<QWidget*>(QStringLiteral("runningNote"));
            auto* stop = console->findChild<QPushButton*>(QStringLiteral("stopButton"));
            auto* text = console->findChild<QPlainTextEdit*>(QStringLiteral("consoleText"));
            if (!bar || !stop || !text)
                return;
            if (clock.elapsed() > kGuiWaitMs) {
                timedOut = true;
                clicked = true;
                stop->click();
                return;
            }
            if (!bar->isVisible() || !text->toPlainText().contains(QStringLiteral("started")))
                return;
            ++ticks;
            if (paintsBefore < 0) {
                note = console->findChild<QLabel*>(QStringLiteral("runningText"))->text();
                cursor = console->cursor().shape();
                modal = QApplication::activeModalWidget() == console;
                text->viewport()->installEventFilter(&counter);
                paintsBefore = counter.paints;
                text->viewport()->update();
                return;
            }
            // A timer that keeps firing and a repaint that arrives: the window is alive.
            if (ticks >= 3 && counter.paints > paintsBefore) {
                clicked = true;
                QTest::mouseClick(stop, Qt::LeftButton);
            }
        });
        driver.start();
        QWidget parent;
        const BatchRunResult result = runBatchInConsole(&parent, dir.file("run.bat"), dir.str());
        driver.stop();
        QVERIFY(!timedOut);
        QVERIFY(result.stopped);
        QCOMPARE(result.exitCode, 128 + 15);
        QCOMPARE(note, QStringLiteral("SCASM is running"));
        QCOMPARE(cursor, Qt::BusyCursor);
        QVERIFY(modal);
        QVERIFY(ticks >= 3);
        QVERIFY(!findConsole());   // after Stop neither "echo after" nor "pause" ran
    }

    void compileCommandRunsTheBatchFileInTheConsole()
    {
        ScriptedPlatform platform;
        AppContext app(platform);
        RecordingFrame frame(app);
        CDibDoc doc(app);
        frame.doc = &doc;
        TempDir appFolder;
        TempDir out;
        app.settings.applicationPath = appFolder.str();
        makeExecutable(appFolder, "Scasm.exe", "#!/bin/sh\necho \"assembling $1\"\necho BGL > \"$2\"\n");
        doc.boundary = {45.0, 45.1, -73.1, -73.0};
        doc.mainAltitudeMap.records = {{45.05, -73.05, 12}};
        platform.batchRunner = [](const std::string& batch, const std::string& workDir) {
            return runBatchInConsole(nullptr, batch, workDir);
        };
        platform.fileAnswers.push_back(out.file("lake.bgl"));
        ConsoleDriver driver(QStringLiteral("Press any key to continue . . . "));
        CommandRegistry::instance().find("source.compile")->run(frame);
        QCOMPARE(driver.keys, 1);
        QCOMPARE(driver.seen, QStringLiteral("assembling lake.sca\nPress any key to continue . . . "));
        QVERIFY(fs::exists(out.file("lake.bgl")));
        QVERIFY(fs::exists(out.file("lake.sca")));
        QVERIFY(!fs::exists(appFolder.file("sca.bat")));
        QCOMPARE(frame.statusTexts, std::vector<std::string>{"BGL compiled: " + out.file("lake.bgl")});
    }
};

QTEST_MAIN(SourceCommandsTest)
#include "SourceCommandsTest.moc"
