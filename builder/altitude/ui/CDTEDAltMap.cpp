#include "altitude/ui/CDTEDAltMap.h"

#include <QGridLayout>
#include <QPushButton>

#include "altitude/AltitudeReaders.h"
#include "project/AppContext.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"

CDTEDAltMap::CDTEDAltMap(CDibDoc& doc, QWidget* parent)
    : CSourceAltMapPage(doc, QStringLiteral("DTED Altitude Maps"), 2, parent),
      internet_(new QPushButton(QStringLiteral("Access Internet..."), this))
{
    buttonGrid()->addWidget(internet_, 1, 1);
    connect(internet_, &QPushButton::clicked, this, [this] { doc_.app.platform.openUrl(kInformationUrl); });
}

std::string CDTEDAltMap::fileFilter() const
{
    return "DTED files (*.dt0)|*.dt0|All Files (*.*)|*.*||";
}

bool CDTEDAltMap::readMap(AltitudeMap& map, const std::string& path)
{
    return readDtedAltitudeMap(doc_, map, path);
}
