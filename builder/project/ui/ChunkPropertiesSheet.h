#pragma once
// "Orvane Chunk Properties": the General and Texture pages for the chunks selected in the map
// view (and the Synthetic page when the first of them shows a library texture). However the sheet
// closes, the project counts as modified and its views are redrawn.

#include <QDialog>
#include <vector>

class CDibDoc;
class ChunkGeneralPage;
class ChunkSyntheticPage;
class ChunkTexturePage;
class QPushButton;
class QTabWidget;

class ChunkPropertiesSheet : public QDialog {
    Q_OBJECT
public:
    /// `selection`: chunk indices, first selected first; must not be empty.
    ChunkPropertiesSheet(CDibDoc& doc, std::vector<int> selection, QWidget* parent = nullptr);
    ~ChunkPropertiesSheet() override;

    QTabWidget* tabs() const { return tabs_; }
    ChunkGeneralPage* general() const { return general_; }
    ChunkTexturePage* texture() const { return texture_; }
    /// Null unless the first selected chunk shows a library texture.
    ChunkSyntheticPage* synthetic() const { return synthetic_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }

    /// The chunks a view has selected, in chunk order.
    static std::vector<int> selectedChunks(const CDibDoc& doc);

public slots:
    /// Cancel, the close button and Esc: the Synthetic page's links go back as they were.
    void reject() override;

private:
    bool applyPages();

    CDibDoc& doc_;
    QTabWidget* tabs_;
    ChunkGeneralPage* general_;
    ChunkTexturePage* texture_;
    ChunkSyntheticPage* synthetic_ = nullptr;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
};
