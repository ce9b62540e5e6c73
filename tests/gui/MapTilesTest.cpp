// The map's kept tiles change nothing in the picture: a window's renderer, cold, warm and after
// scrolling, paints exactly what a renderer without tiles paints, and that is exactly what
// painting every mark with the painter gives. On the real window, every edit that changes what
// the map shows is shown on the next paint, as a fresh renderer paints it.
#include <QPainter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QtTest>
#include <memory>
#include <random>

#include "altitude/AltitudeMerge.h"
#include "imagery/LogicalPalette.h"
#include "imagery/ui/BitmapPainter.h"
#include "output/TextureOrientation.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ProjectWindow.h"
#include "base/ui/CommandRegistry.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TextureImages.h"
#include "synth/Texture.h"
#include "view/ChunkOverlayLayout.h"
#include "view/ui/CDibView.h"
#include "view/ui/MapRenderer.h"
#include "view/ui/TilePool.h"

namespace {

// Compares two pictures pixel by pixel; names the first differences and counts them.
QString difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return QString("sizes %1 x %2 and %3 x %4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    QString named;
    long long count = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            if (p[col] != q[col] && ++count <= 6)
                named += QString(" (%1, %2): %3 and %4;").arg(col).arg(row).arg(p[col], 8, 16).arg(q[col], 8, 16);
    }
    return count == 0 ? QString() : QString("%1 pixels differ:%2").arg(count).arg(named);
}

// One window's picture as the view paints it, with `renderer` (tiles kept or not).
QImage paintWindow(MapRenderer& renderer, const CDibDoc& doc, const MapTransform& t, const MapOverlays& o, QSize size,
                   QPoint scroll, const ChunkSelection* selection = nullptr)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.translate(-scroll);
    renderer.paint(painter, doc, t, o, QRect(scroll, size), selection, scroll, size.height());
    painter.end();
    return image;
}

// The window painted by a renderer keeping tiles and by one painting strips, each against the
// expected picture: empty when both match, else which one differs, where, and at what zoom and scroll.
QString keptAndFreshDiffer(MapRenderer& kept, MapRenderer& fresh, const CDibDoc& doc, const MapTransform& t,
                           const MapOverlays& o, QSize window, QPoint scroll, const QImage& expected)
{
    for (MapRenderer* renderer : {&kept, &fresh}) {
        const QString diff = difference(paintWindow(*renderer, doc, t, o, window, scroll), expected);
        if (!diff.isEmpty())
            return QString("zoom %1 scroll %2, %3, %4: %5")
                .arg(t.zoom())
                .arg(scroll.x())
                .arg(scroll.y())
                .arg(renderer == &kept ? "tiles" : "strips", diff);
    }
    return {};
}

MapOverlays everyOverlay()
{
    MapOverlays o;
    o.gridLines = o.gridNodes = o.altitudeNodes = o.altitudeLabels = true;
    return o;
}

} // namespace

class MapTilesTest : public QObject {
    Q_OBJECT

    ScriptedPlatform platform;
    std::unique_ptr<AppContext> app;
    std::vector<std::unique_ptr<Texture>> textures;

    // 8 x 8 chunks (2048 x 2048 pixels) over 45-46 N, 15-16 E; records close enough that labels
    // overlap, one chunk without a texture, two densities and all four orientations; two textures
    // of other sizes, one smaller and one larger than a chunk at zoom 1.
    std::unique_ptr<CDibDoc> makeProject(AppContext& context)
    {
        textures.clear();
        for (int i = 0; i < 5; ++i) {
            auto t = std::make_unique<Texture>();
            t->image = i == 3 ? patternTexture(4, 100, 61) : i == 4 ? patternTexture(5, 301, 280) : patternTexture(i + 1);
            t->kind = 1;
            textures.push_back(std::move(t));
        }
        auto doc = std::make_unique<CDibDoc>(context);
        doc->chunkColumns = doc->chunkRows = 8;
        doc->boundary = {45.0, 46.0, 15.0, 16.0};
        doc->metresPerPixel = 40.0;
        doc->textColor = 0x00FFFF;
        doc->gridColor = 0x0000FF;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                TexReliefChunk chunk;
                chunk.chunkValueA = c;
                chunk.chunkValueB = r;
                chunk.chunkValueC = (r + c) % 4;
                chunk.properties.gridDensity = (r + c) % 3 == 0 ? 8 : 4;
                chunk.texture = (r == 3 && c == 4) ? nullptr
                                : (r == 2 && c == 5) ? textures[3].get()
                                : (r == 6 && c <= 1) ? textures[4].get()
                                                     : textures[(r * 3 + c) % 3].get();
                doc->chunks.push_back(chunk);
            }
        auto source = std::make_unique<AltitudeMap>();
        source->enabled = 1;
        std::mt19937 random(11);
        for (int i = 0; i < 60; ++i)
            for (int j = 0; j < 60; ++j)
                source->records.push_back({45.0 + (j + 0.5) / 60.0, 15.0 + (i + 0.5) / 60.0,
                                           static_cast<std::int32_t>(random() % 4000) - 500});
        doc->altitudeMaps.push_back(std::move(source));
        mergeAltitudeMaps(*doc);
        return doc;
    }

