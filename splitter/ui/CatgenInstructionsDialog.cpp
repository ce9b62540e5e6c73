#include "ui/CatgenInstructionsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CatgenInstructionsDialog::CatgenInstructionsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("CatgenInstructionsDialog"));
  setWindowTitle(QStringLiteral("Catgen Instructions"));
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < 6; ++i) {
    Label[i] = new QLabel(this);
    Label[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    layout->addWidget(Label[i]);
  }
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a dialog border: fits its labels, not resizable
}

void CatgenInstructionsDialog::run(const std::array<std::string, 6>& labels) {
  for (int i = 0; i < 6; ++i) Label[i]->setText(QString::fromStdString(labels[static_cast<std::size_t>(i)]));
  exec();
  hide();
}

void CatgenInstructionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  raise();
  activateWindow();
}
