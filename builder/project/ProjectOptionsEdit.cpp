#include "project/ProjectOptionsEdit.h"

#include "project/CDibDoc.h"
#include "project/SnapshotEdit.h"

namespace {
// The options carry the project's own field names, so one copy serves both ways.
template <class From, class To>
void copyOptions(const From& from, To& to)
{
    to.textColor = from.textColor;
    to.gridColor = from.gridColor;
    to.scaleColor = from.scaleColor;
    to.writeAltitudeCoordinates = from.writeAltitudeCoordinates;
    to.writeAreaMaxHeader = from.writeAreaMaxHeader;
    to.areaMaxSizeKB = from.areaMaxSizeKB;
    to.writeCopyright = from.writeCopyright;
    to.copyrightText = from.copyrightText;
    to.includedSeasons = from.includedSeasons;
}

void restoreProjectOptions(CDibDoc& doc, const ProjectOptions& options)
{
    copyOptions(options, doc);
    // The map colours show at once.
    doc.repaintViews();
}
} // namespace

ProjectOptions projectOptionsOf(const CDibDoc& doc)
{
    ProjectOptions options;
    copyOptions(doc, options);
    return options;
}

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
