#pragma once
// Builds .prj bytes by hand from the item tables, independently of the writer under test:
// a block is composed from its finished contents, so its length is simply their size + 2.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct ProjectBytes {
    std::vector<std::uint8_t> bytes;

    std::size_t size() const { return bytes.size(); }

    ProjectBytes& u16(std::uint16_t v)
    {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        return *this;
    }
    ProjectBytes& u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    ProjectBytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    ProjectBytes& f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    ProjectBytes& zeros(std::size_t n)
    {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    ProjectBytes& append(const ProjectBytes& other)
    {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }
    ProjectBytes& chars(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }

    /// Value item: tag, length 4, int32.
    ProjectBytes& value(std::uint16_t tag, std::int32_t v) { return u16(tag).u32(4).i32(v); }
    /// Value item: tag, length 8, double.
    ProjectBytes& real(std::uint16_t tag, double v) { return u16(tag).u32(8).f64(v); }
    /// String item: tag, length, characters.
    ProjectBytes& str(std::uint16_t tag, const std::string& s)
    {
        return u16(tag).u32(static_cast<std::uint32_t>(s.size())).chars(s);
    }
    /// Block: tag, length of contents + end tag, contents, end tag.
    ProjectBytes& block(std::uint16_t tag, const ProjectBytes& contents)
    {
        return u16(tag).u32(static_cast<std::uint32_t>(contents.size() + 2)).append(contents).u16(1);
    }
    /// A rectangle block (tag 81) of south, north, west, east.
    ProjectBytes& rect(double south, double north, double west, double east)
    {
        return block(81, ProjectBytes().real(81, south).real(81, north).real(81, west).real(81, east));
    }
    /// A 20-byte altitude record without tag.
    ProjectBytes& record(double latitude, double longitude, std::int32_t altitude)
    {
        return f64(latitude).f64(longitude).i32(altitude);
    }
};
