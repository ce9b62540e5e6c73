#pragma once
class CDibDoc;

/// Reads colors.pcf (768 bytes: 256 x red, green, blue) from the application folder, else from the
/// program's folder, into the document's four source colour tables. When it cannot be opened, says
/// "Couldn't read default palette file.\n%d" with the cause code and the folders looked in, and
/// leaves the tables zero;
/// a short file fills what it holds and leaves the rest zero.
void readDefaultColors(CDibDoc& doc);
