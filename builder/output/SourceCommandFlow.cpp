#include "output/SourceCommandFlow.h"

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "output/CompileToBgl.h"
#include "output/ScasmWriter.h"
#include "project/CDibDoc.h"
#include "project/ProjectFolder.h"

namespace {
FileDialogOptions saveOptions(const CDibDoc& doc, const char* title, const char* ext, const char* filter)
{
    FileDialogOptions o;
    o.title = title;
    o.defaultExt = ext;
    o.filter = filter;
    // Where the project last wrote its source, else its scenery output folder, else its own.
    o.initialDir = projectFolderOr(doc, doc.scasmFolder.empty() ? doc.sceneryOutputFolder : doc.scasmFolder);
    o.hideReadOnly = true;
    o.overwritePrompt = true;
    return o;
}
// The source's folder and name are saved with the project: a change is a change of the project.
void rememberSourcePlace(CDibDoc& doc, const std::string& path)
{
    const std::string title = PathUtil::titleOf(path);
    const std::string folder = PathUtil::folder(path);
    if (title == doc.scasmFileTitle && folder == doc.scasmFolder)
        return;
    doc.scasmFileTitle = title;
    doc.scasmFolder = folder;
    doc.setModified();
}
} // namespace

bool canWriteSource(const CDibDoc& doc)
{
    return doc.boundary.hasExtent() && !doc.mainAltitudeMap.records.empty();
}

SourceOutcome scasmSourceOutcome(CDibDoc& doc)
{
    const auto path = doc.app.platform.saveFileDialog(saveOptions(
        doc, "Select SCASM file name:", "sca", "SCASM files (*.sca)|*.sca|All Files (*.*)|*.*||"));
    if (!path)
        return SourceOutcome::Cancelled;
    rememberSourcePlace(doc, *path);
    return writeScasmSource(doc, *path) ? SourceOutcome::Made : SourceOutcome::Failed;
}

SourceOutcome compileOutcome(CDibDoc& doc)
{
    Platform& platform = doc.app.platform;
    if (!findScasmExecutable(doc.app.settings.applicationPath)) {
        platform.message(scasmMissingMessage(doc.app.settings.applicationPath), MsgIcon::Exclamation);
        return SourceOutcome::Failed;
    }
    const auto path = platform.saveFileDialog(
        saveOptions(doc, "Select BGL file name:", "bgl", "BGL files (*.bgl)|*.bgl|All Files (*.*)|*.*||"));
    if (!path)
        return SourceOutcome::Cancelled;
    rememberSourcePlace(doc, *path);
    return compileToBgl(doc, *path).made ? SourceOutcome::Made : SourceOutcome::Failed;
}

bool runScasmSourceCommand(CDibDoc& doc)
{
    return scasmSourceOutcome(doc) == SourceOutcome::Made;
}

bool runCompileCommand(CDibDoc& doc)
{
    return compileOutcome(doc) == SourceOutcome::Made;
}
