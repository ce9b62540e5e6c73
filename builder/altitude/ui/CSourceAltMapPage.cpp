#include "altitude/ui/CSourceAltMapPage.h"

#include <algorithm>
#include <limits>

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudePreview.h"
#include "project/AppContext.h"
#include "base/Platform.h"
#include "output/Coordinates.h"
#include "project/CDibDoc.h"
#include "project/ProjectFolder.h"

namespace {

// Slider positions are minus altitudes; the most negative altitude has no positive partner.
int negated(std::int32_t value)
{
    return value == std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<int>::max() : -value;
}

QLineEdit* readOnlyEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    return edit;
}

QImage toImage(const AltitudePreviewImage& picture)
{
    if (picture.width <= 0 || picture.height <= 0)
        return QImage();
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t c = picture.at(x, y);   // 0x00BBGGRR
            line[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    return image;
}

} // namespace

CSourceAltMapPage::CSourceAltMapPage(CDibDoc& doc, const QString& title, std::int32_t sourceType, QWidget* parent)
    : CAltMapPage(doc, title, parent),
      sourceType_(sourceType),
      list_(new QListWidget(this)),
      lowest_(readOnlyEdit(this)),
      highest_(readOnlyEdit(this)),
      minLatitude_(readOnlyEdit(this)),
      maxLatitude_(readOnlyEdit(this)),
      minLongitude_(readOnlyEdit(this)),
      maxLongitude_(readOnlyEdit(this)),
      water_(new QCheckBox(QStringLiteral("Show lowest altitude in blue (water)     Level (m):"), this)),
      level_(new QLineEdit(this)),
      slider_(new QSlider(Qt::Vertical, this)),
      active_(new QCheckBox(QStringLiteral("Active"), this)),
      delete_(new QPushButton(QStringLiteral("Delete"), this)),
      add_(new QPushButton(QStringLiteral("Add..."), this)),
      picture_(new QLabel(this)),
      buttons_(new QGridLayout)
{
    level_->setValidator(new QIntValidator(this));
    // The top of the slider is its minimum, minus the highest altitude: moving it up raises the level.
    slider_->setInvertedAppearance(true);
    slider_->setInvertedControls(true);
    picture_->setFrameShape(QFrame::Box);
    picture_->setFixedSize(160, 160);
    picture_->setScaledContents(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Lowest altitude (m)"), lowest_);
    fields->addRow(QStringLiteral("Highest altitude (m)"), highest_);
    fields->addRow(QStringLiteral("Minimum Latitude"), minLatitude_);
    fields->addRow(QStringLiteral("Maximum Latitude"), maxLatitude_);
    fields->addRow(QStringLiteral("Minimum Longitude"), minLongitude_);
    fields->addRow(QStringLiteral("Maximum Longitude"), maxLongitude_);

    auto* waterRow = new QHBoxLayout;
    waterRow->addWidget(water_);
    waterRow->addWidget(level_);

    buttons_->addWidget(add_, 0, 0);
    buttons_->addWidget(delete_, 0, 1);
    buttons_->addWidget(active_, 1, 0);

    auto* left = new QVBoxLayout;
    left->addWidget(list_);
    left->addLayout(buttons_);
    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addLayout(waterRow);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(picture_);
    pictureRow->addWidget(slider_);
    pictureRow->addStretch();
    right->addLayout(pictureRow);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && mapOfType(row) != selected_)
            selectEntry(row);
    });
    connect(active_, &QCheckBox::toggled, this, [this](bool on) {
        enabled_ = on;
        emit changed();
    });
    connect(water_, &QCheckBox::toggled, this, [this](bool on) {
        showWater_ = on;
        emit changed();
        rebuildPreview();
    });
    connect(slider_, &QSlider::valueChanged, this, [this](int position) { setLevel(negated(position), true); });
    connect(level_, &QLineEdit::textChanged, this, [this](const QString& text) {
        bool ok = false;
        const int level = text.toInt(&ok);
        if (ok)
            setLevel(level, false);
    });
    connect(delete_, &QPushButton::clicked, this, &CSourceAltMapPage::deleteSelected);
    connect(add_, &QPushButton::clicked, this, &CSourceAltMapPage::addMap);
    showNothing();
}

bool CSourceAltMapPage::listsMap(const AltitudeMap& map) const
{
    return map.sourceType == sourceType_;
}

AltitudeMap* CSourceAltMapPage::mapOfType(int n) const
{
    if (n < 0)
        return nullptr;
    for (const auto& map : doc_.altitudeMaps) {
        if (listsMap(*map) && n-- == 0)
            return map.get();
    }
    return nullptr;
}

int CSourceAltMapPage::mapCount() const
{
    return static_cast<int>(std::count_if(doc_.altitudeMaps.begin(), doc_.altitudeMaps.end(),
                                          [this](const auto& map) { return listsMap(*map); }));
}

AltitudeMap* CSourceAltMapPage::selectedMap() const
{
    return selected_;
}

void CSourceAltMapPage::onSetActive()
{
    // The main page may have deleted the selected map meanwhile.
    int keep = -1;
    for (int i = 0; i < mapCount(); ++i)
        if (mapOfType(i) == selected_)
            keep = i;
    // The page's values were stored when it was left; the map may have changed since (the main
    // page's Active), so it is shown afresh rather than written over.
    selected_ = nullptr;
    fillList(keep >= 0 ? keep : (mapCount() > 0 ? 0 : -1));
}

void CSourceAltMapPage::onKillActive()
{
    storeSelected();
}

