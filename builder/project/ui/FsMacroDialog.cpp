#include "project/ui/FsMacroDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/PathUtil.h"
#include "base/Platform.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

FsMacroDialog::FsMacroDialog(CDibDoc& doc, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      macroFile_(new QLineEdit(this)),
      browse_(new QPushButton(QStringLiteral("Browse..."), this))
{
    setWindowTitle(QStringLiteral("FS Macro Item"));
    setModal(true);
    macroFile_->setObjectName(QStringLiteral("macroFile"));
    macroFile_->setReadOnly(true);
    macroFile_->setEnabled(false);
    browse_->setObjectName(QStringLiteral("browse"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Macro File"), this));
    fileRow->addWidget(macroFile_, 1);
    fileRow->addWidget(browse_);

    auto* rows = new QGridLayout;
    for (std::size_t i = 0; i < kMacroParameterRows; ++i) {
        labels_[i] = new QLabel(QString::number(i + 1), this);
        labels_[i]->setObjectName(QStringLiteral("parameterLabel%1").arg(i + 1));
        labels_[i]->setMinimumWidth(60);
        values_[i] = new QLineEdit(this);
        values_[i]->setObjectName(QStringLiteral("parameterValue%1").arg(i + 1));
        rows->addWidget(labels_[i], static_cast<int>(i), 0);
        rows->addWidget(values_[i], static_cast<int>(i), 1);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FsMacroDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, [this] { browse(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(rows);
    layout->addWidget(buttons);
    resetRows();
}

void FsMacroDialog::resetRows()
{
    for (std::size_t i = 0; i < kMacroParameterRows; ++i) {
        labels_[i]->clear();
        values_[i]->clear();
        values_[i]->setEnabled(false);
    }
    parameterValues_.clear();
}

void FsMacroDialog::browse()
{
    resetRows();
    FileDialogOptions options;
    options.title = "Select Macro file name:";
    options.filter = "SCM files (*.scm)|*.scm|SCA files (*.sca)|*.sca|API files (*.api)|*.api|All Files (*.*)|*.*||";
    options.initialDir = doc_.app.settings.applicationPath;
    options.mustExist = true;
    const std::optional<std::string> path = doc_.app.platform.openFileDialog(options);
    if (!path)
        return;
    macroFile_->setText(QString::fromStdString(PathUtil::fileName(*path)));
    macroFile_->setEnabled(true);
    readMacroFile(*path);
}

void FsMacroDialog::readMacroFile(const std::string& path)
{
    Platform& platform = doc_.app.platform;
    const std::optional<MacroParameters> parameters = readMacroParameters(path);
    if (!parameters) {
        platform.message("Couldn't read that file.", MsgIcon::Exclamation);
        return;
    }
    if (!parameters->recognised) {
        platform.message("This Macro has improper syntax and it cannot be recognized.", MsgIcon::Stop);
        return;
    }
    for (const std::string& name : parameters->names)
        parameterValues_.push_back(macroParameterDefault(name, doc_));
    for (std::size_t i = 0; i < parameters->names.size() && i < kMacroParameterRows; ++i) {
        values_[i]->setEnabled(true);
        labels_[i]->setText(QString::fromStdString(parameters->names[i]));
        values_[i]->setText(QString::fromStdString(parameterValues_[i]));
    }
    if (parameters->names.size() > kMacroParameterRows)
        platform.message("This macro has " + std::to_string(parameters->names.size()) +
                             " parameters. The first ten can be edited here; the others keep their "
                             "starting values.",
                         MsgIcon::Information);
}

void FsMacroDialog::accept()
{
    const std::string file = macroFile_->text().toStdString();
    if (std::optional<std::string> error = macroFileNameError(file)) {
        doc_.app.platform.message(*error, MsgIcon::Exclamation);
        return;
    }
    std::vector<std::string> values = parameterValues_;
    for (std::size_t i = 0; i < values.size() && i < kMacroParameterRows; ++i)
        values[i] = values_[i]->text().toStdString();
    addMacroItem(doc_, file, std::move(values));
    QDialog::accept();
}
