#include "app/ui/ToolIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr int kSize = 24;

void drawGrid(QPainter& p, bool lines, bool nodes)
{
    for (int i = 0; i < 4; ++i) {
        const int v = 3 + i * 6;
        if (lines) {
            p.drawLine(3, v, 21, v);
            p.drawLine(v, 3, v, 21);
        }
    }
    if (nodes) {
        p.setBrush(Qt::black);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                p.drawEllipse(QPointF(3 + i * 6, 3 + j * 6), 1.5, 1.5);
    }
}

void drawMountain(QPainter& p)
{
    QPolygonF hill;
    hill << QPointF(1, 21) << QPointF(8, 8) << QPointF(12, 13) << QPointF(16, 5) << QPointF(23, 21);
    p.setBrush(QColor(120, 90, 60));
    p.drawPolygon(hill);
    p.setBrush(Qt::white);
    QPolygonF snow;
    snow << QPointF(16, 5) << QPointF(13.5, 9.5) << QPointF(16, 9) << QPointF(18.3, 9.8);
    p.drawPolygon(snow);
}

void drawPage(QPainter& p, const QString& letter)
{
    p.setBrush(Qt::white);
    p.drawRect(4, 2, 15, 20);
    p.setFont(QFont("Sans", 9, QFont::Bold));
    p.drawText(QRect(4, 2, 15, 20), Qt::AlignCenter, letter);
}

} // namespace

QIcon ToolIcons::forButton(int id)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    switch (id) {
    case 32836: {  // default cursor: an arrow
        QPolygonF arrow;
        arrow << QPointF(6, 2) << QPointF(6, 19) << QPointF(10, 15) << QPointF(13, 22) << QPointF(15.5, 21)
              << QPointF(12.5, 14) << QPointF(18, 14);
        p.setBrush(Qt::white);
        p.drawPolygon(arrow);
        break;
    }
    case 32837:  // crosshair
        p.drawEllipse(QPointF(12, 12), 7, 7);
        p.drawLine(12, 1, 12, 23);
        p.drawLine(1, 12, 23, 12);
        break;
    case 32826: {  // move the texture: four arrows
        p.setBrush(Qt::black);
        p.drawLine(12, 3, 12, 21);
        p.drawLine(3, 12, 21, 12);
        for (const QPolygonF& head : {QPolygonF({{12, 1}, {9, 5}, {15, 5}}), QPolygonF({{12, 23}, {9, 19}, {15, 19}}),
                                      QPolygonF({{1, 12}, {5, 9}, {5, 15}}), QPolygonF({{23, 12}, {19, 9}, {19, 15}})})
            p.drawPolygon(head);
        break;
    }
    case 32832:  // zoom: a magnifier
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QPointF(10, 10), 7, 7);
        p.setPen(QPen(Qt::black, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(15, 15, 21, 21);
        break;
    case 32787:  // grid lines
        p.setPen(QPen(QColor(0, 90, 0), 1.2));
        drawGrid(p, true, false);
        break;
    case 32788:  // grid nodes
        p.setPen(QPen(QColor(150, 150, 150), 0.8));
        drawGrid(p, true, true);
        break;
    case 32789:  // altitude nodes: a hill with points
        drawMountain(p);
        p.setBrush(Qt::red);
        for (const QPointF& at : {QPointF(8, 8), QPointF(12, 13), QPointF(16, 5), QPointF(20, 17)})
            p.drawEllipse(at, 1.8, 1.8);
        break;
    case 32801:  // altitude labels
        p.setFont(QFont("Sans", 7, QFont::Bold));
        p.drawText(QRect(0, 0, kSize, 12), Qt::AlignCenter, "125");
        p.drawText(QRect(0, 12, kSize, 12), Qt::AlignCenter, "340");
        break;
    case 301:  // project properties
        drawPage(p, "P");
        break;
    case 32835:  // grid properties
        p.setPen(QPen(QColor(0, 90, 0), 1));
        drawGrid(p, true, false);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 230, 120));
        p.drawRect(9, 9, 6, 6);
        break;
    case 57664:  // about
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(QPointF(12, 12), 10, 10);
        p.setPen(Qt::white);
        p.setFont(QFont("Sans", 12, QFont::Bold));
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, "?");
        break;
    case 32838:  // preferences: sliders
        for (int i = 0; i < 3; ++i) {
            const int y = 5 + i * 7;
            p.drawLine(3, y, 21, y);
            p.setBrush(QColor(230, 230, 230));
            p.drawRect(QRectF(5 + i * 5, y - 2.5, 4, 5));
        }
        break;
    case 32781:  // write the source
        drawPage(p, "S");
        break;
    case 32784: {  // compile: a gear
        p.setBrush(QColor(170, 170, 170));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(12, 12);
            p.rotate(i * 45);
            p.drawRect(QRectF(-2, -11, 4, 5));
            p.restore();
        }
        p.drawEllipse(QPointF(12, 12), 7, 7);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
        break;
    }
    case 32777:  // boundary area: a dashed frame with corner marks
        p.setPen(QPen(Qt::blue, 1.2, Qt::DashLine));
        p.drawRect(4, 4, 16, 16);
        p.setPen(QPen(Qt::red, 2));
        for (const QPoint& c : {QPoint(4, 4), QPoint(20, 4), QPoint(4, 20), QPoint(20, 20)})
            p.drawPoint(c);
        break;
    case 32773:  // altitude data source
        drawMountain(p);
        break;
    default:
        return QIcon();
    }
    p.end();
    QIcon icon(pixmap);
    // A clearly faded picture for disabled buttons; the style's own greying keeps black lines dark.
    QPixmap faded(kSize, kSize);
    faded.fill(Qt::transparent);
    QPainter f(&faded);
    f.setOpacity(0.3);
    f.drawPixmap(0, 0, pixmap);
    f.end();
    icon.addPixmap(faded, QIcon::Disabled);
    return icon;
}

QPixmap ToolIcons::splashPicture()
{
    QPixmap pixmap(480, 300);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(40, 80, 160));
    sky.setColorAt(1, QColor(170, 210, 240));
    p.fillRect(pixmap.rect(), sky);
    // A terrain of tiles under a relief line.
    for (int x = 0; x < 480; x += 40)
        for (int y = 200; y < 300; y += 25)
            p.fillRect(x, y, 40, 25, ((x / 40 + y / 25) % 2) ? QColor(90, 130, 60) : QColor(110, 150, 70));
    QPolygonF ridge;
    ridge << QPointF(0, 210) << QPointF(90, 140) << QPointF(160, 180) << QPointF(260, 110) << QPointF(350, 170)
          << QPointF(420, 130) << QPointF(480, 190) << QPointF(480, 210);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 70, 60));
    p.drawPolygon(ridge);
    p.setPen(Qt::white);
    p.setFont(QFont("Sans", 40, QFont::Bold));
    p.drawText(QRect(0, 20, 480, 70), Qt::AlignCenter, "Orvane");
    p.setFont(QFont("Sans", 12));
    p.drawText(QRect(0, 85, 480, 30), Qt::AlignCenter, "3 Level Reduced Resolution Scenery Builder");
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixmap.rect().adjusted(1, 1, -2, -2));
    return pixmap;
}
