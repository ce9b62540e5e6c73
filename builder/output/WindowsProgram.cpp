#include "output/WindowsProgram.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

std::uint32_t le32(const unsigned char* b)
{
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

} // namespace

WindowsProgram windowsProgramKind(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return WindowsProgram::None;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size < 2)
        return WindowsProgram::None;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return WindowsProgram::None;
    WindowsProgram kind = WindowsProgram::None;
    unsigned char dos[0x40] = {};
    const std::size_t got = std::fread(dos, 1, sizeof dos, file);
    if (got >= 2 && dos[0] == 'M' && dos[1] == 'Z') {
        kind = WindowsProgram::UnknownBits;
        // The new header's offset sits at 0x3C; "PE\0\0" and the 16-bit machine follow there.
        if (got == sizeof dos) {
            const std::uint32_t peOffset = le32(dos + 0x3C);
            unsigned char pe[6] = {};
            if (static_cast<std::uintmax_t>(peOffset) + sizeof pe <= size &&
                std::fseek(file, static_cast<long>(peOffset), SEEK_SET) == 0 &&
                std::fread(pe, 1, sizeof pe, file) == sizeof pe && pe[0] == 'P' && pe[1] == 'E' && pe[2] == 0 &&
                pe[3] == 0) {
                const unsigned machine = pe[4] | static_cast<unsigned>(pe[5]) << 8;
                if (machine == 0x014C)
                    kind = WindowsProgram::Bits32;
                else if (machine == 0x8664)
                    kind = WindowsProgram::Bits64;
            }
        }
    }
    std::fclose(file);
    return kind;
}
