#include "project/ui/ChunkGeneralPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/Platform.h"
#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ChunkPropertyEdits.h"

namespace {

// 64 x 64 dialog units of the classic page, in pixels at the usual dialog font.
constexpr int kPreviewSize = 96;

QLineEdit* numberEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(80);
    return edit;
}

QLineEdit* areaEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

QString numberText(std::int32_t value)
{
    return value == kUnchangedProperty ? QString() : QString::number(value);
}

void setChecked(QCheckBox* box, std::int32_t value) { box->setChecked(value == 1); }

// Clears every radio of a group: an exclusive group keeps one button checked otherwise.
void clearGroup(QButtonGroup* group)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

void chooseInGroup(QButtonGroup* group, std::int32_t value)
{
    if (QAbstractButton* button = group->button(value))
        button->setChecked(true);
    else
        clearGroup(group);
}

// An empty field stays "unchanged" where that is allowed; false when the text is not an integer.
bool readNumber(const QLineEdit* edit, std::int32_t& value, bool emptyAllowed = true)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) {
        value = kUnchangedProperty;
        return emptyAllowed;
    }
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        value = number;
    return ok;
}

} // namespace

ChunkGeneralPage::ChunkGeneralPage(CDibDoc& doc, std::vector<int> selection, QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      selection_(std::move(selection)),
      density_(numberEdit(this, "density")),
      densityUp_(new QToolButton(this)),
      densityDown_(new QToolButton(this)),
      range_(numberEdit(this, "areaRange")),
      bitmapMode_(new QCheckBox(QStringLiteral("BitmapMode"), this)),
      bitmapIndex_(numberEdit(this, "bitmapModeIndex")),
      smoothing_(new QCheckBox(QStringLiteral("Smoothing"), this)),
      perspectiveShade_(new QCheckBox(QStringLiteral("PerspectiveShade"), this)),
      polygonColor_(new QCheckBox(QStringLiteral("Polygon Col."), this)),
      surfaceColor_(numberEdit(this, "surfaceColor")),
      colorButton_(new QPushButton(this)),
      flatGrid_(new QCheckBox(QStringLiteral("Enable Flat Grid Optimization"), this)),
      perspectiveCall_(new QRadioButton(QStringLiteral("PerspectiveCall"), this)),
      perspectiveCall2_(new QRadioButton(QStringLiteral("PerspectiveCall2"), this)),
      refPoint7_(new QRadioButton(QStringLiteral("Use RefPoint Type 7"), this)),
      refPoint2_(new QRadioButton(QStringLiteral("Use RefPoint Type 2"), this)),
      refAltitude_(numberEdit(this, "refPointAltitude")),
      dpc_(new QRadioButton(QStringLiteral("DPC"), this)),
      tc_(new QRadioButton(QStringLiteral("TC"), this)),
      nc_(new QRadioButton(QStringLiteral("NC"), this)),
      perspectiveGroup_(new QButtonGroup(this)),
      refPointGroup_(new QButtonGroup(this)),
      colorModeGroup_(new QButtonGroup(this)),
      north_(areaEdit(this, "north")),
      south_(areaEdit(this, "south")),
      west_(areaEdit(this, "west")),
      east_(areaEdit(this, "east")),
      lock_(new QCheckBox(QStringLiteral("Lock"), this)),
      preview_(new QWidget(this))
{
    densityUp_->setObjectName(QStringLiteral("densityUp"));
    densityDown_->setObjectName(QStringLiteral("densityDown"));
    densityUp_->setArrowType(Qt::UpArrow);
    densityDown_->setArrowType(Qt::DownArrow);
    surfaceColor_->setReadOnly(true);
    colorButton_->setObjectName(QStringLiteral("colorButton"));
    colorButton_->setFixedSize(32, 20);
    preview_->setObjectName(QStringLiteral("nodePreview"));
    preview_->setFixedSize(kPreviewSize, kPreviewSize);
    lock_->setChecked(true);

    dpc_->setToolTip(QStringLiteral("Direct Palette Color"));
    tc_->setToolTip(QStringLiteral("Transparent Color"));
    nc_->setToolTip(QStringLiteral("Night Color"));
    bitmapMode_->setToolTip(QStringLiteral("Use BitmapColor instruction to make palette color invisible"));
    bitmapIndex_->setToolTip(QStringLiteral("Specify up to what palette color index to make color invisible"));
    polygonColor_->setToolTip(QStringLiteral("Render TexRelief patch in color when texture unavailable"));
    flatGrid_->setToolTip(
        QStringLiteral("Ignore grid density setting and render flat scenery with only corner nodes"));

    perspectiveGroup_->addButton(perspectiveCall_, 0);
    perspectiveGroup_->addButton(perspectiveCall2_, 1);
    refPointGroup_->addButton(refPoint7_, 0);
    refPointGroup_->addButton(refPoint2_, 1);
    colorModeGroup_->addButton(dpc_, 0);
    colorModeGroup_->addButton(tc_, 1);
    colorModeGroup_->addButton(nc_, 2);

    // --- layout ---
    auto* densityRow = new QHBoxLayout;
    densityRow->addWidget(new QLabel(QStringLiteral("Grid density:"), this));
    densityRow->addWidget(density_);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(densityUp_);
    arrows->addWidget(densityDown_);
    densityRow->addLayout(arrows);
    densityRow->addWidget(new QLabel(QStringLiteral("nodes"), this));
    densityRow->addStretch();

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(QStringLiteral("Area Range"), this));
    rangeRow->addWidget(range_);
    rangeRow->addWidget(new QLabel(QStringLiteral("km"), this));
    rangeRow->addStretch();

    auto* bitmapRow = new QHBoxLayout;
    bitmapRow->addWidget(bitmapMode_);
    bitmapRow->addWidget(new QLabel(QStringLiteral("Index"), this));
    bitmapRow->addWidget(bitmapIndex_);
    bitmapRow->addStretch();

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(polygonColor_);
    colourRow->addWidget(surfaceColor_);
    colourRow->addWidget(colorButton_);
    colourRow->addWidget(dpc_);
    colourRow->addWidget(tc_);
    colourRow->addWidget(nc_);
    colourRow->addStretch();

    auto* perspectiveBox = new QGroupBox(this);
    auto* perspectiveLayout = new QVBoxLayout(perspectiveBox);
    perspectiveLayout->addWidget(perspectiveCall_);
    perspectiveLayout->addWidget(perspectiveCall2_);

    auto* refBox = new QGroupBox(this);
    auto* refLayout = new QGridLayout(refBox);
    refLayout->addWidget(refPoint7_, 0, 0, 1, 2);
    refLayout->addWidget(refPoint2_, 1, 0, 1, 2);
    refLayout->addWidget(new QLabel(QStringLiteral("Altitude"), refBox), 2, 0);
    refLayout->addWidget(refAltitude_, 2, 1);

    auto* areaBox = new QGroupBox(this);
    auto* areaLayout = new QGridLayout(areaBox);
    areaLayout->addWidget(north_, 0, 1);
    areaLayout->addWidget(west_, 1, 0);
    areaLayout->addWidget(lock_, 1, 1, Qt::AlignCenter);
    areaLayout->addWidget(east_, 1, 2);
    areaLayout->addWidget(south_, 2, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(densityRow);
    left->addLayout(rangeRow);
    left->addLayout(bitmapRow);
    left->addWidget(smoothing_);
    left->addWidget(perspectiveShade_);
    left->addLayout(colourRow);
    left->addWidget(flatGrid_);
    auto* right = new QVBoxLayout;
    right->addWidget(preview_, 0, Qt::AlignHCenter);
    right->addWidget(perspectiveBox);
    right->addWidget(refBox);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(areaBox);

    // --- values ---
    const ChunkProperties values = chunkPropertiesForEdit(doc_, selection_);
    if (severalChunks()) {
        lock_->setEnabled(false);
    } else if (!selection_.empty() && selection_.front() >= 0 &&
               static_cast<std::size_t>(selection_.front()) < doc_.chunks.size()) {
        const GeoRect& area = doc_.chunks[static_cast<std::size_t>(selection_.front())].area;
        const int dms = doc_.app.settings.coordinateFormat;
        north_->setText(QString::fromStdString(formatCoordinate(area.north, dms)));
        south_->setText(QString::fromStdString(formatCoordinate(area.south, dms)));
        west_->setText(QString::fromStdString(formatCoordinate(area.west, dms)));
        east_->setText(QString::fromStdString(formatCoordinate(area.east, dms)));
    }
    showValues(values);

    // --- behaviour ---
    connect(densityUp_, &QToolButton::clicked, this, [this] { stepDensity(true); });
    connect(densityDown_, &QToolButton::clicked, this, [this] { stepDensity(false); });
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(bitmapMode_), static_cast<QAbstractButton*>(polygonColor_),
                                 static_cast<QAbstractButton*>(refPoint7_), static_cast<QAbstractButton*>(refPoint2_)})
        connect(box, &QAbstractButton::clicked, this, [this] { updateEnabling(); });
    connect(colorButton_, &QPushButton::clicked, this, [this] { chooseColor(); });
    // The area texts are for display: unlocking lets the user select and copy them, nothing more.
    connect(lock_, &QCheckBox::toggled, this, [this](bool locked) {
        for (QLineEdit* edit : {north_, south_, west_, east_})
            edit->setReadOnly(locked);
    });
    for (QLineEdit* edit : {density_, range_, bitmapIndex_, refAltitude_})
        connect(edit, &QLineEdit::textEdited, this, &ChunkGeneralPage::modified);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button != lock_)
            connect(button, &QAbstractButton::clicked, this, &ChunkGeneralPage::modified);
    connect(density_, &QLineEdit::textChanged, this, [this] { update(); });
}

