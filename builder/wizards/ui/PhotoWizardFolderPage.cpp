#include "wizards/ui/PhotoWizardFolderPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"
#include "wizards/PhotoRealFinish.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/WizardTexts.h"

PhotoWizardFolderPage::PhotoWizardFolderPage(PhotoWizard& wizard) : QWizardPage(&wizard), wizard_(wizard)
{
    setObjectName("PhotoWizardFolderPage");
    setTitle(WizardTexts::kPage4Title);
    setFinalPage(true);

    auto* location = new QGroupBox("PhotoReal Scenery Location", this);
    folder_ = new QLineEdit(location);
    folder_->setObjectName("folder");
    browse_ = new QToolButton(location);
    browse_->setObjectName("browseFolder");
    browse_->setText("...");
    auto* note = new QLabel(WizardTexts::kFolderNote, location);
    note->setWordWrap(true);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse_);
    auto* locationLayout = new QVBoxLayout(location);
    locationLayout->addLayout(folderRow);
    locationLayout->addWidget(note);

    // Finish cuts level 3 only; levels 1 and 2 are cut later from the project's menu.
    auto* levels = new QGroupBox("Reduced Resolution Levels", this);
    auto* levelsLayout = new QVBoxLayout(levels);
    static const char* const texts[3] = {"Level 1 (low resolution)", "Level 2 (medium resolution)",
                                         "Level 3 (high resolution)"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(texts[i], levels);
        box->setObjectName(QString("level%1").arg(i + 1));
        box->setChecked(i == 2);
        box->setEnabled(false);
        levelsLayout->addWidget(box);
        levels_[static_cast<std::size_t>(i)] = box;
    }

    prefix_ = new QLineEdit(kNoPrefix, this);
    prefix_->setObjectName("prefix");
    auto* prefixRow = new QHBoxLayout;
    prefixRow->addWidget(new QLabel("Bitmap Prefix", this));
    prefixRow->addWidget(prefix_, 1);

    auto* text = new QLabel(WizardTexts::kFolder, this);
    text->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(location);
    layout->addWidget(levels);
    layout->addLayout(prefixRow);
    layout->addWidget(text);
    layout->addStretch(1);

    connect(browse_, &QToolButton::clicked, this, &PhotoWizardFolderPage::browseClicked);
}

void PhotoWizardFolderPage::initializePage()
{
    folder_->setText(QString::fromStdString(wizard_.document().sceneryFolder));
}

QString PhotoWizardFolderPage::folder() const
{
    return folder_->text();
}

void PhotoWizardFolderPage::browseClicked()
{
    Platform& platform = wizard_.document().app.platform;
    if (const auto chosen = platform.browseForFolder(WizardTexts::kFolderPrompt, folder_->text().toStdString()))
        folder_->setText(QString::fromStdString(*chosen));
}

bool PhotoWizardFolderPage::validatePage()
{
    return applyPhotoFolder(wizard_.document(), folder_->text().toStdString(), prefix_->text().toStdString());
}
