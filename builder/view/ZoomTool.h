#pragma once
// The zoom tool's steps: doubling up to 8 view pixels per bitmap pixel, halving down, the read-out
// of the tool palette, and the scroll position that keeps a chosen point of the map still.

#include <string>

#include "view/MapTransform.h"

class ZoomTool {
public:
    static constexpr double kMaxZoom = 8.0;
    /// Halving stops here: below it 1 / zoom no longer fits the read-out's integer and the
    /// mosaic has long shrunk below one pixel.
    static constexpr double kMinZoom = 1.0 / 1073741824.0;
    /// Scroll sizes beyond this are not taken (the scroll bars' range); the step is then refused.
    static constexpr int kMaxScrollSize = 1 << 30;

    /// The zoom after one zoom-in step: doubled while below 8, else unchanged.
    static double zoomIn(double zoom);
    /// The zoom after one zoom-out step: halved, but not below kMinZoom.
    static double zoomOut(double zoom);
    /// Whether the scroll size of `transform`'s map at `zoom` fits the scroll bars.
    static bool scrollSizeFits(const MapTransform& transform, double zoom);

    /// "1/%d x" below 1 (1 / zoom truncated), else "%d x" (zoom truncated).
    static std::string readOut(double zoom);

    /// The scroll position (of one axis) that shows the map position under the view coordinate
    /// `logical` (scroll already applied, at the old zoom and centring offset) at the same
    /// window coordinate after the zoom changed: the point under the pointer stays still.
    static int anchoredScroll(int logical, int scroll, double oldZoom, int oldOffset, double newZoom, int newOffset);
};
