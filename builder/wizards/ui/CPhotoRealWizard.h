#pragma once
// The PhotoReal wizard: four pages that collect the source bitmap, its extents, optional altitude
// maps and the scenery folder with a texture prefix, working on the new project as they go.

#include <functional>

#include <QWizard>

class CDibDoc;
class CPhotoRealWizard1;
class CPhotoRealWizard2;
class CPhotoRealWizard3;
class CPhotoRealWizard4;

/// What the wizard needs from the window around it.
struct PhotoWizardServices {
    /// Select Altitude Data Source for the project; the altitude sheet when left empty.
    std::function<void(QWidget* parent, CDibDoc& doc)> altitudeSources;
    /// Shows the scenery size and scale in the main window; may be left empty.
    std::function<void(double widthKm, double heightKm, double metresPerPixel)> showSceneryProperties;
};

class CPhotoRealWizard : public QWizard {
    Q_OBJECT
public:
    enum PageId { Page1, Page2, Page3, Page4 };

    CPhotoRealWizard(CDibDoc& doc, PhotoWizardServices services, QWidget* parent = nullptr);

    CDibDoc& document() { return doc_; }
    const PhotoWizardServices& services() const { return services_; }

    CPhotoRealWizard1* page1() const { return page1_; }
    CPhotoRealWizard2* page2() const { return page2_; }
    CPhotoRealWizard3* page3() const { return page3_; }
    CPhotoRealWizard4* page4() const { return page4_; }

private:
    CDibDoc& doc_;
    PhotoWizardServices services_;
    CPhotoRealWizard1* page1_;
    CPhotoRealWizard2* page2_;
    CPhotoRealWizard3* page3_;
    CPhotoRealWizard4* page4_;
};

/// Shows the wizard modally over `parent`. Finish runs the wizard's last steps on the project
/// (level 3 tiles, project textures, chunk grid) and gives true; Cancel gives false.
bool runPhotoRealWizard(CDibDoc& doc, QWidget* parent, PhotoWizardServices services = {});
