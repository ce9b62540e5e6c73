#pragma once
// "Project Properties" page: the SCASM output options of one project (altitude coordinates, the
// area-max header and its size, the copyright line and its text, the included seasons).

#include <QWidget>
#include <array>

class CDibDoc;
class QCheckBox;
class QLineEdit;

class ProjectOutputPage : public QWidget {
    Q_OBJECT
public:
    explicit ProjectOutputPage(CDibDoc& doc, QWidget* parent = nullptr);

    /// Stores the options; false (nothing stored) when the size is not an integer.
    bool apply();

    QCheckBox* altitudeCoordinates() const { return altitudeCoordinates_; }
    QCheckBox* areaMaxHeader() const { return areaMaxHeader_; }
    QLineEdit* areaMaxSize() const { return areaMaxSize_; }
    QCheckBox* copyright() const { return copyright_; }
    QLineEdit* copyrightText() const { return copyrightText_; }
    QCheckBox* season(int bit) const { return seasons_[static_cast<std::size_t>(bit)]; }

signals:
    void modified();

private:
    CDibDoc& doc_;
    QCheckBox* altitudeCoordinates_;
    QCheckBox* areaMaxHeader_;
    QLineEdit* areaMaxSize_;
    QCheckBox* copyright_;
    QLineEdit* copyrightText_;
    std::array<QCheckBox*, 4> seasons_{};
};
