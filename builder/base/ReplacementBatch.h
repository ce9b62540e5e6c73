#pragma once
// Many whole files replaced together, each as safely as by replaceFile: a previous file stays
// untouched until its new content is complete and on the disk, and a crash or a kill never
// leaves a partial file under a target's name. Reaching the disk is paid once for a group of
// files instead of once for each: the new contents are written as nameless files beside their
// targets, the file system is synced once, and only then does each take its target's name (with
// termination signals held back meanwhile). A kill before that leaves nothing behind; where the
// file system has no nameless files, the contents wait under "<target>.XXXXXX.part~" names.
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/ReplaceFile.h"

class ReplacementBatch {
public:
    /// Told the fate of every file added, in the order they were added, when commit() has placed
    /// them: placed (true) or not, with the cause in words. A previous file of a file not placed
    /// is untouched.
    using Outcome = std::function<void(const std::string& path, bool placed, const std::string& error)>;

    explicit ReplacementBatch(Outcome outcome);
    /// Drops what was added and not committed; the previous files stay as they were.
    ~ReplacementBatch();
    ReplacementBatch(const ReplacementBatch&) = delete;
    ReplacementBatch& operator=(const ReplacementBatch&) = delete;

    /// Writes the parts, in order, as the coming content of `path`. False when it could not be
    /// written (its outcome will say why); nothing of it is left then. When many contents wait,
    /// they are placed as a group here already, as commit() would, since each holds a file open.
    bool add(const std::string& path, std::initializer_list<FilePart> parts);
    /// Puts every content still waiting in its target's place: one sync of each file system
    /// holding them, then the renames, then one sync of each folder, so the renames are durable
    /// too. Then tells every outcome since the last commit.
    void commit();
    /// Drops every content not placed yet, without outcomes; the placed ones stay.
    void discard();

private:
    struct Pending {
        std::string path;
        int fd = -1;             // a nameless content still open, or -1
        std::string named;       // a named content's temporary name, or empty
        std::string error;
        bool placed = false;
    };
    void placeWaiting();
    void dropWaiting();

    Outcome outcome_;
    std::vector<Pending> pending_;
    std::size_t waiting_ = 0;    // the entries from here on are not placed yet
    std::size_t openFiles_ = 0;
};
