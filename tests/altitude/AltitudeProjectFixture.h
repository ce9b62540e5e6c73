#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "project/AppContext.h"
#include "project/CDibDoc.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

/// A fresh project on a scripted platform, with a folder for the source files of the test.
class AltitudeProjectFixture : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    AppContext app{platform};
    TempDir dir;
    std::unique_ptr<CDibDoc> doc;

    void SetUp() override
    {
        app.settings.applicationPath = dir.str();
        doc = std::make_unique<CDibDoc>(app);
        platform.messages.clear();
        platform.progressLog.clear();
    }

    bool logged(const std::string& entry) const
    {
        for (const std::string& e : platform.progressLog)
            if (e == entry)
                return true;
        return false;
    }
};
