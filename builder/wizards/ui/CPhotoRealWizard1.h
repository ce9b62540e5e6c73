#pragma once
// Step 1: the source bitmap. Next is offered only once a bitmap has been chosen and loaded.

#include <QWizardPage>

class CPhotoRealWizard;
class QLineEdit;
class QPushButton;

class CPhotoRealWizard1 : public QWizardPage {
    Q_OBJECT
public:
    explicit CPhotoRealWizard1(CPhotoRealWizard& wizard);

    bool isComplete() const override;

    QLineEdit* pathEdit() const { return path_; }
    QPushButton* browseButton() const { return browse_; }

private:
    void browseClicked();

    CPhotoRealWizard& wizard_;
    QLineEdit* path_;
    QPushButton* browse_;
};
