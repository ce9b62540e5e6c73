#include "project/ui/ChunkSyntheticPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "imagery/ui/BitmapPainter.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ui/TextureTree.h"
#include "synth/ChunkNeighbours.h"
#include "synth/SynthRandom.h"
#include "synth/SyntheticScenery.h"
#include "synth/TextureLinks.h"

namespace {

// Three 64-pixel cells a side.
constexpr int kCell = 64;

QButtonGroup* radioGroup(QWidget* parent, QVBoxLayout* layout, std::initializer_list<const char*> texts)
{
    auto* group = new QButtonGroup(parent);
    int id = 0;
    for (const char* text : texts) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), parent);
        group->addButton(radio, id++);
        layout->addWidget(radio);
    }
    group->button(0)->setChecked(true);
    return group;
}

} // namespace

ChunkSyntheticPage::ChunkSyntheticPage(CDibDoc& doc, int chunkIndex, std::unique_ptr<SynthRandom> random,
                                       QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      chunk_(chunkIndex),
      random_(random ? std::move(random) : std::make_unique<SynthRandom>(SynthRandom::fromTime())),
      tree_(new QTreeWidget(this)),
      showGrid_(new QCheckBox(QStringLiteral("Show Grid"), this)),
      updateView_(new QCheckBox(QStringLiteral("Update View"), this)),
      preview_(new QWidget(this))
{
    tree_->setObjectName(QStringLiteral("textureTree"));
    tree_->setHeaderHidden(true);
    preview_->setObjectName(QStringLiteral("neighbourhoodPreview"));
    preview_->setFixedSize(3 * kCell, 3 * kCell);
    showGrid_->setObjectName(QStringLiteral("showGrid"));
    updateView_->setObjectName(QStringLiteral("updateView"));

    // The neighbourhood and its links as they are now, so Cancel can put them back.
    for (int position = 0; position < 9; ++position) {
        neighbours_[static_cast<std::size_t>(position)] = ChunkNeighbours::neighbourIndex(doc_, chunk_, position);
        const long index = neighbours_[static_cast<std::size_t>(position)];
        recorded_[static_cast<std::size_t>(position)] =
            index >= 0 ? doc_.chunks[static_cast<std::size_t>(index)].texture : nullptr;
    }

    auto* filterBox = new QGroupBox(this);
    auto* filterLayout = new QVBoxLayout(filterBox);
    filter_ = radioGroup(filterBox, filterLayout, {"Show all available", "Show same type", "Show strict fit"});
    auto* matchBox = new QGroupBox(this);
    auto* matchLayout = new QVBoxLayout(matchBox);
    matching_ = radioGroup(matchBox, matchLayout, {"No Matching", "Matching", "Adjust Adjacent"});

    auto* side = new QVBoxLayout;
    side->addWidget(preview_);
    side->addWidget(filterBox);
    side->addWidget(matchBox);
    side->addWidget(showGrid_);
    side->addWidget(updateView_);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(side);

    rebuildTree();
    connect(filter_, &QButtonGroup::idClicked, this, [this] { rebuildTree(); });
    connect(showGrid_, &QCheckBox::toggled, this, [this] { update(); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            choose(item);
    });
}

ChunkSyntheticPage::~ChunkSyntheticPage() = default;

void ChunkSyntheticPage::rebuildTree()
{
    const Texture* current = recorded_[ChunkNeighbours::Self];
    const int filter = filter_->checkedId();
    fillTextureTree(*tree_, doc_.app, [current, filter](const Texture& t) {
        if (filter == 0)
            return true;
        const std::int32_t code = current ? current->classCode : -1;
        if (filter == 1)
            return t.classCode == code;
        return t.classCode == code && current && t.eastClassCode == current->eastClassCode &&
               t.southClassCode == current->southClassCode;
    });
    tree_->expandAll();
}

void ChunkSyntheticPage::restoreLinks()
{
    for (std::size_t position = 0; position < 9; ++position) {
        const long index = neighbours_[position];
        if (index >= 0)
            linkChunkToTexture(doc_.chunks[static_cast<std::size_t>(index)], recorded_[position]);
    }
}

void ChunkSyntheticPage::choose(QTreeWidgetItem* item)
{
    if (chunk_ < 0 || static_cast<std::size_t>(chunk_) >= doc_.chunks.size())
        return;
    // Only the last choice's links remain.
    restoreLinks();
    const long index = textureIndexOfItem(doc_.app, item);
    if (index >= 0 && static_cast<std::size_t>(index) < doc_.app.textureLibrary.size()) {
        linkChunkTexture(doc_.app, doc_.chunks[static_cast<std::size_t>(chunk_)], index);
        if (matching_->checkedId() == 1)
            matchNeighbours(doc_, chunk_, *random_);
    }
    update();
    if (updateView_->isChecked())
        doc_.repaintViews();
    emit modified();
}

void ChunkSyntheticPage::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    const QRect frame = preview_->geometry();
    // Positions 6 7 8 on top, 0 1 2 at the bottom: north is up.
    for (int position = 0; position < 9; ++position) {
        const QRect cell(frame.left() + (position % 3) * kCell, frame.top() + (2 - position / 3) * kCell, kCell, kCell);
        const long index = neighbours_[static_cast<std::size_t>(position)];
        const Texture* texture = index >= 0 ? doc_.chunks[static_cast<std::size_t>(index)].texture : nullptr;
        if (texture && texture->image)
            BitmapPainter::paint(painter, cell, *texture->image, {0, 0, texture->width, texture->height},
                                 texture->palette ? &*texture->palette : nullptr);
        else
            painter.fillRect(cell, index >= 0 ? Qt::darkGray : Qt::lightGray);
        if (showGrid_->isChecked()) {
            painter.setPen(position == ChunkNeighbours::Self ? Qt::red : Qt::white);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
}
