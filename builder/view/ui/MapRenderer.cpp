#include "view/ui/MapRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <limits>
#include <type_traits>

#include "imagery/LogicalPalette.h"
#include "imagery/PackedBitmap.h"
#include "imagery/ui/BitmapPainter.h"
#include "output/TextureOrientation.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "view/ChunkOverlayLayout.h"
#include "view/ChunkSelection.h"
#include "view/MapLayersKey.h"
#include "view/PixelMask.h"
#include "view/ScaleBar.h"
#include "view/ui/LabelStamps.h"
#include "view/ui/TilePool.h"

namespace {

// A one-pixel dotted line sets one pixel in three, from its start.
constexpr int kDotPeriod = 3;

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

QImage MapRenderer::textureImage(const PackedBitmap& bitmap, const LogicalPalette* palette, bool mirrorEastWest,
                                 bool mirrorNorthSouth)
{
    // The bitmaps BitmapPainter shows, with its colours, turned and converted in one pass: the
    // same pixels as its indexed image mirrored and converted, without the two copies between.
    if (bitmap.bitsPerPixel() != 8 || bitmap.compression() != 0 || bitmap.width() <= 0 || bitmap.height() <= 0 ||
        !bitmap.pixelsComplete())
        return {};
    const QVector<QRgb> table = BitmapPainter::colorTable(bitmap, palette);
    const int w = bitmap.width(), h = bitmap.height();
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const std::uint8_t* pixels = bitmap.pixels();
    const std::size_t stride = bitmap.rowStride();
    for (int row = 0; row < h; ++row) {
        // Stored rows run bottom first; turned north to south, the stored order is the shown one.
        const std::size_t stored = static_cast<std::size_t>(mirrorNorthSouth ? row : h - 1 - row);
        const std::uint8_t* from = pixels + stored * stride;
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(row));
        if (mirrorEastWest)
            for (int x = 0; x < w; ++x)
                to[x] = table[from[w - 1 - x]] | 0xff000000u;
        else
            for (int x = 0; x < w; ++x)
                to[x] = table[from[x]] | 0xff000000u;
    }
    return image;
}

QImage MapRenderer::sampledTextureImage(const PackedBitmap& bitmap, const LogicalPalette* palette, bool mirrorEastWest,
                                        bool mirrorNorthSouth, QSize shown, const std::vector<std::uint32_t>& samples)
{
    if (bitmap.bitsPerPixel() != 8 || bitmap.compression() != 0 || bitmap.width() <= 0 || bitmap.height() <= 0 ||
        !bitmap.pixelsComplete() || samples.size() != static_cast<std::size_t>(shown.width()) * shown.height())
        return {};
    const QVector<QRgb> table = BitmapPainter::colorTable(bitmap, palette);
    QImage image(shown, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const std::uint32_t w = static_cast<std::uint32_t>(bitmap.width()), h = static_cast<std::uint32_t>(bitmap.height());
    const std::uint8_t* pixels = bitmap.pixels();
    const std::size_t stride = bitmap.rowStride();
    const std::uint32_t* at = samples.data();
    for (int row = 0; row < shown.height(); ++row) {
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int x = 0; x < shown.width(); ++x, ++at) {
            if (*at >= w * h) {
                to[x] = 0xff000000u;
                continue;
            }
            // The same pixel textureImage puts at the sampled place.
            const std::uint32_t sx = *at % w, sy = *at / w;
            const std::size_t stored = mirrorNorthSouth ? sy : h - 1 - sy;
            const std::size_t column = mirrorEastWest ? w - 1 - sx : sx;
            to[x] = table[pixels[stored * stride + column]] | 0xff000000u;
        }
    }
    return image;
}

