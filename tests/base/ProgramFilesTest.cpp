// Where the shipped files are found: the user's folder first, then beside the program, then
// the installed share folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/AppSettings.h"
#include "base/PathUtil.h"
#include "base/ProgramFiles.h"
#include "support/TempDir.h"

namespace {

TEST(ProgramFilesTest, UserCopyThenProgramFolderThenInstalledShare)
{
    TempDir root;
    const std::string work = root.file("work");
    const std::string bin = PathUtil::join(root.file("prefix"), "bin");
    const std::string share = PathUtil::join(PathUtil::join(root.file("prefix"), "share"), "orvane");
    for (const std::string& folder : {work, bin, share})
        std::filesystem::create_directories(folder);
    AppSettings settings;
    settings.applicationPath = work;
    settings.programFolder = bin;

    EXPECT_EQ(findProgramFile(settings, "colors.pcf"), "");
    EXPECT_EQ(programFileFolders(settings), work + ", " + bin + " or " + share);

    struct Step {
        std::string folder;  // where a copy is added
        std::string found;   // which copy wins afterwards
    };
    const Step steps[] = {{share, share}, {bin, bin}, {work, work}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.folder);
        root.write(std::filesystem::relative(PathUtil::join(step.folder, "colors.pcf"), root.path()).string(), "x");
        EXPECT_EQ(findProgramFile(settings, "colors.pcf"), PathUtil::join(step.found, "colors.pcf"));
    }
}

TEST(ProgramFilesTest, FoldersAreNamedOnceEach)
{
    AppSettings settings;
    settings.applicationPath = "/opt/x/bin";
    settings.programFolder = "/opt/x/bin";
    EXPECT_EQ(programFileFolders(settings), "/opt/x/bin or /opt/x/share/orvane");
    settings.programFolder = "";
    EXPECT_EQ(programFileFolders(settings), "/opt/x/bin");
    // A program in the root folder has no prefix to look into.
    settings.programFolder = "/bin";
    EXPECT_EQ(programFileFolders(settings), "/opt/x/bin or /bin");
}

} // namespace
