#include "wizards/ui/SynthWizardGridPage.h"

#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "project/CDibDoc.h"
#include "synth/SyntheticScenery.h"
#include "wizards/ui/SynthGridPreview.h"
#include "wizards/ui/SynthWizard.h"
#include "wizards/ui/SynthWizardTexts.h"

SynthWizardGridPage::SynthWizardGridPage(SynthWizard& wizard) : QWizardPage(&wizard), wizard_(wizard)
{
    setObjectName("SynthWizardGridPage");
    setTitle(SynthWizardTexts::kPage1Title);

    auto makeEdit = [this](const char* name) {
        auto* edit = new QLineEdit("1", this);
        edit->setObjectName(name);
        edit->setValidator(new QIntValidator(0, kMaxSynthGridSide, edit));
        return edit;
    };
    columns_ = makeEdit("columns");
    rows_ = makeEdit("rows");
    auto* form = new QFormLayout;
    form->addRow("Columns", columns_);
    form->addRow("Rows", rows_);

    preview_ = new SynthGridPreview(this);
    preview_->setObjectName("gridPreview");

    auto* text = new QLabel(SynthWizardTexts::kGrid, this);
    text->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(preview_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(text);

    connect(columns_, &QLineEdit::textChanged, this, &SynthWizardGridPage::edited);
    connect(rows_, &QLineEdit::textChanged, this, &SynthWizardGridPage::edited);
    edited();
}

int SynthWizardGridPage::columns() const { return columns_->text().toInt(); }
int SynthWizardGridPage::rows() const { return rows_->text().toInt(); }

void SynthWizardGridPage::edited()
{
    CDibDoc& doc = wizard_.document();
    doc.chunkColumns = columns();
    doc.chunkRows = rows();
    preview_->setGrid(columns(), rows());
    emit completeChanged();
}

bool SynthWizardGridPage::isComplete() const
{
    return columns() > 0 && rows() > 0;
}

bool SynthWizardGridPage::validatePage()
{
    wizard_.setGrid(columns(), rows());
    CDibDoc& doc = wizard_.document();
    doc.chunkColumns = columns();
    doc.chunkRows = rows();
    return true;
}
