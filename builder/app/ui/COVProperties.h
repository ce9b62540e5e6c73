#pragma once
// The Preferences sheet: four pages over the application settings and the texture classes.
// Settings change only on OK or Apply, and only through pages that were shown; the re-scan of
// the Synth Textures page is the one action that takes effect at once.

#include <QDialog>

class AppContext;
class COVProperties1;
class COVProperties2;
class COVProperties3;
class COVProperties4;
class COVPropertyPage;
class QPushButton;
class QTabWidget;

class COVProperties : public QDialog {
    Q_OBJECT
public:
    explicit COVProperties(AppContext& app, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    COVProperties1* general() const { return general_; }
    COVProperties2* paths() const { return paths_; }
    COVProperties3* synthTextures() const { return synthTextures_; }
    COVProperties4* preferences() const { return preferences_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }

private:
    void applyPages();

    AppContext& app_;
    QTabWidget* tabs_;
    COVProperties1* general_;
    COVProperties2* paths_;
    COVProperties3* synthTextures_;
    COVProperties4* preferences_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
};
