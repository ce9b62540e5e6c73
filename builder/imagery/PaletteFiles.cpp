#include "imagery/PaletteFiles.h"

#include <sstream>
#include <locale>

#include "project/AppContext.h"
#include "base/FileLimits.h"
#include "base/InputFile.h"
#include "base/Platform.h"
#include "base/ReplaceFile.h"
#include "project/CDibDoc.h"
#include "project/ProjectFolder.h"

bool importJascPalette(CDibDoc& doc, const std::string& path)
{
    // Read whole and bounded: a device or a FIFO named here must not stream or wait for ever.
    InputFile input;
    if (!input.read(path, FileLimits::kPaletteFile))
        return false;
    std::istringstream file(input.text());
    file.imbue(std::locale::classic());
    std::string formatName;
    long long version = 0;
    long long count = 0;
    file >> formatName >> version >> count;
    long long red = 0;
    long long green = 0;
    long long blue = 0;
    // Triples past the 64th would be ignored anyway, so reading stops there.
    for (std::size_t n = 0; n < doc.customColors.size() && (file >> red >> green >> blue); ++n)
        doc.customColors[n] = static_cast<std::uint32_t>(red & 0xFF) | static_cast<std::uint32_t>(green & 0xFF) << 8 |
                              static_cast<std::uint32_t>(blue & 0xFF) << 16;
    return true;
}

bool writePaletteFile(const std::array<std::int32_t, 256>& colors, const std::string& path)
{
    std::array<std::uint8_t, 768> bytes{};
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const auto color = static_cast<std::uint32_t>(colors[i]);
        bytes[3 * i] = static_cast<std::uint8_t>(color);
        bytes[3 * i + 1] = static_cast<std::uint8_t>(color >> 8);
        bytes[3 * i + 2] = static_cast<std::uint8_t>(color >> 16);
    }
    return replaceFile(path, {{bytes.data(), bytes.size()}});
}

bool savePaletteAs(CDibDoc& doc)
{
    FileDialogOptions options;
    options.title = "Save palette as:";
    options.filter = "PAL Files (*.pal)|*.pal|";
    options.initialDir = projectFolderOr(doc, doc.textureFolder);
    options.hideReadOnly = true;
    options.overwritePrompt = true;
    const std::optional<std::string> chosen = doc.app.platform.saveFileDialog(options);
    if (!chosen)
        return false;
    return writePaletteFile(doc.colorTable, *chosen);
}
