#pragma once
#include <cstdint>

/// One altitude point: degrees (north and east positive) and whole metres.
struct AltitudeRecord {
    double latitude = 0.0;
    double longitude = 0.0;
    std::int32_t altitude = 0;

    bool operator==(const AltitudeRecord&) const = default;
};