void CSourceAltMapPage::onApply()
{
    storeSelected();
}

void CSourceAltMapPage::fillList(int select)
{
    {
        const QSignalBlocker block(list_);
        list_->clear();
        for (int i = 0; i < mapCount(); ++i)
            list_->addItem(QString::fromStdString(mapOfType(i)->title));
    }
    if (select >= 0 && select < mapCount())
        selectEntry(select);
    else
        showNothing();
}

void CSourceAltMapPage::selectEntry(int row)
{
    // What the user set for the previous map stays with it.
    storeSelected();
    selected_ = mapOfType(row);
    {
        const QSignalBlocker block(list_);
        list_->setCurrentRow(row);
    }
    if (selected_)
        showMap(*selected_);
    else
        showNothing();
}

void CSourceAltMapPage::storeSelected()
{
    if (!selected_)
        return;
    selected_->waterLevel = waterLevel_;
    selected_->showWater = showWater_ ? 1 : 0;
    selected_->enabled = enabled_ ? 1 : 0;
}

void CSourceAltMapPage::showNothing()
{
    selected_ = nullptr;
    waterLevel_ = 0;
    showWater_ = false;
    enabled_ = false;
    {
        const QSignalBlocker b1(water_), b2(active_), b3(level_), b4(slider_), b5(list_);
        list_->setCurrentRow(-1);
        lowest_->setText(QStringLiteral("0"));
        highest_->setText(QStringLiteral("0"));
        for (QLineEdit* edit : {minLatitude_, maxLatitude_, minLongitude_, maxLongitude_})
            edit->clear();
        water_->setChecked(false);
        active_->setChecked(false);
        level_->setText(QStringLiteral("0"));
        slider_->setRange(0, 0);
        slider_->setValue(0);
    }
    rebuildPreview();
    updateControls();
}

void CSourceAltMapPage::showMap(const AltitudeMap& map)
{
    const bool hasRecords = !map.records.empty();
    const std::int32_t lowest = hasRecords ? map.minAltitudeOfRecords() : 0;
    const std::int32_t highest = hasRecords ? map.maxAltitude() : 0;
    const int dms = doc_.app.settings.coordinateFormat;
    auto coordinate = [&](double value) {
        return hasRecords ? QString::fromStdString(formatCoordinate(value, dms)) : QString();
    };
    waterLevel_ = map.waterLevel;
    showWater_ = map.showWater != 0;
    enabled_ = map.enabled != 0;
    {
        const QSignalBlocker b1(water_), b2(active_), b3(level_), b4(slider_);
        lowest_->setText(QString::number(lowest));
        highest_->setText(QString::number(highest));
        minLatitude_->setText(coordinate(map.minLatitude()));
        maxLatitude_->setText(coordinate(map.maxLatitude()));
        minLongitude_->setText(coordinate(map.minLongitude()));
        maxLongitude_->setText(coordinate(map.maxLongitude()));
        water_->setChecked(showWater_);
        active_->setChecked(enabled_);
        level_->setText(QString::number(waterLevel_));
        slider_->setRange(negated(highest), negated(lowest));
        slider_->setValue(negated(waterLevel_));
    }
    rebuildPreview();
    updateControls();
}

void CSourceAltMapPage::refreshSelected()
{
    if (selected_) {
        storeSelected();
        showMap(*selected_);
    }
}

void CSourceAltMapPage::setLevel(std::int32_t level, bool fromSlider)
{
    if (!selected_)
        return;
    waterLevel_ = level;
    if (fromSlider) {
        const QSignalBlocker block(level_);
        level_->setText(QString::number(level));
    } else {
        const QSignalBlocker block(slider_);
        slider_->setValue(negated(level));
    }
    emit changed();
    rebuildPreview();
}

void CSourceAltMapPage::rebuildPreview()
{
    preview_ = selected_ ? toImage(buildAltitudePreview(*selected_, showWater_, waterLevel_, clampPreviewEdges()))
                         : QImage();
    if (preview_.isNull())
        picture_->clear();
    else
        picture_->setPixmap(QPixmap::fromImage(preview_));
}

void CSourceAltMapPage::updateControls()
{
    const bool any = selected_ != nullptr;
    active_->setEnabled(any);
    delete_->setEnabled(any);
    water_->setEnabled(any);
    level_->setEnabled(any);
    slider_->setEnabled(any);
}

void CSourceAltMapPage::deleteSelected()
{
    if (!selected_)
        return;
    auto& maps = doc_.altitudeMaps;
    maps.erase(std::remove_if(maps.begin(), maps.end(), [this](const auto& m) { return m.get() == selected_; }),
               maps.end());
    selected_ = nullptr;
    fillList(-1);
    doc_.setModified(true);
    emit mapsChanged();
}

void CSourceAltMapPage::addMap()
{
    FileDialogOptions options;
    options.filter = fileFilter();
    options.initialDir = projectFolder(doc_);
    options.mustExist = true;
    options.hideReadOnly = true;
    const std::optional<std::string> path = doc_.app.platform.openFileDialog(options);
    if (!path)
        return;
    auto map = std::make_unique<AltitudeMap>();
    map->owner = &doc_;
    if (!readMap(*map, *path))
        return;   // the partly read map goes; the project's list is untouched
    storeSelected();
    selected_ = nullptr;
    doc_.altitudeMaps.push_back(std::move(map));
    fillList(mapCount() - 1);
    doc_.setModified(true);
    emit mapsChanged();
}
