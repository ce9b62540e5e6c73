#pragma once
// Step 1: the source bitmap. Next is offered only once a bitmap has been chosen and loaded.

#include <QWizardPage>

class PhotoWizard;
class QLineEdit;
class QPushButton;

class PhotoWizardBitmapPage : public QWizardPage {
    Q_OBJECT
public:
    explicit PhotoWizardBitmapPage(PhotoWizard& wizard);

    bool isComplete() const override;

    QLineEdit* pathEdit() const { return path_; }
    QPushButton* browseButton() const { return browse_; }

private:
    void browseClicked();

    PhotoWizard& wizard_;
    QLineEdit* path_;
    QPushButton* browse_;
};
