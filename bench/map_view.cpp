// Paints one 1600 x 1000 map window of a 16384 x 16384 project (64 x 64 chunks) with one million
// altitude records and every overlay on, at zoom 1/8, 1 and 8, and times one pointer read-out.
// With the argument "first", only the first paint at 1/8, or at the zoom given next (to profile it alone).
// Prints the first (cold) paint and the median of the following ones; runs without a display.

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

#include "BenchPlatform.h"
#include "support/TextureImages.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "synth/Texture.h"
#include "view/ChunkSelection.h"
#include "view/PointerReadout.h"
#include "view/ui/MapRenderer.h"

namespace {

double millis(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    // "first": only the first paint at 1/8 (or the zoom given next), for profiling it alone.
    const bool firstOnly = argc > 1 && std::string(argv[1]) == "first";
    const double firstZoom = firstOnly && argc > 2 ? std::atof(argv[2]) : 0.125;
    if (!(firstZoom >= 0.125 && firstZoom <= 8)) {
        std::fprintf(stderr, "usage: bench_map_view [first [ZOOM from 0.125 to 8]]\n");
        return 2;
    }
    std::vector<char*> qtArgs(argv, argv + argc);
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    qtArgs.push_back(platformOption);
    qtArgs.push_back(offscreen);
    int qtArgc = static_cast<int>(qtArgs.size());
    QGuiApplication application(qtArgc, qtArgs.data());

    BenchPlatform platform{false};
    AppContext app(platform);
    CDibDoc doc(app);
    doc.chunkColumns = doc.chunkRows = 64;
    doc.boundary = {45.0, 46.0, 15.0, 16.0};
    doc.metresPerPixel = 6.0;
    std::vector<std::unique_ptr<Texture>> textures;
    for (int i = 0; i < 16; ++i) {
        auto t = std::make_unique<Texture>();
        t->image = patternTexture(i + 1);
        t->kind = 1;
        textures.push_back(std::move(t));
    }
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 64; ++c) {
            TexReliefChunk chunk;
            chunk.chunkValueA = c;
            chunk.chunkValueB = r;
            chunk.chunkValueC = (r + c) % 4;
            chunk.texture = textures[(r * 7 + c) % 16].get();
            doc.chunks.push_back(chunk);
        }
    // One million records on a 1000 x 1000 grid, in longitude order as the merge leaves them.
    std::mt19937 random(7);
    doc.mainAltitudeMap.records.reserve(1000000);
    for (int i = 0; i < 1000; ++i)
        for (int j = 0; j < 1000; ++j)
            doc.mainAltitudeMap.records.push_back(
                {45.0 + (j + 0.5) / 1000.0, 15.0 + (i + 0.5) / 1000.0, static_cast<std::int32_t>(random() % 3000)});
    // Held packed, as a grid read from a file or merged is.
    doc.mainAltitudeMap.records.pack();
    ChunkSelection selection;
    for (std::uint32_t index : {2080u, 2081u, 2144u})
        selection.click(doc.chunks, index, true);
    doc.clickLatitude = 45.5;
    doc.clickLongitude = 15.5;

    // The program's menus and tool bars start the font system (about 4 ms, once a process) before
    // any map window paints; so does this, before anything is timed.
    (void)QFontMetrics(QFont()).height();

