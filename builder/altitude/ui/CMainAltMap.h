#pragma once
// "Main Altitude Map": every map of the project with its Active mark, and the extent of the
// merged main map. Activation and OK merge the enabled maps again.

#include "altitude/ui/CAltMapPage.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CMainAltMap : public CAltMapPage {
    Q_OBJECT
public:
    explicit CMainAltMap(CDibDoc& doc, QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    QCheckBox* activeCheck() const { return active_; }
    QPushButton* deleteButton() const { return delete_; }
    QLineEdit* lowestEdit() const { return lowest_; }
    QLineEdit* highestEdit() const { return highest_; }
    QLineEdit* minLatitudeEdit() const { return minLatitude_; }
    QLineEdit* maxLatitudeEdit() const { return maxLatitude_; }
    QLineEdit* minLongitudeEdit() const { return minLongitude_; }
    QLineEdit* maxLongitudeEdit() const { return maxLongitude_; }

protected:
    void onSetActive() override;
    void onApply() override;

private:
    void mergeAndShow();
    void fillList();
    void showSelection();
    void deleteSelected();

    QListWidget* list_;
    QCheckBox* active_;
    QPushButton* delete_;
    QLineEdit* lowest_;
    QLineEdit* highest_;
    QLineEdit* minLatitude_;
    QLineEdit* maxLatitude_;
    QLineEdit* minLongitude_;
    QLineEdit* maxLongitude_;
};
