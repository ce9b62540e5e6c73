#include "WineLayout.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

/// The sub-folders of `folder` whose names start with `prefix`, sorted.
std::vector<fs::path> childrenStartingWith(const fs::path& folder, const std::string& prefix) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code dirEc;
    if (name.rfind(prefix, 0) == 0 && it->is_directory(dirEc)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

void addLibFolders(const fs::path& base, std::vector<std::string>& folders) {
  for (const fs::path& lib : childrenStartingWith(base, "lib")) folders.push_back((lib / "wine").string());
}

bool hasNtdll(const std::string& folder, const char* part) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(folder) / part / "ntdll.dll", ec);
}

}  // namespace

std::vector<std::string> WineLayout::libraryFolders(const std::string& root, const std::string& wineBinary) {
  const fs::path r = root.empty() ? fs::path("/") : fs::path(root);
  std::vector<std::string> folders;
  for (const char* sub : {"usr/lib/i386-linux-gnu/wine", "usr/lib/wine", "usr/lib32/wine",
                          "usr/lib/x86_64-linux-gnu/wine", "usr/lib64/wine"})
    folders.push_back((r / sub).string());
  for (const fs::path& opt : childrenStartingWith(r / "opt", "wine")) addLibFolders(opt, folders);
  if (!wineBinary.empty()) {
    // A linked wine (/usr/bin/wine -> /opt/wine-stable/bin/wine) counts where it really lies.
    std::vector<fs::path> binaries = {fs::path(wineBinary)};
    std::error_code ec;
    const fs::path real = fs::canonical(wineBinary, ec);
    if (!ec && real != binaries[0]) binaries.push_back(real);
    for (const fs::path& binary : binaries) addLibFolders(binary.parent_path().parent_path(), folders);
  }
  return folders;
}

WineLayout WineLayout::probe(const std::string& root, const std::string& wineBinary) {
  WineLayout layout;
  for (const std::string& folder : libraryFolders(root, wineBinary)) {
    layout.has64BitPart = layout.has64BitPart || hasNtdll(folder, "x86_64-windows");
    layout.has32BitPart = layout.has32BitPart || hasNtdll(folder, "i386-windows");
  }
  return layout;
}
