#include "altitude/ui/CElevationAltMap.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

#include <cmath>

#include "altitude/AltitudeMap.h"
#include "import/ElevationImport.h"
#include "project/NodeSpacing.h"

CElevationAltMap::CElevationAltMap(CDibDoc& doc, QWidget* parent)
    : CSourceAltMapPage(doc, QStringLiteral("Elevation file"), 3, parent),
      voids_(new QComboBox(this)),
      spacing_(new QDoubleSpinBox(this))
{
    voids_->addItem(QStringLiteral("Fill from neighbours"));
    voids_->addItem(QStringLiteral("Leave out"));
    spacing_->setRange(0.0, 100000.0);
    spacing_->setDecimals(0);
    spacing_->setSuffix(QStringLiteral(" m"));
    spacing_->setSpecialValueText(QStringLiteral("every post"));
    buttonGrid()->addWidget(new QLabel(QStringLiteral("Voids:"), this), 2, 0);
    buttonGrid()->addWidget(voids_, 2, 1);
    buttonGrid()->addWidget(new QLabel(QStringLiteral("Post spacing:"), this), 3, 0);
    buttonGrid()->addWidget(spacing_, 3, 1);
    // Posts closer together than the chunks' nodes are never sampled: the default thins to the
    // finest node spacing, in whole metres (every post while the project has no chunks).
    spacing_->setValue(std::floor(finestNodeSpacingMetres(doc)));
    spacing_->setToolTip(QStringLiteral("Keeps no posts closer together than this; the default is the finest "
                                        "node spacing of the project's chunks"));
}

bool CElevationAltMap::listsMap(const AltitudeMap& map) const
{
    return isElevationFileMap(map);
}

std::string CElevationAltMap::fileFilter() const
{
    return "Elevation files (*.hgt;*.tif;*.tiff;*.dt1;*.dt2;*.dem;*.asc)|*.hgt;*.tif;*.tiff;*.dt1;*.dt2;*.dem;*.asc|"
           "All Files (*.*)|*.*||";
}

bool CElevationAltMap::readMap(AltitudeMap& map, const std::string& path)
{
    ElevationOptions options;
    options.voids = voids_->currentIndex() == 1 ? ElevationVoids::Skip : ElevationVoids::Fill;
    options.spacingMetres = spacing_->value();
    return readElevationAltitudeMap(doc_, map, path, options);
}
