#pragma once

#include <QDialog>
#include <array>
#include <string>

class QLabel;
class QPushButton;

/// "Catgen Instructions": six lines of guidance and an OK button, shown while Catgen runs.
class TForm2 : public QDialog {
  Q_OBJECT
public:
  explicit TForm2(QWidget* parent = nullptr);

  /// Fills the labels and shows the dialog modally, in front of other windows.
  void run(const std::array<std::string, 6>& labels);

  QLabel* Label[6];
  QPushButton* Button1;

protected:
  void showEvent(QShowEvent* event) override;
};
