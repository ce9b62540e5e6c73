#pragma once
// The project's window contents: the map. A scrolling view of the chunk mosaic with its overlays,
// the read-outs of the position under the pointer, the zoom tool, chunk selection, the two context
// menus and the calibration clicks. Several views may show one project, each with its own zoom,
// modes and selection; the calibration, the button and the Shift state are shared by all views.

#include <QAbstractScrollArea>
#include <QPoint>
#include <QString>
#include <memory>

#include "view/Calibration.h"
#include "view/ChunkSelection.h"
#include "view/MapTransform.h"
#include "view/PointerReadout.h"
#include "view/ViewCursor.h"
#include "view/ui/MapRenderer.h"

class CDibDoc;
class QMenu;

class CDibView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CDibView(CDibDoc& doc, QWidget* parent = nullptr);
    ~CDibView() override;

    CDibDoc& document() const { return doc_; }
    QSize sizeHint() const override { return {640, 480}; }
    /// Forgets the converted texture images (textures may have been reloaded) and repaints.
    void refresh();
    /// Refreshes every view of the project.
    static void refreshViewsOf(const CDibDoc& doc);
    /// The number of views that show the project.
    static int viewCountOf(const CDibDoc& doc);

    // Overlay switches and the pointer mode of this view (not saved).
    bool showGridLines = false;
    bool showGridNodes = false;
    bool showAltitudeNodes = false;
    bool showAltitudeLabels = false;
    int viewMode = 0;   ///< 0 select chunks, 1 crosshair, 2 move the texture, 3 zoom tool

    double zoom() const { return transform_.zoom(); }
    const MapTransform& transform() const { return transform_; }
    const ChunkSelection& selection() const { return selection_; }
    /// The scroll position: the view coordinate at the window's top left corner.
    QPoint scrollPosition() const;
    /// The zoom read-out text ("8 x", "1/2 x").
    QString zoomText() const;
    /// The five read-outs of the last pointer move: longitude, latitude, altitude, y, x.
    const PointerReadout& lastReadout() const { return readout_; }
    ViewCursor cursorKind() const;

    /// Zooms one step in (`in`) or out keeping the map position under the window point `at` still.
    void zoomStep(bool in, QPoint at);
    /// Scrolls so the view coordinate `logical` is at the window's top left corner (clamped).
    void scrollTo(QPoint logical);
    /// How many tiles of the map's lower layers this view keeps now.
    std::size_t keptTiles() const { return renderer_.keptTiles(); }
    /// The overlays as set on this view, for the renderer.
    MapOverlays overlays() const;

    /// Starts a calibration from this view (two landmarks or point and scale).
    void startCalibration(bool twoPoint);
    /// Ends a calibration in progress without a result.
    static void cancelCalibration();
    static CalibrationState& calibrationState();
    static bool buttonDown();
    static bool shiftDown();

    /// The two context menus, built as they would be shown (the caller owns them).
    std::unique_ptr<QMenu> makeMapMenu();       ///< "Insert Macro...", ..., "Calibrate Extents..."
    std::unique_ptr<QMenu> makeChunkMenu();     ///< "Grid Properties...", "Override Altitude..."

    /// Re-evaluates the cursor (after a mode or calibration change).
    void updateCursor();
    /// Sends the zoom read-out again (the view became active).
    void announce();

signals:
    /// The read-outs after a pointer move: longitude, latitude, altitude, y, x.
    void readoutsChanged(const QString& longitude, const QString& latitude, const QString& altitude, const QString& y,
                         const QString& x);
    void zoomChanged(const QString& text);
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QPoint toLogical(QPoint windowPoint) const;
    void updateScrollRanges();
    void recentre();
    void applyZoom(double newZoom, QPoint at);
    void selectAt(bool shift);
    void repaintChunks(const std::vector<std::uint32_t>& indices);
    void showMenu(std::unique_ptr<QMenu> menu, QPoint globalPos);

    CDibDoc& doc_;
    MapTransform transform_;
    ChunkSelection selection_;
    MapRenderer renderer_;
    NearestAltitudeCache nearest_;
    PointerReadout readout_;
    QPoint downPoint_;
};
