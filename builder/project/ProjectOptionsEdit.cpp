#include "project/ProjectOptionsEdit.h"

#include "project/CDibDoc.h"
#include "project/SnapshotEdit.h"

ProjectOptions projectOptionsOf(const CDibDoc& doc)
{
    ProjectOptions o;
    o.textColor = doc.textColor;
    o.gridColor = doc.gridColor;
    o.scaleColor = doc.scaleColor;
    o.writeAltitudeCoordinates = doc.writeAltitudeCoordinates;
    o.writeAreaMaxHeader = doc.writeAreaMaxHeader;
    o.areaMaxSizeKB = doc.areaMaxSizeKB;
    o.writeCopyright = doc.writeCopyright;
    o.copyrightText = doc.copyrightText;
    o.includedSeasons = doc.includedSeasons;
    return o;
}

namespace {
void restoreProjectOptions(CDibDoc& doc, const ProjectOptions& o)
{
    doc.textColor = o.textColor;
    doc.gridColor = o.gridColor;
    doc.scaleColor = o.scaleColor;
    doc.writeAltitudeCoordinates = o.writeAltitudeCoordinates;
    doc.writeAreaMaxHeader = o.writeAreaMaxHeader;
    doc.areaMaxSizeKB = o.areaMaxSizeKB;
    doc.writeCopyright = o.writeCopyright;
    doc.copyrightText = o.copyrightText;
    doc.includedSeasons = o.includedSeasons;
    // The map colours show at once.
    doc.repaintViews();
}
} // namespace

bool editProjectOptions(CDibDoc& doc, const std::function<bool()>& edit)
{
    const ProjectOptions before = projectOptionsOf(doc);
    bool accepted = false;
    recordEdit<ProjectOptions>(doc, "Project Properties", projectOptionsOf, restoreProjectOptions, [&] {
        accepted = edit();
        return accepted && !(projectOptionsOf(doc) == before);
    });
    return accepted;
}
