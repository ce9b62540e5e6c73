#pragma once
// The "Define Palette..." dialog: composes the scenery palette (colorTable) of a project from its
// four default colour sources, imports JASC palettes into the custom colours and names the palette
// file the scenery uses. OK stores the palette, the four choices and the name in the project;
// Cancel stores none of them (an import made meanwhile stays in the custom colours).

#include <QDialog>
#include <array>
#include <cstdint>

#include "imagery/PaletteRanges.h"

class CDibDoc;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;

class PaletteDialog : public QDialog {
    Q_OBJECT
public:
    explicit PaletteDialog(CDibDoc& doc, QWidget* parent = nullptr);

    /// The 256 colours shown (0x00BBGGRR; 0 shows an excluded colour).
    const std::array<std::int32_t, 256>& displayedColors() const { return colors_; }
    QCheckBox* rangeBox(PaletteRange range) const { return boxes_[static_cast<int>(range)]; }
    QLineEdit* paletteNameEdit() const { return nameEdit_; }
    QPushButton* loadButton() const { return loadButton_; }
    QPushButton* browseButton() const { return browseButton_; }
    /// The invisible frame whose rectangle holds the colour grid.
    QFrame* gridFrame() const { return grid_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rangeClicked(PaletteRange range, bool checked);
    void loadJasc();
    void browse();
    void paintGrid();

    CDibDoc& doc_;
    std::array<std::int32_t, 256> colors_{};
    std::array<QCheckBox*, 4> boxes_{};
    QFrame* grid_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* browseButton_ = nullptr;
};
