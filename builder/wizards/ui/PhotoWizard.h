#pragma once
// The PhotoReal wizard: four pages that collect the source bitmap, its extents, optional altitude
// maps and the scenery folder with a texture prefix, working on the new project as they go.

#include <functional>
#include <optional>

#include <QSize>
#include <QWizard>

#include "project/GeoRect.h"

class CDibDoc;
class PhotoWizardBitmapPage;
class PhotoWizardExtentsPage;
class PhotoWizardAltitudePage;
class PhotoWizardFolderPage;

/// What the wizard needs from the window around it.
struct PhotoWizardServices {
    /// Select Altitude Data Source for the project; the altitude sheet when left empty.
    std::function<void(QWidget* parent, CDibDoc& doc)> altitudeSources;
    /// Shows the scenery size and scale in the main window; may be left empty.
    std::function<void(double widthKm, double heightKm, double metresPerPixel)> showSceneryProperties;
};

class PhotoWizard : public QWizard {
    Q_OBJECT
public:
    enum PageId { Page1, Page2, Page3, Page4 };
    /// Room for the tallest page with its wrapped explanation.
    static constexpr QSize kMinimumSize{540, 440};

    PhotoWizard(CDibDoc& doc, PhotoWizardServices services, QWidget* parent = nullptr);

    CDibDoc& document() { return doc_; }
    const PhotoWizardServices& services() const { return services_; }

    PhotoWizardBitmapPage* page1() const { return page1_; }
    PhotoWizardExtentsPage* page2() const { return page2_; }
    PhotoWizardAltitudePage* page3() const { return page3_; }
    PhotoWizardFolderPage* page4() const { return page4_; }

    /// The extents a georeferenced picture brought on page 1; page 2 starts from them once.
    std::optional<GeoRect> importedExtents;

private:
    CDibDoc& doc_;
    PhotoWizardServices services_;
    PhotoWizardBitmapPage* page1_;
    PhotoWizardExtentsPage* page2_;
    PhotoWizardAltitudePage* page3_;
    PhotoWizardFolderPage* page4_;
};

/// Shows the wizard modally over `parent`. Finish runs the wizard's last steps on the project
/// (level 3 tiles, project textures, chunk grid) and gives true; Cancel gives false.
bool runPhotoRealWizard(CDibDoc& doc, QWidget* parent, PhotoWizardServices services = {});
