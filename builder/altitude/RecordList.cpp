#include "altitude/RecordList.h"

#include <limits>
#include <utility>

#include "altitude/RecordPacker.h"
#include "altitude/RecordReserve.h"

namespace {
// Single-threaded like the maps themselves.
std::uint64_t nextVersion()
{
    static std::uint64_t counter = 0;
    return ++counter;
}
} // namespace

RecordList::RecordList(std::vector<AltitudeRecord> records)
    : plain_(std::make_shared<std::vector<AltitudeRecord>>(std::move(records))), version_(nextVersion())
{
}

RecordList::RecordList(std::initializer_list<AltitudeRecord> records) : RecordList(std::vector<AltitudeRecord>(records))
{
}

RecordList::RecordList(std::shared_ptr<PackedRecords> packed) : packed_(std::move(packed)), version_(nextVersion())
{
}

RecordList::RecordList(RecordList&& other) noexcept
    : plain_(std::move(other.plain_)), packed_(std::move(other.packed_)), version_(std::exchange(other.version_, 0)),
      orderVersion_(std::exchange(other.orderVersion_, 0)), inOrder_(std::exchange(other.inOrder_, true))
{
}

RecordList& RecordList::operator=(RecordList&& other) noexcept
{
    if (this != &other) {
        plain_ = std::move(other.plain_);
        packed_ = std::move(other.packed_);
        other.plain_.reset();
        other.packed_.reset();
        version_ = std::exchange(other.version_, 0);
        orderVersion_ = std::exchange(other.orderVersion_, 0);
        inOrder_ = std::exchange(other.inOrder_, true);
    }
    return *this;
}

RecordList& RecordList::operator=(std::vector<AltitudeRecord> records)
{
    packed_.reset();
    plain_ = std::make_shared<std::vector<AltitudeRecord>>(std::move(records));
    touch();
    return *this;
}

RecordList& RecordList::operator=(std::initializer_list<AltitudeRecord> records)
{
    return *this = std::vector<AltitudeRecord>(records);
}

void RecordList::touch()
{
    version_ = nextVersion();
}

std::vector<AltitudeRecord>& RecordList::ownPlain()
{
    if (packed_) {
        auto plain = std::make_shared<std::vector<AltitudeRecord>>();
        reserveRecords(*plain, packed_->entries.size());
        for (std::size_t i = 0; i < packed_->entries.size(); ++i)
            plain->push_back((*this)[i]);
        packed_.reset();
        plain_ = std::move(plain);
    } else if (!plain_) {
        plain_ = std::make_shared<std::vector<AltitudeRecord>>();
    } else if (plain_.use_count() > 1) {
        plain_ = std::make_shared<std::vector<AltitudeRecord>>(*plain_);
    }
    touch();
    return *plain_;
}

std::vector<AltitudeRecord>& RecordList::edit()
{
    return ownPlain();
}

void RecordList::clear()
{
    // Drops the storage rather than emptying it: a copy may still share it.
    plain_.reset();
    packed_.reset();
    touch();
}

void RecordList::reserve(std::size_t count)
{
    auto& plain = ownPlain();
    if (count > plain.size())
        reserveRecords(plain, count - plain.size());
}

void RecordList::push_back(const AltitudeRecord& record)
{
    ownPlain().push_back(record);
}

void RecordList::setAltitude(std::size_t index, std::int32_t altitude)
{
    if (packed_) {
        // The altitude has its own field: a packed list stays packed.
        if (packed_.use_count() > 1)
            packed_ = std::make_shared<PackedRecords>(*packed_);
        packed_->entries[index].altitude = altitude;
        touch();
        return;
    }
    ownPlain()[index].altitude = altitude;
}

bool RecordList::pack()
{
    if (packed_)
        return true;
    if (!plain_ || plain_->empty())
        return false;
    RecordPacker packer(plain_->size());
    // The order comes with the pass for nothing.
    bool ordered = true;
    double previous = -std::numeric_limits<double>::infinity();
    for (const AltitudeRecord& record : *plain_) {
        if (!packer.add(record))
            return false;
        ordered &= previous <= record.longitude;
        previous = record.longitude;
    }
    orderVersion_ = version_;
    inOrder_ = ordered;
    auto packed = packer.finish();
    const std::size_t packedBytes = packed->entries.size() * sizeof(PackedRecords::Entry) +
                                    (packed->latitudes.size() + packed->longitudes.size()) * sizeof(double);
    if (packedBytes >= plain_->size() * sizeof(AltitudeRecord))
        return false;
    packed->entries.shrink_to_fit();
    plain_.reset();
    packed_ = std::move(packed);
    // The same records: the version stays.
    return true;
}

bool RecordList::inLongitudeOrder() const
{
    if (orderVersion_ == version_)
        return inOrder_;
    // A NaN compares false, so it breaks the order.
    bool ordered = true;
    const std::size_t n = size();
    if (packed_) {
        const double* longitudes = packed_->longitudes.data();
        const PackedRecords::Entry* entries = packed_->entries.data();
        double previous = -std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < n; ++i) {
            const double longitude = longitudes[entries[i].longitude];
            ordered &= previous <= longitude;
            previous = longitude;
        }
    } else if (plain_) {
        double previous = -std::numeric_limits<double>::infinity();
        for (const AltitudeRecord& record : *plain_) {
            ordered &= previous <= record.longitude;
            previous = record.longitude;
        }
    }
    orderVersion_ = version_;
    inOrder_ = ordered;
    return ordered;
}

std::size_t RecordList::storageBytes() const
{
    if (packed_)
        return packed_->entries.capacity() * sizeof(PackedRecords::Entry) +
               (packed_->latitudes.capacity() + packed_->longitudes.capacity()) * sizeof(double);
    return plain_ ? plain_->capacity() * sizeof(AltitudeRecord) : 0;
}

bool RecordList::sharesStorageWith(const RecordList& other) const
{
    return (packed_ && packed_ == other.packed_) || (plain_ && plain_ == other.plain_);
}

namespace {
template <typename Records>
bool sameRecords(const RecordList& a, const Records& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i]))
            return false;
    return true;
}
} // namespace

bool operator==(const RecordList& a, const RecordList& b)
{
    return a.sharesStorageWith(b) || sameRecords(a, b);
}

bool operator==(const RecordList& a, const std::vector<AltitudeRecord>& b)
{
    return sameRecords(a, b);
}
