// Replacing a file: the previous file survives every failure and every kill, the cause of a
// failure is named, and nothing (no empty target, no temporary) is left behind.
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sched.h>
#include <unistd.h>

#include "base/ReplaceFile.h"
#include "base/ReplacementBatch.h"
#include "base/ReplacementFile.h"
#include "support/KillOnceReady.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

TEST(ReplaceFileTest, ReplacesTheWholeFileAndKeepsItsPermissions)
{
    TempDir dir;
    dir.write("a.sca", std::string("old"));
    fs::permissions(dir.file("a.sca"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string first = "new ";
    const std::string second = "content";
    std::string error;
    ASSERT_TRUE(replaceFile(dir.file("a.sca"), {{first.data(), first.size()}, {second.data(), second.size()}}, &error))
        << error;
    EXPECT_EQ(dir.readText("a.sca"), "new content");
    EXPECT_EQ(fs::status(dir.file("a.sca")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(replaceFile(dir.file("b.prj"), {{first.data(), first.size()}}));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.sca", "b.prj"}));
}

TEST(ReplaceFileTest, FailuresNameTheirCauseAndLeaveTheOldFile)
{
    TempDir dir;
    dir.write("old.sca", std::string("old"));
    dir.write("plain", std::string("x"));
    fs::create_directory(dir.file("folder"));
    struct Case {
        const char* name;
        std::string path;
        std::string cause;
    };
    const std::vector<Case> cases = {
        {"missing folder", dir.file("none/x.sca"), "No such file or directory"},
        {"a folder as target", dir.file("folder"), "Is a directory"},
        {"a file as folder", dir.file("plain/x.sca"), "Not a directory"},
        {"no name", "", "no file name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        const std::string data = "data";
        EXPECT_FALSE(replaceFile(c.path, {{data.data(), data.size()}}, &error));
        EXPECT_EQ(error, c.cause);
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder", "old.sca", "plain"}));
    EXPECT_TRUE(dir.entries(dir.file("folder")).empty());
}

TEST(ReplaceFileTest, AFolderWithoutWriteAccessNeverGetsTheFileRewrittenInPlace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not apply";
    TempDir dir;
    fs::create_directory(dir.file("locked"));
    dir.write("locked/old.sca", std::string("old source"));
    fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    std::string error;
    const std::string data = "new";
    const bool replaced = replaceFile(dir.file("locked/old.sca"), {{data.data(), data.size()}}, &error);
    const bool created = replaceFile(dir.file("locked/new.sca"), {{data.data(), data.size()}});
    fs::permissions(dir.file("locked"), fs::perms::owner_all);
    EXPECT_FALSE(replaced);
    EXPECT_FALSE(created);
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(dir.readText("locked/old.sca"), "old source");
    EXPECT_EQ(dir.entries(dir.file("locked")), std::vector<std::string>{"old.sca"});
}

// A program killed while it writes leaves the old file and nothing else: the new content has
// no name until it is complete.
TEST(ReplaceFileTest, AKillDuringTheWriteLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    dir.write("a.prj", std::string("old project"));
    for (int signal : {SIGKILL, SIGTERM}) {
        SCOPED_TRACE(signal);
        ASSERT_TRUE(killOnceReady(
            [&](const std::function<void()>& ready) {
                ReplacementFile file;
                if (!file.open(dir.file("a.prj")))
                    return;
                file.write("half of a new project", 21);
                std::fflush(file.stream());
                ready();
            },
            signal));
        EXPECT_EQ(dir.readText("a.prj"), "old project");
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.prj"});
    }

    // A killed first write leaves nothing at all, not an empty file.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ReplacementFile file;
        if (file.open(dir.file("first.sca")))
            file.write("part", 4);
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.prj"});
}

TEST(ReplaceFileTest, ADiscardedReplacementLeavesNothing)
{
    TempDir dir;
    {
        ReplacementFile file;
        ASSERT_TRUE(file.open(dir.file("x.sca")));
        EXPECT_TRUE(file.write("abc", 3));
    }
    {
        ReplacementFile file;
        ASSERT_TRUE(file.open(dir.file("y.sca")));
        file.discard();
        EXPECT_FALSE(file.commit());
    }
    EXPECT_TRUE(dir.entries().empty());
}

// A small tmpfs that fills up: the write (alone or in a batch) fails with the disk's own cause and the previous
// file is still whole. Mounting needs privileges; where they are refused the test says so.
TEST(ReplaceFileTest, AFullDiskKeepsThePreviousFile)
{
    TempDir dir;
    const std::string mountPoint = dir.file("disk");
    fs::create_directory(mountPoint);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A mount namespace of its own keeps the mount from outliving the test.
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWNS) != 0) {
            // Without privileges, a user namespace of its own may still allow the mount.
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                ::_exit(77);
            const auto put = [](const char* file, const std::string& text) {
                std::FILE* f = std::fopen(file, "w");
                const bool ok = f && std::fputs(text.c_str(), f) >= 0;
                return f && std::fclose(f) == 0 && ok;
            };
            put("/proc/self/setgroups", "deny");
            if (!put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
                !put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
                ::_exit(77);
        }
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(77);
        const std::string target = mountPoint + "/old.sca";
        const std::string old(20000, 'o');
        if (!replaceFile(target, {{old.data(), old.size()}}))
            ::_exit(2);
        const std::string big(200000, 'n');
        std::string error;
        if (replaceFile(target, {{big.data(), big.size()}}, &error))
            ::_exit(3);
        if (error != "No space left on device")
            ::_exit(4);
        // The streamed writer the source uses fails the same way.
        ReplacementFile stream;
        if (!stream.open(target))
            ::_exit(5);
        for (int i = 0; i < 100; ++i)
            std::fputs(big.substr(0, 4000).c_str(), stream.stream());
        if (stream.commit())
            ::_exit(6);
        // In a batch, the file that does not fit fails alone with the same cause.
        std::vector<std::string> outcomes;
        {
            ReplacementBatch batch([&](const std::string& path, bool placed, const std::string& cause) {
                outcomes.push_back(fs::path(path).filename().string() + (placed ? " placed" : " " + cause));
            });
            const std::string small = "small";
            batch.add(target, {{big.data(), big.size()}});
            batch.add(mountPoint + "/small.sca", {{small.data(), small.size()}});
            batch.commit();
        }
        if (outcomes != std::vector<std::string>{"old.sca No space left on device", "small.sca placed"})
            ::_exit(9);
        ::unlink((mountPoint + "/small.sca").c_str());
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(mountPoint))
            names.push_back(e.path().filename().string());
        if (names != std::vector<std::string>{"old.sca"})
            ::_exit(7);
        std::FILE* in = std::fopen(target.c_str(), "rb");
        std::string back(30000, '\0');
        back.resize(std::fread(back.data(), 1, back.size(), in));
        std::fclose(in);
        ::_exit(back == old ? 0 : 8);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "this machine refuses to mount a small tmpfs here; the full-disk case is not run";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "step " << WEXITSTATUS(status) << " of the full-disk check failed";
}

} // namespace
