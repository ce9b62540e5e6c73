#include "output/SourceCommandFlow.h"

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "output/CompileToBgl.h"
#include "output/ScasmWriter.h"
#include "project/CDibDoc.h"

namespace {
FileDialogOptions saveOptions(const CDibDoc& doc, const char* title, const char* ext, const char* filter)
{
    FileDialogOptions o;
    o.title = title;
    o.defaultExt = ext;
    o.filter = filter;
    o.initialDir = doc.sceneryOutputFolder;
    o.hideReadOnly = true;
    o.overwritePrompt = true;
    return o;
}
} // namespace

bool canWriteSource(const CDibDoc& doc)
{
    return doc.boundary.hasExtent() && !doc.mainAltitudeMap.records.empty();
}

bool runScasmSourceCommand(CDibDoc& doc)
{
    const auto path = doc.app.platform.saveFileDialog(saveOptions(
        doc, "Select SCASM file name:", "sca", "SCASM files (*.sca)|*.sca|All Files (*.*)|*.*||"));
    if (!path)
        return false;
    doc.scasmFileTitle = PathUtil::titleOf(*path);
    doc.scasmFolder = PathUtil::folder(*path);
    return writeScasmSource(doc, *path);
}

bool runCompileCommand(CDibDoc& doc)
{
    Platform& platform = doc.app.platform;
    if (!findScasmExecutable(doc.app.settings.applicationPath)) {
        platform.message(kScasmMissingMessage, MsgIcon::Exclamation);
        return false;
    }
    const auto path = platform.saveFileDialog(
        saveOptions(doc, "Select BGL file name:", "bgl", "BGL files (*.bgl)|*.bgl|All Files (*.*)|*.*||"));
    if (!path)
        return false;
    return compileToBgl(doc, *path);
}
