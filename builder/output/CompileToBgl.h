#pragma once
#include <string>

class CDibDoc;

/// Compile to BGL after the file dialog: writes <title>.sca into the application folder, runs
/// sca.bat there and moves the .sca and .bgl into `destinationFolder`. False when scasm.exe is
/// missing (after its message) or the batch file cannot be made.
bool compileToBgl(CDibDoc& doc, const std::string& bglPath);
