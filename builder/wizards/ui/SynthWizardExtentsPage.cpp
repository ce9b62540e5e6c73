#include "wizards/ui/SynthWizardExtentsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "wizards/PhotoRealFinish.h"
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

    auto makeEdit = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    maxLat_ = makeEdit("maxLat");
    minLat_ = makeEdit("minLat");
    maxLon_ = makeEdit("maxLon");
    minLon_ = makeEdit("minLon");
    auto* extents = new QFormLayout;
    extents->addRow("Max Lat", maxLat_);
    extents->addRow("Min Lat", minLat_);
    extents->addRow("Max Longitude", maxLon_);
    extents->addRow("Min Longitude", minLon_);

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

    auto* resolution = new QGroupBox(SynthWizardTexts::kResolutionGroup, this);
    horizontal_ = makeEdit("horizontal");
    vertical_ = makeEdit("vertical");
    horizontalLock_ = new QCheckBox("Lock", resolution);
    horizontalLock_->setObjectName("horizontalLock");
    verticalLock_ = new QCheckBox("Lock", resolution);
    verticalLock_->setObjectName("verticalLock");
    auto* resolutionGrid = new QGridLayout(resolution);
    resolutionGrid->addWidget(new QLabel("Horizontal", resolution), 0, 0);
    resolutionGrid->addWidget(horizontal_, 0, 1);
    resolutionGrid->addWidget(horizontalLock_, 0, 2);
    resolutionGrid->addWidget(new QLabel("Vertical", resolution), 1, 0);
    resolutionGrid->addWidget(vertical_, 1, 1);
    resolutionGrid->addWidget(verticalLock_, 1, 2);
    horizontal_->setText(resolutionText(model_.horizontal));
    vertical_->setText(resolutionText(model_.vertical));
    horizontalLock_->setChecked(true);
    verticalLock_->setChecked(true);
    horizontal_->setEnabled(false);
    vertical_->setEnabled(false);

    auto* text = new QLabel(SynthWizardTexts::kExtents, this);
    text->setWordWrap(true);

    auto* left = new QVBoxLayout;
    left->addLayout(extents);
    left->addWidget(resolution);
    left->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(frameGrid, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(text);

    // textEdited fires for the user's typing only, so showing computed values never loops back.
    connect(maxLat_, &QLineEdit::textEdited, this, [this] { edited(Field::MaxLat); });
    connect(minLat_, &QLineEdit::textEdited, this, [this] { edited(Field::MinLat); });
    connect(maxLon_, &QLineEdit::textEdited, this, [this] { edited(Field::MaxLon); });
    connect(minLon_, &QLineEdit::textEdited, this, [this] { edited(Field::MinLon); });
    connect(horizontal_, &QLineEdit::textEdited, this, [this] { edited(Field::Horizontal); });
    connect(vertical_, &QLineEdit::textEdited, this, [this] { edited(Field::Vertical); });
    connect(horizontalLock_, &QCheckBox::clicked, this, [this] { lockClicked(true); });
    connect(verticalLock_, &QCheckBox::clicked, this, [this] { lockClicked(false); });
    connect(cornerGroup, &QButtonGroup::idClicked, this, [this](int id) { model_.corner = id; });
}

QString SynthWizardExtentsPage::resolutionText(double value)
{
    return QLocale().toString(value, 'f', 2);
}

double SynthWizardExtentsPage::readResolution(const QString& text)
{
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    return ok ? value : 0.0;
}

void SynthWizardExtentsPage::readTexts()
{
    model_.maxLatText = maxLat_->text().toStdString();
    model_.minLatText = minLat_->text().toStdString();
    model_.maxLonText = maxLon_->text().toStdString();
    model_.minLonText = minLon_->text().toStdString();
}

void SynthWizardExtentsPage::initializePage()
{
    // The grid may have changed on page 1: the extents follow it at the current resolutions.
    const CDibDoc& doc = wizard_.document();
    model_.setBitmapSize(doc.chunkColumns * 256, doc.chunkRows * 256);
    model_.setCoordinateFormat(doc.app.settings.coordinateFormat);
    preview_->setGrid(doc.chunkColumns, doc.chunkRows);
    readTexts();
    model_.verticalChanged();
    model_.horizontalChanged();
    showModel(Field::None);
}

void SynthWizardExtentsPage::edited(Field field)
{
    readTexts();
    if (field == Field::Horizontal)
        model_.horizontal = readResolution(horizontal_->text());
    if (field == Field::Vertical)
        model_.vertical = readResolution(vertical_->text());
    switch (field) {
    case Field::MaxLat: model_.maxLatChanged(); break;
    case Field::MinLat: model_.minLatChanged(); break;
    case Field::MaxLon: model_.maxLonChanged(); break;
    case Field::MinLon: model_.minLonChanged(); break;
    case Field::Horizontal: model_.horizontalChanged(); break;
    case Field::Vertical: model_.verticalChanged(); break;
    case Field::None: break;
    }
    showModel(field);
}

void SynthWizardExtentsPage::lockClicked(bool horizontal)
{
    readTexts();
    if (horizontal) {
        model_.horizontalLock = horizontalLock_->isChecked();
        horizontal_->setEnabled(!model_.horizontalLock);
        model_.horizontalLockClicked();
    } else {
        model_.verticalLock = verticalLock_->isChecked();
        vertical_->setEnabled(!model_.verticalLock);
        model_.verticalLockClicked();
    }
    showModel(Field::None);
}

void SynthWizardExtentsPage::showModel(Field typing)
{
    auto show = [](QLineEdit* edit, const std::string& text) {
        const QString value = QString::fromStdString(text);
        if (edit->text() != value)
            edit->setText(value);
    };
    if (typing != Field::MaxLat)
        show(maxLat_, model_.maxLatText);
    if (typing != Field::MinLat)
        show(minLat_, model_.minLatText);
    if (typing != Field::MaxLon)
        show(maxLon_, model_.maxLonText);
    if (typing != Field::MinLon)
        show(minLon_, model_.minLonText);
    if (typing != Field::Horizontal && readResolution(horizontal_->text()) != model_.horizontal)
        horizontal_->setText(resolutionText(model_.horizontal));
    if (typing != Field::Vertical && readResolution(vertical_->text()) != model_.vertical)
        vertical_->setText(resolutionText(model_.vertical));
}

bool SynthWizardExtentsPage::validatePage()
{
    CDibDoc& doc = wizard_.document();
    readTexts();
    if (!applyPhotoExtents(doc, model_.north(), model_.south(), model_.east(), model_.west()))
        return false;
    if (wizard_.services().showSceneryProperties)
        wizard_.services().showSceneryProperties(doc.sceneryWidthKm, doc.sceneryHeightKm, doc.metresPerPixel);
    return true;
}
