#include "app/ui/PreferencesPathsPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "project/AppContext.h"
#include "base/Platform.h"

namespace {
const char* const kLabels[] = {"Synthetic Textures Path", "FS98 Path", "CFS Path", "FS2000 Path"};
const char* const kPrompts[] = {"Please specify a folder", "Please specify where is the main folder for Flight Simulator 98",
                                "Please specify where is the main folder for Combat Flight Simulator",
                                "Please specify where is the main folder for Flight Simulator 2000"};
} // namespace

PreferencesPathsPage::PreferencesPathsPage(AppContext& app, QWidget* parent) : PreferencesPage(app, QStringLiteral("Paths"), parent)
{
    auto* layout = new QGridLayout(this);
    int row = 0;
    auto addFolder = [&](Folder folder) {
        layout->addWidget(new QLabel(QString::fromUtf8(kLabels[folder]), this), row++, 0, 1, 2);
        edits_[folder] = new QLineEdit(this);
        browse_[folder] = new QToolButton(this);
        browse_[folder]->setText(QStringLiteral("..."));
        layout->addWidget(edits_[folder], row, 0);
        layout->addWidget(browse_[folder], row++, 1);
        connect(browse_[folder], &QToolButton::clicked, this, [this, folder] { browse(folder); });
        connect(edits_[folder], &QLineEdit::textEdited, this, [this] { emit modified(); });
    };
    addFolder(SynthTextures);
    layout->addWidget(new QLabel(QStringLiteral("Application Path"), this), row++, 0, 1, 2);
    applicationPath_ = new QLineEdit(this);
    applicationPath_->setReadOnly(true);
    layout->addWidget(applicationPath_, row++, 0);
    addFolder(Fs98);
    addFolder(Cfs);
    addFolder(Fs2000);
    layout->setRowStretch(row, 1);
}

void PreferencesPathsPage::browse(Folder folder)
{
    const std::optional<std::string> chosen =
        app_.platform.browseForFolder(kPrompts[folder], edits_[folder]->text().toStdString());
    if (!chosen)
        return;
    edits_[folder]->setText(QString::fromStdString(*chosen));
    emit modified();
}

void PreferencesPathsPage::loadFromSettings()
{
    const AppSettings& s = app_.settings;
    edits_[SynthTextures]->setText(QString::fromStdString(s.synthTexturesPath));
    edits_[Fs98]->setText(QString::fromStdString(s.fs98Path));
    edits_[Cfs]->setText(QString::fromStdString(s.cfsPath));
    edits_[Fs2000]->setText(QString::fromStdString(s.fs2000Path));
    applicationPath_->setText(QString::fromStdString(s.applicationPath));
}

void PreferencesPathsPage::writeSettings()
{
    AppSettings& s = app_.settings;
    s.synthTexturesPath = edits_[SynthTextures]->text().toStdString();
    s.fs98Path = edits_[Fs98]->text().toStdString();
    s.cfsPath = edits_[Cfs]->text().toStdString();
    s.fs2000Path = edits_[Fs2000]->text().toStdString();
}