const std::vector<std::uint32_t>& MapRenderer::samplesOf(QSize source, QSize shown)
{
    const std::array<int, 4> key{source.width(), source.height(), shown.width(), shown.height()};
    auto found = samples_.find(key);
    if (found != samples_.end())
        return found->second;
    // The painter scales a picture of positions, each pixel holding its own place: what lands in
    // each shown pixel is where the painter takes that pixel from, whatever it scales.
    std::vector<std::uint32_t> samples;
    const long long count = static_cast<long long>(source.width()) * source.height();
    constexpr std::uint32_t kNowhere = 0xffffff;
    if (count > 0 && count < kNowhere && !shown.isEmpty()) {
        QImage positions(source, QImage::Format_RGB32);
        QImage drawn(shown, QImage::Format_RGB32);
        if (!positions.isNull() && !drawn.isNull()) {
            for (int y = 0; y < source.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(positions.scanLine(y));
                for (int x = 0; x < source.width(); ++x)
                    line[x] = 0xff000000u | static_cast<std::uint32_t>(y * source.width() + x);
            }
            drawn.fill(0xff000000u | kNowhere);
            QPainter p(&drawn);
            p.drawImage(QRect(QPoint(0, 0), shown), positions);
            p.end();
            samples.reserve(static_cast<std::size_t>(shown.width()) * shown.height());
            for (int y = 0; y < shown.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
                for (int x = 0; x < shown.width(); ++x)
                    samples.push_back(line[x] & kNowhere);
            }
        }
    }
    return samples_.emplace(key, std::move(samples)).first->second;
}

const MapRenderer::NodeSprite& MapRenderer::nodeSprite(int radius)
{
    auto found = nodeSprites_.find(radius);
    if (found != nodeSprites_.end())
        return found->second;
    // One node, white inside a black ring, drawn once and then copied: the same pixels as drawing
    // each node's ellipse, without a painter path per node.
    NodeSprite sprite;
    sprite.image = QImage(2 * radius + 3, 2 * radius + 3, QImage::Format_ARGB32_Premultiplied);
    sprite.image.fill(0);
    QPainter p(&sprite.image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(1, 1, 2 * radius, 2 * radius));
    p.end();
    for (int y = 0; y < sprite.image.height(); ++y)
        for (int x = 0; x < sprite.image.width(); ++x) {
            const QRgb pixel = sprite.image.pixel(x, y);
            if (qAlpha(pixel) == 255)
                sprite.pixels.push_back({x - radius - 1, y - radius - 1, pixel});
            else if (qAlpha(pixel) != 0)
                sprite.opaque = false;
        }
    return nodeSprites_.emplace(radius, std::move(sprite)).first->second;
}

const QImage& MapRenderer::imageOf(const Texture* texture, std::int32_t flipValue, QSize shown)
{
    const TextureOrientation orientation = TextureOrientation::fromFlipValue(flipValue);
    const int turn = (orientation.mirrorEastWest ? 1 : 0) | (orientation.mirrorNorthSouth ? 2 : 0);
    // A texture shown smaller than it is, is kept at the size shown: drawn to it once by the
    // painter, as the painter would scale it every time. A zoomed-out map then keeps no full-size
    // picture of each texture, and its first paint does not fill them.
    const bool smaller = texture && texture->image && shown.width() <= texture->image->width() &&
                         shown.height() <= texture->image->height() &&
                         (shown.width() < texture->image->width() || shown.height() < texture->image->height());
    const ImageKey key{texture, turn, smaller ? shown.width() : 0, smaller ? shown.height() : 0};
    auto found = images_.find(key);
    if (found != images_.end())
        return found->second;
    QImage image;
    const LogicalPalette* palette = texture && texture->palette ? &*texture->palette : nullptr;
    if (smaller) {
        // Only the pixels the painter would take are converted, picked where it picks them.
        const std::vector<std::uint32_t>& samples =
            samplesOf(QSize(texture->image->width(), texture->image->height()), shown);
        if (!samples.empty())
            return images_
                .emplace(key, sampledTextureImage(*texture->image, palette, orientation.mirrorEastWest,
                                                  orientation.mirrorNorthSouth, shown, samples))
                .first->second;
    }
    if (texture && texture->image)
        image = textureImage(*texture->image, palette, orientation.mirrorEastWest, orientation.mirrorNorthSouth);
    if (smaller && !image.isNull()) {
        QImage scaled(shown, QImage::Format_RGB32);
        if (!scaled.isNull() && !shown.isEmpty()) {
            QPainter p(&scaled);
            p.drawImage(QRect(QPoint(0, 0), shown), image);
        }
        image = shown.isEmpty() ? QImage() : scaled;
    }
    return images_.emplace(key, std::move(image)).first->second;
}

