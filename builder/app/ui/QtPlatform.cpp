#include "app/ui/QtPlatform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include "base/ui/ProgressDialog.h"
#include "output/ui/BatchConsole.h"

namespace {

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString startPath(const FileDialogOptions& o)
{
    const QString dir = QString::fromStdString(o.initialDir);
    const QString file = QString::fromStdString(o.initialFile);
    if (file.isEmpty())
        return dir;
    if (dir.isEmpty() || QFileInfo(file).isAbsolute())
        return file;
    return QDir(dir).filePath(file);
}

} // namespace

QWidget* QtPlatform::dialogParent() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return mainWindow_;
}

MsgAnswer QtPlatform::message(const std::string& text, MsgIcon icon, MsgButtons buttons)
{
    QMessageBox box(toQt(icon), kMessageCaption, QString::fromStdString(text), QMessageBox::NoButton, dialogParent());
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Ok: return MsgAnswer::Ok;
    default: break;
    }
    // Closed without a button: the safe answer of the set.
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

QString QtPlatform::convertFilter(const std::string& classicFilter)
{
    const QStringList parts = QString::fromStdString(classicFilter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString text = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (text.isEmpty() && patterns.isEmpty())
            break;  // the "||" that ends the list
        patterns.replace(';', ' ');
        if (text.contains('(') && text.contains(')'))
            filters << text;
        else
            filters << QString("%1 (%2)").arg(text, patterns);
    }
    return filters.join(";;");
}

std::optional<std::string> QtPlatform::openFileDialog(const FileDialogOptions& o)
{
    const QString path = QFileDialog::getOpenFileName(dialogParent(), QString::fromStdString(o.title), startPath(o),
                                                      convertFilter(o.filter));
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path).toStdString();
}

std::optional<std::string> QtPlatform::saveFileDialog(const FileDialogOptions& o)
{
    QFileDialog::Options options;
    if (!o.overwritePrompt)
        options |= QFileDialog::DontConfirmOverwrite;
    QString path = QFileDialog::getSaveFileName(dialogParent(), QString::fromStdString(o.title), startPath(o),
                                                convertFilter(o.filter), nullptr, options);
    if (path.isEmpty())
        return std::nullopt;
    if (!o.defaultExt.empty() && QFileInfo(path).suffix().isEmpty())
        path += "." + QString::fromStdString(o.defaultExt);
    return QDir::toNativeSeparators(path).toStdString();
}

std::optional<std::string> QtPlatform::browseForFolder(const std::string& prompt, const std::string& startFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(dialogParent(), QString::fromStdString(prompt),
                                                             QString::fromStdString(startFolder));
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder).toStdString();
}

std::optional<std::uint32_t> QtPlatform::chooseColor(std::uint32_t initial)
{
    // Colours travel as 0x00BBGGRR.
    const QColor start(initial & 0xff, (initial >> 8) & 0xff, (initial >> 16) & 0xff);
    const QColor chosen = QColorDialog::getColor(start, dialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red()) | static_cast<std::uint32_t>(chosen.green()) << 8 |
           static_cast<std::uint32_t>(chosen.blue()) << 16;
}

std::optional<std::int32_t> QtPlatform::adjustAltitude(std::int32_t initial)
{
    bool ok = false;
    const int value = QInputDialog::getInt(dialogParent(), "Adjust Altitude", "Altitude (m):", initial,
                                           -2147483647 - 1, 2147483647, 1, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::unique_ptr<ProgressWindow> QtPlatform::createProgress(const std::string& caption)
{
    auto dialog = std::make_unique<ProgressDialog>(caption);
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = mainWindow_;
    dialog->Create(owner);
    return dialog;
}

BatchRunResult QtPlatform::runBatchFile(const std::string& batchPath, const std::string& workDir)
{
    return runBatchInConsole(mainWindow_, batchPath, workDir);
}

void QtPlatform::setWaitCursor(bool on)
{
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursorDepth_;
    } else if (waitCursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursorDepth_;
    }
}

void QtPlatform::openUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtPlatform::pumpEvents()
{
    QCoreApplication::processEvents();
}
