#include "view/ui/CDibView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "base/ui/CommandRegistry.h"
#include "base/ui/FrameServices.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ui/BoundaryAreaDlg.h"
#include "view/ZoomTool.h"
#include "view/ui/PointScaleCalibrationDlg.h"
#include "view/ui/TwoPointCalibrationDlg.h"

namespace {

// What every view shares: one pointer, one calibration, one button and one Shift key.
struct SharedViewState {
    CalibrationState calibration;
    bool buttonDown = false;
    bool shiftDown = false;
    QPoint lastPointer;
    std::vector<CDibView*> views;
};

SharedViewState& shared()
{
    static SharedViewState state;
    return state;
}

// The cursors, drawn here: a cross with a mark for each calibration step, a hand, a magnifier.
QCursor drawnCursor(ViewCursor kind)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    auto cross = [&](int arm) {
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(16 - arm, 16, 16 + arm, 16);
        p.drawLine(16, 16 - arm, 16, 16 + arm);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(16 - arm, 16, 16 + arm, 16);
        p.drawLine(16, 16 - arm, 16, 16 + arm);
    };
    auto mark = [&](const QString& text) {
        QFont font("Arial");
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.fillRect(20, 1, 11, 12, Qt::yellow);
        p.drawText(QRect(20, 1, 11, 12), Qt::AlignCenter, text);
    };
    int hotX = 16, hotY = 16;
    switch (kind) {
    case ViewCursor::CalibrateFirst: cross(10); mark("1"); break;
    case ViewCursor::CalibrateSecond: cross(10); mark("2"); break;
    case ViewCursor::CalibratePoint: cross(10); mark("S"); break;
    case ViewCursor::Crosshair: cross(15); break;
    case ViewCursor::MoveDragging:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(8, 10, 16, 14, 4, 4);
        for (int x : {10, 14, 18})
            p.drawLine(x, 10, x, 14);
        break;
    case ViewCursor::Zoom:
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(3, 3, 16, 16);
        p.drawLine(17, 17, 28, 28);
        p.drawLine(7, 11, 15, 11);
        p.drawLine(11, 7, 11, 15);
        hotX = hotY = 11;
        break;
    case ViewCursor::Arrow: return QCursor(Qt::ArrowCursor);
    }
    p.end();
    return QCursor(pixmap, hotX, hotY);
}

const QCursor& cursorFor(ViewCursor kind)
{
    static std::map<ViewCursor, QCursor> cursors;
    auto found = cursors.find(kind);
    if (found == cursors.end())
        found = cursors.emplace(kind, drawnCursor(kind)).first;
    return found->second;
}

FrameServices* frameOf(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* frame = dynamic_cast<FrameServices*>(w))
            return frame;
    return nullptr;
}

// The calibration's dialogs, as windows over the view.
class WindowCalibrationDialogs : public CalibrationDialogs {
public:
    explicit WindowCalibrationDialogs(CDibView* view) : view_(view) {}
    bool twoPoint(CDibDoc& doc, bool secondStep, int x, int y) override
    {
        TwoPointCalibrationDlg dialog(doc, secondStep, x, y, view_);
        return dialog.exec() == QDialog::Accepted;
    }
    bool pointScale(CDibDoc& doc, int x, int y) override
    {
        PointScaleCalibrationDlg dialog(doc, x, y, view_);
        return dialog.exec() == QDialog::Accepted;
    }
    void defineBoundary(CDibDoc& doc) override
    {
        BoundaryAreaDlg dialog(doc, view_->window());
        if (dialog.exec() == QDialog::Accepted)
            if (FrameServices* frame = frameOf(view_))
                frame->showSceneryProperties(doc.sceneryWidthKm, doc.sceneryHeightKm, doc.metresPerPixel);
        doc.repaintViews();
    }

private:
    CDibView* view_;
};

} // namespace

CDibView::CDibView(CDibDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc)
{
    setObjectName("dibView");
    viewport()->setObjectName("dibViewport");
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setMinimumSize(64, 64);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    QPalette black = viewport()->palette();
    black.setColor(QPalette::Window, Qt::black);
    viewport()->setPalette(black);
    transform_ = MapTransform(doc.chunkColumns, doc.chunkRows, 1.0);
    renderer_.setKeepTiles(true);
    shared().views.push_back(this);
    updateScrollRanges();
    updateCursor();
}

CDibView::~CDibView()
{
    auto& views = shared().views;
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
    // The project's flags are shared by its views; the selection of this one goes with it.
    selection_.clear(doc_.chunks);
}

CalibrationState& CDibView::calibrationState()
{
    return shared().calibration;
}

bool CDibView::buttonDown()
{
    return shared().buttonDown;
}

bool CDibView::shiftDown()
{
    return shared().shiftDown;
}

void CDibView::refresh()
{
    renderer_.forgetImages();
    nearest_.reset();
    transform_ = MapTransform(doc_.chunkColumns, doc_.chunkRows, transform_.zoom());
    updateScrollRanges();
    viewport()->update();
}

