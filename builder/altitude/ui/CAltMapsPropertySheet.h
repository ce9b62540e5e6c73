#pragma once
// "Altitude Map Properties": the main page and the source pages over one project.
// Adding and deleting maps takes effect at once; OK and Apply store the pages' values and merge.

#include <QDialog>

class CAltMapPage;
class CBMPAltMap;
class CDTEDAltMap;
class CDibDoc;
class CElevationAltMap;
class CMainAltMap;
class CTEXTAltMap;
class QPushButton;
class QTabWidget;

class CAltMapsPropertySheet : public QDialog {
    Q_OBJECT
public:
    explicit CAltMapsPropertySheet(CDibDoc& doc, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    CMainAltMap* mainPage() const { return main_; }
    CBMPAltMap* bmpPage() const { return bmp_; }
    CTEXTAltMap* textPage() const { return text_; }
    CDTEDAltMap* dtedPage() const { return dted_; }
    CElevationAltMap* elevationPage() const { return elevation_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }

public slots:
    void reject() override;

private:
    void applyPages();
    CAltMapPage* currentPage() const;

    CDibDoc& doc_;
    QTabWidget* tabs_;
    CMainAltMap* main_;
    CBMPAltMap* bmp_;
    CTEXTAltMap* text_;
    CDTEDAltMap* dted_;
    CElevationAltMap* elevation_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
    int currentIndex_ = 0;
    bool mapsChanged_ = false;
};
