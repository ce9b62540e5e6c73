#include "wizards/ui/SynthWizardExtentsPage.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "wizards/PhotoRealFinish.h"
#include "wizards/ui/ExtentsFields.h"
#include "wizards/ui/SynthGridPreview.h"
#include "wizards/ui/SynthWizard.h"
#include "wizards/ui/SynthWizardTexts.h"

SynthWizardExtentsPage::SynthWizardExtentsPage(SynthWizard& wizard)
    : QWizardPage(&wizard), wizard_(wizard), model_(256, 256, wizard.document().app.settings.coordinateFormat)
{
    setObjectName("SynthWizardExtentsPage");
    setTitle(SynthWizardTexts::kPage2Title);
    model_.horizontal = kStartResolution;
    model_.vertical = kStartResolution;
    model_.horizontalLock = true;
    model_.verticalLock = true;
    model_.corner = PhotoExtentsModel::SouthWest;

    fields_ = new ExtentsFields(this, model_, SynthWizardTexts::kResolutionGroup);

    // The grid with one radio button at each of its corners: the reference corner.
    preview_ = new SynthGridPreview(this);
    preview_->setObjectName("gridPreview");
    auto* cornerGroup = new QButtonGroup(this);
    static const char* const names[4] = {"cornerNorthWest", "cornerSouthWest", "cornerNorthEast", "cornerSouthEast"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(this);
        button->setObjectName(names[i]);
        button->setToolTip(SynthWizardTexts::kCornerTips[i]);
        cornerGroup->addButton(button, i);
        corners_[static_cast<std::size_t>(i)] = button;
    }
    auto* frameGrid = new QGridLayout;
    frameGrid->addWidget(corners_[PhotoExtentsModel::NorthWest], 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    frameGrid->addWidget(corners_[PhotoExtentsModel::NorthEast], 0, 2, Qt::AlignRight | Qt::AlignBottom);
    frameGrid->addWidget(preview_, 1, 1);
    frameGrid->addWidget(corners_[PhotoExtentsModel::SouthWest], 2, 0, Qt::AlignLeft | Qt::AlignTop);
    frameGrid->addWidget(corners_[PhotoExtentsModel::SouthEast], 2, 2, Qt::AlignRight | Qt::AlignTop);
    frameGrid->setColumnStretch(1, 1);
    frameGrid->setRowStretch(1, 1);
    corners_[static_cast<std::size_t>(model_.corner)]->setChecked(true);

    auto* text = new QLabel(SynthWizardTexts::kExtents, this);
    text->setWordWrap(true);

    auto* left = new QVBoxLayout;
    left->addLayout(fields_->edgeRows());
    left->addWidget(fields_->resolutionGroup());
    left->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(frameGrid, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(text);

    connect(cornerGroup, &QButtonGroup::idClicked, this, [this](int id) { model_.corner = id; });
}

void SynthWizardExtentsPage::initializePage()
{
    // The grid may have changed on page 1: the extents follow it at the current resolutions.
    const CDibDoc& doc = wizard_.document();
    model_.setBitmapSize(doc.chunkColumns * 256, doc.chunkRows * 256);
    model_.setCoordinateFormat(doc.app.settings.coordinateFormat);
    preview_->setGrid(doc.chunkColumns, doc.chunkRows);
    fields_->readTexts();
    model_.verticalChanged();
    model_.horizontalChanged();
    fields_->showModel();
}

bool SynthWizardExtentsPage::validatePage()
{
    CDibDoc& doc = wizard_.document();
    fields_->readTexts();
    if (!applyPhotoExtents(doc, model_.north(), model_.south(), model_.east(), model_.west()))
        return false;
    if (wizard_.services().showSceneryProperties)
        wizard_.services().showSceneryProperties(doc.sceneryWidthKm, doc.sceneryHeightKm, doc.metresPerPixel);
    return true;
}
