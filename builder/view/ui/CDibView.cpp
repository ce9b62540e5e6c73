#include "view/ui/CDibView.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "imagery/ui/BitmapPainter.h"
#include "output/TextureOrientation.h"
#include "project/CDibDoc.h"

CDibView::CDibView(CDibDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc)
{
    setObjectName("dibView");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(64, 64);
}

void CDibView::refresh()
{
    images_.clear();
    update();
}

const QImage& CDibView::imageOf(const Texture* texture, std::int32_t flipValue)
{
    const TextureOrientation orientation = TextureOrientation::fromFlipValue(flipValue);
    const int key = (orientation.mirrorEastWest ? 1 : 0) | (orientation.mirrorNorthSouth ? 2 : 0);
    auto found = images_.find({texture, key});
    if (found != images_.end())
        return found->second;
    QImage image;
    if (texture && texture->image) {
        image = BitmapPainter::toImage(*texture->image, texture->palette ? &*texture->palette : nullptr);
        // The same orientation rule as the written scenery, so the map shows what the simulator will.
        if (!image.isNull() && key != 0)
            image = image.mirrored(orientation.mirrorEastWest, orientation.mirrorNorthSouth);
    }
    return images_.emplace(std::make_pair(texture, key), std::move(image)).first->second;
}

void CDibView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int cols = doc_.chunkColumns;
    const int rows = doc_.chunkRows;
    if (cols <= 0 || rows <= 0)
        return;
    // Fit the whole mosaic into the window, centred.
    const double zoom = std::min(width() / (cols * 256.0), height() / (rows * 256.0));
    const double offsetX = (width() - cols * 256.0 * zoom) / 2;
    const double offsetY = (height() - rows * 256.0 * zoom) / 2;
    const QColor grid = QColor(doc_.gridColor & 0xff, (doc_.gridColor >> 8) & 0xff, (doc_.gridColor >> 16) & 0xff);
    for (const TexReliefChunk& chunk : doc_.chunks) {
        const int c = chunk.chunkValueA;
        const int r = chunk.chunkValueB;
        if (c < 0 || r < 0 || c >= cols || r >= rows)
            continue;
        // Row 0 is the southern row, at the bottom of the window.
        const QRectF cell(offsetX + c * 256.0 * zoom, offsetY + (rows - 1 - r) * 256.0 * zoom, 256.0 * zoom,
                          256.0 * zoom);
        const QImage& image = imageOf(chunk.texture, chunk.chunkValueC);
        if (!image.isNull())
            painter.drawImage(cell, image);
        else
            painter.fillRect(cell, QColor(40, 60, 40));
    }
    if (showGridLines) {
        painter.setPen(QPen(grid, 1, Qt::DotLine));
        for (int c = 0; c <= cols; ++c)
            painter.drawLine(QPointF(offsetX + c * 256.0 * zoom, offsetY),
                             QPointF(offsetX + c * 256.0 * zoom, offsetY + rows * 256.0 * zoom));
        for (int r = 0; r <= rows; ++r)
            painter.drawLine(QPointF(offsetX, offsetY + r * 256.0 * zoom),
                             QPointF(offsetX + cols * 256.0 * zoom, offsetY + r * 256.0 * zoom));
    }
    if (showGridNodes && zoom >= 0.125) {
        // The TexRelief nodes of each chunk at its own density.
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        const double radius = std::max(2.0, std::floor(zoom * 5));
        for (const TexReliefChunk& chunk : doc_.chunks) {
            const int c = chunk.chunkValueA;
            const int r = chunk.chunkValueB;
            if (c < 0 || r < 0 || c >= cols || r >= rows)
                continue;
            const int density = std::clamp(chunk.properties.gridDensity, 1, 256);
            const double step = (256 / density) * zoom;
            const double left = offsetX + c * 256.0 * zoom;
            const double top = offsetY + (rows - 1 - r) * 256.0 * zoom;
            for (double x = left; x <= left + 256.0 * zoom + 0.01; x += step)
                for (double y = top; y <= top + 256.0 * zoom + 0.01; y += step)
                    painter.drawEllipse(QPointF(x, y), radius, radius);
        }
        painter.setBrush(Qt::NoBrush);
    }
    const GeoRect& b = doc_.boundary;
    if ((showAltitudeNodes || showAltitudeLabels) && b.east != b.west && b.north != b.south) {
        // The altitude records inside the boundary, as crosses and / or their altitudes.
        const double w = cols * 256.0 * zoom;
        const double h = rows * 256.0 * zoom;
        const double arm = std::floor(zoom * 4) + 1;
        painter.setPen(QPen(Qt::white, 1));
        QFont font("Arial");
        font.setPointSize(7);
        painter.setFont(font);
        for (const AltitudeRecord& record : doc_.mainAltitudeMap.records) {
            if (record.longitude < b.west || record.longitude > b.east || record.latitude < b.south ||
                record.latitude > b.north)
                continue;
            const double x = (record.longitude - b.west) / (b.east - b.west) * w + offsetX;
            const double y = h - (record.latitude - b.south) / (b.north - b.south) * h + offsetY;
            if (showAltitudeNodes) {
                painter.drawLine(QPointF(x - arm, y), QPointF(x + arm, y));
                painter.drawLine(QPointF(x, y - arm), QPointF(x, y + arm));
            }
            if (showAltitudeLabels) {
                const QString text = QString::number(record.altitude);
                painter.drawText(QPointF(x - painter.fontMetrics().horizontalAdvance(text) / 2.0, y), text);
            }
        }
    }
}
