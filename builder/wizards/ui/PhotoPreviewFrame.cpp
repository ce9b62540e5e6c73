#include "wizards/ui/PhotoPreviewFrame.h"

#include <QPainter>

#include "imagery/PackedBitmap.h"
#include "imagery/ui/BitmapPainter.h"

namespace {
constexpr int kNorthWest = 0, kNorthEast = 1, kSouthWest = 2, kSouthEast = 3;
constexpr int kMinimumPicture = 120;
} // namespace

PhotoPreviewFrame::PhotoPreviewFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PhotoPreviewFrame::setBitmap(const PackedBitmap* bitmap)
{
    image_ = bitmap ? BitmapPainter::toImage(*bitmap) : QImage();
    placeCorners();
    update();
}

void PhotoPreviewFrame::setCornerWidgets(const std::array<QWidget*, 4>& corners)
{
    corners_ = corners;
    for (QWidget* corner : corners_)
        if (corner) {
            corner->setParent(this);
            corner->show();
        }
    placeCorners();
    updateGeometry();
}

QSize PhotoPreviewFrame::cornerSize() const
{
    QSize size(0, 0);
    for (QWidget* corner : corners_)
        if (corner)
            size = size.expandedTo(corner->sizeHint());
    return size;
}

QRect PhotoPreviewFrame::pictureRect() const
{
    const QSize corner = cornerSize();
    const QRect room = contentsRect().adjusted(corner.width(), corner.height(), -corner.width(), -corner.height());
    if (room.width() <= 0 || room.height() <= 0)
        return {};
    QSize shape = image_.isNull() ? QSize(1, 1) : image_.size();
    shape.scale(room.size(), Qt::KeepAspectRatio);
    QRect picture(QPoint(0, 0), shape.expandedTo(QSize(1, 1)));
    picture.moveCenter(room.center());
    return picture;
}

QSize PhotoPreviewFrame::minimumSizeHint() const
{
    const QSize corner = cornerSize();
    const int frame = 2 * frameWidth();
    return {kMinimumPicture + 2 * corner.width() + frame, kMinimumPicture + 2 * corner.height() + frame};
}

QSize PhotoPreviewFrame::sizeHint() const
{
    return minimumSizeHint() + QSize(120, 120);
}

void PhotoPreviewFrame::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    placeCorners();
}

void PhotoPreviewFrame::placeCorners()
{
    const QRect picture = pictureRect();
    for (int i = 0; i < 4; ++i) {
        QWidget* corner = corners_[static_cast<std::size_t>(i)];
        if (!corner)
            continue;
        const QSize size = corner->sizeHint();
        QRect place(QPoint(0, 0), size);
        // Each widget touches its corner of the picture from outside.
        switch (i) {
        case kNorthWest: place.moveBottomRight(picture.topLeft() - QPoint(1, 1)); break;
        case kNorthEast: place.moveBottomLeft(picture.topRight() + QPoint(1, -1)); break;
        case kSouthWest: place.moveTopRight(picture.bottomLeft() + QPoint(-1, 1)); break;
        default: place.moveTopLeft(picture.bottomRight() + QPoint(1, 1)); break;
        }
        corner->setGeometry(place);
    }
}

void PhotoPreviewFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), image_);
}
