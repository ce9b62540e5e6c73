// Writes the SCASM source of a 32 x 32-chunk project at grid density 16 over a main altitude map
// of one million records, and prints the time taken and the number of nearest-record searches.
// Optional arguments: chunks per side, density, records per side of the altitude grid.

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "project/AppContext.h"
#include "BenchPlatform.h"
#include "output/ScasmWriter.h"
#include "project/CDibDoc.h"

namespace {

/// Answers nothing and shows nothing: the benchmark runs without a user.
int argument(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::atoi(argv[index]) : fallback;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv)
{
    const int side = argument(argc, argv, 1, 32);
    const int density = argument(argc, argv, 2, 16);
    const int recordsPerSide = argument(argc, argv, 3, 1000);

    BenchPlatform platform{false};
    AppContext app(platform);
    CDibDoc doc(app);

    // 0.05 degree chunks (about 4 km) south-west of Montreal; the altitude grid covers the
    // boundary with a margin, like a DTED tile around a photo.
    const double chunkDegrees = 0.05;
    const double south = 45.0, west = -74.0;
    doc.boundary = {south, south + side * chunkDegrees, west, west + side * chunkDegrees};
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            TexReliefChunk chunk;
            chunk.chunkValueA = c;
            chunk.chunkValueB = r;
            chunk.area = {south + r * chunkDegrees, south + (r + 1) * chunkDegrees, west + c * chunkDegrees,
                          west + (c + 1) * chunkDegrees};
            chunk.properties.gridDensity = density;
            doc.chunks.push_back(chunk);
        }
    const double margin = 0.1;
    const double span = side * chunkDegrees + 2 * margin;
    const double spacing = span / (recordsPerSide - 1);
    auto& records = doc.mainAltitudeMap.records;
    records.reserve(static_cast<std::size_t>(recordsPerSide) * recordsPerSide);
    for (int j = 0; j < recordsPerSide; ++j)
        for (int i = 0; i < recordsPerSide; ++i)
            records.push_back({south - margin + i * spacing, west - margin + j * spacing, (i * 7 + j * 13) % 900});

    const std::string path = (std::filesystem::temp_directory_path() / "orvane-bench-write-source.sca").string();
    ScasmWriteStats stats;
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = writeScasmSource(doc, path, &stats);
    const auto end = std::chrono::steady_clock::now();
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(path, ec);
    const std::string plainSource = readAll(path);

    // The same records packed, as a grid is held after reading or opening: same bytes?
    records.pack();
    const std::clock_t packedCpuStart = std::clock();
    const bool packedOk = writeScasmSource(doc, path, nullptr);
    const double packedCpu = static_cast<double>(std::clock() - packedCpuStart) / CLOCKS_PER_SEC;
    const bool same = packedOk && readAll(path) == plainSource;
    std::filesystem::remove(path, ec);

    const double seconds = std::chrono::duration<double>(end - start).count();
    std::printf("write_source: %d x %d chunks, density %d, %zu altitude records\n", side, side, density,
                records.size());
    std::printf("  written: %s, %llu bytes\n", ok ? "yes" : "NO", static_cast<unsigned long long>(bytes));
    std::printf("  time: %.3f s (processor time %.3f s)\n", seconds, cpuSeconds);
    std::printf("  records packed: processor time %.3f s, same bytes: %s\n", packedCpu, same ? "yes" : "NO");
    std::printf("  findNearest lookups: %llu (%.2f us each)\n", static_cast<unsigned long long>(stats.nearestSearches),
                stats.nearestSearches ? seconds * 1e6 / static_cast<double>(stats.nearestSearches) : 0.0);

    // For comparison: the plain window scan of findNearest on a sample of the same nodes.
    const int samples = 200;
    std::size_t checksum = 0;
    const auto plainStart = std::chrono::steady_clock::now();
    for (int k = 0; k < samples; ++k) {
        const double lat = south + (k % 97) * (side * chunkDegrees / 97);
        const double lon = west + (k % 89) * (side * chunkDegrees / 89);
        checksum += doc.mainAltitudeMap.findNearest(lat, lon);
    }
    const double plain = std::chrono::duration<double>(std::chrono::steady_clock::now() - plainStart).count();
    std::printf("  plain findNearest scan: %.2f us per call over %d sample nodes (checksum %zu)\n",
                plain * 1e6 / samples, samples, checksum);
    return ok && same ? 0 : 1;
}
