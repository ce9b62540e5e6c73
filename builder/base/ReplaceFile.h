#pragma once
// Writing a whole file so that a failure never destroys the previous good one.

#include <cstddef>
#include <initializer_list>
#include <string>

struct FilePart {
    const void* data;
    std::size_t size;
};

/// Writes the parts, in order, as the new content of `path` (see ReplacementFile): flushed to the
/// disk, then renamed over `path`. False, with any previous file at `path` untouched and no
/// temporary left, when a step fails; `error` then receives the cause in words.
bool replaceFile(const std::string& path, std::initializer_list<FilePart> parts, std::string* error = nullptr);

/// The folder holding `path`: "." for a bare name.
std::string folderOfFile(const std::string& path);
/// Makes the renames in `folder` durable: without this a crash can bring back an old content.
void syncFolder(const std::string& folder);
