#pragma once
// "Set Altitude Map Extents...": the rectangle and altitude range a BMP altitude map is laid over.
// OK refuses only empty ranges (equal ends); a minimum above its maximum is accepted.

#include <QDialog>

class CDibDoc;
class QLineEdit;
class QPushButton;
class QSpinBox;

class AltMapExtentsDlg : public QDialog {
    Q_OBJECT
public:
    explicit AltMapExtentsDlg(CDibDoc& doc, QWidget* parent = nullptr);

    /// The parsed coordinate texts and the two altitudes (valid after OK).
    double minLatitude() const;
    double maxLatitude() const;
    double minLongitude() const;
    double maxLongitude() const;
    int minAltitude() const;
    int maxAltitude() const;

    QLineEdit* minLatitudeEdit() const { return minLatitude_; }
    QLineEdit* maxLatitudeEdit() const { return maxLatitude_; }
    QLineEdit* minLongitudeEdit() const { return minLongitude_; }
    QLineEdit* maxLongitudeEdit() const { return maxLongitude_; }
    QSpinBox* minAltitudeBox() const { return minAltitude_; }
    QSpinBox* maxAltitudeBox() const { return maxAltitude_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* okButton() const { return ok_; }

public slots:
    void accept() override;

private:
    void copyFromBoundary();

    CDibDoc& doc_;
    QLineEdit* minLatitude_;
    QLineEdit* maxLatitude_;
    QLineEdit* minLongitude_;
    QLineEdit* maxLongitude_;
    QSpinBox* minAltitude_;
    QSpinBox* maxAltitude_;
    QPushButton* copy_;
    QPushButton* ok_;
};
