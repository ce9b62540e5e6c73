#pragma once
// A small project for the source writer and compile tests: chunks over a dense altitude grid
// whose altitude tells where a node was looked up.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"

struct OutputTestProject {
    ScriptedPlatform platform;
    AppContext app{platform};
    std::unique_ptr<CDibDoc> doc;
    std::vector<std::unique_ptr<Texture>> textures;

    OutputTestProject()
    {
        doc = std::make_unique<CDibDoc>(app);
        platform.messages.clear();   // colors.pcf may be missing from the test folder
    }

    /// A grid of columns x rows chunks of 0.1 degree starting at S 45.0, W -73.1, each linked to
    /// a project tile "tileC_R.bmp" (kind 1).
    void makeChunks(int columns, int rows)
    {
        doc->chunkColumns = columns;
        doc->chunkRows = rows;
        doc->boundary = {45.0, 45.0 + 0.1 * rows, -73.1, -73.1 + 0.1 * columns};
        doc->chunks.clear();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                TexReliefChunk chunk;
                chunk.chunkValueA = c;
                chunk.chunkValueB = r;
                chunk.area = {45.0 + 0.1 * r, 45.0 + 0.1 * (r + 1), -73.1 + 0.1 * c, -73.1 + 0.1 * (c + 1)};
                auto texture = std::make_unique<Texture>();
                texture->kind = 1;
                texture->name = "/scenery/tiles/tile" + std::to_string(c) + "_" + std::to_string(r) + ".bmp";
                chunk.texture = texture.get();
                chunk.textureKind = 1;
                textures.push_back(std::move(texture));
                doc->chunks.push_back(chunk);
            }
    }

    /// Records every `spacing` degrees over the boundary; the altitude is 1000 x latitude index +
    /// longitude index, so a node's altitude names the record it found.
    void makeIndexedAltitudes(double spacing = 0.001)
    {
        const GeoRect& b = doc->boundary;
        const int latCount = static_cast<int>((b.north - b.south) / spacing + 0.5);
        const int lonCount = static_cast<int>((b.east - b.west) / spacing + 0.5);
        auto& records = doc->mainAltitudeMap.records;
        records.clear();
        for (int j = 0; j <= lonCount; ++j)
            for (int i = 0; i <= latCount; ++i)
                records.push_back({b.south + i * spacing, b.west + j * spacing, 1000 * i + j});
        doc->mainAltitudeMap.sortByLongitude();
    }

    /// One record at each corner of the boundary, all of one altitude.
    void makeUniformAltitude(int altitude)
    {
        const GeoRect& b = doc->boundary;
        doc->mainAltitudeMap.records = {{b.south, b.west, altitude}, {b.north, b.west, altitude},
                                        {b.south, b.east, altitude}, {b.north, b.east, altitude}};
        doc->mainAltitudeMap.sortByLongitude();
    }
};

/// Splits a file's text at CR LF; `bareLineFeeds` counts line feeds without a carriage return.
inline std::vector<std::string> splitCrLf(const std::string& text, int* bareLineFeeds = nullptr)
{
    std::vector<std::string> lines;
    int bare = 0;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            if (current.empty() || current.back() != '\r')
                ++bare;
            else
                current.pop_back();
            lines.push_back(current);
            current.clear();
        } else {
            current += text[i];
        }
    }
    if (!current.empty())
        lines.push_back(current);
    if (bareLineFeeds)
        *bareLineFeeds = bare;
    return lines;
}

/// Sets or clears an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            ::setenv(name_.c_str(), old_.c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};
