#pragma once
// The chunks before a sheet that edits them live (values, orientation, texture links), to record
// the session as one step the user can undo.

#include <string>
#include <vector>

#include "project/TexReliefChunk.h"

class CDibDoc;

/// Records the change of doc.chunks since `before` as one edit named `text`; nothing when the
/// chunks are unchanged. Returns whether an edit was recorded.
bool recordChunksEdit(CDibDoc& doc, const std::string& text, std::vector<TexReliefChunk> before);
