#pragma once
// "TEXT Altitude Maps": files of latitude, longitude, altitude triplets.

#include "altitude/ui/CSourceAltMapPage.h"

class CTEXTAltMap : public CSourceAltMapPage {
    Q_OBJECT
public:
    explicit CTEXTAltMap(CDibDoc& doc, QWidget* parent = nullptr);

protected:
    bool listsMap(const AltitudeMap& map) const override;
    std::string fileFilter() const override;
    bool readMap(AltitudeMap& map, const std::string& path) override;
};
