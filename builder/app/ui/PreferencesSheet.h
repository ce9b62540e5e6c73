#pragma once
// The Preferences sheet: four pages over the application settings and the texture classes.
// Settings change only on OK or Apply, and only through pages that were shown; the re-scan of
// the Synth Textures page is the one action that takes effect at once.

#include <QDialog>

class AppContext;
class PreferencesGeneralPage;
class PreferencesPathsPage;
class PreferencesSynthTexturesPage;
class PreferencesOptionsPage;
class PreferencesPage;
class QPushButton;
class QTabWidget;

class PreferencesSheet : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesSheet(AppContext& app, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    PreferencesGeneralPage* general() const { return general_; }
    PreferencesPathsPage* paths() const { return paths_; }
    PreferencesSynthTexturesPage* synthTextures() const { return synthTextures_; }
    PreferencesOptionsPage* preferences() const { return preferences_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }

private:
    void applyPages();

    AppContext& app_;
    QTabWidget* tabs_;
    PreferencesGeneralPage* general_;
    PreferencesPathsPage* paths_;
    PreferencesSynthTexturesPage* synthTextures_;
    PreferencesOptionsPage* preferences_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
};
