#include "altitude/ui/CMainAltMap.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeMerge.h"
#include "project/AppContext.h"
#include "output/Coordinates.h"
#include "project/CDibDoc.h"

namespace {

QLineEdit* readOnlyEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

CMainAltMap::CMainAltMap(CDibDoc& doc, QWidget* parent)
    : CAltMapPage(doc, QStringLiteral("Main Altitude Map"), parent),
      list_(new QListWidget(this)),
      active_(new QCheckBox(QStringLiteral("Active"), this)),
      delete_(new QPushButton(QStringLiteral("Delete"), this)),
      lowest_(readOnlyEdit(this)),
      highest_(readOnlyEdit(this)),
      minLatitude_(readOnlyEdit(this)),
      maxLatitude_(readOnlyEdit(this)),
      minLongitude_(readOnlyEdit(this)),
      maxLongitude_(readOnlyEdit(this))
{
    auto* group = new QGroupBox(QStringLiteral("Contents of main altitude map"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(list_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(active_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    groupLayout->addLayout(buttons);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Lowest altitude (m)"), lowest_);
    fields->addRow(QStringLiteral("Highest altitude (m)"), highest_);
    fields->addRow(QStringLiteral("Minimum Latitude"), minLatitude_);
    fields->addRow(QStringLiteral("Maximum Latitude"), maxLatitude_);
    fields->addRow(QStringLiteral("Minimum Longitude"), minLongitude_);
    fields->addRow(QStringLiteral("Maximum Longitude"), maxLongitude_);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(fields);

    connect(list_, &QListWidget::currentRowChanged, this, [this] { showSelection(); });
    connect(active_, &QCheckBox::toggled, this, [this](bool on) {
        const int row = list_->currentRow();
        if (row < 0 || row >= static_cast<int>(doc_.altitudeMaps.size()))
            return;
        doc_.altitudeMaps[static_cast<std::size_t>(row)]->enabled = on ? 1 : 0;
        emit changed();
    });
    connect(delete_, &QPushButton::clicked, this, &CMainAltMap::deleteSelected);
    showSelection();
}

void CMainAltMap::onSetActive()
{
    mergeAndShow();
}

void CMainAltMap::onApply()
{
    mergeAltitudeMaps(doc_);
    doc_.setModified(true);
}

void CMainAltMap::mergeAndShow()
{
    mergeAltitudeMaps(doc_);
    fillList();
    const AltitudeMap& main = doc_.mainAltitudeMap;
    if (main.records.empty()) {
        // Nothing merged: no extent to show (the extreme values would be their starting limits).
        lowest_->setText(QStringLiteral("0"));
        highest_->setText(QStringLiteral("0"));
        for (QLineEdit* edit : {minLatitude_, maxLatitude_, minLongitude_, maxLongitude_})
            edit->clear();
        return;
    }
    const int dms = doc_.app.settings.coordinateFormat;
    lowest_->setText(QString::number(main.minAltitudeOfRecords()));
    highest_->setText(QString::number(main.maxAltitude()));
    minLatitude_->setText(QString::fromStdString(formatCoordinate(main.minLatitude(), dms)));
    maxLatitude_->setText(QString::fromStdString(formatCoordinate(main.maxLatitude(), dms)));
    minLongitude_->setText(QString::fromStdString(formatCoordinate(main.minLongitude(), dms)));
    maxLongitude_->setText(QString::fromStdString(formatCoordinate(main.maxLongitude(), dms)));
}

void CMainAltMap::fillList()
{
    const int previous = list_->currentRow();
    {
        const QSignalBlocker block(list_);
        list_->clear();
        for (const auto& map : doc_.altitudeMaps)
            list_->addItem(QString::fromStdString(map->title));
        if (previous >= 0 && previous < list_->count())
            list_->setCurrentRow(previous);
    }
    showSelection();
}

void CMainAltMap::showSelection()
{
    const int row = list_->currentRow();
    const bool any = row >= 0 && row < static_cast<int>(doc_.altitudeMaps.size());
    const QSignalBlocker block(active_);
    active_->setChecked(any && doc_.altitudeMaps[static_cast<std::size_t>(row)]->enabled != 0);
    active_->setEnabled(any);
    delete_->setEnabled(any);
}

void CMainAltMap::deleteSelected()
{
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(doc_.altitudeMaps.size()))
        return;
    doc_.altitudeMaps.erase(doc_.altitudeMaps.begin() + row);
    {
        const QSignalBlocker block(list_);
        list_->setCurrentRow(-1);
    }
    doc_.setModified(true);
    emit mapsChanged();
    mergeAndShow();
}
