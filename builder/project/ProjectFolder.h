#pragma once
#include <string>

class CDibDoc;

/// The folder a project's file dialogs start in: the folder of its project file, else its
/// scenery folder (a project not saved yet); empty when it has neither.
std::string projectFolder(const CDibDoc& doc);

/// The first of `preferred` and projectFolder(doc) that names a folder.
std::string projectFolderOr(const CDibDoc& doc, const std::string& preferred);
