#pragma once
#include <cstdint>
#include <vector>

#include "app/ui/PreferencesPage.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QTreeWidget;

/// "Preferences": the class colours of the SynthWizard, the colour-coded display with its zoom
/// and the view season. The page edits its own copy of the class colours while the sheet is open.
class PreferencesOptionsPage : public PreferencesPage {
    Q_OBJECT
public:
    explicit PreferencesOptionsPage(AppContext& app, QWidget* parent = nullptr);

    QTreeWidget* colorList() const { return colors_; }
    QCheckBox* colorCodedBox() const { return colorCoded_; }
    QLineEdit* zoomEdit() const { return zoomEdit_; }
    QLabel* zoomLabel() const { return zoomLabel_; }
    QToolButton* zoomUpButton() const { return zoomUp_; }
    QToolButton* zoomDownButton() const { return zoomDown_; }
    QRadioButton* seasonButton(int season) const;
    const std::vector<std::uint32_t>& colorCopy() const { return colorCopy_; }

    /// Takes the page's colour copy afresh from the classes (after a re-scan reset them).
    void takeClassColors();

    /// Opens the colour chooser for a row (what a double-click on the row does).
    void chooseRowColor(int row);

    /// The zoom text the edit shows for a value.
    static QString zoomText(double value);

protected:
    void loadFromSettings() override;
    void onSetActive() override;
    void writeSettings() override;

private:
    void rebuildRows();
    void updateZoomEnabled();
    double currentZoom() const;
    void stepZoom(bool up);

    QTreeWidget* colors_;
    QCheckBox* colorCoded_;
    QLabel* zoomLabel_;
    QLineEdit* zoomEdit_;
    QToolButton* zoomUp_;
    QToolButton* zoomDown_;
    QButtonGroup* seasons_;
    std::vector<std::uint32_t> colorCopy_;
    double zoom_ = 0.25;
};
