#pragma once
// "Elevation file": SRTM .hgt, GeoTIFF DEMs, DTED Level 1 and 2 and any other elevation raster,
// clipped to the project boundary, with the void and post spacing options.

#include "altitude/ui/CSourceAltMapPage.h"

class QComboBox;
class QDoubleSpinBox;

class CElevationAltMap : public CSourceAltMapPage {
    Q_OBJECT
public:
    explicit CElevationAltMap(CDibDoc& doc, QWidget* parent = nullptr);

    /// "Fill from neighbours" (0) or "Leave out" (1).
    QComboBox* voidsCombo() const { return voids_; }
    /// Metres between kept posts; 0 keeps every post.
    QDoubleSpinBox* spacingSpin() const { return spacing_; }

protected:
    bool listsMap(const AltitudeMap& map) const override;
    std::string fileFilter() const override;
    bool readMap(AltitudeMap& map, const std::string& path) override;

private:
    QComboBox* voids_;
    QDoubleSpinBox* spacing_;
};
