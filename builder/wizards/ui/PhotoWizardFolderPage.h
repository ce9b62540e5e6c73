#pragma once
// Step 4: the scenery folder (a folder-browsing edit) and the texture name prefix. Finish applies
// them; a missing prefix keeps the page.

#include <array>

#include <QWizardPage>

class PhotoWizard;
class QCheckBox;
class QLineEdit;
class QToolButton;

class PhotoWizardFolderPage : public QWizardPage {
    Q_OBJECT
public:
    explicit PhotoWizardFolderPage(PhotoWizard& wizard);

    void initializePage() override;
    bool validatePage() override;

    /// The folder as typed.
    QString folder() const;

    QLineEdit* folderEdit() const { return folder_; }
    QToolButton* browseButton() const { return browse_; }
    QLineEdit* prefixEdit() const { return prefix_; }
    QCheckBox* levelBox(int level) const { return levels_[static_cast<std::size_t>(level - 1)]; }

private:
    void browseClicked();

    PhotoWizard& wizard_;
    QLineEdit* folder_;
    QToolButton* browse_;
    QLineEdit* prefix_;
    std::array<QCheckBox*, 3> levels_{};
};
