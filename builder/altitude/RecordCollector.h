#pragma once
#include <cstddef>
#include <vector>

#include "altitude/AltitudeRecord.h"
#include "altitude/RecordList.h"
#include "altitude/RecordPacker.h"

/// Gathers records that arrive one by one into the smallest list that holds them: packed while
/// the positions allow, plain from the first record that does not fit a packed list.
class RecordCollector {
public:
    void reserve(std::size_t count);
    void add(const AltitudeRecord& record)
    {
        if (!packing_ || !packer_.add(record))
            addPlain(record);
    }
    /// The records gathered; the collector is empty afterwards.
    RecordList finish();

private:
    void addPlain(const AltitudeRecord& record);

    RecordPacker packer_;
    bool packing_ = true;
    std::size_t reserved_ = 0;
    std::vector<AltitudeRecord> plain_;
};