void CDibView::refreshViewsOf(const CDibDoc& doc)
{
    for (CDibView* view : shared().views)
        if (&view->doc_ == &doc)
            view->refresh();
}

int CDibView::viewCountOf(const CDibDoc& doc)
{
    return static_cast<int>(std::count_if(shared().views.begin(), shared().views.end(),
                                          [&](CDibView* v) { return &v->doc_ == &doc; }));
}

QPoint CDibView::scrollPosition() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QPoint CDibView::toLogical(QPoint windowPoint) const
{
    return windowPoint + scrollPosition();
}

QString CDibView::zoomText() const
{
    return QString::fromStdString(ZoomTool::readOut(transform_.zoom()));
}

ViewCursor CDibView::cursorKind() const
{
    return chooseViewCursor(shared().calibration.step, viewMode, shared().buttonDown);
}

void CDibView::updateCursor()
{
    viewport()->setCursor(cursorFor(cursorKind()));
}

void CDibView::announce()
{
    emit zoomChanged(zoomText());
}

MapOverlays CDibView::overlays() const
{
    MapOverlays o;
    o.gridLines = showGridLines;
    o.gridNodes = showGridNodes;
    o.altitudeNodes = showAltitudeNodes;
    o.altitudeLabels = showAltitudeLabels;
    return o;
}

void CDibView::recentre()
{
    transform_.centreIn(viewport()->width(), viewport()->height());
}

void CDibView::updateScrollRanges()
{
    recentre();
    const ViewSize size = transform_.scrollSize();
    const QSize window = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, size.width - window.width()));
    verticalScrollBar()->setRange(0, std::max(0, size.height - window.height()));
    horizontalScrollBar()->setPageStep(std::max(1, window.width()));
    verticalScrollBar()->setPageStep(std::max(1, window.height()));
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
}

void CDibView::scrollTo(QPoint logical)
{
    horizontalScrollBar()->setValue(logical.x());
    verticalScrollBar()->setValue(logical.y());
}

void CDibView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void CDibView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CDibView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QPoint scroll = scrollPosition();
    const QRect exposed = event->rect().translated(scroll);
    painter.fillRect(event->rect(), Qt::black);
    painter.translate(-scroll);
    MapOverlays o = overlays();
    renderer_.paint(painter, doc_, transform_, o, exposed, &selection_, scroll, viewport()->height());
}

void CDibView::applyZoom(double newZoom, QPoint at)
{
    if (newZoom == transform_.zoom() || !ZoomTool::scrollSizeFits(transform_, newZoom))
        return;
    const QPoint logical = toLogical(at);
    const QPoint scroll = scrollPosition();
    const double oldZoom = transform_.zoom();
    const int oldX = transform_.originOffsetX(), oldY = transform_.originOffsetY();
    transform_.setZoom(newZoom);
    updateScrollRanges();
    scrollTo({ZoomTool::anchoredScroll(logical.x(), scroll.x(), oldZoom, oldX, newZoom, transform_.originOffsetX()),
              ZoomTool::anchoredScroll(logical.y(), scroll.y(), oldZoom, oldY, newZoom, transform_.originOffsetY())});
    emit zoomChanged(zoomText());
    viewport()->update();
}

void CDibView::zoomStep(bool in, QPoint at)
{
    applyZoom(in ? ZoomTool::zoomIn(transform_.zoom()) : ZoomTool::zoomOut(transform_.zoom()), at);
}

void CDibView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint window = event->position().toPoint();
    const QPoint logical = toLogical(window);
    shared().lastPointer = logical;
    if (viewMode == 2 && shared().buttonDown)
        scrollTo(downPoint_ - window);
    const QPoint now = toLogical(window);
    readout_ = readPointer(doc_, transform_, now.x(), now.y(), doc_.app.settings.coordinateFormat, nearest_);
    storePointer(doc_, readout_);
    emit readoutsChanged(QString::fromLocal8Bit(readout_.longitudeText.c_str()),
                         QString::fromLocal8Bit(readout_.latitudeText.c_str()),
                         QString::fromStdString(readout_.altitudeText), QString::fromStdString(readout_.yText),
                         QString::fromStdString(readout_.xText));
}

void CDibView::mousePressEvent(QMouseEvent* event)
{
    const QPoint window = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (viewMode == 3)
            zoomStep(false, window);
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    // The pointer's pixel and position of this very point (a click may come without a move).
    mouseMoveEvent(event);
    const QPoint logical = toLogical(window);
    if (shared().calibration.step != 0) {
        WindowCalibrationDialogs dialogs(this);
        const bool goesOn = calibrationClick(shared().calibration, doc_, {logical.x(), logical.y()}, dialogs);
        for (CDibView* view : shared().views)
            view->updateCursor();
        if (!goesOn)
            return;
    }
    shared().buttonDown = true;
    downPoint_ = logical;
    if (viewMode == 3 && transform_.zoom() < ZoomTool::kMaxZoom)
        zoomStep(true, window);
    updateCursor();
    if (viewMode == 0 && readout_.hasPosition())
        selectAt(shared().shiftDown || (event->modifiers() & Qt::ShiftModifier));
}