void MapRenderer::paint(QPainter& painter, const CDibDoc& doc, const MapTransform& t, const MapOverlays& overlays,
                        const QRect& exposed, const ChunkSelection* selection, QPoint scroll, int windowHeight)
{
    // 1, 2, 3. The mosaic with its grid lines and nodes, the altitude records and labels.
    paintLayers(painter, doc, t, overlays, exposed);

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

void MapRenderer::paintLayers(QPainter& painter, const CDibDoc& doc, const MapTransform& t, const MapOverlays& overlays,
                              const QRect& exposed)
{
    if (exposed.isEmpty())
        return;
    const bool records = overlays.altitudeNodes || overlays.altitudeLabels;
    // The records' order (for searching them by longitude) comes from the fingerprint's own pass.
    bool inOrder = false;
    const std::uint64_t recordsKey = records ? altitudeRecordsKey(doc.mainAltitudeMap.records, &inOrder) : 0;
    sorted_ = inOrder;
    if (!keepTiles_) {
        // Strips of a bounded size, so a picture of the whole map does not need a second copy of it.
        const long long budget = 4LL << 20;
        const int stripWidth = static_cast<int>(
            std::clamp<long long>(budget / exposed.height() / kTileSize * kTileSize, kTileSize, exposed.width()));
        const int stripHeight = static_cast<int>(std::clamp<long long>(budget / stripWidth, kTileSize, exposed.height()));
        for (int x = exposed.left(); x <= exposed.right(); x += stripWidth)
            for (int y = exposed.top(); y <= exposed.bottom(); y += stripHeight) {
                const QRect strip(x, y, std::min(stripWidth, exposed.right() + 1 - x),
                                  std::min(stripHeight, exposed.bottom() + 1 - y));
                QImage picture(strip.size(), QImage::Format_ARGB32_Premultiplied);
                paintStrip(picture, strip.topLeft(), doc, t, overlays);
                painter.drawImage(strip.topLeft(), picture);
            }
        return;
    }
    tiles_.useKey(mapLayersKey(doc, t, overlays, recordsKey));
    // The tiles' grid starts at the top left corner of the first paint without tiles, so a new
    // window's first paint makes as few tiles as cover it.
    if (tiles_.size() == 0)
        tileOrigin_ = exposed.topLeft();
    const int size = kTileSize;
    auto tileOf = [size](int v, int origin) {
        const long long d = static_cast<long long>(v) - origin;
        return static_cast<int>(d >= 0 ? d / size : -((size - 1 - d) / size));
    };
    auto tileCorner = [&](int tx, int ty) { return tileOrigin_ + QPoint(tx * size, ty * size); };
    auto blit = [&](const QImage& tile, int tx, int ty) {
        const QRect rect(tileCorner(tx, ty), QSize(size, size));
        const QRect part = rect.intersected(exposed);
        painter.drawImage(part.topLeft(), tile, part.translated(-rect.topLeft()));
    };
    const int tx0 = tileOf(exposed.left(), tileOrigin_.x()), tx1 = tileOf(exposed.right(), tileOrigin_.x());
    const int ty0 = tileOf(exposed.top(), tileOrigin_.y()), ty1 = tileOf(exposed.bottom(), tileOrigin_.y());
    // Kept tiles are copied; the missing ones down a column form runs.
    struct Run {
        int tx, ty, last;
    };
    std::vector<Run> runs;
    for (int tx = tx0; tx <= tx1; ++tx) {
        for (int ty = ty0; ty <= ty1;) {
            if (const QImage* tile = tiles_.find(tx, ty)) {
                blit(*tile, tx, ty);
                ++ty;
                continue;
            }
            int last = ty;
            while (last < ty1 && !tiles_.find(tx, last + 1))
                ++last;
            runs.push_back({tx, ty, last});
            ty = last + 1;
        }
    }
    // The same run in neighbouring columns is painted as one picture (of a bounded size), so the
    // records and chunks are visited once for all of them rather than once a column: a first
    // paint is one picture, a scroll down one row of tiles.
    const long long budget = 4LL << 20;
    for (std::size_t i = 0; i < runs.size();) {
        const Run& run = runs[i];
        const int rows = run.last - run.ty + 1;
        std::size_t j = i + 1;
        while (j < runs.size() && runs[j].tx == runs[j - 1].tx + 1 && runs[j].ty == run.ty && runs[j].last == run.last &&
               static_cast<long long>(j - i + 1) * rows * size * size <= budget)
            ++j;
        const int columns = static_cast<int>(j - i);
        // Each tile painted straight into its own picture, the records placed once for all of them.
        std::vector<QImage> made;
        std::vector<PaintTarget> targets;
        made.reserve(static_cast<std::size_t>(columns) * rows);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r) {
                made.push_back(TilePool::make());
                targets.push_back({&made.back(), tileCorner(run.tx + c, run.ty + r)});
            }
        const QRect runRect(tileCorner(run.tx, run.ty), QSize(columns * size, rows * size));
        writeMarks(markRecordsBesideMosaic(targets, runRect, doc, t, overlays), targets);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r) {
                QImage& tile = made[static_cast<std::size_t>(c) * rows + r];
                if (tile.isNull())
                    continue;   // no memory for it: left unpainted, made again next time
                // Where the layers cover the whole tile, copying it is cheaper than blending it.
                // All opaque when their alphas ANDed together are: one pass without a branch a pixel.
                const auto* p = reinterpret_cast<const QRgb*>(tile.constBits());
                QRgb together = ~QRgb{0};
                for (std::ptrdiff_t k = 0; k < static_cast<std::ptrdiff_t>(size) * size; ++k)
                    together &= p[k];
                if (qAlpha(together) == 255)
                    tile.reinterpretAsFormat(QImage::Format_RGB32);
                blit(tile, run.tx + c, run.ty + r);
                tiles_.put(run.tx + c, run.ty + r, std::move(tile));
            }
        i = j;
    }
}

