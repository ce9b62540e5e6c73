// Draws the application icons of both programs at the hicolor sizes, so the packages carry icons
// of our own making: `icon-renderer OUTDIR` writes OUTDIR/SIZExSIZE/apps/{orvane,ovsplit}.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// The builder: a textured relief patch under a grid, over a sky.
void drawBuilder(QPainter& p, double s)
{
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0, QColor(70, 130, 200));
    sky.setColorAt(1, QColor(170, 210, 240));
    p.setBrush(sky);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.03 * s, 0.03 * s, 0.94 * s, 0.94 * s), 0.16 * s, 0.16 * s);

    QPainterPath hills;
    hills.moveTo(0.03 * s, 0.72 * s);
    hills.cubicTo(0.25 * s, 0.38 * s, 0.40 * s, 0.52 * s, 0.55 * s, 0.45 * s);
    hills.cubicTo(0.70 * s, 0.36 * s, 0.82 * s, 0.50 * s, 0.97 * s, 0.58 * s);
    hills.lineTo(0.97 * s, 0.81 * s);
    hills.quadTo(0.97 * s, 0.97 * s, 0.81 * s, 0.97 * s);
    hills.lineTo(0.19 * s, 0.97 * s);
    hills.quadTo(0.03 * s, 0.97 * s, 0.03 * s, 0.81 * s);
    hills.closeSubpath();
    QLinearGradient ground(0, 0.4 * s, 0, s);
    ground.setColorAt(0, QColor(110, 160, 70));
    ground.setColorAt(1, QColor(60, 110, 40));
    p.setBrush(ground);
    p.drawPath(hills);

    if (s >= 32) {
        p.setClipPath(hills);
        p.setPen(QPen(QColor(255, 255, 255, 150), std::max(1.0, s / 64)));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(QPointF(i * s / 4, 0), QPointF(i * s / 4, s));
            p.drawLine(QPointF(0, 0.45 * s + i * 0.13 * s), QPointF(s, 0.45 * s + i * 0.13 * s));
        }
        p.setClipping(false);
    }
}

// The split tool: a runway seen from above, split in two halves.
void drawSplitter(QPainter& p, double s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 140, 70));
    p.drawRoundedRect(QRectF(0.03 * s, 0.03 * s, 0.94 * s, 0.94 * s), 0.16 * s, 0.16 * s);
    p.save();
    p.translate(s / 2, s / 2);
    p.rotate(-35);
    p.setBrush(QColor(60, 60, 66));
    p.drawRect(QRectF(-0.14 * s, -0.46 * s, 0.28 * s, 0.92 * s));
    p.setBrush(Qt::white);
    for (int i = -3; i <= 3; ++i)
        if (i != 0)
            p.drawRect(QRectF(-0.015 * s, i * 0.12 * s - 0.04 * s, 0.03 * s, 0.08 * s));
    p.restore();
    p.setPen(QPen(QColor(250, 200, 40), std::max(1.0, s / 24), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.15 * s, 0.85 * s), QPointF(0.85 * s, 0.15 * s));
}

bool writeIcon(const QString& folder, int size, const char* name, void (*draw)(QPainter&, double))
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, size);
    }
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    return QDir().mkpath(dir) && image.save(QStringLiteral("%1/%2.png").arg(dir, QLatin1String(name)));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon-renderer OUTDIR\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        if (!writeIcon(folder, size, "orvane", drawBuilder) || !writeIcon(folder, size, "ovsplit", drawSplitter)) {
            std::fprintf(stderr, "icon-renderer: cannot write into %s\n", argv[1]);
            return 1;
        }
    return 0;
}
