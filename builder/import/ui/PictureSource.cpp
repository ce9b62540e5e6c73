#include "import/ui/PictureSource.h"

#include "base/PathUtil.h"
#include "base/Platform.h"
#include "imagery/ProjectBitmap.h"
#include "import/RasterImport.h"
#include "import/ui/ImportDialog.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

bool selectPictureSource(CDibDoc& doc, QWidget* parent, std::optional<GeoRect>& extents)
{
    Platform& platform = doc.app.platform;
    FileDialogOptions options;
    options.title = "Select bitmap for this project:";
    options.filter = "Pictures (*.bmp;*.tif;*.tiff;*.jpg;*.jpeg;*.png;*.jp2)|*.bmp;*.tif;*.tiff;*.jpg;*.jpeg;*.png;"
                     "*.jp2|BMP files (*.bmp)|*.bmp|All Files (*.*)|*.*||";
    options.hideReadOnly = true;
    options.mustExist = true;
    const std::optional<std::string> chosen = platform.openFileDialog(options);
    if (!chosen)
        return false;
    extents.reset();

    std::string bitmap = *chosen;
    if (!isProjectBitmapFile(*chosen)) {
        std::string error;
        const std::optional<RasterInfo> info = probeRaster(*chosen, error);
        if (!info) {
            doc.projectBitmap.reset();
            doc.projectPalette.reset();
            platform.message(error, MsgIcon::Exclamation);
            return false;
        }
        ImportDialog dialog(platform, *chosen, *info, doc.app.settings.applicationPath, parent);
        if (dialog.exec() != QDialog::Accepted || !dialog.result())
            return false;
        bitmap = dialog.outputPath();
        if (dialog.result()->georeferenced)
            extents = dialog.result()->extents;
    }
    doc.bitmapPath = bitmap;
    doc.sceneryFolder = PathUtil::folder(bitmap);
    if (loadProjectBitmap(doc, bitmap))
        return true;
    extents.reset();
    return false;
}
