#include "view/ui/MapRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "imagery/ui/BitmapPainter.h"
#include "output/TextureOrientation.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "view/ChunkOverlayLayout.h"
#include "view/ChunkSelection.h"
#include "view/ScaleBar.h"

namespace {

QColor colourOf(std::uint32_t bgr)
{
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}

QRect toQRect(const ViewRect& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QPixmap drawMarker(bool macro)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    if (macro) {
        // A yellow diamond: a macro placed here.
        p.setBrush(QColor(255, 220, 0));
        const QPoint diamond[] = {{7, 0}, {14, 7}, {7, 14}, {0, 7}};
        p.drawPolygon(diamond, 4);
    } else {
        // A cyan flag on a pole: a menu position.
        p.drawLine(2, 1, 2, 15);
        p.setBrush(QColor(0, 220, 255));
        p.drawRect(3, 1, 10, 7);
    }
    return QPixmap::fromImage(image);
}

} // namespace

const QPixmap& MapRenderer::macroMarker()
{
    static const QPixmap pixmap = drawMarker(true);
    return pixmap;
}

const QPixmap& MapRenderer::menuPositionMarker()
{
    static const QPixmap pixmap = drawMarker(false);
    return pixmap;
}

int MapRenderer::scaleBarY(const CDibDoc& doc, int windowHeight)
{
    const int mapHeight = doc.bitmapHeight > 0 ? doc.bitmapHeight : doc.chunkRows * 256;
    return std::min(mapHeight, windowHeight) - 20;
}

const QImage& MapRenderer::nodeSprite(int radius)
{
    auto found = nodeSprites_.find(radius);
    if (found != nodeSprites_.end())
        return found->second;
    // One node, white inside a black ring, drawn once and then copied: the same pixels as drawing
    // each node's ellipse, without a painter path per node.
    QImage sprite(2 * radius + 3, 2 * radius + 3, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(0);
    QPainter p(&sprite);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(1, 1, 2 * radius, 2 * radius));
    p.end();
    return nodeSprites_.emplace(radius, std::move(sprite)).first->second;
}

const QImage& MapRenderer::imageOf(const Texture* texture, std::int32_t flipValue)
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
        // Painting an indexed image converts it every time; convert once.
        if (!image.isNull())
            image = image.convertToFormat(QImage::Format_RGB32);
    }
    return images_.emplace(std::make_pair(texture, key), std::move(image)).first->second;
}

