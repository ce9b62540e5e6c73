#pragma once
// orvane-cli import, and the picture import in front of orvane-cli photo --image.

#include <iosfwd>
#include <string>
#include <vector>

/// The usage text of orvane-cli import.
extern const char* const kImportUsage;

/// orvane-cli import IMAGE OUT.bmp [options]: converts any picture GDAL reads into a project
/// bitmap and prints the extents it found. Returns the program's exit code.
int runImportCommand(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err, bool terminal);

/// For orvane-cli photo: when `argv` names --image, imports it (with the import options found in
/// `argv`) into a bitmap beside it, or into --bitmap when that is given, and rewrites `argv` into
/// the plain photo command: --bitmap with the new file, and the image's own extents for any of
/// --north, --south, --east, --west not given. False when there is no --image; then `argv` is
/// unchanged. When the import fails, `exitCode` is set and `argv` is emptied.
bool importPhotoImage(std::vector<std::string>& argv, std::ostream& out, std::ostream& err, bool terminal,
                      int& exitCode);