    MapOverlays overlays;
    overlays.gridLines = overlays.gridNodes = overlays.altitudeNodes = overlays.altitudeLabels = true;
    QImage window(1600, 1000, QImage::Format_RGB32);
    std::printf("map view: 64 x 64 chunks, %zu altitude records, every overlay on, window 1600 x 1000\n",
                doc.mainAltitudeMap.records.size());
    // One paint of the window as the view paints it; wall clock and processor time in ms.
    auto paintOnce = [&](MapRenderer& renderer, const MapTransform& transform, const MapOverlays& shown,
                         QPoint scroll) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&window);
        painter.fillRect(window.rect(), Qt::black);
        painter.translate(-scroll);
        renderer.paint(painter, doc, transform, shown, window.rect().translated(scroll), &selection, scroll,
                       window.height());
        painter.end();
        return std::make_pair(millis(std::chrono::steady_clock::now() - start),
                              1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    };
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const std::vector<double> zooms = firstOnly ? std::vector<double>{firstZoom} : std::vector<double>{0.125, 1.0, 8.0};
    for (double zoom : zooms) {
        MapTransform transform(64, 64, zoom);
        transform.centreIn(window.width(), window.height());
        const ViewSize size = transform.scrollSize();
        // The window over the middle of the map (or the whole map when it is smaller).
        const QPoint scroll(std::max(0, (size.width - window.width()) / 2), std::max(0, (size.height - window.height()) / 2));
        // The window's renderer keeps tiles: the first paint makes them, the next ones copy them.
        MapRenderer renderer;
        renderer.setKeepTiles(true);
        const auto cold = paintOnce(renderer, transform, overlays, scroll);
        if (firstOnly) {
            std::printf("  first paint at zoom %g: %.1f ms (processor %.1f ms)\n", zoom, cold.first, cold.second);
            return 0;
        }
        std::vector<double> times, cpuTimes;
        for (int run = 0; run < 7; ++run) {
            const auto [wall, cpu] = paintOnce(renderer, transform, overlays, scroll);
            times.push_back(wall);
            cpuTimes.push_back(cpu);
        }
        // Scrolling by 40 pixels right and down at a time: a column and a row of tiles now and then.
        std::vector<double> scrollTimes, scrollCpu;
        for (int run = 1; run <= 7; ++run) {
            const QPoint moved(std::min(scroll.x() + 40 * run, std::max(0, size.width - window.width())),
                               std::min(scroll.y() + 40 * run, std::max(0, size.height - window.height())));
            const auto [wall, cpu] = paintOnce(renderer, transform, overlays, moved);
            scrollTimes.push_back(wall);
            scrollCpu.push_back(cpu);
        }
        // Processor time as well: on a shared machine the wall clock also counts other programs' turns.
        std::printf("  paint at zoom %-6g first %8.1f ms (processor %6.1f ms), then median %6.1f ms (processor %5.1f ms)\n",
                    zoom, cold.first, cold.second, median(times), median(cpuTimes));
        std::printf("    scrolled by 40 x 40 each time: median %6.1f ms (processor %5.1f ms), slowest processor %5.1f ms\n",
                    median(scrollTimes), median(scrollCpu), *std::max_element(scrollCpu.begin(), scrollCpu.end()));
        // Each overlay alone, painted afresh (no tiles kept), to see where a first paint's time goes.
        const std::pair<const char*, bool MapOverlays::*> parts[] = {
            {"mosaic only", nullptr},
            {"grid lines", &MapOverlays::gridLines},
            {"grid nodes", &MapOverlays::gridNodes},
            {"altitude nodes", &MapOverlays::altitudeNodes},
            {"altitude labels", &MapOverlays::altitudeLabels},
        };
        MapRenderer fresh;
        for (const auto& [name, flag] : parts) {
            MapOverlays one;
            one.scaleBar = false;
            if (flag)
                one.*flag = true;
            std::vector<double> partTimes, partCpu;
            for (int run = 0; run < 3; ++run) {
                const auto [wall, cpu] = paintOnce(fresh, transform, one, scroll);
                partTimes.push_back(wall);
                partCpu.push_back(cpu);
            }
            std::printf("    %-16s first paint: median %6.1f ms (processor %5.1f ms)\n", name, median(partTimes),
                        median(partCpu));
        }
    }

    // Pointer read-outs over random points of the map at zoom 1.
    const MapTransform transform(64, 64, 1.0);
    NearestAltitudeCache cache;
    std::uniform_int_distribution<int> where(0, 16383);
    const int moves = 20000;
    long long sum = 0;
    readPointer(doc, transform, 1, 1, 1, cache);   // makes the search once, as the first move does
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < moves; ++i)
        sum += readPointer(doc, transform, where(random), where(random), 1, cache).altitude;
    const double each = millis(std::chrono::steady_clock::now() - start) / moves;
    const double eachCpu = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / moves;
    std::printf("  pointer read-out: %.4f ms each (processor %.4f ms; %d moves, checksum %lld)\n", each, eachCpu,
                moves, sum);
    return 0;
}
