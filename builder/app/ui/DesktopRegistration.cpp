#include "app/ui/DesktopRegistration.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

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
                                    "MimeType=%2;\n"
                                    "Terminal=false\n"
                                    "Categories=Graphics;Science;\n")
                                .arg(execLine(executable), kMimeType);
    const QString mime = QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                 "  <mime-type type=\"%1\">\n"
                                 "    <comment>Orvane 3 Level Reduced Resolution Project</comment>\n"
                                 "    <glob pattern=\"*.prj\"/>\n"
                                 "  </mime-type>\n"
                                 "</mime-info>\n")
                             .arg(kMimeType);
    const bool ok = writeFile(QDir(apps).filePath(kDesktopFileName), desktop) &&
                    writeFile(QDir(packages).filePath(kMimeFileName), mime);
    runIfPresent("update-mime-database", mimeFolder());
    runIfPresent("update-desktop-database", apps);
    return ok;
}

bool DesktopRegistration::uninstall()
{
    const QString desktop = QDir(applicationsFolder()).filePath(kDesktopFileName);
    const QString mime = QDir(mimeFolder()).filePath(QString("packages/") + kMimeFileName);
    bool ok = true;
    for (const QString& path : {desktop, mime})
        if (QFile::exists(path) && !QFile::remove(path))
            ok = false;
    if (QDir(mimeFolder()).exists())
        runIfPresent("update-mime-database", mimeFolder());
    if (QDir(applicationsFolder()).exists())
        runIfPresent("update-desktop-database", applicationsFolder());
    return ok;
}
