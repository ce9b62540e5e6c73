#include "ui/SplitIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QPixmap SplitIcon::pixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);

  // Rounded tile in the builder's terrain green.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2e, 0x6b, 0x4f));
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // The two halves of a page, pulled apart along a diagonal cut.
  QPainterPath left;
  left.moveTo(12, 12);
  left.lineTo(30, 12);
  left.lineTo(22, 52);
  left.lineTo(12, 52);
  left.closeSubpath();
  QPainterPath right;
  right.moveTo(36, 12);
  right.lineTo(52, 12);
  right.lineTo(52, 52);
  right.lineTo(28, 52);
  right.closeSubpath();
  p.setBrush(QColor(0xf4, 0xf1, 0xe6));
  p.drawPath(left);
  p.setBrush(QColor(0xff, 0xd2, 0x6a));
  p.drawPath(right);

  // Lines of source text on each half.
  p.setPen(QPen(QColor(0x2e, 0x6b, 0x4f), 2.5, Qt::SolidLine, Qt::RoundCap));
  for (int y = 20; y <= 44; y += 8) {
    const double cutLeft = 30 - (y - 12) * 8.0 / 40.0;   // the left half's slanted edge
    const double cutRight = 36 - (y - 12) * 8.0 / 40.0;  // the right half's slanted edge
    p.drawLine(QPointF(16, y), QPointF(cutLeft - 4, y));
    p.drawLine(QPointF(cutRight + 4, y), QPointF(48, y));
  }
  return pixmap;
}

QIcon SplitIcon::icon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(pixmap(size));
  return icon;
}
