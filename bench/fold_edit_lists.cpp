// Folding the edit lists of an old project file: a 1201 x 1201 map with 40,000 and 80,000
// pending deletions and overrides. Prints the seconds each fold takes.
#include <chrono>
#include <cstdio>
#include <random>

#include "altitude/AltitudeEdits.h"
#include "altitude/AltitudeMap.h"

int main()
{
    for (const int edits : {40000, 80000}) {
        AltitudeMap map;
        const int side = 1201;
        const double step = 1.0 / (side - 1);
        for (int c = 0; c < side; ++c)
            for (int r = 0; r < side; ++r)
                map.records.push_back({45.0 + r * step, 7.0 + c * step, r + c});
        std::mt19937 random(7);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (int i = 0; i < edits; ++i) {
            map.deletions.push_back({45.0 + unit(random), 7.0 + unit(random), 0});
            map.overrides.push_back({45.0 + unit(random), 7.0 + unit(random), i});
        }
        const auto start = std::chrono::steady_clock::now();
        foldPendingEdits(map);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%d deletions and %d overrides on %d records: %.3f s (%zu records left)\n", edits, edits,
                    side * side, seconds, map.records.size());
    }
    return 0;
}
