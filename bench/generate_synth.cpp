// Generates a synthetic scenery of 64 x 64 chunks over a library of 500 textures (eight classes,
// every edge combination but the last twelve) and prints the time of each run and the chunks
// left without a fitting texture. Each choice scans the whole library, as the generation does.
// Optional arguments: chunks per side, library size, runs.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "BenchPlatform.h"
#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "synth/SynthRandom.h"
#include "synth/SyntheticScenery.h"

namespace {

/// Answers nothing and shows nothing: the benchmark runs without a user.
int argument(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::atoi(argv[index]) : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    const int side = argument(argc, argv, 1, 64);
    const int librarySize = argument(argc, argv, 2, 500);
    const int runs = argument(argc, argv, 3, 5);
    constexpr int kClasses = 8;

    BenchPlatform platform{false};
    AppContext app(platform);
    app.noMatchTexture = std::make_unique<Texture>();
    for (int i = 0; i < librarySize; ++i) {
        auto t = std::make_unique<Texture>();
        const int combination = i % (kClasses * kClasses * kClasses);
        t->classCode = combination / (kClasses * kClasses);
        t->eastClassCode = combination / kClasses % kClasses;
        t->southClassCode = combination % kClasses;
        t->kind = 0;
        t->name = "texture" + std::to_string(i) + ".bmp";
        app.textureLibrary.push_back(std::move(t));
    }
    SynthOptions options;
    for (int c = 0; c < kClasses; ++c)
        options.allowedClasses.push_back(c);

    std::printf("synthetic generation: %d x %d chunks, %d library textures, %d classes\n", side, side, librarySize,
                kClasses);
    double total = 0;
    for (int run = 0; run < runs; ++run) {
        CDibDoc doc(app);
        doc.chunkColumns = side;
        doc.chunkRows = side;
        doc.boundary = {45.0, 45.0 + side * 0.005, 15.0, 15.0 + side * 0.007};
        SynthRandom random(static_cast<std::uint32_t>(run + 1) * 2654435761u);
        const auto start = std::chrono::steady_clock::now();
        if (!generateSyntheticScenery(doc, options, random)) {
            std::fprintf(stderr, "generation failed\n");
            return 1;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        total += seconds;
        int noMatch = 0;
        for (const TexReliefChunk& chunk : doc.chunks)
            noMatch += chunk.texture == app.noMatchTexture.get() ? 1 : 0;
        std::printf("  run %d: %.4f s, %d chunks without a fitting texture\n", run + 1, seconds, noMatch);
    }
    std::printf("  mean: %.4f s per generation\n", runs > 0 ? total / runs : 0.0);
    return 0;
}
