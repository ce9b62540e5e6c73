#pragma once
// "DTED Altitude Maps": DTED elevation cells, with a button to the DTED information page.

#include "altitude/ui/CSourceAltMapPage.h"

class CDTEDAltMap : public CSourceAltMapPage {
    Q_OBJECT
public:
    explicit CDTEDAltMap(CDibDoc& doc, QWidget* parent = nullptr);

    /// Where "Access Internet..." leads: a public description and source of DTED cells.
    static constexpr const char* kInformationUrl = "https://www.usgs.gov/centers/eros/science/usgs-eros-archive-digital-elevation-digital-terrain-elevation-data-dted";

    QPushButton* internetButton() const { return internet_; }

protected:
    std::string fileFilter() const override;
    bool readMap(AltitudeMap& map, const std::string& path) override;

private:
    QPushButton* internet_;
};
