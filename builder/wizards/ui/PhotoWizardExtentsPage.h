#pragma once
// Step 2: the extents of the bitmap and the resulting resolutions, with the reference corner and
// the two Locks. The arithmetic lives in PhotoExtentsModel; this page shows and edits its fields.

#include <array>

#include <QWizardPage>

#include "wizards/PhotoExtentsModel.h"

class PhotoWizard;
class PhotoPreviewFrame;
struct GeoRect;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class PhotoWizardExtentsPage : public QWizardPage {
    Q_OBJECT
public:
    explicit PhotoWizardExtentsPage(PhotoWizard& wizard);

    void initializePage() override;
    bool validatePage() override;

    QLineEdit* maxLatEdit() const { return maxLat_; }
    QLineEdit* minLatEdit() const { return minLat_; }
    QLineEdit* maxLonEdit() const { return maxLon_; }
    QLineEdit* minLonEdit() const { return minLon_; }
    QLineEdit* horizontalEdit() const { return horizontal_; }
    QLineEdit* verticalEdit() const { return vertical_; }
    QCheckBox* horizontalLockBox() const { return horizontalLock_; }
    QCheckBox* verticalLockBox() const { return verticalLock_; }
    QRadioButton* cornerButton(int index) const { return corners_[static_cast<std::size_t>(index)]; }
    PhotoPreviewFrame* preview() const { return preview_; }
    const PhotoExtentsModel& model() const { return model_; }

private:
    enum class Field { MaxLat, MinLat, MaxLon, MinLon, Horizontal, Vertical, None };
    void edited(Field field);
    void lockClicked(bool horizontal);
    /// Fills the four extents a georeferenced picture brought, and the resolutions from them.
    void showImportedExtents(const GeoRect& extents);
    /// Shows the model's values; the edit being typed in keeps its text.
    void showModel(Field typing);
    static QString resolutionText(double value);
    static double readResolution(const QString& text);

    PhotoWizard& wizard_;
    PhotoExtentsModel model_;
    QLineEdit* maxLat_;
    QLineEdit* minLat_;
    QLineEdit* maxLon_;
    QLineEdit* minLon_;
    QLineEdit* horizontal_;
    QLineEdit* vertical_;
    QCheckBox* horizontalLock_;
    QCheckBox* verticalLock_;
    std::array<QRadioButton*, 4> corners_{};
    PhotoPreviewFrame* preview_;
};
