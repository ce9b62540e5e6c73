#include "project/ProjectFile.h"

#include <filesystem>

#include <algorithm>
#include <cstdint>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "synth/LinkedTextureImages.h"
#include "base/Platform.h"
#include "base/ReplacementFile.h"
#include "project/CDibDoc.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"
#include "project/TaggedWriter.h"
#include "base/ReplacementFile.h"

namespace {

// 256 pixels per chunk, held within the int range: the chunk counts come from the file.
std::int32_t pixelsOfChunks(std::int32_t chunks)
{
    const std::int64_t pixels = static_cast<std::int64_t>(chunks) * 256;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(pixels, INT32_MIN, INT32_MAX));
}

} // namespace

bool saveProject(CDibDoc& doc, const std::string& path)
{
    Platform& platform = doc.app.platform;
    if (path.empty()) {
        platform.message("Invalid filename.", MsgIcon::Exclamation);
        return false;
    }
    // The new file is made before any work, so a folder that refuses it is reported with its cause.
    ReplacementFile file;
    if (!file.open(path)) {
        platform.message("Cannot save " + path + ": " + file.error() + ".", MsgIcon::Exclamation);
        return false;
    }
    platform.setWaitCursor(true);
    // Streamed: a large project is never held a second time, as bytes, in memory.
    TaggedWriter out(file.stream());
    ProjectFileWriter writer(doc);
    writer.write(out);
    if (writer.cancelled()) {
        file.discard();
        platform.setWaitCursor(false);
        platform.message("Saving was cancelled: " + PathUtil::toNative(path) + " was left as it was.",
                         MsgIcon::Information);
        return false;
    }
    const bool written = out.finish() && file.commit();
    platform.setWaitCursor(false);
    if (!written) {
        // The previous file is untouched and the project stays marked modified.
        platform.message("Cannot save DIB\n" + path + ": " + file.error() + ".", MsgIcon::Information);
        return false;
    }
    doc.filePath = path;
    doc.setModified(false);
    return true;
}

bool loadProject(CDibDoc& doc, const std::string& path)
{
    return ProjectFileReader::readFile(doc, path, {});
}

bool openProject(CDibDoc& doc, const std::string& path)
{
    // Only a missing file is called missing: a device or a folder is reported as no project.
    std::error_code missing;
    if (path.empty() || !std::filesystem::exists(std::filesystem::path(PathUtil::toNative(path)), missing)) {
        doc.app.platform.message("The project file\n" + PathUtil::toNative(path) + "\ndoes not exist.",
                                 MsgIcon::Exclamation);
        return false;
    }
    if (!loadProject(doc, path)) {
        doc.app.platform.message("Couldn't read project file. Possibly not a Orvane project.", MsgIcon::Exclamation);
        return false;
    }
    doc.documentWidth = pixelsOfChunks(doc.chunkColumns);
    doc.documentHeight = pixelsOfChunks(doc.chunkRows);
    doc.filePath = path;
    // The map shows the pictures at once; what cannot be shown is said once, not tile by tile.
    const std::string failures = linkedTextureFailureText(loadLinkedTextureImages(doc));
    if (!failures.empty())
        doc.app.platform.message(failures, MsgIcon::Exclamation);
    return true;
}
