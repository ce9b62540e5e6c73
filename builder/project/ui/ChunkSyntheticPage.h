#pragma once
// "Synthetic" page of the chunk properties sheet: the chunk's 3 x 3 neighbourhood and the texture
// library, filtered by how well a texture fits. Choosing a texture links it at once (and with
// "Matching" re-chooses the neighbours); Cancel puts back the links the page found.

#include <QWidget>
#include <array>
#include <memory>

#include "synth/SynthRandom.h"

class CDibDoc;
class QButtonGroup;
class QCheckBox;
class QTreeWidget;
class QTreeWidgetItem;
class Texture;

class ChunkSyntheticPage : public QWidget {
    Q_OBJECT
public:
    /// `random` picks the neighbours' textures when matching; the page takes one seeded from
    /// the clock when none is given.
    ChunkSyntheticPage(CDibDoc& doc, int chunkIndex, std::unique_ptr<SynthRandom> random = nullptr,
                       QWidget* parent = nullptr);
    ~ChunkSyntheticPage() override;

    /// Cancel: every chunk of the neighbourhood gets back the texture it had when the page opened.
    void restoreLinks();

    QTreeWidget* tree() const { return tree_; }
    QButtonGroup* filterButtons() const { return filter_; }
    QButtonGroup* matchingButtons() const { return matching_; }
    QCheckBox* showGrid() const { return showGrid_; }
    QCheckBox* updateView() const { return updateView_; }
    /// Chunk index at each position 0-8 (4 is the chunk itself), -1 where there is none.
    const std::array<long, 9>& neighbourhood() const { return neighbours_; }

signals:
    void modified();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuildTree();
    void choose(QTreeWidgetItem* item);

    CDibDoc& doc_;
    int chunk_;
    std::unique_ptr<SynthRandom> random_;
    std::array<long, 9> neighbours_{};
    std::array<Texture*, 9> recorded_{};
    QTreeWidget* tree_;
    QButtonGroup* filter_;
    QButtonGroup* matching_;
    QCheckBox* showGrid_;
    QCheckBox* updateView_;
    QWidget* preview_;
};
