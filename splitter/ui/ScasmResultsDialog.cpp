#include "ui/ScasmResultsDialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ScasmResultsDialog::ScasmResultsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("ScasmResultsDialog"));
  setWindowTitle(QStringLiteral("Scasm Results"));
  auto* label = new QLabel(QStringLiteral("SCAERROR.LOG"), this);
  ScasmResults = new QPlainTextEdit(this);
  ScasmResults->setObjectName(QStringLiteral("ScasmResults"));
  ScasmResults->setReadOnly(true);
  ScasmResults->setLineWrapMode(QPlainTextEdit::NoWrap);
  ScasmResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));  // the log lines up in columns
  QPalette pal = ScasmResults->palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Button));
  ScasmResults->setPalette(pal);

  Stp = new QPushButton(QStringLiteral("Stop"), this);
  Stp->setObjectName(QStringLiteral("Stp"));
  Cont = new QPushButton(QStringLiteral("Continue"), this);
  Cont->setObjectName(QStringLiteral("Cont"));
  connect(Stp, &QPushButton::clicked, this, &QDialog::reject);
  connect(Cont, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Stp);
  buttons->addWidget(Cont);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(ScasmResults, 1);
  layout->addLayout(buttons);
  setFixedSize(560, 380);  // a dialog border: not resizable
}

bool ScasmResultsDialog::run(const std::vector<std::string>& log, bool continueEnabled) {
  ScasmResults->clear();
  QStringList lines;
  for (const std::string& line : log) lines << QString::fromStdString(line);
  ScasmResults->setPlainText(lines.join(QLatin1Char('\n')));
  // An empty box alone leaves the user wondering whether anything ran.
  ScasmResults->setPlaceholderText(!log.empty()       ? QString()
                                   : continueEnabled ? QStringLiteral("Scasm reported no errors (it wrote no SCAERROR.LOG).")
                                                     : QStringLiteral("Scasm wrote no SCAERROR.LOG."));
  Cont->setEnabled(continueEnabled);
  // Enter takes the way the run suggests: on after a clean run, stop after an error.
  QPushButton* preferred = continueEnabled ? Cont : Stp;
  Cont->setDefault(continueEnabled);
  Stp->setDefault(!continueEnabled);
  preferred->setFocus();
  const bool goOn = exec() == QDialog::Accepted;
  Cont->setEnabled(true);
  return goOn;
}
