#pragma once
// "BMP Altitude Maps": grayscale height images, placed through the extents dialog when added.

#include "altitude/ui/CSourceAltMapPage.h"

class CBMPAltMap : public CSourceAltMapPage {
    Q_OBJECT
public:
    explicit CBMPAltMap(CDibDoc& doc, QWidget* parent = nullptr);

    /// "Copy from terrain texture": lays the selected map's grid over the project boundary.
    QPushButton* copyButton() const { return copy_; }

protected:
    std::string fileFilter() const override;
    bool readMap(AltitudeMap& map, const std::string& path) override;
    bool clampPreviewEdges() const override { return true; }

private:
    void copyFromBoundary();

    QPushButton* copy_;
};
