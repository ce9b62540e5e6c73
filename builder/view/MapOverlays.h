#pragma once
// Which marks a map view paints over the chunk mosaic.

struct MapOverlays {
    bool gridLines = false;
    bool gridNodes = false;
    bool altitudeNodes = false;
    bool altitudeLabels = false;
    bool markers = true;
    bool selection = true;
    bool scaleBar = true;
};
