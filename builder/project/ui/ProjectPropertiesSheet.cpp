#include "project/ui/ProjectPropertiesSheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/ui/PropertySheetLayout.h"
#include "project/CDibDoc.h"
#include "project/ProjectOptionsEdit.h"
#include "project/ui/FsItemsPage.h"
#include "project/ui/ProjectOutputPage.h"
#include "project/ui/ProjectSettingsPage.h"

ProjectPropertiesSheet::ProjectPropertiesSheet(CDibDoc& doc, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      tabs_(new QTabWidget(this)),
      settings_(new ProjectSettingsPage(doc, this)),
      output_(new ProjectOutputPage(doc, this)),
      menuItems_(new FsItemsPage(doc, FsItemsPage::Kind::MenuPositions, this)),
      macroItems_(new FsItemsPage(doc, FsItemsPage::Kind::Macros, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("&Apply"), this))
{
    setWindowTitle(QStringLiteral("Project Properties"));
    setModal(true);
    tabs_->setUsesScrollButtons(false);
    tabs_->addTab(settings_, QStringLiteral("Project Settings"));
    tabs_->addTab(output_, QStringLiteral("Project Properties"));
    tabs_->addTab(menuItems_, QStringLiteral("Menu Items"));
    tabs_->addTab(macroItems_, QStringLiteral("Macro items"));
    auto enableApply = [this] {
        changed_ = true;
        apply_->setEnabled(true);
    };
    connect(settings_, &ProjectSettingsPage::modified, this, enableApply);
    connect(output_, &ProjectOutputPage::modified, this, enableApply);

    layOutCheckedPropertySheet(*this, tabs_, ok_, cancel_, apply_, [this] { return applyPages(); });
}

bool ProjectPropertiesSheet::applyPages()
{
    if (!changed_)
        return true;
    // One undoable edit for both pages; the modified mark follows the history.
    const bool applied = editProjectOptions(doc_, [this] {
        if (!output_->apply())
            return false;
        settings_->apply();
        return true;
    });
    if (!applied)
        return false;
    changed_ = false;
    doc_.repaintViews();
    return true;
}
