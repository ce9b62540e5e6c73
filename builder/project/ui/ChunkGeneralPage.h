#pragma once
// "General" page of the chunk properties sheet: the thirteen TexRelief values of the selected
// chunks. One chunk shows and stores all of them; several chunks start with every field empty
// and every box cleared, and Apply stores only what the user filled in or switched on.

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "project/ChunkProperties.h"

class CDibDoc;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

class ChunkGeneralPage : public QWidget {
    Q_OBJECT
public:
    ChunkGeneralPage(CDibDoc& doc, std::vector<int> selection, QWidget* parent = nullptr);

    /// Reads the controls and stores them in the chunks. False (nothing stored) when a number
    /// field does not hold an integer; the user has then been told.
    bool apply();

    /// The values the controls hold now; kUnchangedProperty where a field is empty or a box clear
    /// with several chunks. Empty when a non-empty field is not an integer.
    std::optional<ChunkProperties> readControls() const;

    bool severalChunks() const { return selection_.size() > 1; }
    /// The colour last chosen with the colour button (shown on the page only).
    std::uint32_t chosenColor() const { return chosenColor_; }

signals:
    void modified();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showValues(const ChunkProperties& values);
    void updateEnabling();
    void stepDensity(bool up);
    void chooseColor();
    QWidget* previewFrame() const { return preview_; }

    CDibDoc& doc_;
    std::vector<int> selection_;
    QLineEdit* density_;
    QToolButton* densityUp_;
    QToolButton* densityDown_;
    QLineEdit* range_;
    QCheckBox* bitmapMode_;
    QLineEdit* bitmapIndex_;
    QCheckBox* smoothing_;
    QCheckBox* perspectiveShade_;
    QCheckBox* polygonColor_;
    QLineEdit* surfaceColor_;
    QPushButton* colorButton_;
    QCheckBox* flatGrid_;
    QRadioButton* perspectiveCall_;
    QRadioButton* perspectiveCall2_;
    QRadioButton* refPoint7_;
    QRadioButton* refPoint2_;
    QLineEdit* refAltitude_;
    QRadioButton* dpc_;
    QRadioButton* tc_;
    QRadioButton* nc_;
    QButtonGroup* perspectiveGroup_;
    QButtonGroup* refPointGroup_;
    QButtonGroup* colorModeGroup_;
    QLineEdit* north_;
    QLineEdit* south_;
    QLineEdit* west_;
    QLineEdit* east_;
    QCheckBox* lock_;
    QWidget* preview_;
    std::uint32_t chosenColor_ = 0;
};
