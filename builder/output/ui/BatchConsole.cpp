#include "output/ui/BatchConsole.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QVBoxLayout>

#include "output/BatchInterpreter.h"

namespace {

/// The console window of one batch run: shows the output, waits for a key at "pause" and
/// refuses to close while a program is still running.
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
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(text_);
        resize(640, 400);
    }

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
    QEventLoop* keyLoop_ = nullptr;
    bool running_ = true;
};

} // namespace

int runBatchInConsole(QWidget* parent, const std::string& batchPath, const std::string& workDir)
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
    const int result = interpretBatchFile(batchPath, workDir, callbacks);
    console.finish();
    console.close();
    return result;
}
