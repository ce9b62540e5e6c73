#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "altitude/AltitudeRecord.h"
#include "altitude/PackedRecords.h"

/// Packs records one by one as they arrive (from a file, a merge) without first holding them all
/// as 24-byte records. Positions are told apart by their bits, so every value comes back exactly.
class RecordPacker {
public:
    /// `expected` records are reserved up front (0: none).
    explicit RecordPacker(std::size_t expected = 0);

    /// Adds a record; false when a 65537th distinct latitude or longitude would be needed (the
    /// record is then not added and the packer must not be used further).
    bool add(const AltitudeRecord& record);
    /// Room for `count` more records.
    void reserve(std::size_t count);
    std::size_t size() const { return packed_->entries.size(); }
    /// The packed records; the packer is empty afterwards.
    std::shared_ptr<PackedRecords> finish();

private:
    bool indexOf(double value, std::vector<double>& values, std::unordered_map<std::uint64_t, std::uint16_t>& lookup,
                 std::uint16_t& last, std::uint16_t& index);

    std::shared_ptr<PackedRecords> packed_;
    std::unordered_map<std::uint64_t, std::uint16_t> latitudeIndex_;
    std::unordered_map<std::uint64_t, std::uint16_t> longitudeIndex_;
    std::uint16_t lastLatitude_ = 0;
    std::uint16_t lastLongitude_ = 0;
};
