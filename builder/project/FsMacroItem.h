#pragma once
#include <cstdint>
#include <string>
#include <vector>

/// A call of an outside macro file with its parameter values.
struct FsMacroItem {
    std::string macroFile;
    std::vector<std::string> parameterValues;
    std::int32_t mapX = 0;
    std::int32_t mapY = 0;
    /// Checked in the Macro items list; a left-out item stays in the project but not in the scenery.
    bool included = true;

    bool operator==(const FsMacroItem&) const = default;
};
