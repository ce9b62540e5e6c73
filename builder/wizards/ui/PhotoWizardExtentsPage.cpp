#include "wizards/ui/PhotoWizardExtentsPage.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "wizards/PhotoRealFinish.h"
#include "wizards/ui/ExtentsFields.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/PhotoPreviewFrame.h"
#include "wizards/ui/WizardTexts.h"

PhotoWizardExtentsPage::PhotoWizardExtentsPage(PhotoWizard& wizard)
    : QWizardPage(&wizard), wizard_(wizard), model_(0, 0, wizard.document().app.settings.coordinateFormat)
{
    setObjectName("PhotoWizardExtentsPage");
    setTitle(WizardTexts::kPage2Title);

    fields_ = new ExtentsFields(this, model_, "PhotoReal Scenery Resolution (m/pix):");

    // The preview with one radio button at each of its corners: the reference corner.
    preview_ = new PhotoPreviewFrame(this);
    preview_->setObjectName("preview");
    auto* cornerGroup = new QButtonGroup(this);
    static const char* const names[4] = {"cornerNorthWest", "cornerSouthWest", "cornerNorthEast", "cornerSouthEast"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(this);
        button->setObjectName(names[i]);
        cornerGroup->addButton(button, i);
        corners_[static_cast<std::size_t>(i)] = button;
    }
    // The preview keeps the buttons at the picture's corners as it grows and shrinks.
    preview_->setCornerWidgets({corners_[PhotoExtentsModel::NorthWest], corners_[PhotoExtentsModel::NorthEast],
                                corners_[PhotoExtentsModel::SouthWest], corners_[PhotoExtentsModel::SouthEast]});
    corners_[static_cast<std::size_t>(model_.corner)]->setChecked(true);

    auto* text = new QLabel(WizardTexts::kExtents, this);
    text->setObjectName("explanation");
    text->setWordWrap(true);
    // The explanation keeps the height its lines need; the preview takes what is left.
    text->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);

    auto* left = new QVBoxLayout;
    left->addLayout(fields_->edgeRows());
    left->addWidget(fields_->resolutionGroup());
    left->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(preview_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(text);
    explanation_ = text;

    connect(cornerGroup, &QButtonGroup::idClicked, this, [this](int id) { model_.corner = id; });
}

void PhotoWizardExtentsPage::resizeEvent(QResizeEvent* event)
{
    QWizardPage::resizeEvent(event);
    // A hidden page is laid out at any width, down to a few pixels; the height its text would
    // need there would then push the whole page (and the wizard) out of shape.
    const int width = explanation_->width();
    if (!isVisible() || width < explanation_->fontMetrics().averageCharWidth() * 30)
        return;
    const int needed = explanation_->heightForWidth(width);
    if (needed > 0 && needed != explanation_->minimumHeight())
        explanation_->setMinimumHeight(needed);
}

void PhotoWizardExtentsPage::initializePage()
{
    // The extents are not taken from the project: what was typed stays, and Next applies it again.
    const CDibDoc& doc = wizard_.document();
    model_.setBitmapSize(doc.bitmapWidth, doc.bitmapHeight);
    model_.setCoordinateFormat(doc.app.settings.coordinateFormat);
    preview_->setBitmap(doc.projectBitmap ? &*doc.projectBitmap : nullptr);
    if (const std::optional<GeoRect> found = std::exchange(wizard_.importedExtents, std::nullopt))
        showImportedExtents(*found);
}

void PhotoWizardExtentsPage::showImportedExtents(const GeoRect& extents)
{
    const int format = wizard_.document().app.settings.coordinateFormat;
    model_.maxLatText = formatCoordinate(extents.north, format);
    model_.minLatText = formatCoordinate(extents.south, format);
    model_.maxLonText = formatCoordinate(extents.east, format);
    model_.minLonText = formatCoordinate(extents.west, format);
    if (!model_.horizontalLock && !model_.verticalLock)
        model_.maxLonChanged();   // both resolutions from the extents
    fields_->showModel();
}

bool PhotoWizardExtentsPage::validatePage()
{
    CDibDoc& doc = wizard_.document();
    fields_->readTexts();
    if (!applyPhotoExtents(doc, model_.north(), model_.south(), model_.east(), model_.west()))
        return false;
    if (wizard_.services().showSceneryProperties)
        wizard_.services().showSceneryProperties(doc.sceneryWidthKm, doc.sceneryHeightKm, doc.metresPerPixel);
    return true;
}
