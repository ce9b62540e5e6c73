#include "wizards/ui/SynthWizardClassesPage.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/Platform.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "wizards/ui/SynthWizard.h"
#include "wizards/ui/SynthWizardTexts.h"

SynthWizardClassesPage::SynthWizardClassesPage(SynthWizard& wizard) : QWizardPage(&wizard), wizard_(wizard)
{
    setObjectName("SynthWizardClassesPage");
    setTitle(SynthWizardTexts::kPage3Title);

    list_ = new QTableWidget(0, 2, this);
    list_->setObjectName("classList");
    list_->setHorizontalHeaderLabels({"Name", "Index"});
    list_->setColumnWidth(0, 100);
    list_->setColumnWidth(1, 60);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const TextureClass& textureClass : wizard.document().app.settings.textureClasses) {
        if (!textureClass.enabled)
            continue;
        const int row = list_->rowCount();
        list_->insertRow(row);
        auto* name = new QTableWidgetItem(QString::fromStdString(textureClass.name));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        name->setCheckState(Qt::Unchecked);
        list_->setItem(row, 0, name);
        auto* index = new QTableWidgetItem(QString::number(textureClass.code));
        index->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        list_->setItem(row, 1, index);
    }

    auto* text = new QLabel(SynthWizardTexts::kClasses, this);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(text);
}

bool SynthWizardClassesPage::validatePage()
{
    selection_.clear();
    for (int row = 0; row < list_->rowCount(); ++row)
        if (list_->item(row, 0)->checkState() == Qt::Checked)
            selection_.push_back(list_->item(row, 1)->text().toInt());
    if (selection_.empty()) {
        wizard_.document().app.platform.message(SynthWizardTexts::kNoGroupSelected, MsgIcon::Exclamation);
        return false;
    }
    return true;
}
