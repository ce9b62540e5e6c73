#include "output/WineSupport.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

/// `pattern` inside `folder`: entries whose name starts with `prefix` (as a shell's prefix*).
std::vector<fs::path> entriesStartingWith(const fs::path& folder, const std::string& prefix)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename().string().rfind(prefix, 0) == 0 && it->is_directory(ec))
            found.push_back(it->path());
    return found;
}

/// A thread id of four hex digits, then ":err:".
bool isErrLine(const std::string& line)
{
    if (line.size() < 9)
        return false;
    for (int i = 0; i < 4; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(line[static_cast<std::size_t>(i)])))
            return false;
    return line.compare(4, 5, ":err:") == 0;
}

} // namespace

WineParts findWineParts(const std::string& root, const std::string& wineBinary)
{
    const fs::path base(root.empty() ? std::string("/") : root);
    const auto inRoot = [&base](const fs::path& p) { return base / p.relative_path(); };
    std::vector<fs::path> folders;
    for (const char* f : {"/usr/lib/i386-linux-gnu/wine", "/usr/lib/wine", "/usr/lib32/wine",
                          "/usr/lib/x86_64-linux-gnu/wine", "/usr/lib64/wine"})
        folders.push_back(inRoot(f));
    for (const fs::path& opt : entriesStartingWith(inRoot("/opt"), "wine"))
        for (const fs::path& lib : entriesStartingWith(opt, "lib"))
            folders.push_back(lib / "wine");
    if (!wineBinary.empty()) {
        std::vector<fs::path> binaries{inRoot(wineBinary)};
        // A wine reached through a link keeps its libraries beside the real file.
        std::error_code ec;
        const fs::path real = fs::canonical(inRoot(wineBinary), ec);
        if (!ec && real != binaries.front())
            binaries.push_back(real);
        for (const fs::path& binary : binaries)
            for (const fs::path& lib : entriesStartingWith(binary.parent_path().parent_path(), "lib"))
                folders.push_back(lib / "wine");
    }
    WineParts parts;
    for (const fs::path& folder : folders) {
        parts.has64 = parts.has64 || isFile(folder / "x86_64-windows" / "ntdll.dll");
        parts.has32 = parts.has32 || isFile(folder / "i386-windows" / "ntdll.dll");
    }
    return parts;
}

std::string wine32MissingMessage(const std::string& programName)
{
    return programName +
           " is a 32-bit Windows program, and this machine's wine runs only 64-bit programs.\n"
           "Install wine's 32-bit part as root:\n"
           "  dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386\n"
           "A wine prefix made before that (~/.wine, or $WINEPREFIX) must be made again: move it away and wine "
           "makes a new one.";
}

std::string winePrefixFolder()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return (fs::path(home ? home : "") / ".wine").string();
}

std::string winePreparingNote(const std::string& prefix)
{
    return "Wine is preparing its folder " + prefix + " for the first time; this can take a few seconds.";
}

bool isWineDiagnostic(const std::string& line)
{
    return line.rfind("wine: ", 0) == 0 || isErrLine(line) || isWine32Hint(line);
}

bool isWineNoise(const std::string& line)
{
    if (line.size() < 11)
        return false;
    for (int i = 0; i < 4; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(line[static_cast<std::size_t>(i)])))
            return false;
    return line.compare(4, 7, ":fixme:") == 0;
}

bool isWine32Hint(const std::string& line)
{
    return line.rfind("it looks like wine32 is missing", 0) == 0;
}
