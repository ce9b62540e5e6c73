#include "wizards/ui/PhotoPreviewFrame.h"

#include <QPainter>

#include "imagery/PackedBitmap.h"
#include "imagery/ui/BitmapPainter.h"

PhotoPreviewFrame::PhotoPreviewFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setMinimumSize(160, 160);
}

void PhotoPreviewFrame::setBitmap(const PackedBitmap* bitmap)
{
    image_ = bitmap ? BitmapPainter::toImage(*bitmap) : QImage();
    update();
}

void PhotoPreviewFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(contentsRect(), image_);
}
