#include "project/BoundaryEdit.h"

#include "project/CDibDoc.h"
#include "project/SceneryDimensions.h"
#include "project/SnapshotEdit.h"

namespace {
void restoreBoundary(CDibDoc& doc, const GeoRect& boundary)
{
    doc.boundary = boundary;
    computeSceneryDimensions(doc);
    doc.repaintViews();
}
} // namespace

bool editBoundary(CDibDoc& doc, const GeoRect& boundary)
{
    return recordEdit<GeoRect>(
        doc, "Boundary", [](const CDibDoc& d) { return d.boundary; }, restoreBoundary,
        [&] {
            if (doc.boundary == boundary)
                return false;
            doc.boundary = boundary;
            computeSceneryDimensions(doc);
            return true;
        });
}