void MapRenderer::paint(QPainter& painter, const CDibDoc& doc, const MapTransform& t, const MapOverlays& overlays,
                        const QRect& exposed, const ChunkSelection* selection, QPoint scroll, int windowHeight)
{
    const ViewRect area{exposed.left(), exposed.top(), exposed.right() + 1, exposed.bottom() + 1};
    const AppSettings& settings = doc.app.settings;
    const double zoom = t.zoom();
    const bool colourCoded = settings.showSynthTilesColorCoded != 0 && zoom <= settings.zoomLevel;
    QPen gridPen(colourOf(doc.gridColor), 1, Qt::DotLine);
    gridPen.setCosmetic(true);
    const int nodeMargin = std::max(2, truncateToInt(zoom * 5)) + 1;

    // 1. The mosaic, chunk by chunk with its grid lines and nodes.
    for (const TexReliefChunk& chunk : doc.chunks) {
        if (!chunk.texture || !chunk.texture->image)
            continue;
        const ViewRect rect = t.chunkRect(chunk.chunkValueA, chunk.chunkValueB);
        if (!rect.grown(nodeMargin).intersects(area))
            continue;
        const Texture& texture = *chunk.texture;
        if (texture.kind == 0 && colourCoded) {
            const auto& classes = settings.textureClasses;
            const bool known = texture.classCode >= 0 && static_cast<std::size_t>(texture.classCode) < classes.size();
            painter.fillRect(toQRect(rect), known ? colourOf(classes[texture.classCode].color) : QColor(Qt::black));
        } else {
            const QImage& image = imageOf(&texture, chunk.chunkValueC);
            if (!image.isNull())
                painter.drawImage(toQRect(rect), image);
        }
        if (overlays.gridLines) {
            painter.setPen(gridPen);
            painter.setBackgroundMode(Qt::TransparentMode);
            for (const GridLine& line : chunkGridLines(rect, chunk.chunkValueA, chunk.chunkValueB))
                painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
            painter.setBackgroundMode(Qt::OpaqueMode);
        }
        if (overlays.gridNodes) {
            const GridNodes nodes = chunkGridNodes(rect, chunk.properties.gridDensity, zoom);
            const int d = nodes.radius;
            const QImage& sprite = nodeSprite(d);
            for (int x : nodes.xs) {
                if (x + d < area.left || x - d >= area.right)
                    continue;
                for (int y : nodes.ys)
                    if (y + d >= area.top && y - d < area.bottom)
                        painter.drawImage(x - d - 1, y - d - 1, sprite);
            }
        }
    }

    // 2, 3. Altitude records and labels.
    if (overlays.altitudeNodes || overlays.altitudeLabels)
        paintAltitudeRecords(painter, doc, t, overlays, exposed);

    // 4, 5. Markers, their top left corner 5 up and left of the item's pixel.
    if (overlays.markers) {
        for (const FsMacroItem& item : doc.macroItems) {
            const ViewPoint p = t.pixelToView(item.mapX, item.mapY);
            painter.drawPixmap(p.x - 5, p.y - 5, macroMarker());
        }
        for (const FsMenuPositionItem& item : doc.menuPositionItems) {
            const ViewPoint p = t.pixelToView(item.mapX, item.mapY);
            painter.drawPixmap(p.x - 5, p.y - 5, menuPositionMarker());
        }
    }

    // 6. The selection outline, while the pointer is over a map position.
    const bool pointerOnMap = doc.clickLatitude != std::numeric_limits<double>::max() &&
                              doc.clickLongitude != std::numeric_limits<double>::max();
    if (overlays.selection && selection && !selection->empty() && pointerOnMap) {
        painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (const OutlineEdge& e : selection->outline(doc.chunks, t))
            painter.drawLine(e.from.x, e.from.y, e.to.x, e.to.y);
    }

    // 7. The scale bar, in window coordinates: it does not scroll or zoom.
    if (overlays.scaleBar) {
        if (const auto bar = scaleBarLayout(doc.metresPerPixel, scaleBarY(doc, windowHeight))) {
            painter.save();
            painter.translate(scroll);
            QPen pen(colourOf(doc.scaleColor), 1);
            painter.setPen(pen);
            painter.setBrush(Qt::black);
            painter.drawRect(QRect(bar->box.left, bar->box.top, bar->box.right - bar->box.left - 1,
                                   bar->box.bottom - bar->box.top - 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawLine(bar->barFrom.x, bar->barFrom.y, bar->barTo.x, bar->barTo.y);
            for (const ScaleBarTick& tick : bar->ticks)
                painter.drawLine(tick.from.x, tick.from.y, tick.to.x, tick.to.y);
            painter.setPen(QColor(0xC0, 0xC0, 0xC0));
            painter.setBackgroundMode(Qt::TransparentMode);
            const QFontMetrics metrics(painter.font());
            auto centred = [&](const std::string& text, ViewPoint top) {
                const QString s = QString::fromStdString(text);
                const int w = metrics.horizontalAdvance(s);
                painter.drawText(QPoint(top.x - w / 2, top.y + metrics.ascent()), s);
            };
            centred(bar->zeroText, bar->zeroTextAt);
            centred(bar->lengthText, bar->lengthTextAt);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.restore();
        }
    }
}

void MapRenderer::paintAltitudeRecords(QPainter& painter, const CDibDoc& doc, const MapTransform& t,
                                       const MapOverlays& overlays, const QRect& exposed)
{
    const GeoRect& b = doc.boundary;
    const auto& records = doc.mainAltitudeMap.records;
    if (records.empty() || b.east == b.west || b.north == b.south)
        return;
    const double zoom = t.zoom();
    const int arm = truncateToInt(zoom * 4) + 1;
    QFont font("Arial");
    font.setPointSize(7);
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    // A label reaches further from its record than a cross does.
    const int margin = std::max(arm, overlays.altitudeLabels ? metrics.horizontalAdvance("-2147483648") : 0) + 2;
    const ViewRect area{exposed.left() - margin, exposed.top() - margin, exposed.right() + 1 + margin,
                        exposed.bottom() + 1 + margin};
    const auto range = t.geoRangeOf(area, b);
    if (!range)
        return;
    if (sortedFor_ != records.data() || sortedSize_ != records.size()) {
        sortedFor_ = records.data();
        sortedSize_ = records.size();
        sorted_ = std::is_sorted(records.begin(), records.end(), [](const AltitudeRecord& x, const AltitudeRecord& y) {
            return x.longitude < y.longitude;
        }) && std::none_of(records.begin(), records.end(), [](const AltitudeRecord& r) { return std::isnan(r.longitude); });
    }
    auto first = records.begin();
    auto last = records.end();
    if (sorted_) {
        first = std::lower_bound(records.begin(), records.end(), range->west,
                                 [](const AltitudeRecord& r, double v) { return r.longitude < v; });
        last = std::upper_bound(first, records.end(), range->east,
                                [](double v, const AltitudeRecord& r) { return v < r.longitude; });
    }
    // Crosses and labels are one-colour marks without smoothing, so drawing them in record order,
    // crosses first, is the same as setting their pixels in that order. An overlay image of the
    // exposed part takes a million records in milliseconds where painter calls take seconds.
    const QRect box = exposed;
    QImage overlay(box.size(), QImage::Format_ARGB32_Premultiplied);
    overlay.fill(0);
    const int w = overlay.width(), h = overlay.height();
    auto* pixels = reinterpret_cast<QRgb*>(overlay.bits());
    const qsizetype stride = overlay.bytesPerLine() / 4;
    auto put = [&](int x, int y, QRgb colour) {
        x -= box.left();
        y -= box.top();
        if (x >= 0 && y >= 0 && x < w && y < h)
            pixels[y * stride + x] = colour;
    };
    std::vector<std::pair<ViewPoint, std::int32_t>> labels;
    const QRgb white = qRgb(255, 255, 255);
    for (auto it = first; it != last; ++it) {
        if (it->latitude < range->south || it->latitude > range->north)
            continue;
        const auto p = t.geoToView(it->latitude, it->longitude, b);
        if (!p)
            continue;
        if (overlays.altitudeNodes) {
            const int x = p->x - box.left(), y = p->y - box.top();
            if (x - arm >= 0 && y - arm >= 0 && x + arm < w && y + arm < h) {
                QRgb* row = pixels + y * stride;
                for (int i = x - arm; i <= x + arm; ++i)
                    row[i] = white;
                for (int j = y - arm; j <= y + arm; ++j)
                    pixels[j * stride + x] = white;
            } else {
                for (int i = p->x - arm; i <= p->x + arm; ++i)
                    put(i, p->y, white);
                for (int j = p->y - arm; j <= p->y + arm; ++j)
                    put(p->x, j, white);
            }
        }
        if (overlays.altitudeLabels)
            labels.push_back({*p, it->altitude});
    }
    const QRgb text = colourOf(doc.textColor).rgb();
    for (const auto& [p, altitude] : labels) {
        const LabelPixels& label = labelPixels(altitude, font);
        const int x = p.x - box.left(), y = p.y - box.top();
        if (x + label.left >= 0 && y + label.top >= 0 && x + label.right < w && y + label.bottom < h) {
            QRgb* origin = pixels + y * stride + x;
            for (const QPoint& d : label.offsets)
                origin[d.y() * stride + d.x()] = text;
        } else {
            for (const QPoint& d : label.offsets)
                put(p.x + d.x(), p.y + d.y(), text);
        }
    }
    painter.drawImage(box.topLeft(), overlay);
}

const MapRenderer::LabelPixels& MapRenderer::labelPixels(std::int32_t altitude, const QFont& font)
{
    auto found = labelPixels_.find(altitude);
    if (found != labelPixels_.end())
        return found->second;
    // The label drawn once, centred on its base line at (0, 0), as the pixels it sets.
    const QString text = QString::number(altitude);
    const QFontMetrics metrics(font);
    const int pad = 8;
    const int advance = metrics.horizontalAdvance(text);
    QImage glyphs(advance + 2 * pad, metrics.ascent() + metrics.descent() + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(0);
    {
        QPainter p(&glyphs);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QPoint(pad, pad + metrics.ascent()), text);
    }
    LabelPixels label;
    for (int y = 0; y < glyphs.height(); ++y)
        for (int x = 0; x < glyphs.width(); ++x)
            if (qAlpha(glyphs.pixel(x, y)) != 0) {
                const QPoint d(x - pad - advance / 2, y - pad - metrics.ascent());
                label.offsets.push_back(d);
                label.left = std::min(label.left, d.x());
                label.right = std::max(label.right, d.x());
                label.top = std::min(label.top, d.y());
                label.bottom = std::max(label.bottom, d.y());
            }
    return labelPixels_.emplace(altitude, std::move(label)).first->second;
}