void CDibView::selectAt(bool shift)
{
    const auto index = chunkIndexAt(doc_.clickLatitude, doc_.clickLongitude, doc_.boundary, doc_.chunkColumns,
                                    doc_.chunkRows, doc_.chunks.size());
    std::vector<std::uint32_t> changed;
    if (index)
        changed = selection_.click(doc_.chunks, *index, shift);
    else if (!shift)
        changed = selection_.clear(doc_.chunks);
    repaintChunks(changed);
    emit selectionChanged();
}

void CDibView::repaintChunks(const std::vector<std::uint32_t>& indices)
{
    // Every view of the project shows the flags; each repaints the grown rectangles it has.
    for (CDibView* view : shared().views) {
        if (&view->doc_ != &doc_)
            continue;
        const QPoint scroll = view->scrollPosition();
        for (std::uint32_t i : indices) {
            if (i >= doc_.chunks.size())
                continue;
            const ViewRect r = view->transform_.chunkRect(doc_.chunks[i].chunkValueA, doc_.chunks[i].chunkValueB).grown(10);
            view->viewport()->update(QRect(QPoint(r.left, r.top) - scroll, QPoint(r.right, r.bottom) - scroll));
        }
    }
}

void CDibView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        shared().buttonDown = false;
        updateCursor();
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CDibView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QAbstractScrollArea::mouseDoubleClickEvent(event);
    if (viewMode == 3 || event->button() != Qt::LeftButton)
        return;
    showMenu(makeChunkMenu(), event->globalPosition().toPoint());
}

void CDibView::contextMenuEvent(QContextMenuEvent* event)
{
    if (viewMode == 3)
        return;
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        at = viewport()->mapToGlobal(viewport()->rect().center()) + QPoint(5, 5);
    showMenu(makeMapMenu(), at);
}

void CDibView::showMenu(std::unique_ptr<QMenu> menu, QPoint globalPos)
{
    QMenu* shown = menu.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    shown->popup(globalPos);
}

namespace {
// A menu entry bound to a registered command; disabled when nobody registered it.
QAction* commandEntry(QMenu* menu, QWidget* view, const char* id, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(id));
    const CommandSpec* command = CommandRegistry::instance().find(id);
    FrameServices* frame = frameOf(view);
    if (!command || !command->run || !frame) {
        action->setEnabled(false);
        return action;
    }
    action->setEnabled(!command->enabled || command->enabled(*frame));
    QObject::connect(action, &QAction::triggered, view, [command, frame] { command->run(*frame); });
    return action;
}
} // namespace

std::unique_ptr<QMenu> CDibView::makeMapMenu()
{
    auto menu = std::make_unique<QMenu>(window());
    menu->setObjectName("mapMenu");
    commandEntry(menu.get(), this, "fs.insertMacro", "Insert Macro...");
    commandEntry(menu.get(), this, "fs.insertPosition", "Insert FS position preset...");
    QMenu* calibrate = menu->addMenu("Calibrate Extents...");
    calibrate->setObjectName("calibrateMenu");
    QAction* twoPoint = calibrate->addAction("2 Point Calibration");
    twoPoint->setObjectName("calibrate.twoPoint");
    connect(twoPoint, &QAction::triggered, this, [this] { startCalibration(true); });
    QAction* pointScale = calibrate->addAction("Point-Scale Calibration");
    pointScale->setObjectName("calibrate.pointScale");
    connect(pointScale, &QAction::triggered, this, [this] { startCalibration(false); });
    QAction* distance = calibrate->addAction("Point-Distance Calibration");
    distance->setObjectName("calibrate.pointDistance");
    distance->setEnabled(false);
    return menu;
}

std::unique_ptr<QMenu> CDibView::makeChunkMenu()
{
    auto menu = std::make_unique<QMenu>(window());
    menu->setObjectName("chunkMenu");
    commandEntry(menu.get(), this, "view.gridProperties", "Grid &Properties...");
    commandEntry(menu.get(), this, "altitude.override", "Override Altitude...");
    return menu;
}

void CDibView::startCalibration(bool twoPoint)
{
    ::startCalibration(shared().calibration, doc_, twoPoint);
    for (CDibView* view : shared().views)
        view->updateCursor();
}

void CDibView::cancelCalibration()
{
    shared().calibration.step = 0;
    for (CDibView* view : shared().views)
        view->updateCursor();
}

void CDibView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const int delta = event->angleDelta().y();
        if (delta != 0)
            zoomStep(delta > 0, event->position().toPoint());
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void CDibView::keyPressEvent(QKeyEvent* event)
{
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    const QPoint at = viewport()->rect().contains(pointer) ? pointer : viewport()->rect().center();
    switch (event->key()) {
    case Qt::Key_Shift: shared().shiftDown = true; break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomStep(true, at); return;
    case Qt::Key_Minus: zoomStep(false, at); return;
    case Qt::Key_Escape:
        if (shared().calibration.step != 0) {
            cancelCalibration();
            return;
        }
        break;
    default: break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CDibView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift)
        shared().shiftDown = false;
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CDibView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    updateCursor();
    announce();
}
