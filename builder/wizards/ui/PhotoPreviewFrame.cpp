#include "wizards/ui/PhotoPreviewFrame.h"

#include <QPainter>

#include "imagery/PackedBitmap.h"

PhotoPreviewFrame::PhotoPreviewFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setMinimumSize(160, 160);
}

QImage PhotoPreviewFrame::toImage(const PackedBitmap& bitmap)
{
    if (!bitmap.hasValidHeader() || bitmap.bitsPerPixel() != 8 || !bitmap.pixelsComplete())
        return {};
    const int width = bitmap.width();
    const int height = bitmap.height() < 0 ? -bitmap.height() : bitmap.height();
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    const int colors = bitmapColorCount(bitmap);
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t c = i < colors ? bitmap.colorAt(static_cast<std::size_t>(i)) : 0;
        table.push_back(qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
    image.setColorTable(table);
    const std::uint8_t* pixels = bitmap.pixels();
    const std::size_t stride = bitmap.rowStride();
    // Stored rows run bottom first.
    for (int y = 0; y < height; ++y)
        std::copy_n(pixels + stride * static_cast<std::size_t>(y), width, image.scanLine(height - 1 - y));
    return image;
}

void PhotoPreviewFrame::setBitmap(const PackedBitmap* bitmap)
{
    image_ = bitmap ? toImage(*bitmap) : QImage();
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
