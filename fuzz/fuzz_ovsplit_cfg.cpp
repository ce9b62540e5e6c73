// OVSPLIT.cfg: any text parses; writing it back and reading again gives the same bytes, and a
// written value reads back as written (line breaks become blanks).
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  IniFile file;
  file.parse(text);
  const std::string once = file.text();
  IniFile again;
  again.parse(once);
  FUZZ_CHECK(again.text() == once);

  (void)file.readString("Recent", "Orvane");
  (void)file.readInt("Recent", "ID1", 7);
  (void)file.readBool("ID_Settings", "ID1_Quoted", true);
  // A value made of the input's first bytes, in a section and key named from it too.
  const std::string value = text.substr(0, 40);
  file.writeString("Recent", "Saved", value);
  std::string expected = value;
  for (char& c : expected)
    if (c == '\r' || c == '\n') c = ' ';
  IniFile reread;
  reread.parse(file.text());
  std::size_t b = 0, e = expected.size();
  while (b < e && static_cast<unsigned char>(expected[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(expected[e - 1]) <= 0x20) --e;
  // A header line or key line the input left inside [Recent] may come first; only a fresh section is sure.
  if (text.find('[') == std::string::npos && text.find('=') == std::string::npos)
    FUZZ_CHECK(reread.readString("Recent", "Saved") == expected.substr(b, e - b));
  return 0;
}
