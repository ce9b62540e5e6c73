#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <vector>

#include "altitude/AltitudeRecord.h"
#include "altitude/PackedRecords.h"

/// The records of an altitude map. Reading gives records by value; the storage is either plain
/// records or packed ones (see PackedRecords), and it is shared between copies until one of them
/// changes, so the main map can hold a source map's records without a second copy. Changing a
/// packed list's positions unpacks it first.
class RecordList {
public:
    class const_iterator {
    public:
        // Random access for the classic algorithms' steps; elements are values, not references.
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = AltitudeRecord;
        using difference_type = std::ptrdiff_t;
        using reference = AltitudeRecord;
        struct pointer {
            AltitudeRecord record;
            const AltitudeRecord* operator->() const { return &record; }
        };

        const_iterator() = default;
        const_iterator(const RecordList* list, std::size_t index) : list_(list), index_(index) {}
        AltitudeRecord operator*() const { return (*list_)[index_]; }
        pointer operator->() const { return {(*list_)[index_]}; }
        AltitudeRecord operator[](difference_type n) const
        {
            return (*list_)[static_cast<std::size_t>(static_cast<difference_type>(index_) + n)];
        }
        const_iterator& operator++() { ++index_; return *this; }
        const_iterator operator++(int) { auto old = *this; ++index_; return old; }
        const_iterator& operator--() { --index_; return *this; }
        const_iterator operator--(int) { auto old = *this; --index_; return old; }
        const_iterator& operator+=(difference_type n)
        {
            index_ = static_cast<std::size_t>(static_cast<difference_type>(index_) + n);
            return *this;
        }
        const_iterator& operator-=(difference_type n) { return *this += -n; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b)
        {
            return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.index_ == b.index_; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.index_ <=> b.index_; }
        std::size_t index() const { return index_; }

    private:
        const RecordList* list_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = AltitudeRecord;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;

    RecordList() = default;
    RecordList(const RecordList&) = default;
    RecordList& operator=(const RecordList&) = default;
    /// A list moved from is empty, with the version of an empty list.
    RecordList(RecordList&& other) noexcept;
    RecordList& operator=(RecordList&& other) noexcept;
    RecordList(std::vector<AltitudeRecord> records);   // NOLINT: a vector of records is a list
    RecordList(std::initializer_list<AltitudeRecord> records);
    /// Takes packed records (shared from now on).
    explicit RecordList(std::shared_ptr<PackedRecords> packed);
    RecordList& operator=(std::vector<AltitudeRecord> records);
    RecordList& operator=(std::initializer_list<AltitudeRecord> records);

    std::size_t size() const { return packed_ ? packed_->entries.size() : plain_ ? plain_->size() : 0; }
    bool empty() const { return size() == 0; }
    AltitudeRecord operator[](std::size_t index) const
    {
        if (packed_) {
            const PackedRecords::Entry e = packed_->entries[index];
            return {packed_->latitudes[e.latitude], packed_->longitudes[e.longitude], e.altitude};
        }
        return (*plain_)[index];
    }
    double longitudeAt(std::size_t index) const
    {
        return packed_ ? packed_->longitudes[packed_->entries[index].longitude] : (*plain_)[index].longitude;
    }
    double latitudeAt(std::size_t index) const
    {
        return packed_ ? packed_->latitudes[packed_->entries[index].latitude] : (*plain_)[index].latitude;
    }
    AltitudeRecord front() const { return (*this)[0]; }
    AltitudeRecord back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Changes. A list that shares its storage takes its own copy first; all but setAltitude
    // unpack a packed list.
    void clear();
    void reserve(std::size_t count);
    void push_back(const AltitudeRecord& record);
    void setAltitude(std::size_t index, std::int32_t altitude);
    /// The records as a plain vector to change at will (unpacks a packed list). The version
    /// changes here, so make the changes at once rather than keeping the reference for later.
    std::vector<AltitudeRecord>& edit();

    /// Packs a plain list when its positions allow (at most 65536 distinct latitudes and as many
    /// longitudes) and packing saves memory; true when the list is packed afterwards.
    bool pack();
    bool isPacked() const { return packed_ != nullptr; }
    /// The packed storage for loops that work per distinct position; null when plain.
    const PackedRecords* packedRecords() const { return packed_.get(); }
    /// Bytes of the storage (shared storage counted by each list that holds it).
    std::size_t storageBytes() const;
    /// Whether both lists hold the very same storage.
    bool sharesStorageWith(const RecordList& other) const;
    /// Changes whenever the records may have changed (a new storage, an edit, an assignment);
    /// copies that share storage share it. Never 0 for a list that has records.
    std::uint64_t version() const { return version_; }
    /// Whether every longitude is at least the one before it (no NaN): worked out once a version.
    bool inLongitudeOrder() const;

    friend bool operator==(const RecordList& a, const RecordList& b);
    friend bool operator==(const RecordList& a, const std::vector<AltitudeRecord>& b);

private:
    void touch();
    std::vector<AltitudeRecord>& ownPlain();

    std::shared_ptr<std::vector<AltitudeRecord>> plain_;
    std::shared_ptr<PackedRecords> packed_;
    std::uint64_t version_ = 0;
    mutable std::uint64_t orderVersion_ = 0;   // the version inOrder_ was worked out for
    mutable bool inOrder_ = true;
};
