// DTED elevation files (Level 0, and higher levels by the same layout):
//   byte    0   80-byte User Header Label, "UHL1"; at 47 / 51 the longitude lines and the points
//               per line (4 digits each)
//   byte   80   648-byte Data Set Identification record, "DSI"; at 284 / 291 the south-west corner
//               (DDMMSSH, DDDMMSSH), at 314 / 321 the north-east corner, at 361 / 365 the number of
//               latitude lines (points per longitude line) and of longitude lines
//   byte  728   2700-byte Accuracy Description record, "ACC"
//   byte 3428   one data record per longitude line, west to east: sentinel 0xAA, 3-byte block
//               count, 2-byte longitude count, 2-byte latitude count, the points from south to north
//               as 16-bit signed-magnitude metres (high byte first), 4-byte checksum.
// Nothing in the headers is trusted: the file must hold every record its counts give. Bytes after
// the last record (some producers pad the file) are ignored. A post holding the void value
// (0xFFFF, read as -32767) has no altitude and becomes no record.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "altitude/CappedProgress.h"
#include "altitude/RecordReserve.h"
#include "project/AppContext.h"
#include "base/FileLimits.h"
#include "base/InputFile.h"
#include "base/Platform.h"
#include "output/Coordinates.h"
#include "project/CDibDoc.h"

namespace {

constexpr std::size_t kUhlOffset = 0;
constexpr std::size_t kDsiOffset = 80;
constexpr std::size_t kAccOffset = 728;
constexpr std::size_t kFirstRecord = 3428;
constexpr std::size_t kRecordHeader = 8;     // sentinel, block count, longitude and latitude counts
constexpr std::size_t kRecordChecksum = 4;
constexpr std::size_t kSouthWestLatitude = 284;
constexpr std::size_t kSouthWestLongitude = 291;
constexpr std::size_t kNorthEastLatitude = 314;
constexpr std::size_t kNorthEastLongitude = 321;
constexpr std::size_t kLatitudeLines = 361;
constexpr std::size_t kLongitudeLines = 365;
constexpr std::size_t kUhlLongitudeLines = 47;
constexpr std::size_t kUhlLatitudePoints = 51;
constexpr std::uint8_t kRecordSentinel = 0xAA;
constexpr unsigned kVoidPost = 0xFFFF;   // signed magnitude -32767: no altitude here

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string field(const std::vector<char>& file, std::size_t offset, std::size_t length)
{
    return std::string(file.data() + offset, length);
}

// A 4-digit count, or -1 when the field holds anything but digits.
int countField(const std::vector<char>& file, std::size_t offset)
{
    const std::string text = field(file, offset, 4);
    if (!std::all_of(text.begin(), text.end(), isDigit))
        return -1;
    return std::stoi(text);
}

// DDMMSSH (degreeDigits 2) or DDDMMSSH (3) to degrees, through the coordinate text parser:
// "D:M:S" with a leading minus for the southern or western hemisphere.
bool cornerField(const std::vector<char>& file, std::size_t offset, int degreeDigits, char positive, char negative,
                 double& degrees)
{
    const std::string text = field(file, offset, static_cast<std::size_t>(degreeDigits) + 5);
    const char hemisphere = text.back();
    if (hemisphere != positive && hemisphere != negative)
        return false;
    if (!std::all_of(text.begin(), text.end() - 1, isDigit))
        return false;
    std::string dms = text.substr(0, degreeDigits) + ":" + text.substr(degreeDigits, 2) + ":" +
                      text.substr(degreeDigits + 2, 2);
    if (hemisphere == negative)
        dms = "-" + dms;
    degrees = parseCoordinate(dms);
    return true;
}

bool refuse(Platform& platform, const std::string& reason)
{
    platform.message("This is not a readable DTED file: " + reason + ". Loading abandoned.", MsgIcon::Exclamation);
    return false;
}

} // namespace

