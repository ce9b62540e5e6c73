#include "app/ui/AppIcons.h"

#include <QLinearGradient>
#include <algorithm>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The landscape inside `area`: sky, a gridded photo ground and a ridge with a sun.
void paintLandscape(QPainter& p, const QRectF& area)
{
    const double w = area.width();
    const double h = area.height();
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(70, 130, 210));
    sky.setColorAt(1.0, QColor(170, 210, 245));
    p.fillRect(area, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QPointF(area.left() + w * 0.74, area.top() + h * 0.26), w * 0.11, w * 0.11);

    QPolygonF ridge;
    ridge << QPointF(area.left(), area.top() + h * 0.72) << QPointF(area.left() + w * 0.28, area.top() + h * 0.34)
          << QPointF(area.left() + w * 0.46, area.top() + h * 0.52) << QPointF(area.left() + w * 0.62, area.top() + h * 0.40)
          << QPointF(area.right(), area.top() + h * 0.70) << area.bottomRight() << area.bottomLeft();
    p.setBrush(QColor(90, 140, 70));
    p.drawPolygon(ridge);

    // The chunk grid the scenery is cut into.
    QPen grid(QColor(255, 255, 255, 150));
    grid.setWidthF(std::max(1.0, w / 48));
    p.setPen(grid);
    for (int i = 1; i < 4; ++i) {
        const double x = area.left() + w * i / 4;
        p.drawLine(QPointF(x, area.top() + h * 0.62), QPointF(x, area.bottom()));
    }
    p.drawLine(QPointF(area.left(), area.top() + h * 0.81), QPointF(area.right(), area.top() + h * 0.81));
}

QIcon iconOf(QPixmap (*draw)(int))
{
    QIcon icon;
    for (int size : kSizes)
        icon.addPixmap(draw(size));
    return icon;
}

} // namespace

QPixmap AppIcons::applicationPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double margin = size / 16.0;
    const QRectF area(margin, margin, size - 2 * margin, size - 2 * margin);
    QPainterPath rounded;
    rounded.addRoundedRect(area, size / 8.0, size / 8.0);
    p.setClipPath(rounded);
    paintLandscape(p, area);
    p.setClipping(false);
    p.setPen(QPen(QColor(40, 60, 90), std::max(1.0, size / 32.0)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded);
    return pixmap;
}

QPixmap AppIcons::documentPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double left = size * 0.16;
    const double right = size * 0.84;
    const double top = size * 0.06;
    const double bottom = size * 0.94;
    const double fold = size * 0.22;
    QPolygonF page;
    page << QPointF(left, top) << QPointF(right - fold, top) << QPointF(right, top + fold) << QPointF(right, bottom)
         << QPointF(left, bottom);
    p.setPen(QPen(QColor(90, 90, 90), std::max(1.0, size / 40.0)));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    QPolygonF corner;
    corner << QPointF(right - fold, top) << QPointF(right - fold, top + fold) << QPointF(right, top + fold);
    p.setBrush(QColor(215, 215, 215));
    p.drawPolygon(corner);
    const double inset = size * 0.08;
    paintLandscape(p, QRectF(left + inset, top + fold + inset, right - left - 2 * inset, bottom - top - fold - 2 * inset));
    return pixmap;
}

QIcon AppIcons::application()
{
    return iconOf(&AppIcons::applicationPixmap);
}

QIcon AppIcons::document()
{
    return iconOf(&AppIcons::documentPixmap);
}
