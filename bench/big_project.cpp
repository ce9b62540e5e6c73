// A big project side by side with plain baselines measured in the same run: the DTED reader
// against a plain read-and-decode, the merge against a plain copy, the nearest-record search
// against findNearest's scan, saving against a file copy, opening (with a progress window that
// costs as much as a real one) against reading the file, and the progress window's own cost.
// Each figure is the best of a few runs; memory peaks come from a child process per stage.
// Usage: bench_big_project [dted|merge|nearest|save|progress|all] [largest grid side, default 3601]

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeMerge.h"
#include "altitude/AltitudeReaders.h"
#include "BenchPlatform.h"
#include "DtedCell.h"
#include "base/ReplacementFile.h"
#include "base/TextFormat.h"
#include "output/NearestRecordSearch.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "project/ProjectFileWriter.h"
#include "project/TaggedWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time: the machine may be shared, and a step's cost is what it takes of the processor.
double bestCpu(int runs, const std::function<void()>& work)
{
    double result = 1e300;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t start = std::clock();
        work();
        result = std::min(result, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return result;
}

double best(int runs, const std::function<void()>& work)
{
    double result = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        result = std::min(result, since(start));
    }
    return result;
}

// Wall and processor time of the best run of each.
struct Timing {
    double wall = 1e300;
    double cpu = 1e300;
};

Timing bestOfBoth(int runs, const std::function<void()>& work)
{
    Timing result;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t cpuStart = std::clock();
        const auto start = Clock::now();
        work();
        result.wall = std::min(result.wall, since(start));
        result.cpu = std::min(result.cpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    return result;
}

void spin(double micros)
{
    const auto until = Clock::now() + std::chrono::duration<double, std::micro>(micros);
    while (Clock::now() < until) {
    }
}

// Stands in for the window on the screen: a redraw and an event pump cost what they cost there
// (tens of microseconds), so the price of updating too often shows.
class ScreenLikeProgress : public ProgressWindow {
public:
    static inline double costMicros = 30.0;
    static inline std::int64_t interval = ProgressWindow::kDefaultUpdateMicros;
    static inline long long updates = 0;
    ScreenLikeProgress() { setUpdateInterval(interval); }

protected:
    void onPositionChanged() override
    {
        ++updates;
        (void)percentText();
        spin(costMicros);
    }
    void pump() override { spin(costMicros / 3); }
};

// A progress window that costs what one on the screen does.
class ScreenLikePlatform : public BenchPlatform {
public:
    std::unique_ptr<ProgressWindow> createProgress(const std::string&) override
    {
        return std::make_unique<ScreenLikeProgress>();
    }
};

std::filesystem::path folder;

std::string cellPath(int side)
{
    return (folder / ("cell" + std::to_string(side) + ".dt1")).string();
}

std::vector<char> readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    std::vector<char> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// The plain read-and-decode: the file into memory, every post to a signed 16-bit height.
std::vector<std::int16_t> plainDecode(const std::string& path, int side)
{
    const std::vector<char> bytes = readWhole(path);
    std::vector<std::int16_t> heights(static_cast<std::size_t>(side) * side);
    const std::size_t recordLength = 8 + 2 * static_cast<std::size_t>(side) + 4;
    std::size_t next = 0;
    for (int i = 0; i < side; ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 3428 + i * recordLength + 8;
        for (int j = 0; j < side; ++j, p += 2) {
            const unsigned raw = static_cast<unsigned>(p[0]) << 8 | p[1];
            const int magnitude = static_cast<int>(raw & 0x7FFF);
            heights[next++] = static_cast<std::int16_t>((raw & 0x8000) ? -magnitude : magnitude);
        }
    }
    return heights;
}

// Runs `work` in a child process and returns its peak resident memory in megabytes.
double peakMegabytesOf(const std::function<void()>& work)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        work();
        std::fflush(stdout);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::FILE* f = std::fopen((folder / "peak").string().c_str(), "w");
        std::fprintf(f, "%ld", usage.ru_maxrss);
        std::fclose(f);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    long kilobytes = 0;
    if (std::FILE* f = std::fopen((folder / "peak").string().c_str(), "r")) {
        if (std::fscanf(f, "%ld", &kilobytes) != 1)
            kilobytes = 0;
        std::fclose(f);
    }
    return kilobytes / 1024.0;
}

