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
    // Levels 1 and 2 are read through the elevation-file page, with its void and spacing options.
    const std::string extension = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    if (extension == ".dt1" || extension == ".dt2" || extension == ".DT1" || extension == ".DT2") {
        doc_.app.platform.message("This is a DTED Level 1 or 2 file. Add it on the \"Elevation file\" page.",
                                  MsgIcon::Exclamation);
        return false;
    }
    return readDtedAltitudeMap(doc_, map, path);
}
