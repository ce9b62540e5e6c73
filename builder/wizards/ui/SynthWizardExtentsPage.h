#pragma once
// Step 2: the extents of the grid and its resolution, as on the PhotoReal wizard's extents page
// (the same arithmetic, PhotoExtentsModel) with the grid's pixel size in place of a bitmap's. Both
// resolutions start locked at 2.0 m/pixel; each activation fits the extents to the current grid.

#include <array>

#include <QWizardPage>

#include "wizards/PhotoExtentsModel.h"
#include "wizards/ui/ExtentsFields.h"

class SynthWizard;
class SynthGridPreview;
class QRadioButton;

class SynthWizardExtentsPage : public QWizardPage {
    Q_OBJECT
public:
    explicit SynthWizardExtentsPage(SynthWizard& wizard);

    void initializePage() override;
    bool validatePage() override;

    /// The four edges, the resolutions and their Locks.
    ExtentsFields* fields() const { return fields_; }
    QRadioButton* cornerButton(int index) const { return corners_[static_cast<std::size_t>(index)]; }
    const PhotoExtentsModel& model() const { return model_; }

    static constexpr double kStartResolution = 2.0;

private:

    SynthWizard& wizard_;
    PhotoExtentsModel model_;
    ExtentsFields* fields_ = nullptr;
    std::array<QRadioButton*, 4> corners_{};
    SynthGridPreview* preview_;
};
