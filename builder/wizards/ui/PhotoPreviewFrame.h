#pragma once
// The frame of the extents page in which the source bitmap is painted, keeping its aspect ratio,
// with the four reference-corner buttons placed at the picture's corners whatever the frame's size.

#include <array>

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

    /// Takes the corner widgets (north-west, north-east, south-west, south-east) as children and
    /// keeps each just outside its corner of the picture.
    void setCornerWidgets(const std::array<QWidget*, 4>& corners);
    /// Where the picture is painted: the largest rectangle of the image's shape (a square without
    /// an image) centred in the room the corner widgets leave.
    QRect pictureRect() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize cornerSize() const;
    void placeCorners();

    QImage image_;
    std::array<QWidget*, 4> corners_{};
};
