#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

/// "Scasm Results": shows SCAERROR.LOG; Continue goes on, Stop (or any other close) stops.
class ScasmResultsDialog : public QDialog {
  Q_OBJECT
public:
  explicit ScasmResultsDialog(QWidget* parent = nullptr);

  /// Empties the memo, shows `log`, shows the dialog modally with Continue enabled or not and
  /// enables Continue again afterwards. True when closed by Continue.
  bool run(const std::vector<std::string>& log, bool continueEnabled);

  QPlainTextEdit* ScasmResults;
  QPushButton* Stp;
  QPushButton* Cont;
};
