// DTED cells: any file reads without a fault; on a map that was read the fast nearest-record
// search gives the same record as findNearest.
#include <cstdint>
#include <cstring>

#include "BuilderFuzz.h"
#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "output/NearestRecordSearch.h"

namespace fuzz {
/// Queries at, between and around the records, and a few taken from the input's last bytes.
inline void checkNearest(const AltitudeMap& map, const std::uint8_t* data, std::size_t size) {
  if (map.records.empty()) return;
  const NearestRecordSearch search(map);
  auto same = [&](double lat, double lon) { FUZZ_CHECK(search.nearest(lat, lon) == map.findNearest(lat, lon)); };
  const std::size_t step = map.records.size() / 16 + 1;
  for (std::size_t i = 0; i < map.records.size(); i += step) {
    const AltitudeRecord& r = map.records[i];
    same(r.latitude, r.longitude);
    same(r.latitude + 0.0004, r.longitude - 0.0007);
    same(r.latitude, r.longitude + 1.0);
  }
  if (size >= 16) {
    double q[2];
    std::memcpy(q, data + size - 16, 16);
    same(q[0], q[1]);
  }
}
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Project project;
  AltitudeMap map;
  map.owner = project.doc.get();
  if (!readDtedAltitudeMap(*project.doc, map, fuzz::asFile(data, size, ".dt0"))) return 0;
  fuzz::checkNearest(map, data, size);
  return 0;
}
