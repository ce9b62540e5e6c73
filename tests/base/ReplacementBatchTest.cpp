// Replacing many files as one batch: every file is replaced whole or not at all, outcomes come
// in the order the files were added, failures name their cause, and a kill or a discard leaves
// the previous files and no temporary.
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/ReplacementBatch.h"
#include "support/KillOnceReady.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    std::string path;
    bool placed;
    std::string error;
    bool operator==(const Outcome&) const = default;
};

TEST(ReplacementBatchTest, ReplacesEveryFileAndReportsInOrder)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TempDir dir;
        fs::create_directory(dir.file("sub"));
        dir.write("f2", std::string("old two"));
        fs::permissions(dir.file("f2"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        std::vector<Outcome> outcomes;
        std::vector<Outcome> expected;
        {
            ReplacementBatch batch([&](const std::string& path, bool placed, const std::string& error) {
                outcomes.push_back({path, placed, error});
            });
            for (int i = 0; i < 10; ++i) {
                if (round == 1 && i == 5) {
                    // Placed in two commits: each places what was added since the last.
                    batch.commit();
                    EXPECT_EQ(outcomes, expected);
                }
                const std::string path = dir.file(i % 2 ? "sub/f" + std::to_string(i) : "f" + std::to_string(i));
                const std::string head = "file ", body = std::to_string(i);
                EXPECT_TRUE(batch.add(path, {{head.data(), head.size()}, {body.data(), body.size()}}));
                expected.push_back({path, true, ""});
            }
            batch.commit();
            // Everything is placed once commit returns; a second commit has nothing to do.
            EXPECT_EQ(outcomes, expected);
            batch.commit();
        }
        EXPECT_EQ(outcomes, expected);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(dir.readText(i % 2 ? "sub/f" + std::to_string(i) : "f" + std::to_string(i)),
                      "file " + std::to_string(i));
        EXPECT_EQ(fs::status(dir.file("f2")).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"f0", "f2", "f4", "f6", "f8", "sub"}));
        EXPECT_EQ(dir.entries(dir.file("sub")), (std::vector<std::string>{"f1", "f3", "f5", "f7", "f9"}));
    }
}

// A file that cannot be made fails alone: its outcome names the cause, in its place among the
// others, and the files around it are replaced.
TEST(ReplacementBatchTest, AFailedFileFailsAloneWithItsCause)
{
    TempDir dir;
    dir.write("a", std::string("old a"));
    fs::create_directory(dir.file("folder"));
    std::vector<Outcome> outcomes;
    ReplacementBatch batch([&](const std::string& path, bool placed, const std::string& error) {
        outcomes.push_back({path, placed, error});
    });
    const std::string data = "new";
    EXPECT_TRUE(batch.add(dir.file("a"), {{data.data(), data.size()}}));
    EXPECT_FALSE(batch.add(dir.file("none/b"), {{data.data(), data.size()}}));
    EXPECT_FALSE(batch.add(dir.file("folder"), {{data.data(), data.size()}}));
    EXPECT_TRUE(batch.add(dir.file("c"), {{data.data(), data.size()}}));
    batch.commit();
    EXPECT_EQ(outcomes, (std::vector<Outcome>{{dir.file("a"), true, ""},
                                              {dir.file("none/b"), false, "No such file or directory"},
                                              {dir.file("folder"), false, "Is a directory"},
                                              {dir.file("c"), true, ""}}));
    EXPECT_EQ(dir.readText("a"), "new");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a", "c", "folder"}));
    EXPECT_TRUE(dir.entries(dir.file("folder")).empty());
}

TEST(ReplacementBatchTest, DiscardedOrDroppedFilesLeaveThePreviousOnes)
{
    TempDir dir;
    dir.write("a", std::string("old a"));
    int outcomes = 0;
    const std::string data = "new";
    {
        ReplacementBatch batch([&](const std::string&, bool, const std::string&) { ++outcomes; });
        batch.add(dir.file("a"), {{data.data(), data.size()}});
        batch.add(dir.file("b"), {{data.data(), data.size()}});
        batch.discard();
        batch.commit();
        batch.add(dir.file("c"), {{data.data(), data.size()}});
    }
    EXPECT_EQ(outcomes, 0);
    EXPECT_EQ(dir.readText("a"), "old a");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a"});
}

// Killed before the placing: the previous files are untouched, no target is new or partial, and
// the waiting contents, having no names, leave nothing behind.
TEST(ReplacementBatchTest, AKillBeforeThePlacingLeavesTheOldFilesAndNothingElse)
{
    for (int signal : {SIGKILL, SIGTERM}) {
        SCOPED_TRACE(signal);
        TempDir dir;
        dir.write("a", std::string("old a"));
        ASSERT_TRUE(killOnceReady(
            [&](const std::function<void()>& ready) {
                ReplacementBatch batch(nullptr);
                const std::string data(100000, 'n');
                for (const char* name : {"a", "b", "c"})
                    if (!batch.add(dir.file(name), {{data.data(), data.size()}}))
                        return;
                ready();
            },
            signal));
        EXPECT_EQ(dir.readText("a"), "old a");
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"a"});
    }
}

std::size_t openFileCount()
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// More files than may wait open at once: they are placed in groups as they come, every one in
// order and whole, no file stays open, and a discard after a group keeps what was placed.
TEST(ReplacementBatchTest, ManyFilesArePlacedInGroupsWithoutKeepingFilesOpen)
{
    TempDir dir;
    const std::size_t openBefore = openFileCount();
    std::vector<Outcome> outcomes, expected;
    {
        ReplacementBatch batch([&](const std::string& path, bool placed, const std::string& error) {
            outcomes.push_back({path, placed, error});
        });
        for (int i = 0; i < 1500; ++i) {
            const std::string path = dir.file("t" + std::to_string(i)), body(static_cast<std::size_t>(i % 7 + 1), 'x');
            ASSERT_TRUE(batch.add(path, {{body.data(), body.size()}}));
            expected.push_back({path, true, ""});
            ASSERT_LT(openFileCount(), openBefore + 300);
        }
        batch.commit();
        EXPECT_EQ(outcomes, expected);
        EXPECT_EQ(openFileCount(), openBefore);
        for (int i = 0; i < 1500; i += 149)
            EXPECT_EQ(dir.readText("t" + std::to_string(i)), std::string(static_cast<std::size_t>(i % 7 + 1), 'x'));

        // Placed in groups already: a discard drops only what still waits.
        const std::string body = "late";
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(batch.add(dir.file("late" + std::to_string(i)), {{body.data(), body.size()}}));
        batch.discard();
    }
    EXPECT_EQ(openFileCount(), openBefore);
    const std::vector<std::string> names = dir.entries();
    const auto late = std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.rfind("late", 0) == 0; });
    EXPECT_GT(late, 0);
    EXPECT_LT(late, 300);
    EXPECT_EQ(names.size(), 1500u + static_cast<std::size_t>(late));
}

} // namespace
