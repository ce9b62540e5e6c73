#include "app/ui/PreferencesOptionsPage.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "synth/TextureLibrary.h"

namespace {

constexpr int kColorRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;

QColor toQColor(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

/// Paints a colour row as a bar of the class colour carrying the class name, in black or white
/// whichever reads better on the bar; the selected row gets a frame.
class ClassColorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QColor color = index.data(kColorRole).value<QColor>();
        const QRect bar = option.rect.adjusted(2, 1, -2, -1);
        painter->save();
        painter->fillRect(option.rect, option.palette.base());
        painter->fillRect(bar, color);
        const int luminance = (color.red() * 299 + color.green() * 587 + color.blue() * 114) / 1000;
        painter->setPen(luminance < 128 ? Qt::white : Qt::black);
        painter->drawText(bar.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data(kNameRole).toString());
        if (option.state & QStyle::State_Selected) {
            painter->setPen(QPen(option.palette.highlight(), 2));
            painter->drawRect(bar.adjusted(1, 1, -1, -1));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), option.fontMetrics.height() + 6));
        return size;
    }
};

} // namespace

PreferencesOptionsPage::PreferencesOptionsPage(AppContext& app, QWidget* parent)
    : PreferencesPage(app, QStringLiteral("Preferences"), parent),
      colors_(new QTreeWidget(this)),
      colorCoded_(new QCheckBox(QStringLiteral("Show Synth Tiles Color Coded"), this)),
      zoomLabel_(new QLabel(QStringLiteral("Zoom level:"), this)),
      zoomEdit_(new QLineEdit(this)),
      zoomUp_(new QToolButton(this)),
      zoomDown_(new QToolButton(this)),
      seasons_(new QButtonGroup(this))
{
    auto* colorGroup = new QGroupBox(QStringLiteral("SynthWizard Texture Class Colors"), this);
    auto* colorLayout = new QVBoxLayout(colorGroup);
    colors_->setRootIsDecorated(false);
    colors_->header()->setStretchLastSection(false);
    colors_->setColumnCount(1);
    colors_->setHeaderLabels({QStringLiteral("Color")});
    colors_->setColumnWidth(0, 200);
    colors_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    colors_->setSelectionMode(QAbstractItemView::SingleSelection);
    colors_->setItemDelegate(new ClassColorDelegate(colors_));
    colorLayout->addWidget(colors_);
    connect(colors_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { chooseRowColor(colors_->indexOfTopLevelItem(item)); });

    zoomEdit_->setMaximumWidth(120);
    zoomUp_->setArrowType(Qt::UpArrow);
    zoomDown_->setArrowType(Qt::DownArrow);
    auto* zoomLayout = new QHBoxLayout;
    zoomLayout->addWidget(zoomLabel_);
    zoomLayout->addWidget(zoomEdit_);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(zoomUp_);
    arrows->addWidget(zoomDown_);
    zoomLayout->addLayout(arrows);
    zoomLayout->addStretch();
    connect(zoomUp_, &QToolButton::clicked, this, [this] { stepZoom(true); });
    connect(zoomDown_, &QToolButton::clicked, this, [this] { stepZoom(false); });
    connect(zoomEdit_, &QLineEdit::textEdited, this, [this] { emit modified(); });
    connect(colorCoded_, &QCheckBox::clicked, this, [this] {
        updateZoomEnabled();
        emit modified();
    });

    auto* seasonGroup = new QGroupBox(QStringLiteral("View Season"), this);
    auto* seasonLayout = new QHBoxLayout(seasonGroup);
    const QString names[] = {QStringLiteral("Winter"), QStringLiteral("Spring"), QStringLiteral("Summer"),
                             QStringLiteral("Fall")};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(names[i], seasonGroup);
        seasons_->addButton(button, i);
        seasonLayout->addWidget(button);
    }
    // Spring and Fall share the summer set of the library.
    seasons_->button(1)->setEnabled(false);
    seasons_->button(3)->setEnabled(false);
    connect(seasons_, &QButtonGroup::idClicked, this, [this] { emit modified(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(colorGroup, 1);
    layout->addWidget(colorCoded_);
    layout->addLayout(zoomLayout);
    layout->addWidget(seasonGroup);
}

QRadioButton* PreferencesOptionsPage::seasonButton(int season) const
{
    return qobject_cast<QRadioButton*>(seasons_->button(season));
}

QString PreferencesOptionsPage::zoomText(double value)
{
    return QLocale().toString(value, 'g', 15);
}

void PreferencesOptionsPage::loadFromSettings()
{
    const AppSettings& s = app_.settings;
    colorCoded_->setChecked(s.showSynthTilesColorCoded != 0);
    zoom_ = s.zoomLevel;
    zoomEdit_->setText(zoomText(zoom_));
    if (QAbstractButton* button = seasons_->button(s.viewSeason))
        button->setChecked(true);
    takeClassColors();
    updateZoomEnabled();
}

void PreferencesOptionsPage::takeClassColors()
{
    colorCopy_.clear();
    for (const TextureClass& textureClass : app_.settings.textureClasses)
        colorCopy_.push_back(textureClass.color);
}

void PreferencesOptionsPage::onSetActive()
{
    rebuildRows();
}

void PreferencesOptionsPage::rebuildRows()
{
    const std::vector<TextureClass>& classes = app_.settings.textureClasses;
    // A re-scan on the Synth Textures page may have changed the number of classes meanwhile;
    // new rows start from their class's colour.
    for (std::size_t i = colorCopy_.size(); i < classes.size(); ++i)
        colorCopy_.push_back(classes[i].color);
    colorCopy_.resize(classes.size());

    colors_->clear();
    for (std::size_t i = 0; i < classes.size(); ++i) {
        auto* item = new QTreeWidgetItem(colors_);
        item->setText(0, QString::number(classes[i].code));
        item->setData(0, kNameRole, QString::fromStdString(classes[i].name));
        item->setData(0, kColorRole, toQColor(colorCopy_[i]));
    }
}

void PreferencesOptionsPage::chooseRowColor(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= colorCopy_.size())
        return;
    const std::optional<std::uint32_t> chosen = app_.platform.chooseColor(colorCopy_[static_cast<std::size_t>(row)]);
    if (!chosen)
        return;
    colorCopy_[static_cast<std::size_t>(row)] = *chosen & 0x00FFFFFFu;
    if (QTreeWidgetItem* item = colors_->topLevelItem(row))
        item->setData(0, kColorRole, toQColor(colorCopy_[static_cast<std::size_t>(row)]));
    emit modified();
}

void PreferencesOptionsPage::updateZoomEnabled()
{
    const bool on = colorCoded_->isChecked();
    zoomLabel_->setEnabled(on);
    zoomEdit_->setEnabled(on);
    zoomUp_->setEnabled(on);
    zoomDown_->setEnabled(on);
}

double PreferencesOptionsPage::currentZoom() const
{
    bool ok = false;
    double value = QLocale().toDouble(zoomEdit_->text().trimmed(), &ok);
    if (!ok)
        value = QLocale::c().toDouble(zoomEdit_->text().trimmed(), &ok);
    // Text that is no number leaves the last value in force.
    return ok ? value : zoom_;
}

void PreferencesOptionsPage::stepZoom(bool up)
{
    zoom_ = currentZoom();
    if (up) {
        if (zoom_ < 8.0)
            zoom_ *= 2.0;
    } else {
        zoom_ /= 2.0;
    }
    zoomEdit_->setText(zoomText(zoom_));
    emit modified();
}

void PreferencesOptionsPage::writeSettings()
{
    AppSettings& s = app_.settings;
    const std::size_t rows = std::min(colorCopy_.size(), s.textureClasses.size());
    for (std::size_t i = 0; i < rows; ++i)
        s.textureClasses[i].color = colorCopy_[i];
    s.showSynthTilesColorCoded = colorCoded_->isChecked() ? 1 : 0;
    zoom_ = currentZoom();
    s.zoomLevel = zoom_;
    const int season = seasons_->checkedId();
    if (season >= 0 && season != s.viewSeason)
        changeSeason(app_, season);
}