MapRenderer::RecordMarks MapRenderer::markRecordsBesideMosaic(std::span<const PaintTarget> targets, const QRect& rect,
                                                              const CDibDoc& doc, const MapTransform& t,
                                                              const MapOverlays& overlays)
{
    // The mosaic goes into the pictures and the marks into masks of their own: neither reads what
    // the other writes, so with two pictures or more, a helper thread paints the mosaic meanwhile.
    // The caches each half keeps are its own (textures and node sprites, label slots and label
    // pixels), and the project is not changed while the window paints.
    const auto paintTiles = [&] {
        for (const PaintTarget& target : targets)
            paintMosaic(*target.picture, target.origin, doc, t, overlays);
    };
    if (targets.size() < 2) {
        paintTiles();
        return markRecords(rect, doc, t, overlays);
    }
    std::exception_ptr failed;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                paintTiles();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        paintTiles();   // no thread to be had: one after the other
        return markRecords(rect, doc, t, overlays);
    }
    std::optional<RecordMarks> marks;
    try {
        marks.emplace(markRecords(rect, doc, t, overlays));
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (failed)
        std::rethrow_exception(failed);
    return std::move(*marks);
}

void MapRenderer::paintStrip(QImage& picture, QPoint origin, const CDibDoc& doc, const MapTransform& t,
                             const MapOverlays& overlays)
{
    paintMosaic(picture, origin, doc, t, overlays);
    PaintTarget target{&picture, origin};
    paintAltitudeRecords({&target, 1}, QRect(origin, picture.size()), doc, t, overlays);
}

