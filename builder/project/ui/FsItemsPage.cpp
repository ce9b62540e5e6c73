#include "project/ui/FsItemsPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "project/CDibDoc.h"
#include "project/FsItemEdits.h"

FsItemsPage::FsItemsPage(CDibDoc& doc, Kind kind, QWidget* parent)
    : QWidget(parent), doc_(doc), kind_(kind), list_(new QTreeWidget(this)), delete_(new QToolButton(this))
{
    const bool menus = kind_ == Kind::MenuPositions;
    list_->setObjectName(QStringLiteral("items"));
    list_->setColumnCount(1);
    list_->setHeaderLabels({menus ? QStringLiteral("Position Name") : QStringLiteral("Macro Name")});
    list_->header()->resizeSection(0, 100);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setStyleSheet(QStringLiteral("QTreeWidget::item { border-bottom: 1px solid palette(mid); }"));

    auto* buttons = new QHBoxLayout;
    // The first two buttons of the classic page have no action; they are shown disabled.
    for (QStyle::StandardPixmap icon : {QStyle::SP_FileDialogNewFolder, QStyle::SP_FileDialogDetailedView}) {
        auto* idle = new QToolButton(this);
        idle->setIcon(style()->standardIcon(icon));
        idle->setEnabled(false);
        buttons->addWidget(idle);
    }
    delete_->setObjectName(QStringLiteral("deleteItem"));
    delete_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    delete_->setToolTip(QStringLiteral("Delete the selected item"));
    buttons->addWidget(delete_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    if (menus) {
        title_ = new QLineEdit(this);
        title_->setObjectName(QStringLiteral("menuTitle"));
        // The title belongs to the first item; it is shown here, not edited.
        title_->setReadOnly(true);
        auto* titleRow = new QHBoxLayout;
        titleRow->addWidget(new QLabel(QStringLiteral("Position Menu Title"), this));
        titleRow->addWidget(title_, 1);
        layout->addLayout(titleRow);
    }
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    auto* note = new QLabel(QStringLiteral("\nUnchecked items will be saved with the project, but will not appear in "
                                           "the scenery. Only checked items will be included in the scenery file. "),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);

    connect(delete_, &QToolButton::clicked, this, [this] { deleteSelected(); });
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_)
            takeCheckState(list_->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    refresh();
}

void FsItemsPage::refresh()
{
    filling_ = true;
    list_->clear();
    auto addRow = [this](const std::string& text, bool included) {
        auto* row = new QTreeWidgetItem(list_, QStringList(QString::fromStdString(text)));
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, included ? Qt::Checked : Qt::Unchecked);
    };
    if (kind_ == Kind::MenuPositions) {
        for (const FsMenuPositionItem& item : doc_.menuPositionItems)
            addRow(item.description, item.included);
        title_->setText(doc_.menuPositionItems.empty() ? QString()
                                                       : QString::fromStdString(doc_.menuPositionItems.front().title));
    } else {
        for (const FsMacroItem& item : doc_.macroItems)
            addRow(item.macroFile, item.included);
    }
    filling_ = false;
}

void FsItemsPage::deleteSelected()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = list_->indexOfTopLevelItem(selected.front());
    const bool deleted = kind_ == Kind::MenuPositions ? deleteMenuPositionItem(doc_, row) : deleteMacroItem(doc_, row);
    if (deleted) {
        refresh();
        emit modified();
    }
}

void FsItemsPage::takeCheckState(int row, bool checked)
{
    const bool changed = kind_ == Kind::MenuPositions ? setMenuPositionItemIncluded(doc_, row, checked)
                                                      : setMacroItemIncluded(doc_, row, checked);
    if (changed)
        emit modified();
}
