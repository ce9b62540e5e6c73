#pragma once

#include <QDialog>

#include "ProjectDetails.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

/// "Enter project details": the library object's name and id. It has no Cancel: however it
/// is closed, what stands in its boxes is used.
class ProjectDetailsDialog : public QDialog {
  Q_OBJECT
public:
  explicit ProjectDetailsDialog(QWidget* parent = nullptr);

  void setDetails(const ProjectDetails& details);
  /// What stands in the boxes now.
  ProjectDetails details() const;

  QLineEdit* LibObjNameBox;
  QLineEdit* LibIdBox[4];
  QCheckBox* QT[4];
  QPushButton* LibIdUndo;
  QPushButton* LibIdOk;

protected:
  /// FormShow: remembers the values shown, for Undo.
  void showEvent(QShowEvent* event) override;

private:
  void LibIdUndoClick();

  ProjectDetails shown_;
};
