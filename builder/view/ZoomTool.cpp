#include "view/ZoomTool.h"

#include <cstdio>

double ZoomTool::zoomIn(double zoom)
{
    return zoom < kMaxZoom ? zoom * 2 : zoom;
}

double ZoomTool::zoomOut(double zoom)
{
    const double half = zoom / 2;
    return half < kMinZoom ? zoom : half;
}

bool ZoomTool::scrollSizeFits(const MapTransform& transform, double zoom)
{
    const double w = transform.chunkColumns() * 256.0 * zoom;
    const double h = transform.chunkRows() * 256.0 * zoom;
    return w < kMaxScrollSize && h < kMaxScrollSize;
}

std::string ZoomTool::readOut(double zoom)
{
    char text[32];
    if (zoom < 1)
        std::snprintf(text, sizeof text, "1/%d x", truncateToInt(1 / zoom));
    else
        std::snprintf(text, sizeof text, "%d x", truncateToInt(zoom));
    return text;
}

int ZoomTool::anchoredScroll(int logical, int scroll, double oldZoom, int oldOffset, double newZoom, int newOffset)
{
    const int window = logical - scroll;
    const double mapPosition = (logical - oldOffset) / oldZoom;
    return truncateToInt(mapPosition * newZoom + newOffset - window);
}