std::vector<int> sides(int largest)
{
    std::vector<int> result;
    for (int side : {121, 1201, 3601})
        if (side <= largest)
            result.push_back(side);
    return result;
}

void benchDted(int largest)
{
    std::printf("\nDTED read (window redraw %.0f us; wall / processor time, best of a few runs)\n",
                ScreenLikeProgress::costMicros);
    std::printf("%6s %11s %17s %17s %13s %10s\n", "posts", "records", "plain (ms)", "reader (ms)", "ratio",
                "ns/record");
    ScreenLikePlatform platform;
    AppContext app(platform);
    app.settings.applicationPath = folder.string();
    CDibDoc doc(app);
    for (int side : sides(largest)) {
        const std::string path = cellPath(side);
        const int runs = side < 3601 ? 5 : 3;
        const Timing plain = bestOfBoth(runs, [&] { (void)plainDecode(path, side); });
        std::size_t records = 0;
        const Timing reader = bestOfBoth(runs, [&] {
            AltitudeMap map;
            readDtedAltitudeMap(doc, map, path);
            records = map.records.size();
        });
        std::printf("%5d² %11zu %8.1f /%7.1f %8.1f /%7.1f %6.2f /%5.2f %10.2f\n", side, records, plain.wall * 1e3,
                    plain.cpu * 1e3, reader.wall * 1e3, reader.cpu * 1e3, reader.wall / plain.wall,
                    reader.cpu / plain.cpu, reader.cpu * 1e9 / static_cast<double>(records));
    }
}

void benchMerge(int largest)
{
    std::printf("\nMerging one DTED map into the main map\n");
    std::printf("%6s %11s %15s %15s %15s %10s\n", "posts", "records", "copy (ms)", "stable sort (ms)", "merge (ms)",
                "ns/record");
    ScreenLikePlatform platform;
    AppContext app(platform);
    app.settings.applicationPath = folder.string();
    for (int side : sides(largest)) {
        CDibDoc doc(app);
        auto map = std::make_unique<AltitudeMap>();
        readDtedAltitudeMap(doc, *map, cellPath(side));
        doc.altitudeMaps.push_back(std::move(map));
        const auto& records = doc.altitudeMaps[0]->records;
        const int runs = side < 3601 ? 5 : 3;
        const double copy = best(runs, [&] {
            std::vector<AltitudeRecord> copied(records.begin(), records.end());
            (void)copied;
        });
        const double sorted = best(runs, [&] {
            AltitudeMap copied;
            copied.records = records;
            copied.sortByLongitude();
        });
        const double merge = best(runs, [&] { mergeAltitudeMaps(doc); });
        std::printf("%5d² %11zu %15.1f %15.1f %15.1f %10.2f\n", side, records.size(), copy * 1e3, sorted * 1e3,
                    merge * 1e3, merge * 1e9 / static_cast<double>(records.size()));
    }
}

void benchNearest(int largest)
{
    std::printf("\nNearest record (DTED grid as the main map, random queries inside it)\n");
    std::printf("%6s %11s %18s %18s %8s %10s\n", "posts", "records", "findNearest (us)", "search (us)", "speedup",
                "identical");
    ScreenLikePlatform platform;
    AppContext app(platform);
    app.settings.applicationPath = folder.string();
    for (int side : sides(largest)) {
        CDibDoc doc(app);
        auto map = std::make_unique<AltitudeMap>();
        readDtedAltitudeMap(doc, *map, cellPath(side));
        doc.altitudeMaps.push_back(std::move(map));
        mergeAltitudeMaps(doc);
        const AltitudeMap& main = doc.mainAltitudeMap;
        std::mt19937 random(5);
        std::uniform_real_distribution<double> lat(45.0, 46.0), lon(15.0, 16.0);
        std::vector<std::pair<double, double>> queries(2000);
        for (auto& q : queries)
            q = {lat(random), lon(random)};
        // The plain scan visits the whole one-degree window: a few queries suffice for its time.
        const std::size_t plainCount = side <= 121 ? queries.size() : side <= 1201 ? 200 : 20;
        std::vector<std::size_t> plainAnswers, fastAnswers;
        const double plain = best(1, [&] {
            for (std::size_t k = 0; k < plainCount; ++k)
                plainAnswers.push_back(main.findNearest(queries[k].first, queries[k].second));
        }) / static_cast<double>(plainCount);
        const NearestRecordSearch search(main);
        const double fast = best(3, [&] {
            fastAnswers.clear();
            for (const auto& q : queries)
                fastAnswers.push_back(search.nearest(q.first, q.second));
        }) / static_cast<double>(queries.size());
        fastAnswers.resize(plainCount);
        std::printf("%5d² %11zu %18.2f %18.3f %8.0f %10s\n", side, main.records.size(), plain * 1e6, fast * 1e6,
                    plain / fast, plainAnswers == fastAnswers ? "yes" : "NO");
    }
}

