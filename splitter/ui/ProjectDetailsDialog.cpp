#include "ui/ProjectDetailsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kHintChecked =
    "Check to ddd a ' character to beginning and end of section.\n ie. 'NECS'. Default: Checked";
const char* const kHintUnchecked =
    "Check to ddd a ' character to beginning and end of section.\n ie. 'NECS'. Default: Unchecked";
}  // namespace

ProjectDetailsDialog::ProjectDetailsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ProjectDetailsDialog"));
  setWindowTitle(QStringLiteral("Enter project details"));

  auto* panel1 = new QGroupBox(this);
  auto* row1 = new QHBoxLayout(panel1);
  row1->addWidget(new QLabel(QStringLiteral("Library object name:"), panel1));
  row1->addWidget(new QLabel(QStringLiteral("LibObj( 0 20 0 0 0 101 0 0 0  \""), panel1));
  LibObjNameBox = new QLineEdit(panel1);
  LibObjNameBox->setObjectName(QStringLiteral("LibObjNameBox"));
  LibObjNameBox->setMaxLength(static_cast<int>(ProjectDetails::kMaxNameLength));
  row1->addWidget(LibObjNameBox, 1);
  row1->addWidget(new QLabel(QStringLiteral("\" ) "), panel1));

  auto* panel2 = new QGroupBox(this);
  auto* grid = new QGridLayout(panel2);
  grid->addWidget(new QLabel(QStringLiteral("Library object ID:"), panel2), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("LibID( "), panel2), 0, 1);
  for (int k = 0; k < 4; ++k) {
    LibIdBox[k] = new QLineEdit(panel2);
    LibIdBox[k]->setObjectName(QStringLiteral("LibIdBox_%1").arg(k + 1));
    LibIdBox[k]->setMaxLength(static_cast<int>(ProjectDetails::kMaxIdLength));
    grid->addWidget(LibIdBox[k], 0, 2 + k);
    QT[k] = new QCheckBox(QStringLiteral("quoted"), panel2);
    QT[k]->setObjectName(QStringLiteral("QT%1").arg(k + 1));
    QT[k]->setToolTip(QString::fromLatin1(k < 2 ? kHintChecked : kHintUnchecked));
    grid->addWidget(QT[k], 1, 2 + k);
  }
  grid->addWidget(new QLabel(QStringLiteral(" )"), panel2), 0, 6);

  LibIdUndo = new QPushButton(QStringLiteral("Undo"), this);
  LibIdUndo->setObjectName(QStringLiteral("LibIdUndo"));
  LibIdOk = new QPushButton(QStringLiteral("Ok"), this);
  LibIdOk->setObjectName(QStringLiteral("LibIdOk"));
  LibIdOk->setDefault(true);
  connect(LibIdUndo, &QPushButton::clicked, this, &ProjectDetailsDialog::LibIdUndoClick);
  connect(LibIdOk, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(LibIdUndo);
  buttons->addWidget(LibIdOk);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel1);
  layout->addWidget(panel2);
  layout->addLayout(buttons);
}

void ProjectDetailsDialog::setDetails(const ProjectDetails& d) {
  LibObjNameBox->setText(QString::fromStdString(d.objectName));
  for (int k = 0; k < 4; ++k) {
    LibIdBox[k]->setText(QString::fromStdString(d.ids[static_cast<std::size_t>(k)]));
    QT[k]->setChecked(d.quoted[static_cast<std::size_t>(k)]);
  }
}

ProjectDetails ProjectDetailsDialog::details() const {
  ProjectDetails d;
  d.objectName = LibObjNameBox->text().toStdString();
  for (int k = 0; k < 4; ++k) {
    d.ids[static_cast<std::size_t>(k)] = LibIdBox[k]->text().toStdString();
    d.quoted[static_cast<std::size_t>(k)] = QT[k]->isChecked();
  }
  return d;
}

void ProjectDetailsDialog::showEvent(QShowEvent* event) {
  shown_ = details();
  QDialog::showEvent(event);
}

void ProjectDetailsDialog::LibIdUndoClick() { setDetails(shown_); }
