#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "output/WindowsProgram.h"
#include "support/TempDir.h"

namespace {

/// A DOS header pointing at `peOffset`, padded to `size`, with "PE\0\0" and `machine` there when
/// they fit.
std::string peFile(std::uint32_t peOffset, std::uint16_t machine, std::size_t size, const char* signature = "PE")
{
    std::string b(size, '\0');
    if (size >= 2) {
        b[0] = 'M';
        b[1] = 'Z';
    }
    for (int k = 0; k < 4; ++k)
        if (0x3C + static_cast<std::size_t>(k) < size)
            b[0x3C + static_cast<std::size_t>(k)] = static_cast<char>(peOffset >> (8 * k));
    const std::string tail = std::string(signature, 2) + std::string("\0\0", 2) +
                             std::string(1, static_cast<char>(machine & 0xFF)) +
                             std::string(1, static_cast<char>(machine >> 8));
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (peOffset + i < size)
            b[peOffset + i] = tail[i];
    return b;
}

TEST(WindowsProgram, TellsBitnessFromThePeHeaderAndSurvivesHostileHeaders)
{
    const struct {
        const char* name;
        std::string bytes;
        WindowsProgram kind;
    } cases[] = {
        {"32-bit", peFile(0x80, 0x014C, 0x200), WindowsProgram::Bits32},
        {"64-bit", peFile(0x80, 0x8664, 0x200), WindowsProgram::Bits64},
        {"header at the very end", peFile(0x1FA, 0x8664, 0x200), WindowsProgram::Bits64},
        {"ARM machine", peFile(0x80, 0xAA64, 0x200), WindowsProgram::UnknownBits},
        {"header cut off by one byte", peFile(0x1FB, 0x014C, 0x200), WindowsProgram::UnknownBits},
        {"offset far past the end", peFile(0xFFFFFFF0u, 0x014C, 0x200), WindowsProgram::UnknownBits},
        {"offset of the largest value", peFile(0xFFFFFFFFu, 0x014C, 0x200), WindowsProgram::UnknownBits},
        {"no PE signature (DOS program)", peFile(0x80, 0x014C, 0x200, "NE"), WindowsProgram::UnknownBits},
        {"MZ alone", std::string("MZ"), WindowsProgram::UnknownBits},
        {"DOS header cut short", peFile(0x20, 0x014C, 0x3F), WindowsProgram::UnknownBits},
        {"offset pointing into the DOS header", peFile(0x3C, 0x014C, 0x200), WindowsProgram::UnknownBits},
        {"a shell script", std::string("#!/bin/sh\nexit 0\n"), WindowsProgram::None},
        {"one byte", std::string("M"), WindowsProgram::None},
        {"empty", std::string(), WindowsProgram::None},
        {"ELF", std::string("\x7f" "ELF\2\1\1\0", 8), WindowsProgram::None},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("p.exe", c.bytes);
        EXPECT_EQ(windowsProgramKind(dir.file("p.exe")), c.kind);
    }
}

TEST(WindowsProgram, OnlyRegularFilesAreRead)
{
    TempDir dir;
    EXPECT_EQ(windowsProgramKind(dir.file("missing.exe")), WindowsProgram::None);
    EXPECT_EQ(windowsProgramKind(dir.str()), WindowsProgram::None);
    // A FIFO would block the reader until a writer came.
    ASSERT_EQ(::mkfifo(dir.file("fifo.exe").c_str(), 0600), 0);
    EXPECT_EQ(windowsProgramKind(dir.file("fifo.exe")), WindowsProgram::None);
}

} // namespace