void benchSaveAndOpen(int side)
{
    std::printf("\nSaving and opening a project with a %d² DTED map (window redraw %.0f us)\n", side,
                ScreenLikeProgress::costMicros);
    const std::string project = (folder / "big.prj").string();
    auto makeDoc = [&](CDibDoc& doc) {
        auto map = std::make_unique<AltitudeMap>();
        readDtedAltitudeMap(doc, *map, cellPath(side));
        doc.altitudeMaps.push_back(std::move(map));
    };
    ScreenLikePlatform platform;
    AppContext app(platform);
    app.settings.applicationPath = folder.string();
    double streamed = 0, buffered = 0, copy = 0, flushedCopy = 0, read = 0, open = 0, openEvery = 0;
    Timing openTiming;
    double readCpu = 0;
    double baseMemory = 0, streamedMemory = 0, bufferedMemory = 0, openMemory = 0;
    std::string heldLine;
    {
        CDibDoc doc(app);
        makeDoc(doc);
        streamed = best(3, [&] { saveProject(doc, project); });
        buffered = best(3, [&] {
            TaggedWriter out;
            ProjectFileWriter(doc).write(out);
            out.commit(project + ".buffered");
        });
        copy = best(3, [&] { std::filesystem::copy_file(project, project + ".copy", std::filesystem::copy_options::overwrite_existing); });
        const Timing reading = bestOfBoth(3, [&] { (void)readWhole(project); });
        read = reading.wall;
        readCpu = reading.cpu;
        flushedCopy = best(3, [&] {
            const std::vector<char> bytes = readWhole(project);
            ReplacementFile file;
            file.open(project + ".copy");
            file.write(bytes.data(), bytes.size());
            file.commit();
        });
        openTiming = bestOfBoth(3, [&] {
            CDibDoc opened(app);
            loadProject(opened, project);
        });
        open = openTiming.wall;
        ScreenLikeProgress::updates = 0;
        {
            CDibDoc opened(app);
            loadProject(opened, project);
            // Storage shared by the main map and its source counts once.
            std::size_t bytes = 0, sourceRecords = 0;
            bool shared = false;
            for (const auto& map : opened.altitudeMaps) {
                bytes += map->records.storageBytes();
                sourceRecords += map->records.size();
                shared = shared || opened.mainAltitudeMap.records.sharesStorageWith(map->records);
            }
            if (!shared)
                bytes += opened.mainAltitudeMap.records.storageBytes();
            const std::size_t mainRecords = opened.mainAltitudeMap.records.size();
            heldLine = TextFormat::cformat(
                "  records held after the open: %zu in the source map, %zu in the main map (%s); %.1f MB,\n"
                "  %.2f bytes per post, %.2f bytes per record held (source and main together; was 24 and 48)\n",
                sourceRecords, mainRecords, shared ? "shared" : "a copy", static_cast<double>(bytes) / 1e6,
                static_cast<double>(bytes) / static_cast<double>(std::max<std::size_t>(mainRecords, 1)),
                static_cast<double>(bytes) / static_cast<double>(std::max<std::size_t>(sourceRecords + mainRecords, 1)));
        }
        // Time inside the window: each redraw plus its pump.
        openEvery = static_cast<double>(ScreenLikeProgress::updates) * ScreenLikeProgress::costMicros * 4 / 3 * 1e-6;
    }
    baseMemory = peakMegabytesOf([&] {
        CDibDoc doc(app);
        makeDoc(doc);
    });
    streamedMemory = peakMegabytesOf([&] {
        CDibDoc doc(app);
        makeDoc(doc);
        saveProject(doc, project);
    });
    bufferedMemory = peakMegabytesOf([&] {
        CDibDoc doc(app);
        makeDoc(doc);
        TaggedWriter out;
        ProjectFileWriter(doc).write(out);
        out.commit(project + ".buffered");
    });
    openMemory = peakMegabytesOf([&] {
        CDibDoc opened(app);
        loadProject(opened, project);
    });
    const auto bytes = std::filesystem::file_size(project);
    std::printf("  file: %.1f MB\n", static_cast<double>(bytes) / 1e6);
    std::printf("  %-40s %9.3f s  %8.0f MB peak\n", "map held (after the DTED read)", 0.0, baseMemory);
    std::printf("  %-40s %9.3f s  %8.0f MB peak\n", "save, streamed", streamed, streamedMemory);
    std::printf("  %-40s %9.3f s  %8.0f MB peak\n", "save, assembled in memory first", buffered, bufferedMemory);
    std::printf("  %-40s %9.3f s\n", "baseline: copy of the file", copy);
    std::printf("  %-40s %9.3f s\n", "baseline: copy, flushed to the disk", flushedCopy);
    std::printf("  %-40s %9.3f s  %8.0f MB peak  (%.3f s processor)\n", "open (read and merge)", open, openMemory,
                openTiming.cpu);
    std::printf("  %-40s %9.3f s  (%.2f%% of the open; at every record it would be %.0f s)\n",
                "of which the progress windows", openEvery, openEvery * 100 / open,
                static_cast<double>(side) * side * ScreenLikeProgress::costMicros * 4 / 3 * 1e-6);
    std::printf("  %-40s %9.3f s  (%.3f s processor)\n", "baseline: read the file into memory", read, readCpu);
    std::printf("%s", heldLine.c_str());
    std::printf("  streamed save same bytes as assembled: %s\n",
                readWhole(project) == readWhole(project + ".buffered") ? "yes" : "NO");
}

