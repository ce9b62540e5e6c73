#include "base/ReplaceFile.h"

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "base/ReplacementFile.h"

bool replaceFile(const std::string& path, std::initializer_list<FilePart> parts, std::string* error)
{
    ReplacementFile file;
    bool ok = file.open(path);
    for (const FilePart& part : parts)
        ok = ok && file.write(part.data, part.size);
    ok = ok && file.commit();
    if (!ok && error)
        *error = file.error();
    return ok;
}

std::string folderOfFile(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
