#pragma once

#include <QDialog>
#include <array>
#include <string>

class QLabel;
class QPushButton;

/// "Catgen Instructions": six lines of guidance and an OK button, shown while Catgen runs.
class CatgenInstructionsDialog : public QDialog {
  Q_OBJECT
public:
  explicit CatgenInstructionsDialog(QWidget* parent = nullptr);

  /// Fills the labels and shows the dialog modally, in front of other windows.
  void run(const std::array<std::string, 6>& labels);

  QLabel* Label[6];
  QPushButton* Button1;

protected:
  void showEvent(QShowEvent* event) override;
};
