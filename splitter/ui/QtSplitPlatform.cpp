#include "ui/QtSplitPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "ProjectDetails.h"
#include "ui/CatgenInstructionsDialog.h"
#include "ui/ProgramRunningDialog.h"
#include "ui/ScasmResultsDialog.h"
#include "ui/RunwayDialog.h"
#include "ui/ProjectDetailsDialog.h"

QtSplitPlatform::~QtSplitPlatform() {
  delete form6_.data();
  delete form4_.data();
  delete form3_.data();
  delete form2_.data();
  delete running_.data();
}

QString QtSplitPlatform::displayText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QStringList QtSplitPlatform::nameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString masks = parts[i + 1];
    masks.replace(QLatin1Char(';'), QLatin1Char(' '));
    masks = masks.trimmed();
    const QString description = parts[i].trimmed();
    // A description that already names its masks ("Runway Data Files (*.rwy)") is shown as it is.
    if (description.endsWith(QLatin1Char(')')) &&
        description.endsWith(QStringLiteral("(") + masks + QStringLiteral(")"), Qt::CaseInsensitive))
      out << description;
    else
      out << description + QStringLiteral(" (") + masks + QStringLiteral(")");
  }
  return out;
}

MessageAnswer QtSplitPlatform::message(const std::string& text, MessageType type, MessageButtons buttons) {
  QMessageBox box(mainWindow_);
  box.setWindowTitle(QApplication::applicationName());
  box.setText(displayText(text));
  switch (type) {
    case MessageType::Plain: box.setIcon(QMessageBox::NoIcon); break;
    case MessageType::Information: box.setIcon(QMessageBox::Information); break;
    case MessageType::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MessageType::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageType::Error: box.setIcon(QMessageBox::Critical); break;
  }
  switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::Cancel: box.setStandardButtons(QMessageBox::Cancel); break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
  }
}

std::optional<std::string> QtSplitPlatform::fileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(mainWindow_, QString::fromStdString(request.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (save && !request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = nameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.defaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  if (!request.initialDir.empty()) dialog.setDirectory(QString::fromStdString(request.initialDir));
  if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // Paths go on into messages and the configuration: in the form the system shows them.
  return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}

std::optional<std::string> QtSplitPlatform::openFile(const FileDialogRequest& request) {
  return fileDialog(request, false);
}

std::optional<std::string> QtSplitPlatform::saveFile(const FileDialogRequest& request) {
  return fileDialog(request, true);
}

ProjectDetailsDialog* QtSplitPlatform::projectDetailsDialog() {
  if (!form6_) form6_ = new ProjectDetailsDialog(mainWindow_);
  return form6_;
}

RunwayDialog* QtSplitPlatform::runwayDialog() {
  if (!form4_) form4_ = new RunwayDialog(*this, mainWindow_);
  return form4_;
}

ScasmResultsDialog* QtSplitPlatform::scasmResultsDialog() {
  if (!form3_) form3_ = new ScasmResultsDialog(mainWindow_);
  return form3_;
}

CatgenInstructionsDialog* QtSplitPlatform::catgenDialog() {
  if (!form2_) form2_ = new CatgenInstructionsDialog(mainWindow_);
  return form2_;
}

ProgramRunningDialog* QtSplitPlatform::runningDialog() {
  if (!running_) running_ = new ProgramRunningDialog(mainWindow_);
  return running_;
}

void QtSplitPlatform::programStarting(const ProgramRun& run) {
  QApplication::setOverrideCursor(Qt::BusyCursor);
  runningDialog()->begin(run.title, run.note);
  QCoreApplication::processEvents();
}

void QtSplitPlatform::whileRunning() { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }

bool QtSplitPlatform::stopRequested() { return running_ && running_->stopClicked(); }

void QtSplitPlatform::programEnded() {
  if (running_) running_->end();
  QApplication::restoreOverrideCursor();
}

void QtSplitPlatform::editProjectDetails(ProjectDetails& details) {
  ProjectDetailsDialog* dialog = projectDetailsDialog();
  dialog->setDetails(details);
  dialog->exec();
  details = dialog->details();
}

std::optional<std::vector<std::string>> QtSplitPlatform::addRunway(IniFile& config) {
  RunwayDialog* dialog = runwayDialog();
  dialog->setConfig(&config);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return dialog->addedLines();
}

bool QtSplitPlatform::showScasmResults(const std::vector<std::string>& log, bool continueEnabled) {
  return scasmResultsDialog()->run(log, continueEnabled);
}

void QtSplitPlatform::showCatgenInstructions(const std::array<std::string, 6>& labels) {
  if (mainWindow_) mainWindow_->hide();
  catgenDialog()->run(labels);
  if (mainWindow_) mainWindow_->show();
}

void QtSplitPlatform::beep() { QApplication::beep(); }

void QtSplitPlatform::processEvents() { QCoreApplication::processEvents(); }
