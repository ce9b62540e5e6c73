#pragma once
// Paints a project's map onto any QPainter: the chunk mosaic, the grid lines and nodes, the
// altitude records and their labels, the macro and menu-position markers, the selection outline
// and the scale bar, in that order. The window and `orvane-cli preview` both paint through here.
// Only what the exposed rectangle needs is visited; the picture is the same as painting it all.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "view/MapTransform.h"

class CDibDoc;
class ChunkSelection;
class QFont;
class QPainter;
class Texture;

struct MapOverlays {
    bool gridLines = false;
    bool gridNodes = false;
    bool altitudeNodes = false;
    bool altitudeLabels = false;
    bool markers = true;
    bool selection = true;
    bool scaleBar = true;
};

class MapRenderer {
public:
    /// Paints the part of the map inside `exposed` (view coordinates). The painter's coordinates are
    /// view coordinates; `scroll` is the view coordinate at the window's top left corner and
    /// `windowHeight` the window's height (the scale bar stays in the window's bottom left corner).
    void paint(QPainter& painter, const CDibDoc& doc, const MapTransform& transform, const MapOverlays& overlays,
               const QRect& exposed, const ChunkSelection* selection, QPoint scroll, int windowHeight);

    /// Forgets the converted texture images (textures may have been reloaded).
    void forgetImages() { images_.clear(); }

    /// Where the scale bar's line lies, in window coordinates: 20 pixels above the map's lower edge,
    /// or above the window's when the map reaches further down.
    static int scaleBarY(const CDibDoc& doc, int windowHeight);

    /// The two marker images (macro, menu position).
    static const QPixmap& macroMarker();
    static const QPixmap& menuPositionMarker();

private:
    const QImage& imageOf(const Texture* texture, std::int32_t flipValue);
    void paintAltitudeRecords(QPainter& painter, const CDibDoc& doc, const MapTransform& transform,
                              const MapOverlays& overlays, const QRect& exposed);

    /// The pixels a label sets, relative to its record's point, and their bounds; drawn once per altitude.
    struct LabelPixels {
        std::vector<QPoint> offsets;
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    const LabelPixels& labelPixels(std::int32_t altitude, const QFont& font);

    std::map<std::pair<const Texture*, int>, QImage> images_;
    std::map<std::int32_t, LabelPixels> labelPixels_;
    /// A grid node of the radius, drawn once.
    const QImage& nodeSprite(int radius);
    std::map<int, QImage> nodeSprites_;
    // Whether the main map's records are in longitude order, checked once per records array.
    const void* sortedFor_ = nullptr;
    std::size_t sortedSize_ = 0;
    bool sorted_ = false;
};
