#pragma once
// What the wizard tests share: running orvane-cli beside the test program (for byte-for-byte
// comparisons), reading files back, finding buttons and typing as a user would.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <string>

#include "support/ScriptedPlatform.h"

inline QString cliPath()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../builder/orvane-cli");
}

/// Runs orvane-cli in `folder`; its standard output and error go to `output`. -1 when it did not
/// end normally within two minutes.
inline int runCli(const QString& folder, const QStringList& args, QString* output = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(cliPath(), args);
    if (!process.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

inline QByteArray slurp(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool hasMessage(const ScriptedPlatform& platform, const std::string& text)
{
    const auto texts = platform.messageTexts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

inline QPushButton* buttonWithText(QWidget* parent, const QString& text)
{
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

/// Types `text` into an edit key by key, as the user would.
inline void type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}
