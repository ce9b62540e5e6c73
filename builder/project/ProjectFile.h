#pragma once
#include <string>

class CDibDoc;

/// Writes the whole project as a version 7 .prj file (replacing `path` only when the whole file
/// was written). Shows "Invalid filename." for an empty path, "Cannot save PATH: CAUSE." when the
/// file cannot be made there, and "Cannot save DIB" with the path and the cause on a second line
/// when writing fails (the previous file and the modified mark stay); Cancel in its progress windows
/// stops it likewise and says so. On success records the path in
/// filePath and clears the modified mark.
bool saveProject(CDibDoc& doc, const std::string& path);

/// Reads a .prj file (versions 1 to 7) into a freshly constructed document. True only when the outer
/// end tag was reached and the post-load steps ran. No message of its own.
bool loadProject(CDibDoc& doc, const std::string& path);

/// Open: loadProject, then the document size and the images of the linked textures (failures
/// counted in one message). A file that does not exist is reported as such; a file that cannot
/// be read shows "Couldn't read project file. Possibly not a Orvane project."; both return false.
bool openProject(CDibDoc& doc, const std::string& path);
