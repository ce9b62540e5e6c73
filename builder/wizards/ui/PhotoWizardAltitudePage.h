#pragma once
// Step 3: optional altitude maps, through the project's altitude sources sheet.

#include <QWizardPage>

class PhotoWizard;
class QPushButton;

class PhotoWizardAltitudePage : public QWizardPage {
    Q_OBJECT
public:
    explicit PhotoWizardAltitudePage(PhotoWizard& wizard);

    QPushButton* selectButton() const { return select_; }

private:
    PhotoWizard& wizard_;
    QPushButton* select_;
};
