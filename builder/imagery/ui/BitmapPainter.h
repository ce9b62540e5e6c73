#pragma once
// Shows packed bitmaps in Qt: converts an 8-bit bitmap, or a rectangle of it, into an indexed
// QImage with its palette, and paints that on any QPainter, stretched to the target rectangle.

#include <QImage>
#include <QRect>
#include <QVector>
#include <QRgb>

class LogicalPalette;
class PackedBitmap;
class QPainter;

/// A source rectangle in the classic left, top, right, bottom form, counted from the image's top-left
/// pixel. A reversed side is drawn mirrored: right < left covers the columns right + 1 to left, and
/// bottom < top the rows bottom - 1 to top - 2 (the bottom-up origin of the classic copy), so that
/// (255, 0, -1, 256), (0, 257, 256, 1) and (255, 257, -1, 1) each show a whole 256 x 256 bitmap mirrored.
struct BitmapSourceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class BitmapPainter {
public:
    /// 256 colours: the palette's entries when one is given, otherwise the bitmap's own colour
    /// table; entries past either are black, so every index byte has a colour.
    static QVector<QRgb> colorTable(const PackedBitmap& bitmap, const LogicalPalette* palette);

    /// The whole bitmap, top row first. A null image unless the bitmap is a complete, uncompressed
    /// 8-bit bitmap with positive width and height.
    static QImage toImage(const PackedBitmap& bitmap, const LogicalPalette* palette = nullptr);

    /// The part of the source rectangle that lies on the bitmap, mirrored along each reversed side;
    /// a null image when nothing of it does.
    static QImage toImage(const PackedBitmap& bitmap, const BitmapSourceRect& source,
                          const LogicalPalette* palette = nullptr);

    /// Paints the source rectangle into `target`, unscaled when the sizes agree and stretched
    /// otherwise. Returns the number of target lines painted, 0 when there was nothing to paint.
    static int paint(QPainter& painter, const QRect& target, const PackedBitmap& bitmap,
                     const BitmapSourceRect& source, const LogicalPalette* palette = nullptr);
};
