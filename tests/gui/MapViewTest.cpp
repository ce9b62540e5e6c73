// The map view as the user drives it: pointer read-outs in the cursor-position bar, the zoom tool
// and its read-out, chunk selection with and without Shift, the context menus, calibration through
// its dialogs, wheel and key zoom, New Window, and the renderer's picture with every overlay.
#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/ui/CMainFrame.h"
#include "base/ui/CommandRegistry.h"
#include "app/ui/ProjectWindow.h"
#include "output/Coordinates.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ui/BoundaryAreaDlg.h"
#include "support/ScriptedPlatform.h"
#include "support/TextureImages.h"
#include "synth/Texture.h"
#include "view/ui/CDibView.h"
#include "view/ChunkOverlayLayout.h"
#include "view/ui/MapRenderer.h"
#include "view/ui/PointScaleCalibrationDlg.h"
#include "view/ui/TwoPointCalibrationDlg.h"

namespace {

// A 256 x 256 8-bit texture of one colour (0x00BBGGRR).
PackedBitmap solidTexture(std::uint32_t bgr)
{
    PackedBitmap bitmap = blankTexture();
    bitmap.block()[40 + 0] = static_cast<std::uint8_t>(bgr >> 16);
    bitmap.block()[40 + 1] = static_cast<std::uint8_t>(bgr >> 8);
    bitmap.block()[40 + 2] = static_cast<std::uint8_t>(bgr);
    return bitmap;
}

// Runs `handle` on the first modal dialog of type T once it shows; waits on the condition, not on time.
template <typename T>
void whenModal(std::function<void(T*)> handle)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, handle] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            handle(dialog);
        }
    });
    timer->start();
}

const QColor kGreen(0, 160, 0);

} // namespace

class MapViewTest : public QObject {
    Q_OBJECT

    ScriptedPlatform platform;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<Texture> texture;
    CDibDoc* doc = nullptr;
    CDibView* view = nullptr;

    QString field(int id) { return frame->findChild<QLineEdit*>(QString("edit_%1").arg(id))->text(); }

    // A 2 x 2 chunk project (512 x 512 pixels) over 45-46 N, 15-17 E with three altitude records.
    std::unique_ptr<CDibDoc> makeProject(AppContext& context)
    {
        auto project = std::make_unique<CDibDoc>(context);
        project->chunkColumns = project->chunkRows = 2;
        project->boundary = {45.0, 46.0, 15.0, 17.0};
        project->metresPerPixel = 20.0;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) {
                TexReliefChunk chunk;
                chunk.chunkValueA = c;
                chunk.chunkValueB = r;
                chunk.texture = texture.get();
                project->chunks.push_back(chunk);
            }
        project->mainAltitudeMap.records = {{45.5, 15.2, 100}, {45.5, 16.0, 250}, {45.8046875, 16.5625, 700}};
        return project;
    }

    // The window point of bitmap pixel (px, py), py from the bottom.
    QPoint at(int px, int py)
    {
        const ViewPoint p = view->transform().pixelToView(px, py);
        return QPoint(p.x, p.y) - view->scrollPosition();
    }

