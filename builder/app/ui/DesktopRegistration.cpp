#include "app/ui/DesktopRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/ui/AppIcons.h"

namespace {

bool writeFile(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

// Refreshes a desktop database when its tool is there; nothing else depends on it.
void runIfPresent(const QString& tool, const QString& folder)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty())
        QProcess::execute(program, {folder});
}

QString applicationsFolder()
{
    return QDir(DesktopRegistration::dataFolder()).filePath("applications");
}

QString mimeFolder()
{
    return QDir(DesktopRegistration::dataFolder()).filePath("mime");
}

constexpr int kIconSizes[] = {48, 256};
constexpr const char* kAppIconName = "orvane";
constexpr const char* kDocumentIconName = "application-x-orvane-project";

// The hicolor theme file of one icon: apps/ for the program, mimetypes/ for the project files.
QString iconPath(int size, bool document)
{
    return QDir(DesktopRegistration::dataFolder())
        .filePath(QString("icons/hicolor/%1x%1/%2/%3.png")
                      .arg(size)
                      .arg(document ? "mimetypes" : "apps", document ? kDocumentIconName : kAppIconName));
}

bool writeIcons()
{
    bool ok = true;
    for (int size : kIconSizes)
        for (bool document : {false, true}) {
            const QString path = iconPath(size, document);
            const QPixmap pixmap = document ? AppIcons::documentPixmap(size) : AppIcons::applicationPixmap(size);
            ok = QDir().mkpath(QFileInfo(path).absolutePath()) && pixmap.save(path, "PNG") && ok;
        }
    return ok;
}

} // namespace

QString DesktopRegistration::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DesktopRegistration::execLine(const QString& executable)
{
    QString quoted;
    for (QChar c : executable) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    // A literal percent sign must be doubled in an Exec value.
    quoted.replace("%", "%%");
    return "\"" + quoted + "\" %f";
}

bool DesktopRegistration::install(const QString& executable)
{
    const QString apps = applicationsFolder();
    const QString packages = QDir(mimeFolder()).filePath("packages");
    if (!QDir().mkpath(apps) || !QDir().mkpath(packages))
        return false;
    const QString desktop = QString("[Desktop Entry]\n"
                                    "Type=Application\n"
                                    "Name=Orvane\n"
                                    "Comment=Orvane 3 Level Reduced Resolution Project\n"
                                    "Exec=%1\n"
                                    "Icon=orvane\n"
                                    "MimeType=%2;\n"
                                    "Terminal=false\n"
                                    "Categories=Graphics;Science;\n")
                                .arg(execLine(executable), kMimeType);
    const QString mime = QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                 "  <mime-type type=\"%1\">\n"
                                 "    <comment>Orvane 3 Level Reduced Resolution Project</comment>\n"
                                 "    <icon name=\"application-x-orvane-project\"/>\n"
                                 "    <glob pattern=\"*.prj\"/>\n"
                                 "  </mime-type>\n"
                                 "</mime-info>\n")
                             .arg(kMimeType);
    const bool ok = writeFile(QDir(apps).filePath(kDesktopFileName), desktop) &&
                    writeFile(QDir(packages).filePath(kMimeFileName), mime) && writeIcons();
    runIfPresent("update-mime-database", mimeFolder());
    runIfPresent("update-desktop-database", apps);
    return ok;
}

bool DesktopRegistration::uninstall()
{
    const QString desktop = QDir(applicationsFolder()).filePath(kDesktopFileName);
    const QString mime = QDir(mimeFolder()).filePath(QString("packages/") + kMimeFileName);
    QStringList files = {desktop, mime};
    for (int size : kIconSizes)
        files << iconPath(size, false) << iconPath(size, true);
    bool ok = true;
    for (const QString& path : files)
        if (QFile::exists(path) && !QFile::remove(path))
            ok = false;
    if (QDir(mimeFolder()).exists())
        runIfPresent("update-mime-database", mimeFolder());
    if (QDir(applicationsFolder()).exists())
        runIfPresent("update-desktop-database", applicationsFolder());
    return ok;
}