void MapRenderer::paintMosaic(QImage& picture, QPoint origin, const CDibDoc& doc, const MapTransform& t,
                              const MapOverlays& overlays)
{
    if (picture.isNull())
        return;   // no memory for it: the layers stay unpainted rather than written through null
    picture.fill(0);
    auto* bits = reinterpret_cast<QRgb*>(picture.bits());
    const qsizetype stride = picture.bytesPerLine() / 4;
    const int w = picture.width(), h = picture.height();
    const ViewRect area{origin.x(), origin.y(), origin.x() + w, origin.y() + h};
    const AppSettings& settings = doc.app.settings;
    const double zoom = t.zoom();
    const bool colourCoded = settings.showSynthTilesColorCoded != 0 && zoom <= settings.zoomLevel;
    // The lines are dotted as a one-pixel dotted pen draws them over the whole map: one pixel in
    // three from the line's start, its end included, only the dots set. Set here straight, where a
    // painter clipped to the picture would start the dots anew at its edge.
    const QRgb gridColour = colourOf(doc.gridColor).rgb();
    const auto dottedLine = [&](ViewPoint from, ViewPoint to) {
        const bool across = from.y == to.y;
        const int fixed = across ? from.y - origin.y() : from.x - origin.x();
        if (fixed < 0 || fixed >= (across ? h : w))
            return;
        int v = across ? from.x - origin.x() : from.y - origin.y();
        const int end = std::min(across ? to.x - origin.x() : to.y - origin.y(), (across ? w : h) - 1);
        if (v < 0)
            v += (-v + kDotPeriod - 1) / kDotPeriod * kDotPeriod;
        for (; v <= end; v += kDotPeriod)
            bits[across ? fixed * stride + v : v * stride + fixed] = gridColour;
    };
    const int nodeMargin = std::max(2, truncateToInt(zoom * 5)) + 1;
    std::vector<std::pair<qsizetype, QRgb>> spriteSteps;
    int spriteRadius = -1;
    {
        QPainter painter(&picture);
        painter.translate(-origin);
        // Chunks whose places are far from the picture are passed over before their rectangles are
        // worked out: a bound two chunks wider than the exact test on each side.
        const double side = 256.0 * zoom;
        const double columnLow = std::floor((area.left - nodeMargin - t.originOffsetX()) / side) - 2;
        const double columnHigh = std::ceil((area.right + nodeMargin - t.originOffsetX()) / side) + 2;
        const double fromTopLow = std::floor((area.top - nodeMargin - t.originOffsetY()) / side) - 2;
        const double fromTopHigh = std::ceil((area.bottom + nodeMargin - t.originOffsetY()) / side) + 2;
        const auto near = [&](const TexReliefChunk& chunk) {
            const double fromTop = t.chunkRows() - 1.0 - chunk.chunkValueB;
            return chunk.chunkValueA >= columnLow && chunk.chunkValueA <= columnHigh && fromTop >= fromTopLow &&
                   fromTop <= fromTopHigh;
        };
        // The mosaic, chunk by chunk with its grid lines and nodes.
        for (const TexReliefChunk& chunk : doc.chunks) {
            if (!chunk.texture || !chunk.texture->image || !near(chunk))
                continue;
            const ViewRect rect = t.chunkRect(chunk.chunkValueA, chunk.chunkValueB);
            if (!rect.grown(nodeMargin).intersects(area))
                continue;
            const Texture& texture = *chunk.texture;
            if (texture.kind == 0 && colourCoded) {
                const auto& classes = settings.textureClasses;
                const bool known =
                    texture.classCode >= 0 && static_cast<std::size_t>(texture.classCode) < classes.size();
                painter.fillRect(toQRect(rect), known ? colourOf(classes[texture.classCode].color) : QColor(Qt::black));
            } else {
                const QRect target = toQRect(rect);
                const QImage& image = imageOf(&texture, chunk.chunkValueC, target.size());
                if (image.size() == target.size() && image.format() == QImage::Format_RGB32) {
                    // Drawn at its own size, an opaque picture's pixels are copied as they are.
                    const QRect part = target.intersected(QRect(origin, picture.size()));
                    for (int y = part.top(); y <= part.bottom(); ++y)
                        std::memcpy(bits + (y - origin.y()) * stride + (part.left() - origin.x()),
                                    reinterpret_cast<const QRgb*>(image.constScanLine(y - target.top())) +
                                        (part.left() - target.left()),
                                    sizeof(QRgb) * static_cast<std::size_t>(part.width()));
                } else if (!image.isNull()) {
                    painter.drawImage(target, image);
                }
            }
            if (overlays.gridLines)
                for (const GridLine& line : chunkGridLines(rect, chunk.chunkValueA, chunk.chunkValueB))
                    dottedLine(line.from, line.to);
            if (overlays.gridNodes) {
                const GridNodes nodes = chunkGridNodes(rect, chunk.properties.gridDensity, zoom);
                const int d = nodes.radius;
                const NodeSprite& sprite = nodeSprite(d);
                for (int x : nodes.xs) {
                    if (x + d < area.left || x - d >= area.right)
                        continue;
                    for (int y : nodes.ys) {
                        if (y + d < area.top || y - d >= area.bottom)
                            continue;
                        if (!sprite.opaque) {
                            painter.drawImage(x - d - 1, y - d - 1, sprite.image);
                            continue;
                        }
                        // The painter draws straight into the picture, so its pixels can be set in turn.
                        const int cx = x - origin.x(), cy = y - origin.y();
                        if (cx - d - 1 >= 0 && cy - d - 1 >= 0 && cx + d + 1 < w && cy + d + 1 < h) {
                            if (spriteRadius != d) {
                                // The sprite's pixels as steps in this picture, once a radius.
                                spriteRadius = d;
                                spriteSteps.clear();
                                for (const NodePixel& n : sprite.pixels)
                                    spriteSteps.push_back({n.dy * stride + n.dx, n.argb});
                            }
                            QRgb* centre = bits + cy * stride + cx;
                            for (const auto& [step, argb] : spriteSteps)
                                centre[step] = argb;
                            continue;
                        }
                        for (const NodePixel& n : sprite.pixels) {
                            const int px = cx + n.dx, py = cy + n.dy;
                            if (px >= 0 && py >= 0 && px < w && py < h)
                                bits[py * stride + px] = n.argb;
                        }
                    }
                }
            }
        }
    }
}