private slots:
    void init()
    {
        QStandardPaths::setTestModeEnabled(true);
        app = std::make_unique<AppContext>(platform);
    }

    void cleanup()
    {
        app.reset();
        textures.clear();
        platform.messages.clear();
    }

    void altitudeMarksAreWhatThePainterDraws()
    {
        auto doc = makeProject(*app);
        const auto& records = doc->mainAltitudeMap.records;
        QFont font("Arial");
        font.setPointSize(7);
        font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics metrics(font);
        // The records as the merge shares them (plain, from the source) and packed.
        for (const bool packed : {false, true}) {
            if (packed)
                QVERIFY(doc->mainAltitudeMap.records.pack());
            for (double zoom : {2.0, 1.0, 0.5, 0.125}) {
                // The map away from the picture's edges, so no mark is cut by them.
                MapTransform t(8, 8, zoom);
                const QSize size(t.scrollSize().width + 80, t.scrollSize().height + 80);
                t.centreIn(size.width(), size.height());
                MapRenderer renderer;
                MapOverlays mosaicOnly;
                mosaicOnly.scaleBar = false;
                const QImage mosaic = paintWindow(renderer, *doc, t, mosaicOnly, size, QPoint());
                MapOverlays layers;
                layers.altitudeNodes = layers.altitudeLabels = true;
                layers.scaleBar = false;
                const QImage drawn = paintWindow(renderer, *doc, t, layers, size, QPoint());
                // Every cross and then every label on their own with the painter, over the mosaic.
                QImage expected = mosaic.copy();
                QPainter p(&expected);
                const int arm = static_cast<int>(zoom * 4) + 1;
                for (const AltitudeRecord& record : records) {
                    const ViewPoint v = *t.geoToView(record.latitude, record.longitude, doc->boundary);
                    p.fillRect(QRect(v.x - arm, v.y, 2 * arm + 1, 1), Qt::white);
                    p.fillRect(QRect(v.x, v.y - arm, 1, 2 * arm + 1), Qt::white);
                }
                p.setFont(font);
                p.setPen(Qt::yellow);
                for (const AltitudeRecord& record : records) {
                    const ViewPoint v = *t.geoToView(record.latitude, record.longitude, doc->boundary);
                    const QString text = QString::number(record.altitude);
                    p.drawText(QPoint(v.x - metrics.horizontalAdvance(text) / 2, v.y), text);
                }
                p.end();
                const QString diff = difference(drawn, expected);
                const QString what = QString("%1 zoom %2").arg(packed ? "packed" : "plain").arg(zoom);
                QVERIFY2(diff.isEmpty(), qPrintable(what + ": " + diff));
            }
        }
    }

    void keptTilesPaintWhatAFreshPaintPaints()
    {
        // Cold, warm, and after scrolling by amounts that do and do not fall on tile edges, at
        // zooms where chunks are smaller and larger than tiles and the map smaller than the window.
        auto doc = makeProject(*app);
        ChunkSelection selection;
        selection.click(doc->chunks, 9, false);
        doc->clickLatitude = 45.5;
        doc->clickLongitude = 15.5;
        doc->macroItems.push_back(FsMacroItem{"m.scm", {}, 700, 900});
        const QSize window(700, 500);
        for (double zoom : {0.125, 0.25, 1.0, 2.0, 8.0}) {
            MapTransform t(8, 8, zoom);
            t.centreIn(window.width(), window.height());
            const ViewSize size = t.scrollSize();
            const int maxX = std::max(0, size.width - window.width()), maxY = std::max(0, size.height - window.height());
            MapRenderer kept;
            kept.setKeepTiles(true);
            const QPoint scrolls[] = {{0, 0}, {0, 0}, {37, 0}, {37, 301}, {300, 513}, {256, 256}, {0, 0}, {maxX, maxY}};
            for (const QPoint& s : scrolls) {
                const QPoint scroll(std::min(s.x(), maxX), std::min(s.y(), maxY));
                MapRenderer fresh;
                const QImage expected = paintWindow(fresh, *doc, t, everyOverlay(), window, scroll, &selection);
                const QImage shown = paintWindow(kept, *doc, t, everyOverlay(), window, scroll, &selection);
                const QString diff = difference(shown, expected);
                QVERIFY2(diff.isEmpty(), qPrintable(QString("zoom %1 scroll %2, %3: %4")
                                                        .arg(zoom)
                                                        .arg(scroll.x())
                                                        .arg(scroll.y())
                                                        .arg(diff)));
                QVERIFY(kept.keptTiles() > 0);
            }
            // A part of the window (a selection's repaint) from the kept tiles, the rest untouched.
            QImage part(window, QImage::Format_RGB32);
            part.fill(Qt::black);
            QPainter painter(&part);
            const QRect exposed(123, 77, 200, 150);
            painter.setClipRect(exposed);
            kept.paint(painter, *doc, t, everyOverlay(), exposed, &selection, QPoint(), window.height());
            painter.end();
            MapRenderer fresh;
            const QImage whole = paintWindow(fresh, *doc, t, everyOverlay(), window, QPoint(), &selection);
            const QString partDiff = difference(part.copy(exposed), whole.copy(exposed));
            QVERIFY2(partDiff.isEmpty(), qPrintable(QString("zoom %1, a part: %2").arg(zoom).arg(partDiff)));
            QPainter blank(&part);
            blank.fillRect(exposed, Qt::black);
            blank.end();
            QImage black(window, QImage::Format_RGB32);
            black.fill(Qt::black);
            QVERIFY(difference(part, black).isEmpty());
        }
        selection.clear(doc->chunks);
    }

    void textureImagesAreThePaintersIndexedImagesTurnedAndConverted()
    {
        // Each orientation, with the bitmap's own colours and with a palette shorter than 256
        // entries; a bitmap that cannot be shown gives no image either way.
        LogicalPalette palette;
        for (int i = 0; i < 100; ++i)
            palette.entries.push_back({static_cast<std::uint8_t>(i * 2), static_cast<std::uint8_t>(255 - i), 7, 0});
        for (int seed : {1, 5}) {
            const PackedBitmap bitmap = patternTexture(seed);
            for (const LogicalPalette* p : std::initializer_list<const LogicalPalette*>{nullptr, &palette})
                for (int turn = 0; turn < 4; ++turn) {
                    const bool eastWest = (turn & 1) != 0, northSouth = (turn & 2) != 0;
                    const QImage expected = BitmapPainter::toImage(bitmap, p)
                                                .mirrored(eastWest, northSouth)
                                                .convertToFormat(QImage::Format_RGB32);
                    const QImage made = MapRenderer::textureImage(bitmap, p, eastWest, northSouth);
                    QCOMPARE(made.format(), QImage::Format_RGB32);
                    const QString diff = difference(made, expected);
                    QVERIFY2(diff.isEmpty(), qPrintable(QString("seed %1 turn %2 palette %3: %4")
                                                            .arg(seed).arg(turn).arg(p != nullptr).arg(diff)));
                }
        }
        PackedBitmap fourBit = patternTexture(2);
        fourBit.block()[14] = 4;
        QVERIFY(BitmapPainter::toImage(fourBit).isNull());
        QVERIFY(MapRenderer::textureImage(fourBit, nullptr, true, false).isNull());
    }

    void theMosaicIsEachTextureScaledByThePainterIntoItsChunk()
    {
        // Textures shown smaller than they are keep a picture of the size shown; the mosaic is
        // still what drawing each full texture into its chunk's rectangle gives, at zooms where
        // chunks have equal and unequal sizes, with chunks cut by the window's and tiles' edges.
        auto doc = makeProject(*app);
        MapOverlays mosaicOnly;
        mosaicOnly.scaleBar = false;
        const QSize window(700, 500);
        for (double zoom : {0.125, 0.2, 0.3, 0.5, 0.75, 0.9, 1.0, 2.0}) {
            MapTransform t(8, 8, zoom);
            t.centreIn(window.width(), window.height());
            const int maxX = std::max(0, t.scrollSize().width - window.width());
            const int maxY = std::max(0, t.scrollSize().height - window.height());
            MapRenderer kept, fresh;
            kept.setKeepTiles(true);
            for (const QPoint& s : {QPoint(0, 0), QPoint(13, 7), QPoint(301, 161)}) {
                const QPoint scroll(std::min(s.x(), maxX), std::min(s.y(), maxY));
                QImage expected(window, QImage::Format_RGB32);
                expected.fill(Qt::black);
                QPainter p(&expected);
                p.translate(-scroll);
                for (const TexReliefChunk& chunk : doc->chunks) {
                    if (!chunk.texture)
                        continue;
                    const ViewRect r = t.chunkRect(chunk.chunkValueA, chunk.chunkValueB);
                    const TextureOrientation o = TextureOrientation::fromFlipValue(chunk.chunkValueC);
                    p.drawImage(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)),
                                BitmapPainter::toImage(*chunk.texture->image)
                                    .mirrored(o.mirrorEastWest, o.mirrorNorthSouth)
                                    .convertToFormat(QImage::Format_RGB32));
                }
                p.end();
                const QString diff = keptAndFreshDiffer(kept, fresh, *doc, t, mosaicOnly, window, scroll, expected);
                QVERIFY2(diff.isEmpty(), qPrintable(diff));
            }
        }
    }

    void gridLinesAreWhatADottedPenDrawsOverTheWholeMap()
    {
        // Every textured chunk's lines drawn by a one-pixel dotted pen over a picture of the whole map, then
        // the window's part cut out: the tiles and strips set the same dots, lines cut by their
        // edges included, at zooms where chunks are smaller and larger than tiles.
        auto doc = makeProject(*app);
        MapOverlays mosaicOnly, lines;
        mosaicOnly.scaleBar = lines.scaleBar = false;
        lines.gridLines = true;
        const QSize window(700, 500);
        for (double zoom : {0.125, 0.3, 0.5, 1.0, 2.0}) {
            MapTransform t(8, 8, zoom);
            t.centreIn(window.width(), window.height());
            const QSize whole(std::max(t.scrollSize().width, window.width()), std::max(t.scrollSize().height, window.height()));
            MapRenderer plain;
            QImage map = paintWindow(plain, *doc, t, mosaicOnly, whole, QPoint());
            QPainter p(&map);
            QPen pen(QColor(doc->gridColor & 0xff, (doc->gridColor >> 8) & 0xff, (doc->gridColor >> 16) & 0xff), 1,
                     Qt::DotLine);
            pen.setCosmetic(true);
            p.setPen(pen);
            p.setBackgroundMode(Qt::TransparentMode);
            for (const TexReliefChunk& chunk : doc->chunks)
                for (const GridLine& line : !chunk.texture ? std::vector<GridLine>() :
                     chunkGridLines(t.chunkRect(chunk.chunkValueA, chunk.chunkValueB), chunk.chunkValueA, chunk.chunkValueB))
                    p.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
            p.end();
            MapRenderer kept, fresh;
            kept.setKeepTiles(true);
            const int maxX = whole.width() - window.width(), maxY = whole.height() - window.height();
            for (const QPoint& s : {QPoint(0, 0), QPoint(13, 7), QPoint(301, 161), QPoint(maxX, maxY)}) {
                const QPoint scroll(std::min(s.x(), maxX), std::min(s.y(), maxY));
                const QString diff =
                    keptAndFreshDiffer(kept, fresh, *doc, t, lines, window, scroll, map.copy(QRect(scroll, window)));
                QVERIFY2(diff.isEmpty(), qPrintable(diff));
            }
        }
    }

    void tilePicturesKeepTheirOwnPixelsAndTheirPlacesAreTakenAgain()
    {
        // More pictures than one block holds, each filled with its own value: none overwrites
        // another, a copy that is changed leaves the picture alone, and once all are gone a new
        // lot fits in the blocks already held.
        std::vector<QImage> pictures;
        for (int i = 0; i < 20; ++i) {
            pictures.push_back(TilePool::make());
            QCOMPARE(pictures.back().size(), QSize(TilePool::kSize, TilePool::kSize));
            pictures.back().fill(QColor::fromRgb(i, 255 - i, 7));
        }
        QImage copy = pictures[3];
        copy.fill(Qt::black);
        for (int i = 0; i < 20; ++i) {
            const QImage& picture = pictures[static_cast<std::size_t>(i)];
            QCOMPARE(picture.pixel(0, 0), qRgb(i, 255 - i, 7));
            QCOMPARE(picture.pixel(TilePool::kSize - 1, TilePool::kSize - 1), qRgb(i, 255 - i, 7));
        }
        QCOMPARE(copy.pixel(5, 5), qRgb(0, 0, 0));
        const int held = TilePool::blocks();
        pictures.clear();
        copy = QImage();
        for (int i = 0; i < 20; ++i)
            pictures.push_back(TilePool::make());
        QCOMPARE(TilePool::blocks(), held);
    }

    void tilesMissingHereAndThereArePaintedAsAFreshPaintPaintsThem()
    {
        // Kept tiles in a pattern (a few parts of the window painted first), then the whole window:
        // the missing tiles form runs of different lengths in neighbouring columns.
        auto doc = makeProject(*app);
        const QSize window(900, 700);
        for (double zoom : {0.25, 1.0}) {
            MapTransform t(8, 8, zoom);
            t.centreIn(window.width(), window.height());
            MapRenderer kept;
            kept.setKeepTiles(true);
            for (const QRect& part : {QRect(300, 10, 10, 10), QRect(10, 300, 300, 10), QRect(600, 500, 10, 100)}) {
                QImage scratch(window, QImage::Format_RGB32);
                QPainter painter(&scratch);
                kept.paint(painter, *doc, t, everyOverlay(), part, nullptr, QPoint(), window.height());
            }
            const std::size_t before = kept.keptTiles();
            QVERIFY(before > 0);
            MapRenderer fresh;
            const QImage expected = paintWindow(fresh, *doc, t, everyOverlay(), window, QPoint());
            const QImage shown = paintWindow(kept, *doc, t, everyOverlay(), window, QPoint());
            const QString diff = difference(shown, expected);
            QVERIFY2(diff.isEmpty(), qPrintable(QString("zoom %1: %2").arg(zoom).arg(diff)));
            QVERIFY(kept.keptTiles() > before);
        }
    }

    void aPictureLargerThanOneStripIsTheSame()
    {
        // Without kept tiles a large picture is painted in strips; kept tiles cut it otherwise.
        auto doc = makeProject(*app);
        for (const QSize size : {QSize(4096, 4096), QSize(300, 32768)}) {
            MapTransform t(8, 8, 2.0);
            if (size.height() > 4096) {   // a tall picture: strips across as well as down
                doc->chunkColumns = 1;
                doc->chunkRows = 64;
                t = MapTransform(1, 64, 2.0);
                for (int i = 0; i < 64; ++i) {
                    doc->chunks[i].chunkValueA = 0;
                    doc->chunks[i].chunkValueB = i;
                }
            }
            MapRenderer fresh, kept;
            kept.setKeepTiles(true);
            const QImage strips = paintWindow(fresh, *doc, t, everyOverlay(), size, QPoint());
            const QImage tiles = paintWindow(kept, *doc, t, everyOverlay(), size, QPoint());
            const QString diff = difference(strips, tiles);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }

    void everyEditShowsOnTheRealWindow()
    {
        CMainFrame frame(*app);
        frame.resize(1200, 900);
        frame.show();
        auto project = makeProject(*app);
        CDibDoc* doc = project.get();
        frame.openDocumentWindow(std::move(project));
        auto* view = qobject_cast<CDibView*>(frame.activeView());
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTRY_VERIFY_WITH_TIMEOUT(view->viewport()->width() > 400 && view->viewport()->height() > 400, 60000);
        view->showGridLines = view->showGridNodes = view->showAltitudeNodes = view->showAltitudeLabels = true;

        // What the window shows now against what a renderer without tiles paints for it.
        auto check = [&](CDibView* v, const char* what) {
            const QImage shown = v->viewport()->grab().toImage();
            MapRenderer fresh;
            const QImage expected = paintWindow(fresh, *doc, v->transform(), v->overlays(), v->viewport()->size(),
                                                v->scrollPosition(), &v->selection());
            const QString diff = difference(shown, expected);
            QVERIFY2(diff.isEmpty(), qPrintable(QString("%1: %2").arg(what, diff)));
            QVERIFY2(v->keptTiles() > 0, what);
        };
        auto pointAt = [&](double latitude, double longitude) {
            const ViewPoint p = *view->transform().geoToView(latitude, longitude, doc->boundary);
            return QPoint(p.x, p.y) - view->scrollPosition();
        };

        check(view, "first paint");
        check(view, "second paint, from the kept tiles");
        view->scrollTo({700, 700});
        check(view, "scrolled");

        // Altitude edits through the commands, on the record under the pointer.
        const AltitudeRecord target = doc->altitudeMaps[0]->records[61 * 30];
        QTest::mouseMove(view->viewport(), pointAt(target.latitude, target.longitude));
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(doc->clickLongitude - target.longitude) < 0.001, 60000);
        platform.altitudeAnswers = {77777};
        CommandRegistry::instance().find("altitude.override")->run(frame);
        QVERIFY(std::any_of(doc->mainAltitudeMap.records.begin(), doc->mainAltitudeMap.records.end(),
                            [](const AltitudeRecord& r) { return r.altitude == 77777; }));
        check(view, "altitude overridden");
        CommandRegistry::instance().find("altitude.delete")->run(frame);
        check(view, "altitude record deleted");
        // Records merged again in place, with nobody telling the views.
        doc->altitudeMaps[0]->records.edit()[5].altitude = -999;
        mergeAltitudeMaps(*doc);
        check(view, "records merged again");

        // Selection, overlay switches, zoom.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pointAt(45.4, 15.4));
        QVERIFY(!view->selection().empty());
        check(view, "chunk selected");
        for (bool CDibView::*flag : {&CDibView::showAltitudeLabels, &CDibView::showGridNodes, &CDibView::showGridLines,
                                     &CDibView::showAltitudeNodes}) {
            view->*flag = false;
            check(view, "overlay off");
            view->*flag = true;
            check(view, "overlay on");
        }
        view->zoomStep(false, QPoint(100, 100));
        check(view, "zoomed out");
        view->zoomStep(true, QPoint(100, 100));
        view->zoomStep(true, QPoint(100, 100));
        check(view, "zoomed in");

        // Calibration (a new boundary), colours and texture classes, without a refresh.
        doc->boundary = {45.1, 45.9, 15.2, 15.8};
        check(view, "boundary changed");
        doc->textColor = 0xFF00FF;
        doc->gridColor = 0x00FF00;
        check(view, "colours changed");
        for (auto& t : textures)
            t->kind = 0;
        app->settings.showSynthTilesColorCoded = 1;
        app->settings.zoomLevel = 8.0;
        app->settings.textureClasses.resize(1);
        app->settings.textureClasses[0].color = 0x00FF00;
        textures[1]->classCode = 0;
        check(view, "colour-coded tiles");
        app->settings.textureClasses[0].color = 0xFF8000;
        check(view, "class colour changed");
        app->settings.showSynthTilesColorCoded = 0;
        // A texture's picture and palette changed in place, as the texture commands do: they refresh the views.
        textures[2]->image = patternTexture(9);
        doc->repaintViews();
        check(view, "texture changed");
        textures[0]->image->block()[40 + 4 * 7] ^= 0xFF;
        doc->repaintViews();
        check(view, "palette changed");

        // A second window of the project: an edit shows in both.
        frame.openNewWindow();
        QTRY_COMPARE_WITH_TIMEOUT(frame.projectWindows().size(), 2, 60000);
        CDibView* second = frame.projectWindows()[1]->view();
        second->showAltitudeLabels = second->showAltitudeNodes = true;
        QTRY_VERIFY_WITH_TIMEOUT(second->viewport()->width() > 100, 60000);
        check(view, "first window beside a second");
        check(second, "second window");
        doc->altitudeMaps[0]->records.edit()[100].altitude = 12345;
        mergeAltitudeMaps(*doc);
        doc->repaintViews();
        check(view, "first window after an edit");
        check(second, "second window after an edit");

        for (ProjectWindow* w : frame.projectWindows()) {
            w->setCloseConfirmed(true);
            delete w;
        }
    }
};

QTEST_MAIN(MapTilesTest)
#include "MapTilesTest.moc"
