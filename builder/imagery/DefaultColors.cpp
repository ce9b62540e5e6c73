#include "imagery/DefaultColors.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/ProgramFiles.h"
#include "base/Platform.h"
#include "base/TextFormat.h"
#include "project/CDibDoc.h"

namespace {
// The classic cause codes of a failed open.
int causeCode(int error)
{
    switch (error) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM: return 5;
    case EBUSY:
    case ETXTBSY: return 11;
    default: return 1;
    }
}
} // namespace

void readDefaultColors(CDibDoc& doc)
{
    const AppSettings& settings = doc.app.settings;
    const std::string found = findProgramFile(settings, "colors.pcf");
    const std::string path = found.empty() ? PathUtil::join(settings.applicationPath, "colors.pcf") : found;
    // Only a regular file is opened: opening a FIFO would wait for a writer.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    std::FILE* file = nullptr;
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        errno = EINVAL;
    else
        file = std::fopen(path.c_str(), "rb");
    if (!file) {
        const int code = causeCode(errno);
        // Which file, and where it was looked for, so that the user can put one there.
        doc.app.platform.message(TextFormat::localFormat("Couldn't read default palette file.\n%d", code) +
                                     "\ncolors.pcf was looked for in " + programFileFolders(settings) + ".",
                                 MsgIcon::Exclamation);
        return;
    }
    unsigned char bytes[768] = {};
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    for (std::size_t i = 0; i < 256; ++i) {
        if (3 * i + 3 > got)
            break;   // a short file leaves the rest zero
        const std::uint32_t color = static_cast<std::uint32_t>(bytes[3 * i]) |
                                    static_cast<std::uint32_t>(bytes[3 * i + 1]) << 8 |
                                    static_cast<std::uint32_t>(bytes[3 * i + 2]) << 16;
        if (i < 116)
            doc.standardColors[i] = color;
        else if (i < 128)
            doc.nightColors[i - 116] = color;
        else if (i >= 160 && i < 192)
            doc.skyGroundColors[i - 160] = color;
        else if (i >= 192)
            doc.customColors[i - 192] = color;
    }
}