void MapRenderer::paintAltitudeRecords(std::span<const PaintTarget> targets, const QRect& rect, const CDibDoc& doc,
                                       const MapTransform& t, const MapOverlays& overlays)
{
    writeMarks(markRecords(rect, doc, t, overlays), targets);
}

MapRenderer::RecordMarks MapRenderer::markRecords(const QRect& rect, const CDibDoc& doc, const MapTransform& t,
                                                  const MapOverlays& overlays)
{
    RecordMarks marks;
    const GeoRect& b = doc.boundary;
    const auto& records = doc.mainAltitudeMap.records;
    if (!(overlays.altitudeNodes || overlays.altitudeLabels) || records.empty() || b.east == b.west ||
        b.north == b.south || rect.isEmpty())
        return marks;
    const QPoint origin = rect.topLeft();
    const double zoom = t.zoom();
    const int arm = truncateToInt(zoom * 4) + 1;
    LabelStamps& labelStamps = LabelStamps::shared();
    const QFontMetrics metrics(labelStamps.font());
    const int w = rect.width(), h = rect.height();
    // A label reaches further from its record than a cross does.
    const int margin = std::max(arm, overlays.altitudeLabels ? metrics.horizontalAdvance("-2147483648") : 0) + 2;
    const ViewRect area{origin.x() - margin, origin.y() - margin, origin.x() + w + margin, origin.y() + h + margin};
    const auto range = t.geoRangeOf(area, b);
    if (!range)
        return marks;
    // Records in longitude order: only those in the range's columns, found by halving.
    std::size_t first = 0, last = records.size();
    if (sorted_) {
        auto firstNotBefore = [&records](double longitude, std::size_t from, bool orEqual) {
            std::size_t low = from, high = records.size();
            while (low < high) {
                const std::size_t middle = low + (high - low) / 2;
                const double v = records[middle].longitude;
                if (v < longitude || (orEqual && v == longitude))
                    low = middle + 1;
                else
                    high = middle;
            }
            return low;
        };
        first = firstNotBefore(range->west, 0, false);
        last = firstNotBefore(range->east, first, true);
    }
    // Crosses are white and labels all of one colour, drawn without smoothing, crosses first: the
    // picture is the labels' pixels in the text colour over the crosses' pixels in white, whatever
    // the order within each. So each is the union of its marks, ORed as bits.
    PixelMask crosses(overlays.altitudeNodes ? w : 0, overlays.altitudeNodes ? h : 0);
    // Crosses of one size: the records' points marked, then grown into crosses all at once.
    const bool growCrosses = arm <= PixelMask::kMaxGrownArm;
    const PixelStamp cross = growCrosses ? PixelStamp() : PixelStamp::cross(arm);
    PixelMask labels(overlays.altitudeLabels ? w : 0, overlays.altitudeLabels ? h : 0);
    // Labels of altitudes not seen before wait until their pixels are made, all at once.
    std::vector<std::pair<ViewPoint, std::int32_t>> waiting;
    std::vector<std::int32_t> newAltitudes;
    std::unordered_set<std::int32_t> seen;
    // The transform's own arithmetic, step for step, with what stays the same taken out of the loop.
    const double mapWidth = truncateToInt(t.chunkColumns() * 256.0 * zoom);
    const double mapHeight = truncateToInt(t.chunkRows() * 256.0 * zoom);
    const double lonSpan = b.east - b.west, latSpan = b.north - b.south;
    const double offsetX = t.originOffsetX(), offsetY = t.originOffsetY();
    const auto columnOf = [&](double longitude) {
        return truncateToInt((longitude - b.west) / lonSpan * mapWidth + offsetX) - origin.x();
    };
    const auto rowOf = [&](double latitude) {
        return truncateToInt(mapHeight - (latitude - b.south) / latSpan * mapHeight + offsetY) - origin.y();
    };
    // Whether a record is placed depends on its latitude and its longitude apart.
    const auto latitudeShown = [&](double latitude) {
        return !(latitude < range->south || latitude > range->north) && latitude >= b.south && latitude <= b.north;
    };
    const auto longitudeShown = [&](double longitude) { return longitude >= b.west && longitude <= b.east; };
    // Packed records share their positions: each distinct latitude and longitude is placed once,
    // kHidden where records of it are not placed.
    constexpr int kHidden = std::numeric_limits<int>::min();
    const auto placed = [kHidden](int v) { return v == kHidden ? kHidden + 1 : v; };   // far outside all the same
    const PackedRecords* packed = records.packedRecords();
    std::vector<int> packedRows, packedColumns;
    if (packed) {
        packedRows.resize(packed->latitudes.size());
        for (std::size_t k = 0; k < packed->latitudes.size(); ++k) {
            const double latitude = packed->latitudes[k];
            packedRows[k] = latitudeShown(latitude) ? placed(rowOf(latitude)) : kHidden;
        }
        packedColumns.resize(packed->longitudes.size());
        for (std::size_t k = 0; k < packed->longitudes.size(); ++k) {
            const double longitude = packed->longitudes[k];
            packedColumns[k] = longitudeShown(longitude) ? placed(columnOf(longitude)) : kHidden;
        }
    }
    // A label not made yet waits (out of the loop's way: it happens once an altitude).
    const auto wait = [&](int x, int y, std::int32_t altitude) __attribute__((noinline)) {
        waiting.push_back({{x, y}, altitude});
        if (seen.insert(altitude).second)
            newAltitudes.push_back(altitude);
    };
    // The loop made for the overlays shown, so it tests nothing else a record.
    const auto placeAll = [&](auto crossMode, auto withLabels) {
        constexpr int kCrosses = decltype(crossMode)::value;   // 0 none, 1 points to grow, 2 stamped
        constexpr bool kLabels = decltype(withLabels)::value;
        PixelMask::Marker crossMarks(crosses), labelMarks(labels);
        // The range is as wide as the widest label could reach; the masks drop what falls outside.
        const auto mark = [&](int x, int y, std::int32_t altitude) __attribute__((always_inline)) {
            if constexpr (kCrosses == 1)
                crossMarks.setPoint(x, y);
            else if constexpr (kCrosses == 2)
                crossMarks.stamp(cross, x, y);
            if constexpr (kLabels) {
                if (const StampSlot* slot = knownStamp(altitude)) {
                    if (slot->rowsHere)
                        labelMarks.stampBits(slot->rows.data(), 1, slot->left, slot->top, slot->width, slot->height, x,
                                             y);
                    else
                        labelMarks.stamp(*slot->stamp, x, y);
                } else {
                    wait(x, y, altitude);
                }
            }
        };
        if (packed) {
            const PackedRecords::Entry* entries = packed->entries.data();
            const int* rows = packedRows.data();
            const int* columns = packedColumns.data();
            for (std::size_t i = first; i < last; ++i) {
                const PackedRecords::Entry e = entries[i];
                const int x = columns[e.longitude], y = rows[e.latitude];
                if (x == kHidden || y == kHidden)
                    continue;
                mark(x, y, e.altitude);
            }
            return;
        }
        // Records of one grid column share a longitude: its column is worked out once.
        double lastLongitude = std::numeric_limits<double>::quiet_NaN();
        int x = 0;
        for (std::size_t i = first; i < last; ++i) {
            const AltitudeRecord record = records[i];
            const double latitude = record.latitude, longitude = record.longitude;
            if (!latitudeShown(latitude) || !longitudeShown(longitude))
                continue;
            if (longitude != lastLongitude) {
                x = columnOf(longitude);
                lastLongitude = longitude;
            }
            mark(x, rowOf(latitude), record.altitude);
        }
    };
    const auto withLabels = [&](auto crossMode) {
        if (overlays.altitudeLabels)
            placeAll(crossMode, std::true_type{});
        else
            placeAll(crossMode, std::false_type{});
    };
    if (!overlays.altitudeNodes)
        withLabels(std::integral_constant<int, 0>{});
    else if (growCrosses)
        withLabels(std::integral_constant<int, 1>{});
    else
        withLabels(std::integral_constant<int, 2>{});
    if (overlays.altitudeNodes && growCrosses)
        crosses.growCrosses(arm);
    labelStamps.make(newAltitudes);
    for (const auto& [p, altitude] : waiting)
        labels.stamp(*knownStamp(altitude)->stamp, p.x, p.y);
    marks.any = true;
    marks.origin = origin;
    marks.width = w;
    marks.height = h;
    marks.crossesShown = overlays.altitudeNodes;
    marks.labelsShown = overlays.altitudeLabels;
    marks.text = colourOf(doc.textColor).rgb();
    marks.crosses = std::move(crosses);
    marks.labels = std::move(labels);
    return marks;
}

