#pragma once
// The project properties sheet: "Project Settings" (map colours), "Project Properties" (SCASM
// output options), "Menu Items" and "Macro items" (the FS items).

#include <QDialog>

class CDibDoc;
class FsItemsPage;
class ProjectOutputPage;
class ProjectSettingsPage;
class QPushButton;
class QTabWidget;

class ProjectPropertiesSheet : public QDialog {
    Q_OBJECT
public:
    explicit ProjectPropertiesSheet(CDibDoc& doc, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    ProjectSettingsPage* settings() const { return settings_; }
    ProjectOutputPage* output() const { return output_; }
    FsItemsPage* menuItems() const { return menuItems_; }
    FsItemsPage* macroItems() const { return macroItems_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }

private:
    bool applyPages();

    CDibDoc& doc_;
    QTabWidget* tabs_;
    ProjectSettingsPage* settings_;
    ProjectOutputPage* output_;
    FsItemsPage* menuItems_;
    FsItemsPage* macroItems_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
    bool changed_ = false;
};
