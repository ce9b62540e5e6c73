#include "output/ui/BatchConsole.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QScrollBar>
#include <QVBoxLayout>

#include "output/BatchInterpreter.h"

namespace {

/// The console window of one batch run: shows the output, waits for a key at "pause" and
/// refuses to close while a program is still running. While one runs, a note names it beside a
/// Stop button that ends it.
class ConsoleWindow : public QDialog {
public:
    ConsoleWindow(QWidget* parent, const QString& title) : QDialog(parent)
    {
        setObjectName(QStringLiteral("batchConsole"));
        setWindowTitle(title);
        setWindowModality(Qt::ApplicationModal);
        text_ = new QPlainTextEdit(this);
        text_->setObjectName(QStringLiteral("consoleText"));
        text_->setReadOnly(true);
        text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        text_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: #c0c0c0; }"));
        // Keys go to the window, which waits for them at "pause".
        text_->setFocusPolicy(Qt::NoFocus);
        runningBar_ = new QWidget(this);
        runningBar_->setObjectName(QStringLiteral("runningNote"));
        runningText_ = new QLabel(runningBar_);
        runningText_->setObjectName(QStringLiteral("runningText"));
        auto* stop = new QPushButton(QStringLiteral("Stop"), runningBar_);
        stop->setObjectName(QStringLiteral("stopButton"));
        stop->setCursor(Qt::ArrowCursor);   // the one thing to click while the program runs
        stop->setAutoDefault(false);
        stop->setFocusPolicy(Qt::NoFocus);   // keys belong to the window, which waits for them at "pause"
        connect(stop, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
        auto* bar = new QHBoxLayout(runningBar_);
        bar->addWidget(runningText_, 1);
        bar->addWidget(stop);
        runningBar_->hide();
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(text_);
        layout->addWidget(runningBar_);
        resize(640, 400);
    }

    void programStarted(const std::string& name)
    {
        stopRequested_ = false;
        runningText_->setText(QString::fromStdString(name) + QStringLiteral(" is running"));
        runningBar_->show();
        setCursor(Qt::BusyCursor);
    }

    void programEnded()
    {
        runningBar_->hide();
        unsetCursor();
    }

    bool stopRequested() const { return stopRequested_; }

    void append(const std::string& output)
    {
        QString chunk = QString::fromLocal8Bit(output.data(), static_cast<qsizetype>(output.size()));
        chunk.remove(QLatin1Char('\r'));
        text_->moveCursor(QTextCursor::End);
        text_->insertPlainText(chunk);
        text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
    }

    /// Runs a local event loop until a key is pressed or the window is closed.
    void waitForKey()
    {
        if (!isVisible())
            return;
        QEventLoop loop;
        keyLoop_ = &loop;
        setFocus();
        // Visible to whoever drives the window: a key pressed before this point is not taken.
        setProperty("waitingForKey", true);
        loop.exec();
        setProperty("waitingForKey", false);
        keyLoop_ = nullptr;
    }

    void finish() { running_ = false; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        const bool modifierOnly = key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
                                  key == Qt::Key_Meta || key == Qt::Key_AltGr;
        if (keyLoop_ && !modifierOnly)
            keyLoop_->quit();
        // Escape must not close the window while a program runs.
        event->accept();
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (keyLoop_) {
            keyLoop_->quit();
            event->accept();
            return;
        }
        if (running_)
            event->ignore();
        else
            event->accept();
    }

    void reject() override
    {
        if (!running_)
            QDialog::reject();
    }

private:
    QPlainTextEdit* text_ = nullptr;
    QWidget* runningBar_ = nullptr;
    QLabel* runningText_ = nullptr;
    bool stopRequested_ = false;
    QEventLoop* keyLoop_ = nullptr;
    bool running_ = true;
};

} // namespace

BatchRunResult runBatchInConsole(QWidget* parent, const std::string& batchPath, const std::string& workDir)
{
    ConsoleWindow console(parent, QFileInfo(QString::fromStdString(batchPath)).fileName());
    console.show();
    QCoreApplication::processEvents();

    BatchCallbacks callbacks;
    callbacks.output = [&console](const std::string& text) {
        console.append(text);
        QCoreApplication::processEvents();
    };
    callbacks.pause = [&console] { console.waitForKey(); };
    callbacks.idle = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); };
    callbacks.stopRequested = [&console] { return console.stopRequested(); };
    callbacks.programStarted = [&console](const std::string& name) {
        console.programStarted(name);
        QCoreApplication::processEvents();
    };
    callbacks.programEnded = [&console] { console.programEnded(); };
    // In the console, not a box: nobody needs to answer it.
    callbacks.note = [&console](const std::string& text) {
        console.append(text + "\n");
        QCoreApplication::processEvents();
    };
    const BatchRunResult result = interpretBatchFile(batchPath, workDir, callbacks);
    console.finish();
    console.close();
    return result;
}
