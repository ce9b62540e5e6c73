// Coordinate texts: any text parses to a number; decimal text written and read writes the same
// again, and d:m:s text reads back within the hundredth of a second it shows (seconds that
// round up print as 60.00, so its text need not repeat).
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "output/Coordinates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = parseCoordinate(text);
  if (!std::isfinite(value) || std::fabs(value) > 1000.0) return 0;
  (void)splitDms(value);
  const std::string once = formatCoordinate(value, 0);
  const std::string twice = formatCoordinate(parseCoordinate(once), 0);
  FUZZ_CHECK(formatCoordinate(parseCoordinate(twice), 0) == twice);
  FUZZ_CHECK(std::fabs(parseCoordinate(formatCoordinate(value, 1)) - value) <= 0.005 / 3600 + 1e-9);
  return 0;
}
