// Text altitude files: one "latitude longitude altitude" triplet per line, the two reals in the
// decimal separator of the process locale. Reading stops at the first line that is not a triplet.

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <clocale>
#include <cstring>
#include <sstream>
#include <limits>
#include <string>
#include <vector>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "altitude/CappedProgress.h"
#include "project/AppContext.h"
#include "base/FileLimits.h"
#include "base/InputFile.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"

namespace {

struct Triplet {
    float latitude;
    float longitude;
    std::int32_t altitude;
};

bool onlySpaceFrom(const char* p)
{
    while (*p != '\0') {
        if (!std::isspace(static_cast<unsigned char>(*p)))
            return false;
        ++p;
    }
    return true;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal real at the start of `p` (blanks, a sign, digits with the locale's decimal separator,
// an exponent) at single precision. Only that form reaches strtof, which would also read
// hexadecimal numbers, "inf" and "nan". Returns the end of the number, or nullptr for none.
const char* readDecimal(const char* p, float& value)
{
    const char* separator = std::localeconv()->decimal_point;
    const std::size_t separatorLength = std::strlen(separator);
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    const char* number = p;
    if (*p == '+' || *p == '-')
        ++p;
    std::size_t digits = 0;
    for (; isDigit(*p); ++p)
        ++digits;
    if (separatorLength > 0 && std::strncmp(p, separator, separatorLength) == 0) {
        p += separatorLength;
        for (; isDigit(*p); ++p)
            ++digits;
    }
    if (digits == 0)
        return nullptr;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-')
            ++exponent;
        if (isDigit(*exponent)) {
            p = exponent;
            while (isDigit(*p))
                ++p;
        }
    }
    const std::string text(number, p);
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return nullptr;
    return p;
}

// Two decimal reals at single precision (in the process locale) and a whole number,
// with nothing but blanks after them.
bool readTriplet(const std::string& line, Triplet& out)
{
    const char* p = line.c_str();
    p = readDecimal(p, out.latitude);
    if (!p)
        return false;
    p = readDecimal(p, out.longitude);
    if (!p)
        return false;
    char* end = nullptr;
    errno = 0;
    const long altitude = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || altitude < std::numeric_limits<std::int32_t>::min() ||
        altitude > std::numeric_limits<std::int32_t>::max())
        return false;
    out.altitude = static_cast<std::int32_t>(altitude);
    return onlySpaceFrom(end);
}

} // namespace

bool readTextAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path)
{
    Platform& platform = doc.app.platform;
    if (path.empty())
        return false;
    InputFile file;
    if (!file.read(path, FileLimits::kTextAltitudeFile)) {
        platform.message("Couldn't read that file.\n" + path + ": " + file.reason() + ".", MsgIcon::Exclamation);
        return false;
    }
    std::istringstream in(file.text());
    file.bytes().clear();
    file.bytes().shrink_to_fit();

    // Counting pass: the triplets up to the first line that is not one (blank lines are passed
    // over), and how many leading lines share the first line's latitude. The first triplet always
    // sets the reference, whatever its value, so a file starting on the equator counts too.
    std::vector<Triplet> triplets;
    std::size_t columns = 0;
    bool haveReference = false;
    float reference = 0.0f;
    std::string line;
    while (std::getline(in, line)) {
        if (onlySpaceFrom(line.c_str()))
            continue;
        Triplet t{};
        if (!readTriplet(line, t))
            break;
        triplets.push_back(t);
        if (!haveReference) {
            haveReference = true;
            reference = t.latitude;
        } else if (t.latitude != reference && columns == 0) {
            columns = triplets.size() - 1;
        }
    }

    if (triplets.empty()) {
        platform.message("This file holds no altitude triplets. Loading abandoned.", MsgIcon::Exclamation);
        return false;
    }
    // Every triplet on one latitude: a single row.
    if (columns == 0)
        columns = triplets.size();

    std::vector<AltitudeRecord> records(triplets.size());
    std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
    CappedProgress progress(platform, "Loading Altitude Map...", triplets.size());
    for (std::size_t i = 0; i < triplets.size(); ++i) {
        records[i].latitude = triplets[i].latitude;
        records[i].longitude = triplets[i].longitude;
        records[i].altitude = triplets[i].altitude;
        lowest = std::min(lowest, records[i].altitude);
        progress.step();
    }

    map.columns = static_cast<std::int32_t>(columns);
    map.rows = static_cast<std::int32_t>(triplets.size() / columns);
    map.records = std::move(records);
    map.records.pack();
    map.sourceParam1 = 0;
    map.sourceParam2 = 0;
    map.sourceType = 3;
    map.title = path;
    map.waterLevel = lowest;
    return true;
}
