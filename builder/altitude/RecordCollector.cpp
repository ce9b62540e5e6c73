#include "altitude/RecordCollector.h"

#include <algorithm>

#include "altitude/RecordReserve.h"

void RecordCollector::reserve(std::size_t count)
{
    reserved_ = count;
    if (packing_) {
        if (count > packer_.size())
            packer_.reserve(count - packer_.size());
    } else if (count > plain_.size()) {
        reserveRecords(plain_, count - plain_.size());
    }
}

void RecordCollector::addPlain(const AltitudeRecord& record)
{
    if (packing_) {
        // Too many distinct positions to pack: what was packed so far goes plain.
        packing_ = false;
        const RecordList packed(packer_.finish());
        packer_ = RecordPacker();
        reserveRecords(plain_, std::max(reserved_, packed.size() + 1));
        for (const AltitudeRecord& earlier : packed)
            plain_.push_back(earlier);
    }
    plain_.push_back(record);
}

RecordList RecordCollector::finish()
{
    RecordList result;
    if (packing_) {
        if (packer_.size() > 0) {
            auto packed = packer_.finish();
            packed->entries.shrink_to_fit();
            result = RecordList(std::move(packed));
        }
    } else {
        result = std::move(plain_);
        plain_ = {};
    }
    packing_ = true;
    reserved_ = 0;
    packer_ = RecordPacker();
    return result;
}
