#pragma once
#include <cstdint>
#include <string>

/// A named aircraft position of the simulator's menu, written as a MenuEntry line.
struct FsMenuPositionItem {
    std::string title;
    double latitude = 0.0;
    double longitude = 0.0;
    std::int32_t altitude = 0;
    double heading = 0.0;
    double com = 0.0;
    double nav1 = 0.0;
    std::int32_t obi1 = 0;
    double nav2 = 0.0;
    std::int32_t obi2 = 0;
    std::string description;
    std::int32_t mapX = 0;
    std::int32_t mapY = 0;
    /// Checked in the Menu Items list; a left-out item stays in the project but not in the scenery.
    bool included = true;

    bool operator==(const FsMenuPositionItem&) const = default;
};
