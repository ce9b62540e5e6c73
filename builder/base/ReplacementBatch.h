#pragma once
// Many whole files replaced together, each as safely as by replaceFile: a previous file stays
// untouched until its new content is complete and on the disk, and a crash or a kill never
// leaves a partial file under a target's name. Reaching the disk is paid once for the batch
// instead of once for each file: the new contents are written into a temporary folder beside
// their targets, the file system is synced once, and only then does each take its target's name.
// A kill before that leaves the previous files and, at most, that one temporary folder.

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
    /// written (its outcome will say why); nothing of it is left then.
    bool add(const std::string& path, std::initializer_list<FilePart> parts);
    /// Puts every content added in its target's place: one sync of each file system holding them,
    /// then the renames, then one sync of each folder, so the renames are durable too.
    void commit();
    /// Drops everything added and not committed, without outcomes.
    void discard();

private:
    struct Pending {
        std::string path;
        std::string temporary;   // empty once this file failed
        std::string error;
    };
    struct Folder {
        std::string target;      // where the files go
        std::string temporary;   // where their new contents wait
    };
    const Folder* folderFor(const std::string& path, std::string& error);
    void removeTemporaries();

    Outcome outcome_;
    std::vector<Pending> pending_;
    std::vector<Folder> folders_;
    std::size_t counter_ = 0;
};
