#pragma once
// Sample input for demonstrations and tests: a 256-colour picture of an invented landscape and a
// DTED Level 0 file of the same landscape's heights, both from one height function, so the
// picture's lakes, valleys and snow lie where the altitude data says they are.

#include <cstdint>
#include <string>
#include <vector>

namespace DemoData {

/// The area the sample covers: whole seconds, as the DTED corners need them.
struct Extents {
    int southDegrees = 45;
    int westDegrees = 15;
    int spanMinutes = 30;   ///< north = south + span, east = west + span
    double south() const { return southDegrees; }
    double north() const { return southDegrees + spanMinutes / 60.0; }
    double west() const { return westDegrees; }
    double east() const { return westDegrees + spanMinutes / 60.0; }
};

/// Height in metres at (u, v): u from 0 (west) to 1 (east), v from 0 (south) to 1 (north).
double heightAt(double u, double v);

/// The picture's 256-entry colour table as 0x00BBGGRR values: water, lowland greens, forest,
/// rock and snow, each a ramp from dark to light.
std::vector<std::uint32_t> palette();

/// The colour index of the picture at pixel (x, y), y counted from the bottom row.
std::uint8_t pixelAt(int x, int y, int width, int height);

/// Writes the picture as an uncompressed 8-bit BMP (bottom-up). False when the file cannot be written.
bool writeBitmap(const std::string& path, int width, int height);

/// Writes a DTED Level 0 file over `extents` with `points` x `points` elevations.
bool writeDted(const std::string& path, const Extents& extents, int points);

/// Writes the picture's colours as a 768-byte palette file (256 x red, green, blue), the layout of
/// the builder's default palette file.
bool writeColorFile(const std::string& path);

/// Writes a text altitude file (latitude longitude altitude per line), `points` x `points` records.
bool writeTextAltitudes(const std::string& path, const Extents& extents, int points);

} // namespace DemoData