void benchProgress()
{
    std::printf("\nProgress window cost on 13 million cheap steps (redraw %.0f us)\n", ScreenLikeProgress::costMicros);
    const int count = 3601 * 3601;
    std::vector<std::int32_t> values(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values[static_cast<std::size_t>(i)] = i % 977;
    long long sink = 0;
    const double bare = bestCpu(5, [&] {
        for (int v : values) {
            sink += v * 3 + 1;
            asm volatile("" : : "r"(sink));   // one step at a time, as a reader works
        }
    });
    ScreenLikeProgress::updates = 0;
    const double throttled = bestCpu(5, [&] {
        ScreenLikeProgress progress;
        progress.SetRange(0, count);
        progress.SetStep(1);
        for (int v : values) {
            sink += v * 3 + 1;
            progress.StepIt();
        }
    });
    const long long updates = ScreenLikeProgress::updates / 5;
    std::printf("  work alone %.3f s; with the window %.3f s (%+.3f s, %lld redraws per run)\n", bare, throttled,
                throttled - bare, updates);
    // Against a realistic amount of work per record (the reader's 10-20 ns), the added time:
    std::printf("  added per step: %.2f ns\n", (throttled - bare) * 1e9 / count);
    if (sink == 42)
        std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "all";
    const int largest = argc > 2 ? std::atoi(argv[2]) : 3601;
    folder = std::filesystem::temp_directory_path() / ("orvane-bench-big-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::fclose(std::fopen((folder / "colors.pcf").string().c_str(), "wb"));   // default colours: all black
    for (int side : sides(largest))
        writeBenchDtedCell(cellPath(side), side, side);
    if (what == "progress" || what == "all")
        benchProgress();
    if (what == "dted" || what == "all")
        benchDted(largest);
    if (what == "merge" || what == "all")
        benchMerge(largest);
    if (what == "nearest" || what == "all")
        benchNearest(largest);
    if (what == "save" || what == "all")
        benchSaveAndOpen(sides(largest).back());
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
