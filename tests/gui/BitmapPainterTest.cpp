// Converting packed bitmaps to images and painting them, mirrored and stretched.

#include <QPainter>
#include <QtTest>

#include "imagery/LogicalPalette.h"
#include "imagery/PackedBitmap.h"
#include "imagery/TestBitmaps.h"
#include "imagery/ui/BitmapPainter.h"

namespace {
PackedBitmap packed(const testbmp::Layout& layout)
{
    const auto file = testbmp::makeFile(layout);
    return PackedBitmap(std::vector<std::uint8_t>(file.begin() + 14, file.end()));
}

QRgb rgbOf(std::uint32_t color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
} // namespace

class BitmapPainterTest : public QObject {
    Q_OBJECT
private slots:
    void wholeImageIsTopRowFirst()
    {
        testbmp::Layout layout;
        layout.width = 20;   // stride 20, rows not a power of two
        layout.height = 6;
        const PackedBitmap bitmap = packed(layout);
        const QImage image = BitmapPainter::toImage(bitmap);
        QCOMPARE(image.size(), QSize(20, 6));
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        for (int row = 0; row < 6; ++row)
            for (int x = 0; x < 20; ++x)
                QCOMPARE(image.pixelIndex(x, row), int(testbmp::patternIndex(x, 5 - row)));
        QCOMPARE(image.pixel(3, 0), rgbOf(testbmp::paletteColor(testbmp::patternIndex(3, 5))));
    }

    void reversedRectanglesMirror_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<bool>("mirrorX");
        QTest::addColumn<bool>("mirrorY");
        QTest::newRow("as is") << 0 << 0 << 256 << 256 << false << false;
        QTest::newRow("left to right") << 255 << 0 << -1 << 256 << true << false;
        QTest::newRow("top to bottom") << 0 << 257 << 256 << 1 << false << true;
        QTest::newRow("both") << 255 << 257 << -1 << 1 << true << true;
    }
    void reversedRectanglesMirror()
    {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, right);
        QFETCH(int, bottom);
        QFETCH(bool, mirrorX);
        QFETCH(bool, mirrorY);
        testbmp::Layout layout;
        layout.width = 256;
        layout.height = 256;
        const PackedBitmap bitmap = packed(layout);
        const QImage plain = BitmapPainter::toImage(bitmap);
        const QImage image = BitmapPainter::toImage(bitmap, BitmapSourceRect{left, top, right, bottom});
        QCOMPARE(image, plain.mirrored(mirrorX, mirrorY));
    }

    void clipsAndRefuses()
    {
        testbmp::Layout layout;
        layout.width = 16;
        layout.height = 16;
        const PackedBitmap bitmap = packed(layout);
        const QImage part = BitmapPainter::toImage(bitmap, BitmapSourceRect{12, -4, 40, 2});
        QCOMPARE(part.size(), QSize(4, 2));
        QCOMPARE(part.pixelIndex(0, 0), int(testbmp::patternIndex(12, 15)));
        QVERIFY(BitmapPainter::toImage(bitmap, BitmapSourceRect{20, 0, 30, 16}).isNull());

        testbmp::Layout deep = layout;
        deep.bitsPerPixel = 24;
        deep.tableEntries = 0;
        QVERIFY(BitmapPainter::toImage(packed(deep)).isNull());
        testbmp::Layout cut = layout;
        cut.truncateTo = 14 + 40 + 1024 + 100;
        QVERIFY(BitmapPainter::toImage(packed(cut)).isNull());
    }

    void paintsWithAGivenPaletteUnscaledOrStretched()
    {
        testbmp::Layout layout;
        layout.width = 4;
        layout.height = 4;
        layout.pixel = [](int x, int y) { return static_cast<std::uint8_t>(y * 4 + x); };
        const PackedBitmap bitmap = packed(layout);
        LogicalPalette palette;
        for (int i = 0; i < 16; ++i)
            palette.entries.push_back({static_cast<std::uint8_t>(i * 16), 0, 200, 0});

        QImage target(8, 8, QImage::Format_RGB32);
        target.fill(Qt::white);
        QPainter painter(&target);
        QCOMPARE(BitmapPainter::paint(painter, QRect(0, 0, 4, 4), bitmap, {0, 0, 4, 4}, &palette), 4);
        QCOMPARE(BitmapPainter::paint(painter, QRect(0, 4, 8, 4), bitmap, {0, 0, 4, 2}, &palette), 4);
        painter.end();
        // Unscaled: the top-left pixel is the top stored row's first pixel, index 12.
        QCOMPARE(target.pixel(0, 0), qRgb(12 * 16, 0, 200));
        QCOMPARE(target.pixel(3, 3), qRgb(3 * 16, 0, 200));
        // Stretched twice as wide and twice as high: the top two rows (indices 12-15, 8-11).
        QCOMPARE(target.pixel(0, 4), qRgb(12 * 16, 0, 200));
        QCOMPARE(target.pixel(7, 7), qRgb(11 * 16, 0, 200));
        // Indices past the palette show black rather than garbage.
        QCOMPARE(BitmapPainter::colorTable(bitmap, &palette).size(), 256);
        QCOMPARE(BitmapPainter::colorTable(bitmap, &palette)[200], qRgb(0, 0, 0));
    }
};

QTEST_MAIN(BitmapPainterTest)
#include "BitmapPainterTest.moc"
