#include "wizards/ui/SynthGridPreview.h"

#include <QPainter>

SynthGridPreview::SynthGridPreview(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setMinimumSize(160, 160);
}

void SynthGridPreview::setGrid(int columns, int rows)
{
    columns_ = columns;
    rows_ = rows;
    update();
}

QVector<QRect> SynthGridPreview::cells(int width, int height, int columns, int rows)
{
    QVector<QRect> result;
    if (columns <= 0 || rows <= 0 || width <= 0 || height <= 0)
        return result;
    // Large grids would be too fine to see; they are drawn as one cell.
    if (columns > 100)
        columns = 1;
    if (rows > 100)
        rows = 1;
    const int side = std::min(width / columns, height / rows);
    if (side <= 0)
        return result;
    const int left = (width - side * columns) / 2;
    const int top = (height - side * rows) / 2;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            result.append(QRect(left + c * side, top + r * side, side, side));
    return result;
}

QVector<QRect> SynthGridPreview::cells() const
{
    const QRect area = contentsRect();
    QVector<QRect> result = cells(area.width(), area.height(), columns_, rows_);
    for (QRect& cell : result)
        cell.translate(area.topLeft());
    return result;
}

void SynthGridPreview::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(0, 0, 255));   // 0xFF0000 in the 0x00BBGGRR form
    for (const QRect& cell : cells())
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
}
