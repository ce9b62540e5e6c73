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
#include "project/CDibDoc.h"

namespace {

// UHL, DSI and ACC records with the corner and count fields filled, then the data records.
void writeCell(const std::string& path, int columns, int rows)
{
    std::vector<char> header(3428, ' ');
    auto put = [&](std::size_t at, const char* text) { std::memcpy(header.data() + at, text, std::strlen(text)); };
    char count[8];
    put(0, "UHL1");
    std::snprintf(count, sizeof count, "%04d", columns);
    put(47, count);
    put(365, count);
    std::snprintf(count, sizeof count, "%04d", rows);
    put(51, count);
    put(361, count);
    put(80, "DSIU");
    put(284, "450000N");
    put(291, "0150000E");
    put(314, "460000N");
    put(321, "0160000E");
    put(728, "ACC");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    std::vector<unsigned char> record(8 + 2 * static_cast<std::size_t>(rows) + 4, 0);
    for (int i = 0; i < columns; ++i) {
        record[0] = 0xAA;
        record[4] = static_cast<unsigned char>(i >> 8);
        record[5] = static_cast<unsigned char>(i);
        for (int j = 0; j < rows; ++j) {
            const int e = (i * 7 + j * 13) % 4000 - 200;
            const unsigned word = (e < 0 ? 0x8000u : 0u) | static_cast<unsigned>(e < 0 ? -e : e);
            record[8 + 2 * j] = static_cast<unsigned char>(word >> 8);
            record[9 + 2 * j] = static_cast<unsigned char>(word);
        }
        out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
    }
}

} // namespace

int main()
{
    const int side = 3601;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvane-bench-dted-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "cell.dt1").string();
    writeCell(path, side, side);

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
