#pragma once
// "Landmark Calibration - Point - Scale": the position of the clicked landmark and the ground
// scale in metres per pixel; OK works out the boundary.

#include <QDialog>

class CDibDoc;
class QDoubleSpinBox;
class QLineEdit;

class PointScaleCalibrationDlg : public QDialog {
    Q_OBJECT
public:
    PointScaleCalibrationDlg(CDibDoc& doc, int pixelX, int pixelY, QWidget* parent = nullptr);

    QLineEdit* latitudeEdit() const { return lat_; }
    QLineEdit* longitudeEdit() const { return lon_; }
    QLineEdit* xEdit() const { return x_; }
    QLineEdit* yEdit() const { return y_; }
    QDoubleSpinBox* scaleEdit() const { return scale_; }

public slots:
    void accept() override;

private:
    CDibDoc& doc_;
    QLineEdit* lat_;
    QLineEdit* lon_;
    QLineEdit* x_;
    QLineEdit* y_;
    QDoubleSpinBox* scale_;
};
