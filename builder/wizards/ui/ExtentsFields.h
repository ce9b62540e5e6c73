#pragma once
// The boxes both wizards' extents pages share: the four edges, the two resolutions and their
// Locks, kept in step with a PhotoExtentsModel while the user types. The pages lay them out and
// add what differs (the picture or grid with its corner buttons, the explanation).

#include <QObject>
#include <QString>

#include "wizards/PhotoExtentsModel.h"

class QCheckBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QWidget;

class ExtentsFields : public QObject {
public:
    /// Makes the boxes as children of `page`; `resolutionTitle` names the resolution group.
    ExtentsFields(QWidget* page, PhotoExtentsModel& model, const QString& resolutionTitle);

    /// "Max Lat", "Min Lat", "Max Longitude", "Min Longitude" with their boxes (for a layout).
    QFormLayout* edgeRows() const { return edgeRows_; }
    QGroupBox* resolutionGroup() const { return resolution_; }

    QLineEdit* maxLat() const { return maxLat_; }
    QLineEdit* minLat() const { return minLat_; }
    QLineEdit* maxLon() const { return maxLon_; }
    QLineEdit* minLon() const { return minLon_; }
    QLineEdit* horizontal() const { return horizontal_; }
    QLineEdit* vertical() const { return vertical_; }
    QCheckBox* horizontalLock() const { return horizontalLock_; }
    QCheckBox* verticalLock() const { return verticalLock_; }

    /// The four edge texts as typed, into the model.
    void readTexts();
    /// The model's values and locks into the boxes.
    void showModel() { show(Field::None); }

    /// A resolution as shown (the user's locale, two decimals) and as read back (the user's
    /// locale, else with a point; 0 when it is no number).
    static QString resolutionText(double value);
    static double readResolution(const QString& text);

private:
    enum class Field { MaxLat, MinLat, MaxLon, MinLon, Horizontal, Vertical, None };
    void edited(Field field);
    void lockClicked(bool horizontal);
    /// The edit being typed in keeps its text.
    void show(Field typing);

    PhotoExtentsModel& model_;
    QFormLayout* edgeRows_;
    QGroupBox* resolution_;
    QLineEdit* maxLat_;
    QLineEdit* minLat_;
    QLineEdit* maxLon_;
    QLineEdit* minLon_;
    QLineEdit* horizontal_;
    QLineEdit* vertical_;
    QCheckBox* horizontalLock_;
    QCheckBox* verticalLock_;
};
