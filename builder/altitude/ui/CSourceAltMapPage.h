#pragma once
// The behaviour shared by the BMP, TEXT and DTED pages: the list of the project's maps of one
// source type, the selected map's values, its water settings and preview, Active, Delete and Add.

#include <cstdint>
#include <string>

#include <QImage>

#include "altitude/ui/CAltMapPage.h"

class AltitudeMap;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;

class CSourceAltMapPage : public CAltMapPage {
    Q_OBJECT
public:
    CSourceAltMapPage(CDibDoc& doc, const QString& title, std::int32_t sourceType, QWidget* parent = nullptr);

    /// The n-th map of this page's type in project order, or nullptr.
    AltitudeMap* mapOfType(int n) const;
    int mapCount() const;
    /// The map of the selected entry, or nullptr.
    AltitudeMap* selectedMap() const;
    /// Forgets the selected map without storing into it: another page has deleted maps, and the
    /// page's values were stored when it was left.
    void dropSelection() { selected_ = nullptr; }

    /// The page's own copies of the selected map's water level and check boxes.
    std::int32_t waterLevel() const { return waterLevel_; }
    bool showWater() const { return showWater_; }
    bool active() const { return enabled_; }

    QListWidget* list() const { return list_; }
    QLineEdit* lowestEdit() const { return lowest_; }
    QLineEdit* highestEdit() const { return highest_; }
    QLineEdit* minLatitudeEdit() const { return minLatitude_; }
    QLineEdit* maxLatitudeEdit() const { return maxLatitude_; }
    QLineEdit* minLongitudeEdit() const { return minLongitude_; }
    QLineEdit* maxLongitudeEdit() const { return maxLongitude_; }
    QCheckBox* waterCheck() const { return water_; }
    QLineEdit* levelEdit() const { return level_; }
    QSlider* levelSlider() const { return slider_; }
    QCheckBox* activeCheck() const { return active_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* addButton() const { return add_; }
    /// The preview of the selected map, north at the top (null without a selection).
    const QImage& preview() const { return preview_; }

protected:
    void onSetActive() override;
    void onKillActive() override;
    void onApply() override;

    /// Whether the page lists this map; by default the maps of its source type.
    virtual bool listsMap(const AltitudeMap& map) const;
    /// The file dialog filter of "Add...".
    virtual std::string fileFilter() const = 0;
    /// Reads a new map from `path`; false discards it.
    virtual bool readMap(AltitudeMap& map, const std::string& path) = 0;
    /// Whether records on the east and north edges are drawn on the last column and row.
    virtual bool clampPreviewEdges() const { return false; }
    /// The grid of the page's buttons, for a page's extra buttons.
    QGridLayout* buttonGrid() const { return buttons_; }

    /// Shows the selected map's values again (after its records moved).
    void refreshSelected();

private:
    void fillList(int select);
    void selectEntry(int row);
    void storeSelected();
    void showNothing();
    void showMap(const AltitudeMap& map);
    void setLevel(std::int32_t level, bool fromSlider);
    void rebuildPreview();
    void updateControls();
    void deleteSelected();
    void addMap();

    std::int32_t sourceType_;
    AltitudeMap* selected_ = nullptr;
    std::int32_t waterLevel_ = 0;
    bool showWater_ = false;
    bool enabled_ = false;
    QImage preview_;

    QListWidget* list_;
    QLineEdit* lowest_;
    QLineEdit* highest_;
    QLineEdit* minLatitude_;
    QLineEdit* maxLatitude_;
    QLineEdit* minLongitude_;
    QLineEdit* maxLongitude_;
    QCheckBox* water_;
    QLineEdit* level_;
    QSlider* slider_;
    QCheckBox* active_;
    QPushButton* delete_;
    QPushButton* add_;
    QLabel* picture_;
    QGridLayout* buttons_;
};
