#include "project/ui/AvailableTexturesDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "imagery/ui/BitmapPainter.h"
#include "project/AppContext.h"
#include "project/ui/TextureTree.h"

namespace {
// 64 x 64 dialog units of the classic dialog.
constexpr int kPreviewSize = 96;
} // namespace

AvailableTexturesDialog::AvailableTexturesDialog(AppContext& app, QWidget* parent)
    : QDialog(parent),
      app_(app),
      tree_(new QTreeWidget(this)),
      preview_(new QWidget(this)),
      matching_(new QButtonGroup(this)),
      index_(static_cast<long>(app.textureLibrary.size()))
{
    setWindowTitle(QStringLiteral("Available Textures..."));
    setModal(true);
    tree_->setObjectName(QStringLiteral("textureTree"));
    tree_->setHeaderHidden(true);
    preview_->setObjectName(QStringLiteral("texturePreview"));
    preview_->setFixedSize(kPreviewSize, kPreviewSize);
    fillTextureTree(*tree_, app_, [](const Texture&) { return true; });

    // The matching choice is kept for the user; only the chunk page's own choice matches.
    auto* choices = new QVBoxLayout;
    int id = 0;
    for (const char* text : {"No Matching", "Matching", "Adjust Adjacent"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), this);
        matching_->addButton(radio, id++);
        choices->addWidget(radio);
    }
    matching_->button(0)->setChecked(true);
    choices->addWidget(preview_);
    choices->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { select(item); });

    auto* top = new QHBoxLayout;
    top->addWidget(tree_, 1);
    top->addLayout(choices);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    resize(420, 320);
}

void AvailableTexturesDialog::select(QTreeWidgetItem* item)
{
    index_ = textureIndexOfItem(app_, item);
    update();
}

long AvailableTexturesDialog::selectedIndex() const
{
    return index_ >= 0 && static_cast<std::size_t>(index_) < app_.textureLibrary.size() ? index_ : -1;
}

void AvailableTexturesDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    const long index = selectedIndex();
    if (index < 0)
        return;
    const Texture& texture = *app_.textureLibrary[static_cast<std::size_t>(index)];
    if (!texture.image)
        return;
    QPainter painter(this);
    BitmapPainter::paint(painter, preview_->geometry(), *texture.image, {0, 0, texture.width, texture.height},
                         texture.palette ? &*texture.palette : nullptr);
}
