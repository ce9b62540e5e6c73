#pragma once
// "Menu Items" and "Macro items" pages of the project properties sheet: one checked row per FS
// item of the project. The third button deletes the selected item at once; a cleared box leaves
// the item in the project but out of the scenery, also at once.

#include <QWidget>

class CDibDoc;
class QLineEdit;
class QToolButton;
class QTreeWidget;

class FsItemsPage : public QWidget {
    Q_OBJECT
public:
    enum class Kind { MenuPositions, Macros };
    FsItemsPage(CDibDoc& doc, Kind kind, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QToolButton* deleteButton() const { return delete_; }
    QLineEdit* menuTitle() const { return title_; }

    /// Shows the project's items again.
    void refresh();

signals:
    void modified();

private:
    void deleteSelected();
    void takeCheckState(int row, bool checked);

    CDibDoc& doc_;
    Kind kind_;
    QTreeWidget* list_;
    QLineEdit* title_ = nullptr;
    QToolButton* delete_;
    bool filling_ = false;
};
