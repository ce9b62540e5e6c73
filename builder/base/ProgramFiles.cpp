#include "base/ProgramFiles.h"

#include "base/AppSettings.h"
#include "base/PathUtil.h"

std::string findProgramFile(const AppSettings& settings, const std::string& name)
{
    for (const std::string* folder : {&settings.applicationPath, &settings.programFolder}) {
        if (folder->empty())
            continue;
        const std::string path = PathUtil::join(*folder, name);
        if (PathUtil::fileExists(path))
            return path;
    }
    return {};
}

std::string programFileFolders(const AppSettings& settings)
{
    const std::string first = PathUtil::toNative(settings.applicationPath);
    if (settings.programFolder.empty() || settings.programFolder == settings.applicationPath)
        return first;
    return first + " or " + PathUtil::toNative(settings.programFolder);
}
