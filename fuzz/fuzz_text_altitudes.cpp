// Text altitude files: any text reads without a fault; the fast nearest-record search gives
// the same record as findNearest on the map that was read, once sorted as the writer sorts.
#include <cstdint>
#include <cstring>

#include "BuilderFuzz.h"
#include "altitude/AltitudeMap.h"
#include "altitude/AltitudeReaders.h"
#include "output/NearestRecordSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Project project;
  AltitudeMap map;
  map.owner = project.doc.get();
  if (!readTextAltitudeMap(*project.doc, map, fuzz::asFile(data, size, ".txt"))) return 0;
  if (map.records.empty()) return 0;
  map.sortByLongitude();
  const NearestRecordSearch search(map);
  for (const AltitudeRecord& r : map.records) {
    FUZZ_CHECK(search.nearest(r.latitude, r.longitude) == map.findNearest(r.latitude, r.longitude));
    FUZZ_CHECK(search.nearest(r.latitude + 0.01, r.longitude + 0.5) ==
               map.findNearest(r.latitude + 0.01, r.longitude + 0.5));
  }
  return 0;
}
