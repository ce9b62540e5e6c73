// orvane-cli set, add-position and add-macro on a project made by orvane-cli photo.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/OrvaneCli.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class ProjectEditCommandsTest : public ::testing::Test {
protected:
    struct Run {
        int code;
        std::string out;
        std::string err;
    };

    void SetUp() override
    {
        previous_ = fs::current_path();
        fs::current_path(dir.path());
        ::setenv("SOURCE_DATE_EPOCH", "946684800", 1);
        ASSERT_EQ(run({"demo-data", "--out", "in", "--size", "1024", "--points", "11"}).code, 0);
        const Run made = run({"photo", "--bitmap", "in/landscape.bmp", "--north", "45.1", "--south", "45", "--east",
                              "15.1", "--west", "15", "--prefix", "ab", "--folder", "p", "--text", "in/landscape.txt"});
        ASSERT_EQ(made.code, 0) << made.err;
        project = (dir.path() / "p" / "ab.prj").string();
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        ::unsetenv("SOURCE_DATE_EPOCH");
    }

    Run run(std::vector<std::string> args)
    {
        std::ostringstream out, err;
        const int code = runOrvaneCli(args, out, err);
        return {code, out.str(), err.str()};
    }

    std::string source()
    {
        const Run r = run({"sca", project, "out.sca"});
        EXPECT_EQ(r.code, 0) << r.err;
        std::ifstream in(dir.file("out.sca"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static std::size_t count(const std::string& text, const std::string& what)
    {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }

    TempDir dir;
    std::string project;

private:
    fs::path previous_;
};

TEST_F(ProjectEditCommandsTest, SetChangesTheChosenChunksAndTheSourceFollows)
{
    const std::string before = source();
    EXPECT_EQ(count(before, "Area(B "), 16u);
    EXPECT_EQ(count(before, " 60)\r\n"), 16u);

    Run r = run({"set", project, "--chunks", "0-1,5", "--range", "30", "--bitmap-index", "7", "--flip", "1",
                 "--density", "8", "--copyright", "0", "--seasons", "winter,fall"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("changed 3 chunk(s)"), std::string::npos);
    const std::string after = source();
    EXPECT_EQ(count(after, " 30)\r\n"), 3u);
    EXPECT_EQ(count(after, " 60)\r\n"), 13u);
    EXPECT_EQ(count(after, "\tBitmapMode( 7 )\r\n"), 3u);
    EXPECT_EQ(after.find("Copyright("), std::string::npos);

    const Run info = run({"info", project});
    EXPECT_NE(info.out.find("\"includedSeasons\": 9"), std::string::npos) << info.out;
}

TEST_F(ProjectEditCommandsTest, SetRefusesBadValuesAndLeavesTheProject)
{
    const auto stamp = fs::last_write_time(project);
    const std::vector<std::vector<std::string>> bad = {
        {"set", project, "--density", "12"},       {"set", project, "--chunks", "16"},
        {"set", project, "--chunks", "3-1"},       {"set", project, "--flip", "4"},
        {"set", project, "--color-mode", "rgb"},   {"set", project, "--seasons", "monsoon"},
        {"set", project, "--smoothing", "yes"},    {"set", project, "--copyright-text", std::string(81, 'c')},
        {"set"},
    };
    for (const auto& args : bad) {
        const Run r = run(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_NE(r.err.find("usage: orvane-cli set"), std::string::npos);
    }
    EXPECT_EQ(fs::last_write_time(project), stamp);
    EXPECT_EQ(run({"set", "missing.prj", "--range", "3"}).code, 1);
}

TEST_F(ProjectEditCommandsTest, AddPositionAndMacroWriteTheirLines)
{
    Run r = run({"add-position", project, "--lat", "45:3", "--lon", "15.05", "--alt", "250", "--heading", "90",
                 "--title", "Lakes", "--description", "Harbour", "--pixel", "10", "20"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = run({"add-position", project, "--lat", "45.02", "--lon", "15.01", "--title", "Other"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("the menu title stays 'Lakes'"), std::string::npos);
    EXPECT_EQ(run({"add-position", project, "--lat", "91", "--lon", "15"}).code, 1);

    std::ofstream(dir.file("tower.scm")) << "MACRO( lat lon elev scale obj.api )";
    r = run({"add-macro", project, "--file", dir.file("tower.scm"), "--lat", "45.05", "--lon", "15.05", "--alt", "80",
             "--value", "scale=2"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::ofstream(dir.file("plain.scm")) << "nothing";
    r = run({"add-macro", project, "--file", dir.file("plain.scm")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("improper syntax"), std::string::npos);
    EXPECT_EQ(run({"add-macro", project, "--file", dir.file("tower.scm"), "--value", "size=2"}).code, 2);

    const std::string text = source();
    EXPECT_NE(text.find("Menu( Lakes )\r\n"), std::string::npos);
    EXPECT_NE(text.find("MenuEntry( 45.050000 15.050000 250 90.000000 0.000000 0.000000 0 0.000000 0 Harbour )"),
              std::string::npos);
    EXPECT_EQ(count(text, "MenuEntry("), 2u);
    EXPECT_NE(text.find("Macro( tower.scm 45.050000 15.050000 80 2 )"), std::string::npos);
}

TEST_F(ProjectEditCommandsTest, SaveWritesElsewhereAndLeavesTheOriginal)
{
    const auto stamp = fs::last_write_time(project);
    const Run r = run({"set", project, "--range", "5", "--save", "copy.prj"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(fs::last_write_time(project), stamp);
    EXPECT_TRUE(fs::exists(dir.file("copy.prj")));
    EXPECT_EQ(run({"set", project, "--help"}).code, 0);
}

} // namespace
