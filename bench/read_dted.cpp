// Reads a 3601 x 3601 point DTED cell (the size of a one-arc-second cell) written to a temporary
// folder, and reports how many altitude records per second the reader makes.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "project/AppContext.h"
#include "BenchPlatform.h"
#include "DtedCell.h"
#include "project/CDibDoc.h"

namespace {

} // namespace

int main()
{
    const int side = 3601;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvane-bench-dted-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "cell.dt1").string();
    writeBenchDtedCell(path, side, side);

    BenchPlatform platform;
    AppContext app(platform);
    app.settings.applicationPath = folder.string();
    CDibDoc doc(app);

    const int runs = 3;
    double best = 1e300;
    std::size_t records = 0;
    for (int run = 0; run < runs; ++run) {
        AltitudeMap map;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = readDtedAltitudeMap(doc, map, path);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            std::fprintf(stderr, "read failed\n");
            std::filesystem::remove_all(folder);
            return 1;
        }
        records = map.records.size();
        best = std::min(best, seconds);
    }
    std::filesystem::remove_all(folder);
    std::printf("read_dted: %d x %d points, %zu records, best of %d runs %.3f s, %.0f records/s\n", side, side, records,
                runs, best, static_cast<double>(records) / best);
    return 0;
}
