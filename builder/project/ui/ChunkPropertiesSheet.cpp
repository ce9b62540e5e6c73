#include "project/ui/ChunkPropertiesSheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/ui/PropertySheetLayout.h"
#include "project/CDibDoc.h"
#include "project/ui/ChunkGeneralPage.h"
#include "project/ui/ChunkSyntheticPage.h"
#include "project/ui/ChunkTexturePage.h"

ChunkPropertiesSheet::ChunkPropertiesSheet(CDibDoc& doc, std::vector<int> selection, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      tabs_(new QTabWidget(this)),
      general_(new ChunkGeneralPage(doc, selection, this)),
      texture_(new ChunkTexturePage(doc, selection, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      apply_(new QPushButton(QStringLiteral("&Apply"), this))
{
    setWindowTitle(QStringLiteral("Orvane Chunk Properties"));
    setModal(true);
    tabs_->addTab(general_, QStringLiteral("General"));
    tabs_->addTab(texture_, QStringLiteral("Texture"));
    const int first = selection.empty() ? -1 : selection.front();
    if (first >= 0 && static_cast<std::size_t>(first) < doc_.chunks.size()) {
        const Texture* texture = doc_.chunks[static_cast<std::size_t>(first)].texture;
        if (texture && texture->kind == 0) {
            synthetic_ = new ChunkSyntheticPage(doc_, first, nullptr, this);
            tabs_->addTab(synthetic_, QStringLiteral("Synthetic"));
            connect(synthetic_, &ChunkSyntheticPage::modified, this, [this] {
                texture_->showTexture();
                apply_->setEnabled(true);
            });
        }
    }
    connect(general_, &ChunkGeneralPage::modified, this, [this] { apply_->setEnabled(true); });
    connect(texture_, &ChunkTexturePage::modified, this, [this] { apply_->setEnabled(true); });

    // A number that is not an integer keeps the sheet open.
    layOutCheckedPropertySheet(*this, tabs_, ok_, cancel_, apply_, [this] { return applyPages(); });
}

ChunkPropertiesSheet::~ChunkPropertiesSheet()
{
    // Flips and replacements took effect while the sheet was open, whatever closed it.
    doc_.setModified(true);
    doc_.repaintViews();
}

void ChunkPropertiesSheet::reject()
{
    if (synthetic_)
        synthetic_->restoreLinks();
    QDialog::reject();
}

bool ChunkPropertiesSheet::applyPages()
{
    if (!general_->apply())
        return false;
    texture_->apply();
    return true;
}

std::vector<int> ChunkPropertiesSheet::selectedChunks(const CDibDoc& doc)
{
    std::vector<int> selection;
    for (std::size_t i = 0; i < doc.chunks.size(); ++i)
        if (doc.chunks[i].selected)
            selection.push_back(static_cast<int>(i));
    return selection;
}
