#pragma once
// Paints a project's map onto any QPainter: the chunk mosaic, the grid lines and nodes, the
// altitude records and their labels, the macro and menu-position markers, the selection outline
// and the scale bar, in that order. The window and `orvane-cli preview` both paint through here.
// Only what the exposed rectangle needs is visited; the picture is the same as painting it all.
// The lower layers (mosaic, grid, altitude records) are painted in column strips into pictures of
// their own; a window's renderer keeps them as tiles, so a repaint or a scroll only copies tiles
// while nothing they show has changed. New tiles get their mosaic from a helper thread while the
// records are placed; a renderer is used by one thread at a time, as the window's paint uses it.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "view/MapOverlays.h"
#include "view/MapTransform.h"
#include "view/PixelMask.h"
#include "view/PixelStamp.h"
#include "view/TileCache.h"
#include "view/ui/TilePool.h"

class CDibDoc;
class ChunkSelection;
class LogicalPalette;
class PackedBitmap;
class QPainter;
class Texture;


class MapRenderer {
public:
    /// Paints the part of the map inside `exposed` (view coordinates). The painter's coordinates are
    /// view coordinates; `scroll` is the view coordinate at the window's top left corner and
    /// `windowHeight` the window's height (the scale bar stays in the window's bottom left corner).
    void paint(QPainter& painter, const CDibDoc& doc, const MapTransform& transform, const MapOverlays& overlays,
               const QRect& exposed, const ChunkSelection* selection, QPoint scroll, int windowHeight);

    /// Forgets the converted texture images and the kept tiles (textures may have been reloaded).
    void forgetImages()
    {
        images_.clear();
        tiles_.clear();
    }

    /// Keeps the lower layers' tiles between paints (a window); off, every paint paints them anew.
    void setKeepTiles(bool keep)
    {
        keepTiles_ = keep;
        tiles_.clear();
    }
    /// The tiles kept now (for tests).
    std::size_t keptTiles() const { return tiles_.size(); }
    static constexpr int kTileSize = TilePool::kSize;

    /// Where the scale bar's line lies, in window coordinates: 20 pixels above the map's lower edge,
    /// or above the window's when the map reaches further down.
    static int scaleBarY(const CDibDoc& doc, int windowHeight);

    /// A texture's bitmap as the map paints it: with the palette's colours (or its own), mirrored
    /// as asked, as an RGB32 image; null for a bitmap that cannot be shown.
    static QImage textureImage(const PackedBitmap& bitmap, const LogicalPalette* palette, bool mirrorEastWest,
                               bool mirrorNorthSouth);

    /// The texture's bitmap as textureImage makes it, but only at the given places: `samples` holds,
    /// for each pixel of the `shown` picture (rows top first), its position y × width + x in the
    /// turned bitmap; a position past the bitmap gives black. Null where textureImage is null.
    static QImage sampledTextureImage(const PackedBitmap& bitmap, const LogicalPalette* palette, bool mirrorEastWest,
                                      bool mirrorNorthSouth, QSize shown, const std::vector<std::uint32_t>& samples);

