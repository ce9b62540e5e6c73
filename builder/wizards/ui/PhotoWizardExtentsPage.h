#pragma once
// Step 2: the extents of the bitmap and the resulting resolutions, with the reference corner and
// the two Locks. The arithmetic lives in PhotoExtentsModel; this page shows and edits its fields.

#include <array>

#include <QWizardPage>

#include "wizards/PhotoExtentsModel.h"
#include "wizards/ui/ExtentsFields.h"

class PhotoWizard;
class PhotoPreviewFrame;
struct GeoRect;
class QLabel;
class QRadioButton;

class PhotoWizardExtentsPage : public QWizardPage {
    Q_OBJECT
public:
    explicit PhotoWizardExtentsPage(PhotoWizard& wizard);

    void initializePage() override;
    bool validatePage() override;

    /// The four edges, the resolutions and their Locks.
    ExtentsFields* fields() const { return fields_; }
    QRadioButton* cornerButton(int index) const { return corners_[static_cast<std::size_t>(index)]; }
    PhotoPreviewFrame* preview() const { return preview_; }
    QLabel* explanation() const { return explanation_; }
    const PhotoExtentsModel& model() const { return model_; }

private:
    /// Fills the four extents a georeferenced picture brought, and the resolutions from them.
    void showImportedExtents(const GeoRect& extents);

    PhotoWizard& wizard_;
    PhotoExtentsModel model_;
    ExtentsFields* fields_ = nullptr;
    std::array<QRadioButton*, 4> corners_{};
    PhotoPreviewFrame* preview_;
    QLabel* explanation_ = nullptr;

protected:
    /// A wrapped explanation needs more lines on a narrow page: its minimum height follows.
    void resizeEvent(QResizeEvent* event) override;
};
