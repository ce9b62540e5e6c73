#include "base/ReplaceFile.h"

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
