#include "altitude/RecordPacker.h"

#include <cstring>

#include "altitude/RecordReserve.h"

namespace {
std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
} // namespace

RecordPacker::RecordPacker(std::size_t expected) : packed_(std::make_shared<PackedRecords>())
{
    if (expected > 0)
        reserve(expected);
}

void RecordPacker::reserve(std::size_t count)
{
    reservePacked(packed_->entries, count);
}

bool RecordPacker::indexOf(double value, std::vector<double>& values,
                           std::unordered_map<std::uint64_t, std::uint16_t>& lookup, std::uint16_t& last,
                           std::uint16_t& index)
{
    const std::uint64_t bits = bitsOf(value);
    // Grids arrive line by line: the value is mostly the last one or the one after it.
    if (!values.empty()) {
        if (bitsOf(values[last]) == bits) {
            index = last;
            return true;
        }
        if (last + std::size_t{1} < values.size() && bitsOf(values[last + std::size_t{1}]) == bits) {
            index = ++last;
            return true;
        }
    }
    const auto found = lookup.find(bits);
    if (found != lookup.end()) {
        index = last = found->second;
        return true;
    }
    if (values.size() >= PackedRecords::kMaxValues)
        return false;
    index = last = static_cast<std::uint16_t>(values.size());
    lookup.emplace(bits, index);
    values.push_back(value);
    return true;
}

bool RecordPacker::add(const AltitudeRecord& record)
{
    PackedRecords::Entry entry;
    if (!indexOf(record.latitude, packed_->latitudes, latitudeIndex_, lastLatitude_, entry.latitude) ||
        !indexOf(record.longitude, packed_->longitudes, longitudeIndex_, lastLongitude_, entry.longitude))
        return false;
    entry.altitude = record.altitude;
    packed_->entries.push_back(entry);
    return true;
}

std::shared_ptr<PackedRecords> RecordPacker::finish()
{
    auto result = std::move(packed_);
    packed_ = std::make_shared<PackedRecords>();
    latitudeIndex_.clear();
    longitudeIndex_.clear();
    lastLatitude_ = lastLongitude_ = 0;
    return result;
}
