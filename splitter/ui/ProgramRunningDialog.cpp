#include "ui/ProgramRunningDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ProgramRunningDialog::ProgramRunningDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("ProgramRunningDialog"));
  setWindowModality(Qt::ApplicationModal);
  RunningLabel = new QLabel(this);
  RunningLabel->setObjectName(QStringLiteral("RunningLabel"));
  NoteLabel = new QLabel(this);
  NoteLabel->setObjectName(QStringLiteral("NoteLabel"));
  NoteLabel->setWordWrap(true);
  Stop = new QPushButton(QStringLiteral("Stop"), this);
  Stop->setObjectName(QStringLiteral("Stop"));
  connect(Stop, &QPushButton::clicked, this, &ProgramRunningDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(RunningLabel);
  layout->addWidget(NoteLabel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Stop);
  buttons->addStretch();
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgramRunningDialog::begin(const std::string& title, const std::string& note) {
  stopClicked_ = false;
  setWindowTitle(QString::fromStdString(title));
  RunningLabel->setText(QString::fromStdString(title) + QStringLiteral(" is running"));
  NoteLabel->setText(QString::fromStdString(note));
  NoteLabel->setMaximumWidth(note.empty() ? QWIDGETSIZE_MAX : 420);  // a long folder name wraps
  NoteLabel->setVisible(!note.empty());
  Stop->setEnabled(true);
  show();
  raise();
}

void ProgramRunningDialog::end() { hide(); }

void ProgramRunningDialog::reject() {
  stopClicked_ = true;
  Stop->setEnabled(false);
}
