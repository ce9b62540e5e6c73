#pragma once
#include "app/ui/PreferencesPage.h"

class QLineEdit;
class QToolButton;

/// "Paths": the texture library and simulator folders, and the application folder (read only).
class PreferencesPathsPage : public PreferencesPage {
    Q_OBJECT
public:
    explicit PreferencesPathsPage(AppContext& app, QWidget* parent = nullptr);

    enum Folder { SynthTextures, Fs98, Cfs, Fs2000, FolderCount };
    QLineEdit* folderEdit(Folder folder) const { return edits_[folder]; }
    QToolButton* browseButton(Folder folder) const { return browse_[folder]; }
    QLineEdit* applicationPathEdit() const { return applicationPath_; }

protected:
    void loadFromSettings() override;
    void writeSettings() override;

private:
    void browse(Folder folder);

    QLineEdit* edits_[FolderCount] = {};
    QToolButton* browse_[FolderCount] = {};
    QLineEdit* applicationPath_ = nullptr;
};
