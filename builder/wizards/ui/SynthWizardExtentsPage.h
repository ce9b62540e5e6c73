#pragma once
// Step 2: the extents of the grid and its resolution, as on the PhotoReal wizard's extents page
// (the same arithmetic, PhotoExtentsModel) with the grid's pixel size in place of a bitmap's. Both
// resolutions start locked at 2.0 m/pixel; each activation fits the extents to the current grid.

#include <array>

#include <QWizardPage>

#include "wizards/PhotoExtentsModel.h"

class SynthWizard;
class SynthGridPreview;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class SynthWizardExtentsPage : public QWizardPage {
    Q_OBJECT
public:
    explicit SynthWizardExtentsPage(SynthWizard& wizard);

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
    const PhotoExtentsModel& model() const { return model_; }

    static constexpr double kStartResolution = 2.0;

private:
    enum class Field { MaxLat, MinLat, MaxLon, MinLon, Horizontal, Vertical, None };
    void readTexts();
    void edited(Field field);
    void lockClicked(bool horizontal);
    /// Shows the model's values; the edit being typed in keeps its text.
    void showModel(Field typing);
    static QString resolutionText(double value);
    static double readResolution(const QString& text);

    SynthWizard& wizard_;
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
    SynthGridPreview* preview_;
};
