#include "imagery/ProjectBitmap.h"

#include <unistd.h>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "imagery/BitmapFile.h"
#include "project/CDibDoc.h"
#include "project/ProjectFolder.h"

namespace {
constexpr std::uint32_t kLargest = 0x80000000u;   // 2^31

bool positiveMultipleOf1024(std::int32_t value)
{
    return value > 0 && value % 1024 == 0;
}

// The validation chain; each refusal names its reason. Nothing is kept when one fails.
bool acceptBitmap(CDibDoc& doc, const PackedBitmap& bitmap)
{
    Platform& platform = doc.app.platform;
    if (bitmap.rawWidth() >= kLargest || bitmap.rawHeight() >= kLargest) {
        platform.message("DIB is too large", MsgIcon::Information);
        return false;
    }
    doc.projectPalette = createBitmapPalette(bitmap);
    if (!doc.projectPalette) {
        platform.message("This image has more than 256 colors. Loading Abandoned.", MsgIcon::Exclamation);
        return false;
    }
    // Everything after the load reads one byte per pixel from plain rows.
    if (bitmap.bitsPerPixel() != 8 || bitmap.compression() != 0) {
        platform.message(kNot8BitMessage, MsgIcon::Exclamation);
        return false;
    }
    if (!positiveMultipleOf1024(bitmap.width())) {
        platform.message("This Image's width is not a multiple of 1024 . Loading abandoned.", MsgIcon::Exclamation);
        return false;
    }
    if (!positiveMultipleOf1024(bitmap.height())) {
        platform.message("This Image's height is not a multiple of 1024 . Loading abandoned.", MsgIcon::Exclamation);
        return false;
    }
    return true;
}
} // namespace

bool loadProjectBitmap(CDibDoc& doc, const std::string& path)
{
    Platform& platform = doc.app.platform;
    // Asked without opening: opening a FIFO to try it would wait for a writer.
    {
        if (::access(path.c_str(), R_OK) != 0) {
            platform.message(std::string(kOpenFailedMessage) + "\n" + path, MsgIcon::Exclamation);
            return false;
        }
    }
    platform.setWaitCursor(true);
    doc.projectBitmap.reset();
    doc.projectPalette.reset();
    std::string reason;
    std::optional<PackedBitmap> bitmap = readBitmapFile(path, &reason);
    if (!bitmap)
        platform.message("This bitmap cannot be read: " + reason + ".", MsgIcon::Exclamation);
    if (bitmap && acceptBitmap(doc, *bitmap)) {
        doc.bitmapWidth = bitmap->width();
        doc.bitmapHeight = bitmap->height();
        doc.chunkColumns = doc.bitmapWidth / 256;
        doc.chunkRows = doc.bitmapHeight / 256;
        doc.projectBitmap = std::move(bitmap);
    } else {
        doc.projectPalette.reset();
    }
    platform.setWaitCursor(false);
    if (!doc.projectBitmap) {
        platform.message("Cannot load DIB", MsgIcon::Information);
        return false;
    }
    doc.setModified(false);
    return true;
}

bool selectProjectBitmap(CDibDoc& doc)
{
    FileDialogOptions options;
    options.title = "Select bitmap for this project:";
    options.initialDir = projectFolder(doc);
    options.filter = "BMP files (*.bmp)|*.bmp|";
    options.hideReadOnly = true;
    options.overwritePrompt = true;
    const std::optional<std::string> chosen = doc.app.platform.openFileDialog(options);
    if (!chosen)
        return false;
    doc.bitmapPath = *chosen;
    doc.sceneryFolder = PathUtil::folder(*chosen);
    return loadProjectBitmap(doc, doc.bitmapPath);
}
