// Runway files (.rwy): any file loads into the dialog's values; saving those and loading again
// gives the same file, and the lines Ok would add can be made from whatever was loaded.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "IniFile.h"
#include "RunwayModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IniFile file;
  file.parse(std::string(reinterpret_cast<const char*>(data), size));
  RunwayModel runway;
  runway.load(file);
  (void)runway.okLines();
  (void)runway.firstInvalidBox();
  if (const auto n = RunwayModel::runwayNumber(runway.runwayId)) (void)RunwayModel::captionsFor(*n);

  IniFile saved;
  runway.save(saved);
  RunwayModel back;
  back.load(saved);
  IniFile savedAgain;
  back.save(savedAgain);
  FUZZ_CHECK(saved.text() == savedAgain.text());
  FUZZ_CHECK(back.okLines() == runway.okLines());
  return 0;
}
