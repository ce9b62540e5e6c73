#include "base/ProgramFiles.h"

#include <algorithm>

#include "base/AppSettings.h"
#include "base/PathUtil.h"

std::vector<std::string> programFileSearchFolders(const AppSettings& settings)
{
    std::vector<std::string> folders;
    auto add = [&folders](const std::string& folder) {
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    };
    add(settings.applicationPath);
    add(settings.programFolder);
    // An installed program lies in <prefix>/bin and its shipped files in <prefix>/share/orvane.
    const std::string programParent = PathUtil::folder(settings.programFolder);
    if (!settings.programFolder.empty() && !programParent.empty() && programParent != settings.programFolder)
        add(PathUtil::join(PathUtil::join(programParent, "share"), "orvane"));
    return folders;
}

std::string findProgramFile(const AppSettings& settings, const std::string& name)
{
    for (const std::string& folder : programFileSearchFolders(settings)) {
        const std::string path = PathUtil::join(folder, name);
        if (PathUtil::fileExists(path))
            return path;
    }
    return {};
}

std::string programFileFolders(const AppSettings& settings)
{
    const std::vector<std::string> folders = programFileSearchFolders(settings);
    std::string text;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (i > 0)
            text += i + 1 == folders.size() ? " or " : ", ";
        text += PathUtil::toNative(folders[i]);
    }
    return text;
}
