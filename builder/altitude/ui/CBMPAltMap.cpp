#include "altitude/ui/CBMPAltMap.h"

#include <QGridLayout>
#include <QPushButton>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudePlacement.h"
#include "altitude/AltitudeReaders.h"
#include "project/CDibDoc.h"
#include "project/ui/AltMapExtentsDlg.h"

CBMPAltMap::CBMPAltMap(CDibDoc& doc, QWidget* parent)
    : CSourceAltMapPage(doc, QStringLiteral("BMP Altitude Maps"), 1, parent),
      copy_(new QPushButton(QStringLiteral("Copy from terrain texture"), this))
{
    buttonGrid()->addWidget(copy_, 1, 1);
    connect(copy_, &QPushButton::clicked, this, &CBMPAltMap::copyFromBoundary);
}

std::string CBMPAltMap::fileFilter() const
{
    return "bmp files (*.bmp)|*.bmp|All Files (*.*)|*.*||";
}

bool CBMPAltMap::readMap(AltitudeMap& map, const std::string& path)
{
    if (!readBmpAltitudeMap(doc_, map, path))
        return false;
    AltMapExtentsDlg extents(doc_, this);
    if (extents.exec() != QDialog::Accepted)
        return false;
    return setBmpExtents(doc_, map, extents.minLatitude(), extents.maxLatitude(), extents.minLongitude(),
                         extents.maxLongitude(), extents.minAltitude(), extents.maxAltitude());
}

void CBMPAltMap::copyFromBoundary()
{
    AltitudeMap* map = selectedMap();
    if (!map || !doc_.boundary.hasExtent())
        return;
    if (placeRecordsOverArea(*map, doc_.boundary)) {
        doc_.setModified(true);
        emit changed();
        emit mapsChanged();
        refreshSelected();
    }
}
