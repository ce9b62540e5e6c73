#pragma once
// Palette files of a project: the JASC text palettes imported as custom colours and the
// 768-byte .pal export of the scenery palette (the colors.pcf layout: 256 x red, green, blue).

#include <array>
#include <cstdint>
#include <string>

class CDibDoc;

/// Reads a JASC palette (a word and two integers, none checked, then red/green/blue triples) and
/// stores its first 64 complete triples into doc.customColors[0..], each value cut to its low byte.
/// Entries past the file's triples keep their colours. False, changing nothing, when it cannot be opened.
bool importJascPalette(CDibDoc& doc, const std::string& path);

/// Writes the 256 colours (0x00BBGGRR) as 768 bytes red, green, blue. False when it cannot be written;
/// a previous file at `path` then stays as it was.
bool writePaletteFile(const std::array<std::int32_t, 256>& colors, const std::string& path);

/// The palette "Save..." command: asks for the file ("Save palette as:") starting in textureFolder and
/// writes colorTable there. Cancel and unwritable files change nothing, without a message.
/// True when a file was written.
bool savePaletteAs(CDibDoc& doc);
