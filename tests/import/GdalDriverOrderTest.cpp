// The drivers the elevation import registers first come in the very order a full registration
// gives them, and a full registration after them still gives every driver in its usual order:
// so a file opens with the same driver either way. Each order is read in a fresh process (this
// program run again), since a registration cannot be undone.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <gdal.h>

#include "import/GdalSupport.h"

namespace {

constexpr const char* kMode = "ORVANE_TEST_DRIVER_ORDER";

std::string driverNames()
{
    std::string names;
    for (int i = 0; i < GDALGetDriverCount(); ++i)
        names += std::string(GDALGetDriverShortName(GDALGetDriver(i))) + " ";
    return names;
}

// This test alone, run in a new process with the mode given; the line it prints.
std::string orderIn(const std::string& mode)
{
    const std::string command = std::string(kMode) + "=" + mode +
                                " /proc/" + std::to_string(::getpid()) +
                                "/exe --gtest_filter='GdalDriverOrder.*' 2>/dev/null";
    FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        return {};
    std::string line, found;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, child)) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            if (line.rfind("ORDER ", 0) == 0)
                found += line.substr(6);
            line.clear();
        }
    }
    ::pclose(child);
    return found;
}

} // namespace

TEST(GdalDriverOrder, TheFirstDriversComeInTheFullRegistrationsOrder)
{
    if (const char* mode = std::getenv(kMode)) {
        // The child: register as asked and tell the order.
        const std::string m = mode;
        if (m == "first" || m == "first-then-all")
            GdalSupport::registerFirstDrivers();
        const std::string first = driverNames();
        if (m == "all" || m == "first-then-all")
            GdalSupport::registerDrivers();
        std::printf("ORDER %s|%s\n", first.c_str(), driverNames().c_str());
        std::fflush(stdout);
        return;
    }
    const std::string all = orderIn("all");
    const std::string first = orderIn("first");
    const std::string both = orderIn("first-then-all");
    ASSERT_FALSE(all.empty());
    ASSERT_FALSE(first.empty());
    // "first" alone: its list, which must open the full list.
    const std::string firstList = first.substr(0, first.find('|'));
    const std::string fullList = all.substr(all.find('|') + 1);
    EXPECT_NE(firstList.find("GTiff "), std::string::npos);
    EXPECT_NE(firstList.find("DTED "), std::string::npos);
    EXPECT_NE(firstList.find("SRTMHGT "), std::string::npos);
    EXPECT_EQ(fullList.rfind(firstList, 0), 0u) << "first: " << firstList << "\nfull: " << fullList;
    // After the first ones, the full registration still ends in its usual order.
    EXPECT_EQ(both.substr(both.find('|') + 1), fullList);
}
