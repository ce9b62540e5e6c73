#include "altitude/RecordReserve.h"

#include <cstdint>

#include <sys/mman.h>

namespace {
constexpr std::size_t kLargeArray = std::size_t(8) << 20;
constexpr std::uintptr_t kPage = 4096;

template <typename T>
void reserveLarge(std::vector<T>& items, std::size_t count)
{
    const std::size_t wanted = items.size() + count;
    if (wanted <= items.capacity())
        return;
    items.reserve(wanted);
    const std::size_t bytes = items.capacity() * sizeof(T);
    if (bytes < kLargeArray)
        return;
#ifdef MADV_HUGEPAGE
    // Only whole pages of the array; a refusal (no large pages here) changes nothing.
    const auto start = reinterpret_cast<std::uintptr_t>(items.data());
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kPage - 1);
    if (end > first)
        (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}
} // namespace

void reserveRecords(std::vector<AltitudeRecord>& records, std::size_t count)
{
    reserveLarge(records, count);
}

void reservePacked(std::vector<PackedRecords::Entry>& entries, std::size_t count)
{
    reserveLarge(entries, count);
}
