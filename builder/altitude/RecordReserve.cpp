#include "altitude/RecordReserve.h"

#include <cstdint>

#include <sys/mman.h>

namespace {
constexpr std::size_t kLargeArray = std::size_t(8) << 20;
constexpr std::uintptr_t kPage = 4096;
} // namespace

void reserveRecords(std::vector<AltitudeRecord>& records, std::size_t count)
{
    const std::size_t wanted = records.size() + count;
    if (wanted <= records.capacity())
        return;
    records.reserve(wanted);
    const std::size_t bytes = records.capacity() * sizeof(AltitudeRecord);
    if (bytes < kLargeArray)
        return;
#ifdef MADV_HUGEPAGE
    // Only whole pages of the array; a refusal (no large pages here) changes nothing.
    const auto start = reinterpret_cast<std::uintptr_t>(records.data());
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kPage - 1);
    if (end > first)
        (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}
