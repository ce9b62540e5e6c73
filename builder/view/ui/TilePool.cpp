#include "view/ui/TilePool.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

#include <sys/mman.h>

namespace {

constexpr std::size_t kBlockBytes = std::size_t(2) << 20;
constexpr std::size_t kPictureBytes = std::size_t(TilePool::kSize) * TilePool::kSize * 4;
constexpr int kPlaces = static_cast<int>(kBlockBytes / kPictureBytes);
// Empty blocks kept for the next pictures: a new window's first paint at the smallest zoom.
constexpr int kKeptEmpty = 4;

struct Block;
struct Place {
    Block* block;
    int index;
};
struct Block {
    void* memory = nullptr;
    int inUse = 0;
    std::array<Place, kPlaces> places{};
};

struct Pool {
    std::mutex mutex;
    std::vector<Block*> blocks;
    std::vector<Place*> free;   ///< places to take, the last first
};

Pool& pool()
{
    // Never destroyed: pictures may outlive everything else at exit.
    static Pool* shared = new Pool;
    return *shared;
}

void giveBack(void* info)
{
    auto* place = static_cast<Place*>(info);
    Pool& p = pool();
    const std::lock_guard lock(p.mutex);
    p.free.push_back(place);
    Block* block = place->block;
    if (--block->inUse != 0)
        return;
    const auto empty = std::count_if(p.blocks.begin(), p.blocks.end(), [](const Block* b) { return b->inUse == 0; });
    if (empty <= kKeptEmpty)
        return;
    // More empty blocks than are kept: this one goes back with its places.
    std::erase_if(p.free, [block](const Place* q) { return q->block == block; });
    std::erase(p.blocks, block);
    std::free(block->memory);
    delete block;
}

} // namespace

QImage TilePool::make()
{
    Pool& p = pool();
    std::unique_lock lock(p.mutex);
    if (p.free.empty()) {
        void* memory = std::aligned_alloc(kBlockBytes, kBlockBytes);
        Block* block = memory ? new (std::nothrow) Block : nullptr;
        if (!block) {
            std::free(memory);
            lock.unlock();
            return QImage(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
        }
#ifdef MADV_HUGEPAGE
        (void)::madvise(memory, kBlockBytes, MADV_HUGEPAGE);   // a refusal changes nothing
#endif
        block->memory = memory;
        p.blocks.push_back(block);
        // Taken in address order: the first place last in the list.
        for (int i = kPlaces - 1; i >= 0; --i) {
            block->places[i] = {block, i};
            p.free.push_back(&block->places[i]);
        }
    }
    Place* place = p.free.back();
    p.free.pop_back();
    ++place->block->inUse;
    lock.unlock();
    auto* at = static_cast<uchar*>(place->block->memory) + static_cast<std::size_t>(place->index) * kPictureBytes;
    return QImage(at, kSize, kSize, qsizetype(kSize) * 4, QImage::Format_ARGB32_Premultiplied, giveBack, place);
}

int TilePool::blocks()
{
    Pool& p = pool();
    const std::lock_guard lock(p.mutex);
    return static_cast<int>(p.blocks.size());
}