void MapRenderer::writeMarks(const RecordMarks& marks, std::span<const PaintTarget> targets)
{
    if (!marks.any)
        return;
    const QPoint origin = marks.origin;
    const int w = marks.width, h = marks.height;
    const PixelMask& crosses = marks.crosses;
    const PixelMask& labels = marks.labels;
    const QRgb text = marks.text;
    const QRgb white = qRgb(255, 255, 255);
    // Eight pixels for each byte of a label mask word: text where its bit is set, white elsewhere.
    std::array<std::array<QRgb, 8>, 256> spread;
    for (int byte = 0; byte < 256; ++byte)
        for (int bit = 0; bit < 8; ++bit)
            spread[byte][bit] = (byte >> bit) & 1 ? text : white;
    for (const PaintTarget& target : targets) {
        if (target.picture->isNull())
            continue;
        // Where the picture lies in the masks: a whole number of words from their left edge.
        const int left = target.origin.x() - origin.x(), top = target.origin.y() - origin.y();
        const int pw = target.picture->width(), ph = target.picture->height();
        if (left < 0 || top < 0 || left % 64 != 0 || left + pw > w || top + ph > h)
            continue;
        auto* pixels = reinterpret_cast<QRgb*>(target.picture->bits());
        const qsizetype stride = target.picture->bytesPerLine() / 4;
        const int words = (pw + 63) / 64, firstWord = left / 64;
        // The last word's bits beyond the width belong to no pixel.
        const std::uint64_t lastWord = pw % 64 == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (pw % 64)) - 1;
        for (int y = 0; y < ph; ++y) {
            const std::uint64_t* c = marks.crossesShown ? crosses.row(top + y) + firstWord : nullptr;
            const std::uint64_t* l = marks.labelsShown ? labels.row(top + y) + firstWord : nullptr;
            QRgb* row = pixels + y * stride;
            for (int k = 0; k < words; ++k) {
                const std::uint64_t inside = k + 1 == words ? lastWord : ~std::uint64_t{0};
                const std::uint64_t inLabel = (l ? l[k] : 0) & inside;
                std::uint64_t any = inLabel | ((c ? c[k] : 0) & inside);
                if (any == ~std::uint64_t{0}) {
                    // Where labels crowd, whole words are set: eight pixels at a time from the table.
                    QRgb* to = row + k * 64;
                    for (int part = 0; part < 8; ++part)
                        std::memcpy(to + 8 * part, spread[(inLabel >> (8 * part)) & 0xff].data(), sizeof(QRgb) * 8);
                    continue;
                }
                while (any != 0) {
                    const int bit = std::countr_zero(any);
                    row[k * 64 + bit] = (inLabel >> bit) & 1 ? text : white;
                    any &= any - 1;
                }
            }
        }
    }
}

const MapRenderer::StampSlot* MapRenderer::fillStampSlot(std::int32_t altitude)
{
    // Neighbouring records rarely share an altitude, so the table is read at random: one slot a record.
    StampSlot& slot = stampSlots_[static_cast<std::uint32_t>(altitude) % stampSlots_.size()];
    const PixelStamp* stamp = LabelStamps::shared().find(altitude);
    if (!stamp)
        return nullptr;
    slot.stamp = stamp;
    slot.altitude = altitude;
    slot.left = stamp->left;
    slot.top = stamp->top;
    slot.width = stamp->width;
    slot.height = stamp->height;
    slot.rowsHere = !stamp->empty() && stamp->words == 1 && stamp->height <= kSlotRows;
    if (slot.rowsHere)
        std::copy(stamp->bits.begin(), stamp->bits.end(), slot.rows.begin());
    return &slot;
}
