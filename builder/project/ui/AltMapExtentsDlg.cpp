#include "project/ui/AltMapExtentsDlg.h"

#include <limits>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "output/Coordinates.h"
#include "project/CDibDoc.h"

namespace {

double parsed(const QLineEdit* edit)
{
    return parseCoordinate(edit->text().toStdString());
}

QSpinBox* altitudeBox(QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    box->setValue(0);
    return box;
}

} // namespace

AltMapExtentsDlg::AltMapExtentsDlg(CDibDoc& doc, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      minLatitude_(new QLineEdit(this)),
      maxLatitude_(new QLineEdit(this)),
      minLongitude_(new QLineEdit(this)),
      maxLongitude_(new QLineEdit(this)),
      minAltitude_(altitudeBox(this)),
      maxAltitude_(altitudeBox(this)),
      copy_(new QPushButton(QStringLiteral("Copy from terrain texture"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("Set Altitude Map Extents..."));
    setModal(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Minimum Latitude"), minLatitude_);
    form->addRow(QStringLiteral("Maximum Latitude"), maxLatitude_);
    form->addRow(QStringLiteral("Minimum Longitude"), minLongitude_);
    form->addRow(QStringLiteral("Maximum Longitude"), maxLongitude_);
    form->addRow(QStringLiteral("Minimum Altitude (meters)"), minAltitude_);
    form->addRow(QStringLiteral("Maximum Altitude (meters)"), maxAltitude_);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // An empty boundary has nothing to copy.
    copy_->setEnabled(doc_.boundary.hasExtent());
    connect(copy_, &QPushButton::clicked, this, &AltMapExtentsDlg::copyFromBoundary);
    connect(ok_, &QPushButton::clicked, this, &AltMapExtentsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AltMapExtentsDlg::copyFromBoundary()
{
    const int dms = doc_.app.settings.coordinateFormat;
    minLatitude_->setText(QString::fromStdString(formatCoordinate(doc_.boundary.south, dms)));
    maxLatitude_->setText(QString::fromStdString(formatCoordinate(doc_.boundary.north, dms)));
    minLongitude_->setText(QString::fromStdString(formatCoordinate(doc_.boundary.west, dms)));
    maxLongitude_->setText(QString::fromStdString(formatCoordinate(doc_.boundary.east, dms)));
}

double AltMapExtentsDlg::minLatitude() const { return parsed(minLatitude_); }
double AltMapExtentsDlg::maxLatitude() const { return parsed(maxLatitude_); }
double AltMapExtentsDlg::minLongitude() const { return parsed(minLongitude_); }
double AltMapExtentsDlg::maxLongitude() const { return parsed(maxLongitude_); }
int AltMapExtentsDlg::minAltitude() const { return minAltitude_->value(); }
int AltMapExtentsDlg::maxAltitude() const { return maxAltitude_->value(); }

void AltMapExtentsDlg::accept()
{
    Platform& platform = doc_.app.platform;
    if (minAltitude() == maxAltitude()) {
        platform.message("Altitude Range is invalid. Please set altitude range.", MsgIcon::Exclamation);
        return;
    }
    if (minLatitude() == maxLatitude()) {
        platform.message("Latitude range is invalid. Please set latitude range.", MsgIcon::Exclamation);
        return;
    }
    if (minLongitude() == maxLongitude()) {
        platform.message("Longitude range is invalid. Please set longitude range.", MsgIcon::Exclamation);
        return;
    }
    doc_.setModified(true);
    QDialog::accept();
}
