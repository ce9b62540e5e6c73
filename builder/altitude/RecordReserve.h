#pragma once
#include <cstddef>
#include <vector>

#include "altitude/AltitudeRecord.h"
#include "altitude/PackedRecords.h"

/// Reserves room for `count` more records (throws std::bad_alloc like reserve). A large array
/// asks the system for large pages: filling 300 MB of small pages costs more in page faults than
/// making the records themselves.
void reserveRecords(std::vector<AltitudeRecord>& records, std::size_t count);
/// The same for packed records.
void reservePacked(std::vector<PackedRecords::Entry>& entries, std::size_t count);
