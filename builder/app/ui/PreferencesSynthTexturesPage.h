#pragma once
#include "app/ui/PreferencesPage.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

/// "Synth Textures": loading at start-up and the texture classes (names edited in place,
/// enabled by their check boxes), with the re-scan of the library folder.
class PreferencesSynthTexturesPage : public PreferencesPage {
    Q_OBJECT
public:
    explicit PreferencesSynthTexturesPage(AppContext& app, QWidget* parent = nullptr);

    QCheckBox* loadOnOpenBox() const { return loadOnOpen_; }
    QTreeWidget* classList() const { return list_; }
    QPushButton* scanButton() const { return scan_; }
    QPushButton* selectNoneButton() const { return selectNone_; }
    QPushButton* selectAllButton() const { return selectAll_; }
    /// Set when the page is created and whenever a row changes; OK reloads the library while set.
    bool listChanged() const { return listChanged_; }

signals:
    /// The class list was rebuilt from the folder (names and colours back at their defaults).
    void classesRescanned();

protected:
    void loadFromSettings() override;
    void writeSettings() override;

private:
    void fillList();
    void checkAll(bool checked);
    void scanTextures();
    void rowChanged(QTreeWidgetItem* item, int column);

    QCheckBox* loadOnOpen_;
    QTreeWidget* list_;
    QPushButton* scan_;
    QPushButton* selectNone_;
    QPushButton* selectAll_;
    bool listChanged_ = true;
    bool filling_ = false;
};
