#include "project/ProjectFolder.h"

#include "base/PathUtil.h"
#include "project/CDibDoc.h"

std::string projectFolder(const CDibDoc& doc)
{
    if (!doc.filePath.empty()) {
        const std::string folder = PathUtil::folder(doc.filePath);
        if (!folder.empty())
            return folder;
    }
    return doc.sceneryFolder;
}

std::string projectFolderOr(const CDibDoc& doc, const std::string& preferred)
{
    return preferred.empty() ? projectFolder(doc) : preferred;
}
