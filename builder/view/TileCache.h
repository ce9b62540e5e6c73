#pragma once
// Pictures of square tiles of the view, kept while their key (what they show) stays the same;
// the least recently used go first when more than `capacity` are kept.

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

template <typename Picture>
class TileCache {
public:
    explicit TileCache(std::size_t capacity) : capacity_(capacity) {}

    /// Keeps the tiles when the key is the one they were made for; drops them all otherwise.
    void useKey(std::uint64_t key)
    {
        if (!valid_ || key != key_)
            tiles_.clear();
        key_ = key;
        valid_ = true;
    }
    void clear()
    {
        tiles_.clear();
        valid_ = false;
    }

    /// The tile at column `tx`, row `ty` (in tile units), or null.
    const Picture* find(int tx, int ty)
    {
        auto found = tiles_.find({tx, ty});
        if (found == tiles_.end())
            return nullptr;
        found->second.lastUse = ++clock_;
        return &found->second.picture;
    }

    void put(int tx, int ty, Picture picture)
    {
        Entry& e = tiles_[{tx, ty}];
        e.picture = std::move(picture);
        e.lastUse = ++clock_;
        while (tiles_.size() > capacity_) {
            auto oldest = tiles_.begin();
            for (auto it = tiles_.begin(); it != tiles_.end(); ++it)
                if (it->second.lastUse < oldest->second.lastUse)
                    oldest = it;
            tiles_.erase(oldest);
        }
    }

    std::size_t size() const { return tiles_.size(); }

private:
    struct Entry {
        Picture picture;
        std::uint64_t lastUse = 0;
    };
    std::size_t capacity_;
    std::map<std::pair<int, int>, Entry> tiles_;
    std::uint64_t key_ = 0;
    bool valid_ = false;
    std::uint64_t clock_ = 0;
};
