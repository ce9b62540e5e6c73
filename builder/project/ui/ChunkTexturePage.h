#pragma once
// "Texture" page of the chunk properties sheet: the first selected chunk's texture with its
// flip and the class names of its edges. A flip or a replacement takes effect at once; with
// several chunks the page stays empty.

#include <QWidget>
#include <vector>

class CDibDoc;
class QButtonGroup;
class QLineEdit;
class QPushButton;
struct TexReliefChunk;

class ChunkTexturePage : public QWidget {
    Q_OBJECT
public:
    ChunkTexturePage(CDibDoc& doc, std::vector<int> selection, QWidget* parent = nullptr);

    /// Stores the chosen flip in the chunk again (Apply).
    void apply();
    /// Refreshes the name, class names and preview from the chunk's current link.
    void showTexture();

    QButtonGroup* flipButtons() const { return flips_; }
    QPushButton* replaceButton() const { return replace_; }

signals:
    void modified();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TexReliefChunk* chunk() const;
    void storeFlip();
    void replaceTexture();

    CDibDoc& doc_;
    std::vector<int> selection_;
    QButtonGroup* flips_;
    QLineEdit* name_;
    QLineEdit* landscape_;
    QLineEdit* north_;
    QLineEdit* west_;
    QLineEdit* east_;
    QLineEdit* south_;
    QPushButton* replace_;
    QWidget* preview_;
};
