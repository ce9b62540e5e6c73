#pragma once
// The Boundary Area dialog: shows the project boundary as coordinate texts and, on OK, stores the
// texts back, recomputes the scenery size and warns when the texture is too coarse for it.

#include <QDialog>

class CDibDoc;
class QLineEdit;

class BoundaryAreaDlg : public QDialog {
    Q_OBJECT
public:
    explicit BoundaryAreaDlg(CDibDoc& doc, QWidget* parent = nullptr);

    QLineEdit* northEdit() const { return north_; }
    QLineEdit* southEdit() const { return south_; }
    QLineEdit* eastEdit() const { return east_; }
    QLineEdit* westEdit() const { return west_; }

public slots:
    void accept() override;

private:
    CDibDoc& doc_;
    QLineEdit* north_;
    QLineEdit* south_;
    QLineEdit* east_;
    QLineEdit* west_;
};
