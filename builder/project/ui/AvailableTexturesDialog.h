#pragma once
// "Available Textures...": the synthetic texture library as a tree grouped by class name, with a
// preview of the selected texture. Its result is the library index of the selection.

#include <QDialog>

class AppContext;
class QButtonGroup;
class QTreeWidget;
class QTreeWidgetItem;

class AvailableTexturesDialog : public QDialog {
    Q_OBJECT
public:
    explicit AvailableTexturesDialog(AppContext& app, QWidget* parent = nullptr);

    /// The library index of the selected texture; -1 when a group node or nothing is selected.
    long selectedIndex() const;
    QTreeWidget* tree() const { return tree_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void select(QTreeWidgetItem* item);

    AppContext& app_;
    QTreeWidget* tree_;
    QWidget* preview_;
    QButtonGroup* matching_;
    long index_;
};
