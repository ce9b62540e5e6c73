#include "app/ui/PreferencesSynthTexturesPage.h"

#include <algorithm>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "base/Platform.h"
#include "synth/TextureLibrary.h"

namespace {
// The last accepted name of a row: an in-place edit that ends empty falls back to it.
constexpr int kNameRole = Qt::UserRole;
} // namespace

PreferencesSynthTexturesPage::PreferencesSynthTexturesPage(AppContext& app, QWidget* parent)
    : PreferencesPage(app, QStringLiteral("Synth Textures"), parent),
      loadOnOpen_(new QCheckBox(QStringLiteral("Load on open"), this)),
      list_(new QTreeWidget(this)),
      scan_(new QPushButton(QStringLiteral("Scan Textures"), this)),
      selectNone_(new QPushButton(QStringLiteral("Select none"), this)),
      selectAll_(new QPushButton(QStringLiteral("Select all"), this))
{
    loadOnOpen_->setToolTip(QStringLiteral("Load the textures when Orvane starts up"));
    list_->setRootIsDecorated(false);
    list_->header()->setStretchLastSection(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Editing starts only from a double-click on the row (handled below), never on a single click.
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid palette(mid); "
                                        "border-bottom: 1px solid palette(mid); }"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(scan_);
    buttons->addStretch();
    buttons->addWidget(selectNone_);
    buttons->addWidget(selectAll_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(loadOnOpen_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(loadOnOpen_, &QCheckBox::toggled, this, [this] { emit modified(); });
    connect(selectNone_, &QPushButton::clicked, this, [this] { checkAll(false); });
    connect(selectAll_, &QPushButton::clicked, this, [this] { checkAll(true); });
    connect(scan_, &QPushButton::clicked, this, &PreferencesSynthTexturesPage::scanTextures);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { list_->editItem(item, 0); });
    connect(list_, &QTreeWidget::itemChanged, this, &PreferencesSynthTexturesPage::rowChanged);
}

void PreferencesSynthTexturesPage::loadFromSettings()
{
    loadOnOpen_->blockSignals(true);
    loadOnOpen_->setChecked(app_.settings.loadTexturesOnOpen != 0);
    loadOnOpen_->blockSignals(false);
    fillList();
}

void PreferencesSynthTexturesPage::fillList()
{
    filling_ = true;
    list_->clear();
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Index")});
    list_->setColumnWidth(0, 180);
    list_->setColumnWidth(1, 60);
    for (const TextureClass& textureClass : app_.settings.textureClasses) {
        auto* item = new QTreeWidgetItem(list_);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
        const QString name = QString::fromStdString(textureClass.name);
        item->setText(0, name);
        item->setData(0, kNameRole, name);
        item->setText(1, QString::number(textureClass.code));
        item->setCheckState(0, textureClass.enabled ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
}

void PreferencesSynthTexturesPage::rowChanged(QTreeWidgetItem* item, int column)
{
    if (filling_)
        return;
    if (column == 0) {
        const QString text = item->text(0);
        filling_ = true;
        if (text.isEmpty())
            item->setText(0, item->data(0, kNameRole).toString());
        else
            item->setData(0, kNameRole, text);
        filling_ = false;
    }
    listChanged_ = true;
    emit modified();
}

void PreferencesSynthTexturesPage::checkAll(bool checked)
{
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        list_->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void PreferencesSynthTexturesPage::scanTextures()
{
    const MsgAnswer answer = app_.platform.message(
        "Re-scanning for texture types will erase the names and color codes of the present texture set. Proceed?",
        MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes)
        return;
    filling_ = true;
    list_->clear();
    list_->setColumnCount(0);
    filling_ = false;
    // The re-scan acts on the settings at once; Cancel does not bring the old classes back.
    const bool rescanned = rescanTextureClasses(app_);
    fillList();
    listChanged_ = true;
    if (rescanned)
        emit classesRescanned();
    emit modified();
}

void PreferencesSynthTexturesPage::writeSettings()
{
    AppSettings& s = app_.settings;
    s.loadTexturesOnOpen = loadOnOpen_->isChecked() ? 1 : 0;
    const int rows = std::min(list_->topLevelItemCount(), static_cast<int>(s.textureClasses.size()));
    for (int i = 0; i < rows; ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        TextureClass& textureClass = s.textureClasses[static_cast<std::size_t>(i)];
        textureClass.enabled = item->checkState(0) == Qt::Checked ? 1 : 0;
        textureClass.name = item->text(0).toStdString();
    }
    if (listChanged_)
        loadTextureLibrary(app_);
}
