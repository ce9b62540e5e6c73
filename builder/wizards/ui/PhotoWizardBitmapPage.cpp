#include "wizards/ui/PhotoWizardBitmapPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "import/ui/PictureSource.h"
#include "project/CDibDoc.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/WizardTexts.h"

PhotoWizardBitmapPage::PhotoWizardBitmapPage(PhotoWizard& wizard) : QWizardPage(&wizard), wizard_(wizard)
{
    setObjectName("PhotoWizardBitmapPage");
    setTitle(WizardTexts::kPage1Title);

    auto* heading = new QLabel(WizardTexts::kWelcome, this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    heading->setFont(bold);

    auto* intro = new QLabel(WizardTexts::kIntro, this);
    intro->setWordWrap(true);

    auto* group = new QGroupBox("PhotoReal source texture", this);
    path_ = new QLineEdit(group);
    path_->setObjectName("bitmapPath");
    path_->setReadOnly(true);
    browse_ = new QPushButton("Browse...", group);
    browse_->setObjectName("browse");
    auto* row = new QHBoxLayout(group);
    row->addWidget(path_, 1);
    row->addWidget(browse_);

    auto* need = new QLabel(WizardTexts::kNeedBitmap, this);
    need->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(intro);
    layout->addWidget(group);
    layout->addWidget(need);
    layout->addStretch(1);

    connect(browse_, &QPushButton::clicked, this, &PhotoWizardBitmapPage::browseClicked);
    connect(path_, &QLineEdit::textChanged, this, &QWizardPage::completeChanged);
}

bool PhotoWizardBitmapPage::isComplete() const
{
    return !path_->text().isEmpty();
}

void PhotoWizardBitmapPage::browseClicked()
{
    CDibDoc& doc = wizard_.document();
    if (selectPictureSource(doc, this, wizard_.importedExtents))
        path_->setText(QString::fromStdString(doc.bitmapPath));
    else if (!doc.projectBitmap)
        path_->clear();   // a refused bitmap leaves none loaded: Next must not stay offered
    emit completeChanged();
}
