#include "imagery/ui/BitmapPainter.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "imagery/LogicalPalette.h"
#include "imagery/PackedBitmap.h"

namespace {
bool drawable(const PackedBitmap& bitmap)
{
    return bitmap.bitsPerPixel() == 8 && bitmap.compression() == 0 && bitmap.width() > 0 && bitmap.height() > 0 &&
           bitmap.pixelsComplete();
}
} // namespace

QVector<QRgb> BitmapPainter::colorTable(const PackedBitmap& bitmap, const LogicalPalette* palette)
{
    QVector<QRgb> table(256, qRgb(0, 0, 0));
    const int count = palette ? static_cast<int>(std::min<std::size_t>(palette->size(), 256))
                              : std::clamp(bitmapColorCount(bitmap), 0, 256);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t color = palette ? palette->colorRef(static_cast<std::size_t>(i))
                                            : bitmap.colorAt(static_cast<std::size_t>(i));
        table[i] = qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    }
    return table;
}

QImage BitmapPainter::toImage(const PackedBitmap& bitmap, const LogicalPalette* palette)
{
    return toImage(bitmap, BitmapSourceRect{0, 0, bitmap.width(), bitmap.height()}, palette);
}

QImage BitmapPainter::toImage(const PackedBitmap& bitmap, const BitmapSourceRect& source,
                              const LogicalPalette* palette)
{
    if (!drawable(bitmap))
        return {};
    const bool mirrorX = source.right < source.left;
    const bool mirrorY = source.bottom < source.top;
    // Covered columns [x0, x1) and rows [y0, y1), top row 0.
    long long x0 = mirrorX ? static_cast<long long>(source.right) + 1 : source.left;
    long long x1 = mirrorX ? static_cast<long long>(source.left) + 1 : source.right;
    long long y0 = mirrorY ? static_cast<long long>(source.bottom) - 1 : source.top;
    long long y1 = mirrorY ? static_cast<long long>(source.top) - 1 : source.bottom;
    const int width = bitmap.width();
    const int height = bitmap.height();
    x0 = std::max(x0, 0LL);
    y0 = std::max(y0, 0LL);
    x1 = std::min<long long>(x1, width);
    y1 = std::min<long long>(y1, height);
    if (x1 <= x0 || y1 <= y0)
        return {};

    QImage image(static_cast<int>(x1 - x0), static_cast<int>(y1 - y0), QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable(colorTable(bitmap, palette));
    const std::uint8_t* pixels = bitmap.pixels();
    const std::size_t stride = bitmap.rowStride();
    for (int row = 0; row < image.height(); ++row) {
        // Stored rows run bottom first.
        const std::size_t stored = static_cast<std::size_t>(height - 1 - (y0 + row));
        std::memcpy(image.scanLine(row), pixels + stored * stride + static_cast<std::size_t>(x0),
                    static_cast<std::size_t>(image.width()));
    }
    if (mirrorX || mirrorY)
        image = image.mirrored(mirrorX, mirrorY);
    return image;
}

int BitmapPainter::paint(QPainter& painter, const QRect& target, const PackedBitmap& bitmap,
                         const BitmapSourceRect& source, const LogicalPalette* palette)
{
    if (target.isEmpty())
        return 0;
    const QImage image = toImage(bitmap, source, palette);
    if (image.isNull())
        return 0;
    if (image.size() == target.size())
        painter.drawImage(target.topLeft(), image);
    else
        painter.drawImage(target, image);
    return target.height();
}