void ChunkGeneralPage::showValues(const ChunkProperties& values)
{
    density_->setText(numberText(values.gridDensity));
    range_->setText(numberText(values.areaRangeKm));
    bitmapIndex_->setText(numberText(values.bitmapModeIndex));
    surfaceColor_->setText(numberText(values.surfaceColor));
    refAltitude_->setText(numberText(values.refPointAltitude));
    setChecked(bitmapMode_, values.useBitmapMode);
    setChecked(smoothing_, values.smoothing);
    setChecked(perspectiveShade_, values.perspectiveShade);
    setChecked(polygonColor_, values.useSurfaceColor);
    setChecked(flatGrid_, values.flatGridOptimization);
    chooseInGroup(perspectiveGroup_, values.usePerspectiveCall2);
    chooseInGroup(refPointGroup_, values.useRefPointType2);
    chooseInGroup(colorModeGroup_, values.colorMode);
    updateEnabling();
}

void ChunkGeneralPage::updateEnabling()
{
    // The boxes decide directly, so empty number fields of several chunks raise no complaint.
    ChunkProperties state;
    state.useRefPointType2 = refPoint2_->isChecked() ? 1 : 0;
    state.useBitmapMode = bitmapMode_->isChecked() ? 1 : 0;
    state.useSurfaceColor = polygonColor_->isChecked() ? 1 : 0;
    const ChunkFieldEnabling enabling = chunkFieldEnabling(state);
    refAltitude_->setEnabled(enabling.refPointAltitude);
    bitmapIndex_->setEnabled(enabling.bitmapModeIndex);
    for (QWidget* w : {static_cast<QWidget*>(colorButton_), static_cast<QWidget*>(surfaceColor_),
                       static_cast<QWidget*>(dpc_), static_cast<QWidget*>(tc_), static_cast<QWidget*>(nc_)})
        w->setEnabled(enabling.surfaceColor);
}

