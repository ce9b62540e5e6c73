#include "imagery/ProjectBitmap.h"

#include "app/AppContext.h"
#include "app/Platform.h"
#include "project/CDibDoc.h"

// Placeholder until the bitmap reader lands (delete this file then): every bitmap is refused.
bool loadProjectBitmap(CDibDoc& doc, const std::string& path)
{
    (void)path;
    doc.app.platform.message("Cannot load DIB", MsgIcon::Information);
    return false;
}

bool selectProjectBitmap(CDibDoc& doc)
{
    (void)doc;
    return false;
}
