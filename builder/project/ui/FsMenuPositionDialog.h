#pragma once
// "FS Menu Position Item": a named aircraft position at the point picked on the map. OK checks
// the ranges and appends the item to the project; Cancel adds nothing.

#include <QDialog>

class CDibDoc;
class QLineEdit;

class FsMenuPositionDialog : public QDialog {
    Q_OBJECT
public:
    explicit FsMenuPositionDialog(CDibDoc& doc, QWidget* parent = nullptr);

    QLineEdit* field(const char* objectName) const;

public slots:
    void accept() override;

private:
    CDibDoc& doc_;
};