void ChunkGeneralPage::stepDensity(bool up)
{
    std::int32_t density = kUnchangedProperty;
    if (!readNumber(density_, density))
        density = kUnchangedProperty;
    density = up ? densityStepUp(density) : densityStepDown(density);
    density_->setText(QString::number(density));
    emit modified();
}

void ChunkGeneralPage::chooseColor()
{
    if (std::optional<std::uint32_t> colour = doc_.app.platform.chooseColor(chosenColor_)) {
        chosenColor_ = *colour;
        const QColor shown(static_cast<int>(chosenColor_ & 0xFF), static_cast<int>((chosenColor_ >> 8) & 0xFF),
                           static_cast<int>((chosenColor_ >> 16) & 0xFF));
        colorButton_->setStyleSheet(QStringLiteral("background-color: %1").arg(shown.name()));
        emit modified();
    }
}

std::optional<ChunkProperties> ChunkGeneralPage::readControls() const
{
    ChunkProperties values;
    const bool emptyAllowed = severalChunks();
    if (!readNumber(density_, values.gridDensity, emptyAllowed) ||
        !readNumber(range_, values.areaRangeKm, emptyAllowed) ||
        !readNumber(bitmapIndex_, values.bitmapModeIndex, emptyAllowed) ||
        !readNumber(surfaceColor_, values.surfaceColor, emptyAllowed) ||
        !readNumber(refAltitude_, values.refPointAltitude, emptyAllowed))
        return std::nullopt;
    // With several chunks a cleared box means "leave as it is": options can be switched on, not off.
    const std::int32_t cleared = severalChunks() ? kUnchangedProperty : 0;
    auto box = [cleared](const QCheckBox* b) { return b->isChecked() ? 1 : cleared; };
    auto group = [](const QButtonGroup* g) {
        const int id = g->checkedId();
        return id < 0 ? kUnchangedProperty : id;
    };
    values.useBitmapMode = box(bitmapMode_);
    values.smoothing = box(smoothing_);
    values.perspectiveShade = box(perspectiveShade_);
    values.useSurfaceColor = box(polygonColor_);
    values.flatGridOptimization = box(flatGrid_);
    values.usePerspectiveCall2 = group(perspectiveGroup_);
    values.useRefPointType2 = group(refPointGroup_);
    values.colorMode = group(colorModeGroup_);
    return values;
}

bool ChunkGeneralPage::apply()
{
    const std::optional<ChunkProperties> values = readControls();
    if (!values) {
        doc_.app.platform.message("Please enter an integer.", MsgIcon::Exclamation);
        return false;
    }
    applyChunkProperties(doc_, selection_, *values);
    return true;
}

void ChunkGeneralPage::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (severalChunks())
        return;
    std::int32_t density = 0;
    if (!readNumber(density_, density))
        return;
    const QRect frame = preview_->geometry();
    const NodeGridPreview grid = nodeGridPreview(density, frame.left(), frame.top(), frame.width());
    QPainter painter(this);
    for (int row = 0; row < grid.n; ++row)
        for (int column = 0; column < grid.n; ++column)
            painter.fillRect(grid.left + column * grid.cell, grid.top + row * grid.cell, grid.cell - 1, grid.cell - 1,
                             Qt::blue);
}
