#pragma once
// The progress window of every long operation: modeless, keeps its owner window disabled while
// it is open, and lets pending events run at every update so the screen stays painted. Cancel
// shows only once the operation has asked for it: one that never asks cannot stop.

#include <QDialog>
#include <QPointer>

#include "base/ProgressWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

class ProgressDialog : public QDialog, public ProgressWindow {
    Q_OBJECT
public:
    static constexpr const char* kDefaultCaption = "Please Wait...";

    /// An empty caption gives "Please Wait...".
    explicit ProgressDialog(const std::string& caption = std::string());
    /// Destroy: enables the owner again when this window disabled it.
    ~ProgressDialog() override;

    /// Takes the owner's top-level window (the active window when `owner` is null), disables it
    /// when it is enabled and remembers to enable it again, then shows this window over it.
    bool Create(QWidget* owner);
    /// Closes the window and enables the owner again; safe to call twice.
    void Destroy();

    bool parentDisabled() const { return parentDisabled_; }
    QWidget* disabledOwner() const { return owner_; }

    /// The texts shown, for tests and callers.
    QString percentLabelText() const;
    QString statusLabelText() const;
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progressBar() const { return bar_; }

protected:
    void onRangeChanged() override;
    void onPositionChanged() override;
    void onTextChanged() override;
    void pump() override;
    void onCancelAsked() override;
    /// Escape and the close button must not end the operation's window; they count as Cancel.
    void reject() override;

private:
    /// Wide enough for the caption in the title bar and the status line, never narrower than 300.
    void fitToTexts();

    QProgressBar* bar_ = nullptr;
    QLabel* percent_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPointer<QWidget> owner_;
    bool parentDisabled_ = false;
};
