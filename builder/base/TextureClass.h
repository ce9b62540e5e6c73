#pragma once
#include <cstdint>
#include <string>

/// One entry of the application's texture class list; entry i describes class code i.
struct TextureClass {
    std::string name = "<no name>";
    std::uint32_t color = 0x808080;   ///< 0x00BBGGRR
    std::int32_t enabled = 1;
    std::int32_t code = -1;

    bool operator==(const TextureClass&) const = default;
};
