#pragma once
// "Landmark Calibration - 2-Point": the position of the landmark just clicked. The first step asks
// for landmark 1 ("Proceed..."); the second shows landmark 1 read-only and asks for landmark 2
// ("Calibrate"), then works out the boundary.

#include <QDialog>

class CDibDoc;
class QLineEdit;
class QPushButton;

class TwoPointCalibrationDlg : public QDialog {
    Q_OBJECT
public:
    TwoPointCalibrationDlg(CDibDoc& doc, bool secondStep, int pixelX, int pixelY, QWidget* parent = nullptr);

    QLineEdit* latitude1Edit() const { return lat1_; }
    QLineEdit* longitude1Edit() const { return lon1_; }
    QLineEdit* latitude2Edit() const { return lat2_; }
    QLineEdit* longitude2Edit() const { return lon2_; }
    QLineEdit* xEdit() const { return x_; }
    QLineEdit* yEdit() const { return y_; }
    QPushButton* okButton() const { return ok_; }

public slots:
    void accept() override;

private:
    CDibDoc& doc_;
    bool second_;
    QLineEdit* lat1_;
    QLineEdit* lon1_;
    QLineEdit* lat2_;
    QLineEdit* lon2_;
    QLineEdit* x_;
    QLineEdit* y_;
    QPushButton* ok_;
};
