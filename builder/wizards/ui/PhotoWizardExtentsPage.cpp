#include "wizards/ui/PhotoWizardExtentsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "wizards/PhotoRealFinish.h"
#include "wizards/ui/PhotoWizard.h"
#include "wizards/ui/PhotoPreviewFrame.h"
#include "wizards/ui/WizardTexts.h"

PhotoWizardExtentsPage::PhotoWizardExtentsPage(PhotoWizard& wizard)
    : QWizardPage(&wizard), wizard_(wizard), model_(0, 0, wizard.document().app.settings.coordinateFormat)
{
    setObjectName("PhotoWizardExtentsPage");
    setTitle(WizardTexts::kPage2Title);

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

    auto* resolution = new QGroupBox("PhotoReal Scenery Resolution (m/pix):", this);
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
    horizontal_->setText(resolutionText(0));
    vertical_->setText(resolutionText(0));
    // Room for what the boxes hold, in the font of the screen they are on.
    const QFontMetrics metrics(maxLat_->font());
    for (QLineEdit* edit : {maxLat_, minLat_, maxLon_, minLon_})
        edit->setMinimumWidth(metrics.horizontalAdvance("-000:00:00.00") + metrics.averageCharWidth() * 2);
    for (QLineEdit* edit : {horizontal_, vertical_})
        edit->setMinimumWidth(metrics.horizontalAdvance("00000.00") + metrics.averageCharWidth() * 2);

    auto* text = new QLabel(WizardTexts::kExtents, this);
    text->setObjectName("explanation");
    text->setWordWrap(true);
    // The explanation keeps the height its lines need; the preview takes what is left.
    text->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);

    auto* left = new QVBoxLayout;
    left->addLayout(extents);
    left->addWidget(resolution);
    left->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(preview_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(text);
    explanation_ = text;

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

QString PhotoWizardExtentsPage::resolutionText(double value)
{
    return QLocale().toString(value, 'f', 2);
}

double PhotoWizardExtentsPage::readResolution(const QString& text)
{
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    return ok ? value : 0.0;
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
    showModel(Field::None);
}

void PhotoWizardExtentsPage::edited(Field field)
{
    model_.maxLatText = maxLat_->text().toStdString();
    model_.minLatText = minLat_->text().toStdString();
    model_.maxLonText = maxLon_->text().toStdString();
    model_.minLonText = minLon_->text().toStdString();
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

void PhotoWizardExtentsPage::lockClicked(bool horizontal)
{
    model_.maxLatText = maxLat_->text().toStdString();
    model_.minLatText = minLat_->text().toStdString();
    model_.maxLonText = maxLon_->text().toStdString();
    model_.minLonText = minLon_->text().toStdString();
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

void PhotoWizardExtentsPage::showModel(Field typing)
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

bool PhotoWizardExtentsPage::validatePage()
{
    CDibDoc& doc = wizard_.document();
    model_.maxLatText = maxLat_->text().toStdString();
    model_.minLatText = minLat_->text().toStdString();
    model_.maxLonText = maxLon_->text().toStdString();
    model_.minLonText = minLon_->text().toStdString();
    if (!applyPhotoExtents(doc, model_.north(), model_.south(), model_.east(), model_.west()))
        return false;
    if (wizard_.services().showSceneryProperties)
        wizard_.services().showSceneryProperties(doc.sceneryWidthKm, doc.sceneryHeightKm, doc.metresPerPixel);
    return true;
}
