// An SRTM 1 arc-second tile (3601 x 3601 posts, 1% voids) clipped to 0.5 x 0.5 degrees through
// the elevation import, beside the DTED Level 0 reader on a cell of the same number of posts and
// beside gdal_translate of the same window to XYZ. Each runs in a child process, so its peak
// memory and processor time are its own.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <sys/resource.h>
#include <time.h>
#include <sys/wait.h>
#include <unistd.h>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "BenchPlatform.h"
#include "DtedCell.h"
#include "import/ElevationImport.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"

namespace {

// A void wherever a cheap hash says so: about one post in a hundred.
bool isVoid(int x, int y) { return (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) % 100 == 0; }

void writeHgt(const std::string& path, int side)
{
    std::vector<unsigned char> row(2 * static_cast<std::size_t>(side));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(isVoid(x, y) ? -32768 : benchHeight(x, y)));
            row[2 * static_cast<std::size_t>(x)] = static_cast<unsigned char>(v >> 8);
            row[2 * static_cast<std::size_t>(x) + 1] = static_cast<unsigned char>(v);
        }
        out.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
    }
}

struct Measure {
    double seconds = 0;      // wall
    double processor = 0;    // user and system time of the child
    long peakKb = 0;
    bool ok = false;
};

// Runs `work` in a child; its time and peak resident memory. `work` returns the posts it made.
Measure inChild(const std::function<long()>& work, long& posts)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        const long made = work();
        if (write(pipeFds[1], &made, sizeof made) != sizeof made)
            _exit(2);
        _exit(made > 0 ? 0 : 1);
    }
    close(pipeFds[1]);
    long made = 0;
    if (read(pipeFds[0], &made, sizeof made) != sizeof made)
        made = 0;
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Measure m;
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.processor = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    m.peakKb = usage.ru_maxrss;
    m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    posts = made;
    return m;
}

// Each figure's median over the runs; failed when any run failed.
Measure median(std::vector<Measure> runs)
{
    Measure m;
    m.ok = std::all_of(runs.begin(), runs.end(), [](const Measure& r) { return r.ok; });
    const auto middle = [&](auto field) {
        std::vector<std::remove_cvref_t<decltype(runs[0].*field)>> values;
        for (const Measure& r : runs)
            values.push_back(r.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    m.seconds = middle(&Measure::seconds);
    m.processor = middle(&Measure::processor);
    m.peakKb = middle(&Measure::peakKb);
    return m;
}

void report(const char* what, const Measure& m, long posts)
{
    if (!m.ok) {
        std::printf("%-38s failed\n", what);
        return;
    }
    std::printf("%-38s %8ld posts  processor %6.3f s (%6.1f ns/post)  wall %6.3f s  peak %6.1f MB\n", what, posts,
                m.processor, m.processor * 1e9 / static_cast<double>(posts), m.seconds,
                static_cast<double>(m.peakKb) / 1024.0);
}

} // namespace

int main()
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvane-bench-dem-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string hgt = (folder / "N45E015.hgt").string();
    writeHgt(hgt, 3601);
    const GeoRect window{45.25, 45.75, 15.25, 15.75};

    // The import and the DTED Level 0 reader (on a cell of about the same number of posts) take
    // turns, three times each, so a busy machine weighs on both alike; each figure is the median.
    const std::string dted = (folder / "cell.dt0").string();
    writeBenchDtedCell(dted, 1803, 1803);
    const auto importWork = [&] {
        ElevationOptions options;
        options.clip = window;
        std::string error;
        auto result = importElevation(hgt, options, nullptr, error);
        if (!result)
            std::fprintf(stderr, "%s\n", error.c_str());
        return result ? static_cast<long>(result->recordsKept) : 0L;
    };
    const auto dtedWork = [&] {
        BenchPlatform platform{false};
        AppContext app(platform);
        app.settings.applicationPath = folder.string();
        CDibDoc doc(app);
        AltitudeMap map;
        return readDtedAltitudeMap(doc, map, dted) ? static_cast<long>(map.records.size()) : 0L;
    };
    constexpr int kRounds = 3;
    std::vector<Measure> imports, dteds;
    long demPosts = 0, dtedPosts = 0;
    for (int round = 0; round < kRounds; ++round) {
        imports.push_back(inChild(importWork, demPosts));
        dteds.push_back(inChild(dtedWork, dtedPosts));
    }
    const Measure dem = median(imports), dtedRead = median(dteds);
    report("elevation import (.hgt, voids filled)", dem, demPosts);
    report("DTED Level 0 reader", dtedRead, dtedPosts);
    if (dem.ok && dtedRead.ok) {
        const auto ratio = [&](double importSeconds, double dtedSeconds) {
            return (importSeconds / static_cast<double>(demPosts)) / (dtedSeconds / static_cast<double>(dtedPosts));
        };
        std::printf("per post, elevation import / DTED reader: processor %.2f, wall %.2f (medians of %d)\n",
                    ratio(dem.processor, dtedRead.processor), ratio(dem.seconds, dtedRead.seconds), kRounds);
    }

    // The same in one process, where GDAL has started and the coordinate database is open after a
    // first import (as in the builder from the second file on): what each post costs.
    {
        const auto processorNow = [] {
            timespec t{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
            return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
        };
        importWork();
        dtedWork();
        std::vector<double> importTimes, dtedTimes;
        for (int round = 0; round < 5; ++round) {
            double start = processorNow();
            importWork();
            importTimes.push_back(processorNow() - start);
            start = processorNow();
            dtedWork();
            dtedTimes.push_back(processorNow() - start);
        }
        std::sort(importTimes.begin(), importTimes.end());
        std::sort(dtedTimes.begin(), dtedTimes.end());
        const double importSeconds = importTimes[2], dtedSeconds = dtedTimes[2];
        std::printf("in one process, after a first run: import %.3f s (%.1f ns/post), DTED reader %.3f s (%.1f ns/post); "
                    "per post %.2f (medians of 5, processor time)\n",
                    importSeconds, importSeconds * 1e9 / static_cast<double>(demPosts), dtedSeconds,
                    dtedSeconds * 1e9 / static_cast<double>(dtedPosts),
                    (importSeconds / static_cast<double>(demPosts)) / (dtedSeconds / static_cast<double>(dtedPosts)));
    }

    // gdal_translate of the same window to XYZ, when it is installed.
    if (std::system("command -v gdal_translate > /dev/null 2>&1") == 0) {
        const std::string xyz = (folder / "window.xyz").string();
        const std::string command = "gdal_translate -q -of XYZ -projwin 15.2497 45.7503 15.7503 45.2497 '" + hgt +
                                    "' '" + xyz + "'";
        long posts = 0;
        const Measure translate = inChild([&] { return std::system(command.c_str()) == 0 ? demPosts : 0L; }, posts);
        report("gdal_translate -of XYZ (window)", translate, posts);
    } else {
        std::printf("gdal_translate not installed: skipped\n");
    }
    std::filesystem::remove_all(folder);
    return 0;
}
