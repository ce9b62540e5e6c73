#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/TextureClass.h"

/// The program-wide settings kept in TexRelief.cfg (tags in comments), plus the two unsaved ones.
struct AppSettings {
    std::string synthTexturesPath = "<not specified>";  // 63
    std::string fs98Path = "<not specified>";           // 72
    std::string cfsPath = "<not specified>";            // 73
    std::string fs2000Path = "<not specified>";         // 74
    std::int32_t loadTexturesOnOpen = 0;                // 65
    std::int32_t platform = 1;                          // 71: 0 writes .r8 tiles, others .bmp
    std::int32_t showSynthTilesColorCoded = 0;          // 84
    double zoomLevel = 0.25;                            // 85
    std::int32_t coordinateFormat = 1;                  // 27: 1 D:M:S, 0 decimal
    std::int32_t viewSeason = 2;                        // 91: 0 Winter, 1 Spring, 2 Summer, 3 Fall
    std::vector<TextureClass> textureClasses;           // 66, one block each
    std::vector<std::int32_t> extraValues;              // 34

    std::string applicationPath;                        // not saved: current folder at start-up
    std::string programFolder;                          // not saved: where the program and its own
                                                        // colors.pcf and default.bmp lie
    std::int32_t newProjectMode = 0;                    // not saved: 1 PhotoReal, 2 SynthWizard

    bool operator==(const AppSettings&) const = default;
};
