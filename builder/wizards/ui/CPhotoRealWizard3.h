#pragma once
// Step 3: optional altitude maps, through the project's altitude sources sheet.

#include <QWizardPage>

class CPhotoRealWizard;
class QPushButton;

class CPhotoRealWizard3 : public QWizardPage {
    Q_OBJECT
public:
    explicit CPhotoRealWizard3(CPhotoRealWizard& wizard);

    QPushButton* selectButton() const { return select_; }

private:
    CPhotoRealWizard& wizard_;
    QPushButton* select_;
};
