#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

/// The small note shown while an outside program runs: "SCASM is running", a note of its own
/// when there is one (wine's first start) and a Stop button. It is application-modal, so
/// nothing else can be started meanwhile; closing it asks for a stop as the button does.
class ProgramRunningDialog : public QDialog {
  Q_OBJECT
public:
  explicit ProgramRunningDialog(QWidget* parent = nullptr);

  /// Shows the note for `title` (e.g. "SCASM") with `note` (may be empty), without waiting.
  void begin(const std::string& title, const std::string& note);
  void end();
  bool stopClicked() const { return stopClicked_; }

  /// Escape or the frame's close: asks for the stop; the note stays until the program ended.
  void reject() override;

  QLabel* RunningLabel;
  QLabel* NoteLabel;
  QPushButton* Stop;

private:
  bool stopClicked_ = false;
};
