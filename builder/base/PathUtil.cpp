#include "base/PathUtil.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace PathUtil {

namespace {
bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t lastSeparator(const std::string& path)
{
    const std::size_t back = path.rfind('\\');
    const std::size_t slash = path.rfind('/');
    if (back == std::string::npos)
        return slash;
    if (slash == std::string::npos)
        return back;
    return back > slash ? back : slash;
}
} // namespace

std::string join(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && isSeparator(folder.back()))
        return folder + name;
    return folder + nativeSeparator + name;
}

std::string fileName(const std::string& path)
{
    const std::size_t pos = lastSeparator(path);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string folder(const std::string& path)
{
    const std::size_t pos = lastSeparator(path);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::string titleOf(const std::string& fileNameOrPath)
{
    const std::string name = fileName(fileNameOrPath);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string toNative(const std::string& path)
{
    std::string result = path;
    for (char& c : result)
        if (isSeparator(c))
            c = nativeSeparator;
    return result;
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(toNative(path)), ec);
}

bool folderExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs::path(toNative(path)), ec);
}

std::string currentFolder()
{
    std::error_code ec;
    return fs::current_path(ec).string();
}

} // namespace PathUtil