bool readDtedAltitudeMap(CDibDoc& doc, AltitudeMap& map, const std::string& path)
{
    Platform& platform = doc.app.platform;
    if (path.empty())
        return false;
    InputFile input;
    if (!input.read(path, FileLimits::kDtedFile)) {
        // A file that is not there fails silently, as before; anything else says why.
        return input.openFailed() ? false : refuse(platform, input.reason());
    }
    const std::vector<std::uint8_t>& bytes = input.bytes();
    if (bytes.size() < kFirstRecord)
        return refuse(platform, "its header records are incomplete");

    // The header records first; the elevations are read once the counts have been checked.
    const std::vector<char> file(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kFirstRecord));

    if (field(file, kUhlOffset, 4) != "UHL1" || field(file, kDsiOffset, 3) != "DSI" ||
        field(file, kAccOffset, 3) != "ACC")
        return refuse(platform, "its header records are missing");

    double southWestLatitude = 0, southWestLongitude = 0, northEastLatitude = 0, northEastLongitude = 0;
    if (!cornerField(file, kSouthWestLatitude, 2, 'N', 'S', southWestLatitude) ||
        !cornerField(file, kSouthWestLongitude, 3, 'E', 'W', southWestLongitude) ||
        !cornerField(file, kNorthEastLatitude, 2, 'N', 'S', northEastLatitude) ||
        !cornerField(file, kNorthEastLongitude, 3, 'E', 'W', northEastLongitude))
        return refuse(platform, "its corner coordinates are unreadable");

    const int rows = countField(file, kLatitudeLines);
    const int columns = countField(file, kLongitudeLines);
    if (rows < 2 || columns < 2)
        return refuse(platform, "its point counts are unreadable");
    if (countField(file, kUhlLongitudeLines) != columns || countField(file, kUhlLatitudePoints) != rows)
        return refuse(platform, "its two headers give different point counts");

    const std::size_t recordLength = kRecordHeader + 2 * static_cast<std::size_t>(rows) + kRecordChecksum;
    const std::size_t expected = kFirstRecord + static_cast<std::size_t>(columns) * recordLength;
    if (bytes.size() < expected)
        return refuse(platform, "it is shorter than its point counts need");

    const std::uint8_t* data = bytes.data() + kFirstRecord;
    for (int i = 0; i < columns; ++i) {
        if (data[static_cast<std::size_t>(i) * recordLength] != kRecordSentinel)
            return refuse(platform, "a data record does not start where its counts say");
    }

    const std::size_t count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    // Packed: the header's four-digit counts keep both tables within their 16-bit indices.
    auto packed = std::make_shared<PackedRecords>();
    std::vector<PackedRecords::Entry>& records = packed->entries;
    try {
        reservePacked(records, count);
    } catch (const std::bad_alloc&) {
        return refuse(platform, "it holds more points than fit in memory");
    }

    // Every post is the south-west corner plus its index times the step, the last ones too, so
    // two files sharing a corner put the same post at the same place. Every line has the same
    // latitudes: they are worked out once.
    const double latitudeStep = (northEastLatitude - southWestLatitude) / (rows - 1);
    const double longitudeStep = (northEastLongitude - southWestLongitude) / (columns - 1);
    std::vector<double>& latitudes = packed->latitudes;
    latitudes.resize(static_cast<std::size_t>(rows));
    for (int j = 0; j < rows; ++j)
        latitudes[static_cast<std::size_t>(j)] = southWestLatitude + j * latitudeStep;
    packed->longitudes.resize(static_cast<std::size_t>(columns));
    std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
    std::size_t voids = 0;

    // A line is decoded into a small buffer that stays in the cache, a void post being written
    // over by the next one, then appended to the records in one copy.
    std::vector<PackedRecords::Entry> line(static_cast<std::size_t>(rows));
    CappedProgress progress(platform, "Loading DTED Map...", count);
    for (int i = 0; i < columns; ++i) {
        const std::uint8_t* point = data + static_cast<std::size_t>(i) * recordLength + kRecordHeader;
        packed->longitudes[static_cast<std::size_t>(i)] = southWestLongitude + i * longitudeStep;
        PackedRecords::Entry* out = line.data();
        for (int j = 0; j < rows; ++j, point += 2) {
            const unsigned raw = static_cast<unsigned>(point[0]) << 8 | point[1];
            const std::int32_t magnitude = static_cast<std::int32_t>(raw & 0x7FFF);
            const std::int32_t altitude = (raw & 0x8000) ? -magnitude : magnitude;
            const bool real = raw != kVoidPost;
            out->latitude = static_cast<std::uint16_t>(j);
            out->longitude = static_cast<std::uint16_t>(i);
            out->altitude = altitude;
            out += real ? 1 : 0;
            lowest = real ? std::min(lowest, altitude) : lowest;
        }
        const auto kept = static_cast<std::size_t>(out - line.data());
        voids += static_cast<std::size_t>(rows) - kept;
        records.insert(records.end(), line.data(), out);
        progress.advance(static_cast<std::size_t>(rows));
    }
    if (records.empty())
        return refuse(platform, "every post is void");

    map.columns = columns;
    map.rows = rows;
    map.records = RecordList(std::move(packed));
    map.sourceParam1 = 0;
    map.sourceParam2 = 0;
    map.sourceType = 2;
    map.title = path;
    map.waterLevel = lowest;
    if (voids > 0)
        platform.message(std::to_string(voids) + " of the " + std::to_string(count) +
                             " posts of this DTED file hold no altitude (void) and were left out.",
                         MsgIcon::Information);
    return true;
}
