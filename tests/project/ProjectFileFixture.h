#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "project/ProjectFileReader.h"
#include "project/TaggedReader.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"
#include "ProjectBytes.h"

/// Projects on a scripted platform, a folder for files, and a bitmap seam that accepts every path
/// (the bitmap reader has its own tests) while recording what it was asked to load.
class ProjectFileFixture : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    TempDir dir;
    std::vector<std::string> bitmapLoads;
    bool bitmapLoadResult = true;
    int bitmapSelects = 0;
    std::vector<bool> selectResults;   // answers of the select seam, in order; false when used up

    void SetUp() override { app.settings.applicationPath = dir.str(); }

    std::unique_ptr<CDibDoc> newDoc()
    {
        auto doc = std::make_unique<CDibDoc>(app);
        platform.messages.clear();   // the missing colors.pcf of the test folder
        platform.progressLog.clear();
        return doc;
    }

    ProjectFileReader::BitmapHooks hooks()
    {
        return {[this](CDibDoc&, const std::string& path) {
                    bitmapLoads.push_back(path);
                    return bitmapLoadResult;
                },
                [this](CDibDoc&) {
                    const std::size_t i = static_cast<std::size_t>(bitmapSelects++);
                    return i < selectResults.size() && selectResults[i];
                }};
    }

    bool loadBytes(CDibDoc& doc, const std::vector<std::uint8_t>& bytes)
    {
        TaggedReader in(bytes);
        return ProjectFileReader(doc, in, hooks()).read();
    }
    bool loadBytes(CDibDoc& doc, const ProjectBytes& bytes) { return loadBytes(doc, bytes.bytes); }

    bool loadFile(CDibDoc& doc, const std::string& path) { return ProjectFileReader::readFile(doc, path, hooks()); }

    std::vector<std::string> progressCaptions() const
    {
        std::vector<std::string> captions;
        for (const std::string& entry : platform.progressLog)
            if (entry.rfind("create ", 0) == 0)
                captions.push_back(entry.substr(7));
        return captions;
    }
};