    /// The two marker images (macro, menu position).
    static const QPixmap& macroMarker();
    static const QPixmap& menuPositionMarker();

private:
    /// The texture's picture in the orientation the flip value gives, for a chunk shown at `shown`.
    const QImage& imageOf(const Texture* texture, std::int32_t flipValue, QSize shown);
    /// The lower layers under `exposed`, from kept tiles or painted now.
    void paintLayers(QPainter& painter, const CDibDoc& doc, const MapTransform& transform, const MapOverlays& overlays,
                     const QRect& exposed);
    /// Paints the lower layers of the view rectangle at `origin` of the picture's size into the
    /// picture, which is transparent where they paint nothing.
    void paintStrip(QImage& picture, QPoint origin, const CDibDoc& doc, const MapTransform& transform,
                    const MapOverlays& overlays);
    /// The mosaic with its grid lines and nodes, into a picture as paintStrip does.
    void paintMosaic(QImage& picture, QPoint origin, const CDibDoc& doc, const MapTransform& transform,
                     const MapOverlays& overlays);
    /// A picture and the view coordinate of its top left corner.
    struct PaintTarget {
        QImage* picture;
        QPoint origin;
    };
    /// The altitude crosses and labels of the view rectangle `rect`, placed once and written into
    /// each picture over what it holds. Each picture lies inside the rectangle, a multiple of 64
    /// pixels right of its left edge.
    void paintAltitudeRecords(std::span<const PaintTarget> targets, const QRect& rect, const CDibDoc& doc,
                              const MapTransform& transform, const MapOverlays& overlays);
    /// The crosses and labels of a view rectangle as masks, before they are written into pictures.
    struct RecordMarks {
        bool any = false;   ///< false: nothing to write
        QPoint origin;      ///< the view point of the masks' top left corner
        int width = 0, height = 0;
        bool crossesShown = false, labelsShown = false;
        QRgb text = 0;
        PixelMask crosses{0, 0}, labels{0, 0};
    };
    /// The first half of paintAltitudeRecords: touches no picture, so the mosaic may be painted meanwhile.
    RecordMarks markRecords(const QRect& rect, const CDibDoc& doc, const MapTransform& transform,
                            const MapOverlays& overlays);
    /// The mosaic painted into the pictures while the records of `rect` are marked; the marks, to
    /// be written over it.
    RecordMarks markRecordsBesideMosaic(std::span<const PaintTarget> targets, const QRect& rect, const CDibDoc& doc,
                                        const MapTransform& transform, const MapOverlays& overlays);
    /// The second half: the marks written into each picture over what it holds.
    static void writeMarks(const RecordMarks& marks, std::span<const PaintTarget> targets);

    /// A grid node of the radius, drawn once, as its opaque pixels relative to the node's centre.
    struct NodePixel {
        int dx, dy;
        std::uint32_t argb;
    };
    struct NodeSprite {
        QImage image;
        std::vector<NodePixel> pixels;
        bool opaque = true;   ///< every pixel fully opaque or fully clear, so copying pixels is drawing it
    };
    const NodeSprite& nodeSprite(int radius);

    struct ImageKey {
        const Texture* texture;
        int turn;
        int width, height;   ///< the size shown when smaller than the texture, else 0
        auto operator<=>(const ImageKey&) const = default;
    };
    std::map<ImageKey, QImage> images_;
    /// Where the painter takes each pixel from when it scales a picture of one size to another:
    /// positions as sampledTextureImage reads them; empty when they cannot be worked out.
    const std::vector<std::uint32_t>& samplesOf(QSize source, QSize shown);
    std::map<std::array<int, 4>, std::vector<std::uint32_t>> samples_;
    /// A label beside its altitude in a small table in front of the shared labels; a label of up
    /// to kSlotRows rows of one word is kept in the slot itself, so placing a record reads one slot.
    static constexpr int kSlotRows = 12;
    struct StampSlot {
        const PixelStamp* stamp = nullptr;
        std::int32_t altitude = 0;
        int left = 0, top = 0, width = 0, height = 0;
        bool rowsHere = false;
        std::array<std::uint64_t, kSlotRows> rows{};
    };
    /// The slot of the altitude's label when made already (by any renderer) or made now, or null
    /// when it waits for the painter. Valid until the next call.
    /// The slot of a label already made; one read for an altitude seen before in this renderer.
    const StampSlot* knownStamp(std::int32_t altitude)
    {
        const StampSlot& slot = stampSlots_[static_cast<std::uint32_t>(altitude) % stampSlots_.size()];
        if (slot.stamp && slot.altitude == altitude)
            return &slot;
        return fillStampSlot(altitude);
    }
    const StampSlot* fillStampSlot(std::int32_t altitude);
    std::array<StampSlot, 4096> stampSlots_{};
    std::map<int, NodeSprite> nodeSprites_;
    // Whether the main map's records are in longitude order, found on every paint with their fingerprint.
    bool sorted_ = false;
    bool keepTiles_ = false;
    TileCache<QImage> tiles_{192};
    QPoint tileOrigin_;   ///< the view point where the kept tiles' grid starts
};
