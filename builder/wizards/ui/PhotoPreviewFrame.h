#pragma once
// The frame of the extents page in which the source bitmap is painted, stretched to the frame.

#include <QFrame>
#include <QImage>

class PackedBitmap;

class PhotoPreviewFrame : public QFrame {
    Q_OBJECT
public:
    explicit PhotoPreviewFrame(QWidget* parent = nullptr);

    /// Shows `bitmap` (an 8-bit packed bitmap with its colour table); nothing for a null pointer.
    void setBitmap(const PackedBitmap* bitmap);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};
