#pragma once
// The import dialog: turns a picture that is not yet a project bitmap into one. The user picks the
// size (nearest whole 1024s, a ground resolution, or padding with a colour), the resampling, the
// palette (adaptive, the default palette, or a palette file), dithering and reserved entries, and
// sees the picture before and after. Convert writes the bitmap beside the picture.

#include <optional>
#include <string>

#include <QDialog>

#include "import/ImportOptions.h"
#include "import/ImportResult.h"
#include "import/RasterImport.h"

class Platform;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    /// `applicationFolder` holds colors.pcf / default.bmp for the default palette.
    ImportDialog(Platform& platform, const std::string& sourcePath, const RasterInfo& info,
                 const std::string& applicationFolder, QWidget* parent = nullptr);

    /// The options the controls describe; nothing, after telling the user, when one is unusable.
    std::optional<ImportOptions> options();
    /// After Convert: the file written and what the import found.
    const std::string& outputPath() const { return outputPath_; }
    const std::optional<ImportResult>& result() const { return result_; }

    QRadioButton* nearestButton() const { return nearest_; }
    QRadioButton* resolutionButton() const { return resolution_; }
    QRadioButton* padButton() const { return pad_; }
    QLineEdit* resolutionEdit() const { return metres_; }
    QLineEdit* padColorEdit() const { return padColor_; }
    QComboBox* resamplingBox() const { return resampling_; }
    QComboBox* paletteBox() const { return palette_; }
    QLineEdit* paletteFileEdit() const { return paletteFile_; }
    QPushButton* paletteBrowseButton() const { return browse_; }
    QCheckBox* ditherBox() const { return dither_; }
    QSpinBox* reserveBox() const { return reserve_; }
    QPushButton* previewButton() const { return previewButton_; }
    QPushButton* convertButton() const { return convert_; }
    QLabel* beforeLabel() const { return before_; }
    QLabel* afterLabel() const { return after_; }

    void accept() override;

private:
    void updateEnabled();
    void browsePalette();
    void showPreview();

    Platform& platform_;
    std::string source_;
    RasterInfo info_;
    std::string applicationFolder_;
    std::string outputPath_;
    std::optional<ImportResult> result_;

    QRadioButton* nearest_;
    QRadioButton* resolution_;
    QRadioButton* pad_;
    QLineEdit* metres_;
    QLineEdit* padColor_;
    QComboBox* resampling_;
    QComboBox* palette_;
    QLineEdit* paletteFile_;
    QPushButton* browse_;
    QCheckBox* dither_;
    QSpinBox* reserve_;
    QPushButton* previewButton_;
    QPushButton* convert_;
    QLabel* before_;
    QLabel* after_;
};