private slots:
    void init()
    {
        QStandardPaths::setTestModeEnabled(true);
        app = std::make_unique<AppContext>(platform);
        texture = std::make_unique<Texture>();
        texture->image = solidTexture(0x00A000);
        texture->kind = 1;
        frame = std::make_unique<CMainFrame>(*app);
        frame->resize(1600, 1200);
        frame->show();
        auto project = makeProject(*app);
        doc = project.get();
        frame->openDocumentWindow(std::move(project));
        view = qobject_cast<CDibView*>(frame->activeView());
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QTRY_VERIFY_WITH_TIMEOUT(view->viewport()->width() > 600 && view->viewport()->height() > 600, 10000);
        QCoreApplication::processEvents();
        frame->refreshCommands();
    }

    void cleanup()
    {
        CDibView::cancelCalibration();
        for (ProjectWindow* w : frame->projectWindows()) {
            w->setCloseConfirmed(true);
            delete w;
        }
        frame.reset();
        texture.reset();
        app.reset();
        platform.messages.clear();
    }

    void readOutsFollowThePointer()
    {
        QTest::mouseMove(view->viewport(), at(256, 128));
        const int format = app->settings.coordinateFormat;
        QTRY_COMPARE_WITH_TIMEOUT(field(119), QString("256"), 10000);
        QCOMPARE(field(118), QString("128"));
        QCOMPARE(field(228), QString::fromLocal8Bit(formatCoordinate(16.0, format).c_str()));
        QCOMPARE(field(229), QString::fromLocal8Bit(formatCoordinate(45.25, format).c_str()));
        QCOMPARE(field(117), QString("250 m"));
        QCOMPARE(doc->clickPixelX, 256);
        QCOMPARE(doc->clickAltitude, 250);

        // Off the map (the mosaic is centred in the larger window): not available.
        QVERIFY(view->transform().originOffsetX() > 2);
        QTest::mouseMove(view->viewport(), QPoint(1, 1));
        QTRY_COMPARE_WITH_TIMEOUT(field(119), QString("OUT OF BOUNDS"), 10000);
        QCOMPARE(field(118), QString("OUT OF BOUNDS"));
        QCOMPARE(field(228), QString("N/A"));
        QCOMPARE(field(117), QString("N/A"));
        QCOMPARE(doc->clickPixelX, -1);

        // Without a boundary there is no position.
        doc->boundary = {};
        QTest::mouseMove(view->viewport(), at(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(field(228), QString("UNDEFINED"), 10000);
        QCOMPARE(field(229), QString("UNDEFINED"));
        QCOMPARE(field(117), QString("-"));
        QCOMPARE(field(119), QString("10"));
    }

    void zoomToolStepsAndReadOut()
    {
        auto* zoomButton = frame->findChild<QAbstractButton*>("tool_32832");
        zoomButton->click();
        QCOMPARE(view->viewMode, 3);
        QCOMPARE(view->cursorKind(), ViewCursor::Zoom);
        const char* const texts[] = {"2 x", "4 x", "8 x", "8 x"};
        for (const char* text : texts) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(256, 256));
            QCOMPARE(field(367), QString(text));
        }
        QCOMPARE(view->zoom(), 8.0);
        // The clicked map point stays under the pointer: the window point still reads pixel 256.
        QTest::mouseMove(view->viewport(), at(256, 256));
        QTRY_COMPARE_WITH_TIMEOUT(field(119), QString("256"), 10000);
        QCOMPARE(view->horizontalScrollBar()->maximum(), 512 * 8 - view->viewport()->width());
    }

    void rightClickZoomsOut()
    {
        view->viewMode = 3;
        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at(100, 100));
        QCOMPARE(field(367), QString("1/2 x"));
        QCOMPARE(view->zoom(), 0.5);
        // No context menu in the zoom mode.
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at(100, 100), view->viewport()->mapToGlobal(at(100, 100)));
        QApplication::sendEvent(view->viewport(), &menuEvent);
        QVERIFY(!QApplication::activePopupWidget());
    }

    void wheelAndKeysZoomAroundThePointer()
    {
        // From 4 x the map is larger than the window, so the point under the pointer can stay.
        view->zoomStep(true, at(300, 200));
        view->zoomStep(true, at(300, 200));
        const QPoint p = at(300, 200);
        QWheelEvent wheel(p, view->viewport()->mapToGlobal(p), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        QCOMPARE(view->zoom(), 8.0);
        QCOMPARE(field(367), QString("8 x"));
        QTest::mouseMove(view->viewport(), p);
        QTRY_COMPARE_WITH_TIMEOUT(field(119), QString("300"), 10000);
        QCOMPARE(field(118), QString("200"));
        // A plain wheel scrolls.
        const int before = view->verticalScrollBar()->value();
        QWheelEvent scroll(p, view->viewport()->mapToGlobal(p), QPoint(), QPoint(0, -120), Qt::NoButton,
                           Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &scroll);
        QVERIFY(view->verticalScrollBar()->value() > before);
        QCOMPARE(view->zoom(), 8.0);
        view->setFocus();
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(view, Qt::Key_Minus);
        QCOMPARE(view->zoom(), 0.5);
        QTest::keyClick(view, Qt::Key_Plus);
        QCOMPARE(view->zoom(), 1.0);
    }

    void draggingMovesTheMap()
    {
        view->zoomStep(true, at(256, 256));
        view->zoomStep(true, at(256, 256));   // 4 x: 2048 pixels, larger than the window
        auto* moveButton = frame->findChild<QAbstractButton*>("tool_32826");
        moveButton->click();
        QCOMPARE(view->viewMode, 2);
        QCOMPARE(view->cursorKind(), ViewCursor::Arrow);
        const QPoint start(400, 300);
        const QPoint before = view->scrollPosition();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, start);
        QVERIFY(CDibView::buttonDown());
        QCOMPARE(view->cursorKind(), ViewCursor::MoveDragging);
        QTest::mouseMove(view->viewport(), start - QPoint(100, 50));
        QTRY_COMPARE_WITH_TIMEOUT(view->scrollPosition(), before + QPoint(100, 50), 10000);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, start - QPoint(100, 50));
        QVERIFY(!CDibView::buttonDown());
        QCOMPARE(view->cursorKind(), ViewCursor::Arrow);
        QVERIFY(view->selection().empty());   // moving selects nothing
    }

    void clicksSelectChunks()
    {
        auto click = [&](int px, int py, Qt::KeyboardModifiers modifiers) {
            QTest::mouseMove(view->viewport(), at(px, py));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, at(px, py));
        };
        using Indices = std::vector<std::uint32_t>;
        click(400, 400, {});                       // column 1, row 1: index 3
        QCOMPARE(view->selection().indices(), (Indices{3}));
        QCOMPARE(doc->chunks[3].selected, 1);
        click(100, 100, Qt::ShiftModifier);        // adds index 0
        QCOMPARE(view->selection().indices(), (Indices{3, 0}));
        click(400, 400, Qt::ShiftModifier);        // removes index 3
        QCOMPARE(view->selection().indices(), (Indices{0}));
        QCOMPARE(doc->chunks[3].selected, 0);
        click(400, 100, {});                       // replaces: index 1
        QCOMPARE(view->selection().indices(), (Indices{1}));
        QCOMPARE(doc->chunks[0].selected, 0);
        // Without a boundary a click selects nothing.
        doc->boundary = {};
        click(100, 100, {});
        QCOMPARE(view->selection().indices(), (Indices{1}));
    }

    void contextMenusShowTheirEntries()
    {
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at(100, 100), view->viewport()->mapToGlobal(at(100, 100)));
        QApplication::sendEvent(view->viewport(), &menuEvent);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMenu*>(QApplication::activePopupWidget()), 10000);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QCOMPARE(menu->objectName(), QString("mapMenu"));
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList{"Insert Macro...", "Insert FS position preset...", "Calibrate Extents..."}));
        auto* calibrate = menu->findChild<QMenu*>("calibrateMenu");
        QVERIFY(calibrate);
        QVERIFY(calibrate->findChild<QAction*>("calibrate.twoPoint") == nullptr ||
                calibrate->actions().at(0)->isEnabled());
        QCOMPARE(calibrate->actions().at(0)->text(), QString("2 Point Calibration"));
        QCOMPARE(calibrate->actions().at(1)->text(), QString("Point-Scale Calibration"));
        QCOMPARE(calibrate->actions().at(2)->text(), QString("Point-Distance Calibration"));
        QVERIFY(!calibrate->actions().at(2)->isEnabled());
        // Choosing "Point-Scale Calibration" starts a calibration: its cursor wins over the mode.
        calibrate->actions().at(1)->trigger();
        QCOMPARE(CDibView::calibrationState().step, 3);
        QCOMPARE(view->cursorKind(), ViewCursor::CalibratePoint);
        menu->close();
        // Esc ends it.
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Escape);
        QCOMPARE(CDibView::calibrationState().step, 0);
        QCOMPARE(view->cursorKind(), ViewCursor::Arrow);

        // The double-click menu: "Override Altitude..." is always disabled.
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at(100, 100));
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMenu*>(QApplication::activePopupWidget()), 10000);
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QCOMPARE(menu->objectName(), QString("chunkMenu"));
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().at(0)->text(), QString("Grid &Properties..."));
        QCOMPARE(menu->actions().at(1)->text(), QString("Override Altitude..."));
        QVERIFY(!menu->actions().at(1)->isEnabled());
        menu->close();
    }

    void twoPointCalibrationThroughTheDialogs()
    {
        doc->boundary = {1, 2, 3, 4};
        view->startCalibration(true);
        QCOMPARE(view->cursorKind(), ViewCursor::CalibrateFirst);
        QString firstButton;
        bool landmark2Disabled = false;
        whenModal<TwoPointCalibrationDlg>([&](TwoPointCalibrationDlg* d) {
            firstButton = d->okButton()->text();
            landmark2Disabled = !d->latitude2Edit()->isEnabled() && !d->longitude2Edit()->isEnabled();
            QCOMPARE(d->xEdit()->text(), QString("100"));
            QCOMPARE(d->yEdit()->text(), QString("100"));
            d->latitude1Edit()->setText("45.0");
            d->longitude1Edit()->setText("15.0");
            d->okButton()->click();
        });
        QTest::mouseMove(view->viewport(), at(100, 100));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(100, 100));
        QCOMPARE(firstButton, QString("Proceed..."));
        QVERIFY(landmark2Disabled);
        QCOMPARE(CDibView::calibrationState().step, 2);
        QCOMPARE(view->cursorKind(), ViewCursor::CalibrateSecond);

        QString secondButton, shownLatitude1;
        bool landmark1ReadOnly = false, boundaryShown = false;
        whenModal<TwoPointCalibrationDlg>([&](TwoPointCalibrationDlg* d) {
            secondButton = d->okButton()->text();
            shownLatitude1 = d->latitude1Edit()->text();
            landmark1ReadOnly = !d->latitude1Edit()->isEnabled();
            d->latitude2Edit()->setText("45.6");
            d->longitude2Edit()->setText("16.0");
            whenModal<BoundaryAreaDlg>([&](BoundaryAreaDlg* b) {
                boundaryShown = true;
                b->reject();
            });
            d->okButton()->click();
        });
        QTest::mouseMove(view->viewport(), at(500, 400));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(500, 400));
        QCOMPARE(secondButton, QString("Calibrate"));
        QCOMPARE(shownLatitude1, QString("45.000000"));
        QVERIFY(landmark1ReadOnly);
        QVERIFY(boundaryShown);
        QCOMPARE(CDibView::calibrationState().step, 0);
        // dLon = 1 / 400, dLat = 0.6 / 300 over the 512-pixel chunk grid.
        QCOMPARE(doc->boundary.west, 15.0 - 100 * (1.0 / 400));
        QVERIFY(qAbs(doc->boundary.north - (45.6 + (512 - 400) * (0.6 / 300))) < 1e-12);
        QVERIFY(doc->modified);
    }

    void cancelledPointScaleLeavesTheBoundary()
    {
        doc->boundary = {1, 2, 3, 4};
        view->startCalibration(false);
        double shownScale = -1;
        whenModal<PointScaleCalibrationDlg>([&](PointScaleCalibrationDlg* d) {
            shownScale = d->scaleEdit()->value();
            d->reject();
        });
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(50, 60));
        QCOMPARE(shownScale, 0.0);
        QCOMPARE(doc->boundary, (GeoRect{1, 2, 3, 4}));
        QCOMPARE(CDibView::calibrationState().step, 0);
        QVERIFY(view->selection().empty());   // the cancelled click ended there
    }

    void newWindowShowsTheSameProject()
    {
        frame->openNewWindow();
        const QList<ProjectWindow*> windows = frame->projectWindows();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(&windows[0]->document(), &windows[1]->document());
        CDibView* second = windows[1]->view();
        QVERIFY(second != view);
        second->zoomStep(true, QPoint(10, 10));
        QCOMPARE(second->zoom(), 2.0);
        QCOMPARE(view->zoom(), 1.0);
        QCOMPARE(CDibView::viewCountOf(*doc), 2);
        // Closing one of two windows does not ask about saving; the project stays open.
        doc->setModified(true);
        platform.messages.clear();
        windows[1]->close();
        QTRY_COMPARE_WITH_TIMEOUT(frame->projectWindows().size(), 1, 10000);
        QVERIFY(platform.messages.empty());
        QTRY_COMPARE_WITH_TIMEOUT(CDibView::viewCountOf(*doc), 1, 10000);
        doc->setModified(false);
    }

    void altitudeEditsAreWiredButShownDisabled()
    {
        auto source = std::make_unique<AltitudeMap>();
        source->records = {{45.5, 16.0, 250}, {45.9, 16.9, 700}};
        doc->altitudeMaps.push_back(std::move(source));
        QTest::mouseMove(view->viewport(), at(256, 256));   // 45.5 N 16.0 E
        QTRY_COMPARE_WITH_TIMEOUT(doc->clickLongitude, 16.0, 10000);
        for (const char* id : {"altitude.override", "altitude.delete", "altitude.insert"}) {
            const CommandSpec* command = CommandRegistry::instance().find(id);
            QVERIFY(command);
            QVERIFY(!command->enabled(*frame));
        }
        platform.altitudeAnswers = {555};
        CommandRegistry::instance().find("altitude.override")->run(*frame);
        QCOMPARE(platform.altitudePrompts, (std::vector<std::int32_t>{doc->clickAltitude}));
        QCOMPARE(doc->altitudeMaps[0]->records[0].altitude, 555);
        QCOMPARE(doc->mainAltitudeMap.records.size(), std::size_t{2});   // merged again
        CommandRegistry::instance().find("altitude.delete")->run(*frame);
        QCOMPARE(doc->altitudeMaps[0]->records.size(), std::size_t{1});
        QCOMPARE(doc->mainAltitudeMap.records.size(), std::size_t{1});
    }

    void rendererPaintsEveryOverlay()
    {
        doc->gridColor = 0x0000FF;    // red
        doc->scaleColor = 0xFF0000;   // blue
        doc->textColor = 0x00FFFF;    // yellow
        doc->macroItems.push_back(FsMacroItem{"m.scm", {}, 300, 300});
        doc->clickLatitude = 45.5;    // the pointer is over the map: the outline shows
        doc->clickLongitude = 16.0;
        ChunkSelection selection;
        selection.click(doc->chunks, 0, false);   // column 0, row 0: (0, 256) - (256, 512)
        MapOverlays overlays;
        overlays.gridLines = overlays.gridNodes = overlays.altitudeNodes = overlays.altitudeLabels = true;
        QImage image(512, 512, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        MapRenderer renderer;
        const MapTransform transform(2, 2, 1.0);
        renderer.paint(painter, *doc, transform, overlays, image.rect(), &selection, QPoint(0, 0), 512);
        painter.end();

        QCOMPARE(image.pixelColor(180, 150), kGreen);                  // the mosaic
        bool gridSeen = false;                                         // dotted: some of the line's pixels
        for (int y = 290; y < 296; ++y)
            gridSeen = gridSeen || image.pixelColor(255, y) == QColor(Qt::red);
        QVERIFY(gridSeen);
        QCOMPARE(image.pixelColor(64 + 2, 320 + 2), QColor(Qt::white));   // a node's white inside
        QCOMPARE(image.pixelColor(400, 103), QColor(Qt::white));        // the cross of the record at (400, 100)
        QCOMPARE(image.pixelColor(128, 266), QColor(Qt::white));        // the outline, inset 10
        QCOMPARE(image.pixelColor(10, 480), QColor(Qt::black));         // the scale bar's box over the mosaic
        QCOMPARE(image.pixelColor(100, 492), QColor(Qt::blue));         // its bar
        QCOMPARE(image.pixelColor(302, 213), QColor(255, 220, 0));      // the macro marker at pixel (300, 300)
        bool labelSeen = false;
        for (int x = 385; x < 415; ++x)
            for (int y = 88; y < 100; ++y)
                labelSeen = labelSeen || image.pixelColor(x, y) == QColor(Qt::yellow);
        QVERIFY(labelSeen);

        // Painting only a part gives the same pixels there.
        QImage part(512, 512, QImage::Format_RGB32);
        part.fill(Qt::black);
        QPainter partPainter(&part);
        const QRect exposed(350, 60, 100, 80);
        partPainter.setClipRect(exposed);
        renderer.paint(partPainter, *doc, transform, overlays, exposed, &selection, QPoint(0, 0), 512);
        partPainter.end();
        QCOMPARE(part.copy(exposed), image.copy(exposed));
        selection.clear(doc->chunks);
    }

    void gridNodesAreTheEllipsesOfTheirLayout()
    {
        for (double zoom : {0.125, 0.5, 1.0, 2.0}) {
            const MapTransform transform(2, 2, zoom);
            const int side = 512 * zoom + 40;
            QImage drawn(side, side, QImage::Format_RGB32);
            drawn.fill(Qt::black);
            QPainter painter(&drawn);
            MapRenderer renderer;
            MapOverlays nodesOnly;
            nodesOnly.gridNodes = true;
            nodesOnly.scaleBar = false;
            renderer.paint(painter, *doc, transform, nodesOnly, drawn.rect(), nullptr, QPoint(), side);
            painter.end();
            // The same chunks and nodes, each ellipse drawn on its own.
            QImage expected(side, side, QImage::Format_RGB32);
            expected.fill(Qt::black);
            QPainter direct(&expected);
            for (const TexReliefChunk& chunk : doc->chunks) {
                const ViewRect r = transform.chunkRect(chunk.chunkValueA, chunk.chunkValueB);
                direct.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), kGreen);
                const GridNodes nodes = chunkGridNodes(r, chunk.properties.gridDensity, zoom);
                direct.setPen(QPen(Qt::black, 1));
                direct.setBrush(Qt::white);
                for (int x : nodes.xs)
                    for (int y : nodes.ys)
                        direct.drawEllipse(QRect(x - nodes.radius, y - nodes.radius, 2 * nodes.radius, 2 * nodes.radius));
            }
            direct.end();
            QVERIFY2(drawn == expected, qPrintable(QString::number(zoom)));
        }
    }

    void colourCodedSyntheticTiles()
    {
        texture->kind = 0;
        texture->classCode = 1;
        app->settings.showSynthTilesColorCoded = 1;
        app->settings.zoomLevel = 1.0;
        app->settings.textureClasses.resize(2);
        app->settings.textureClasses[1].color = 0xFF0000;   // blue
        QImage image(512, 512, QImage::Format_RGB32);
        QPainter painter(&image);
        MapRenderer renderer;
        MapOverlays none;
        none.scaleBar = false;
        renderer.paint(painter, *doc, MapTransform(2, 2, 1.0), none, image.rect(), nullptr, QPoint(), 512);
        QCOMPARE(image.pixelColor(100, 100), QColor(Qt::blue));
        // Above the setting's zoom the texture itself shows.
        renderer.paint(painter, *doc, MapTransform(2, 2, 2.0), none, image.rect(), nullptr, QPoint(), 512);
        QCOMPARE(image.pixelColor(100, 100), kGreen);
        painter.end();
        texture->kind = 1;
    }
};

QTEST_MAIN(MapViewTest)
#include "MapViewTest.moc"
