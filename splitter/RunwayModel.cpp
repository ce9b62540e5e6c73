#include "RunwayModel.h"

#include <charconv>
#include <climits>
#include <cstdio>

#include "IniFile.h"

namespace {

const char* const kSection = "Runway";

std::string hex(unsigned value, int minDigits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", minDigits, value);
  return buffer;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int clampIndex(int value, int count) { return value >= 0 && value < count ? value : 0; }

}  // namespace

const std::array<const char*, 10> RunwayModel::kSurfaces = {
    "0: Mud/dirt", "1: Concrete", "2: Asphalt", "3: Grass", "4: Coral",
    "5: Gravel", "6: Oil treated", "7: Steel mats", "8: Snow", "9: Water"};
const std::array<const char*, 11> RunwayModel::kApproaches = {
    "None", "ODALS", "MALSF", "MALSR", "SSALF", "SSALR", "ALSF-1", "ALSF-2", "RAIL", "CALVERT", "CALVERT2"};
const std::array<const char*, 11> RunwayModel::kVasiTypes = {
    "None", "Vasi 2", "Vasi 3", "Vasi 4", "Vasi 6", "Vasi 12", "Vasi 16 (both sides)",
    "Papi 2 bars", "Papi 4 bars", "Vasi tricolour", "Vasi pulsating"};
const std::array<const char*, 4> RunwayModel::kIdSuffixes = {"", "L", "R", "C"};

RunwayModel::RunwayModel() { reset(); }

void RunwayModel::reset() {
  refName.clear();
  boxes.fill("0");
  runwayId = "1";
  idSuffix = 0;
  surface = 0;
  markings.fill(false);
  enableLights = false;
  edgeLights = 0;
  centreLights = 0;
  redEnds = false;
  nearEnd = End{};
  farEnd = End{};
}

bool RunwayModel::isDecimalBox(Box box) {
  return box == RwAlt || box == RwHeading || box == RwVasiSlopeN || box == RwVasiSlopeF;
}

const char* RunwayModel::boxMessage(Box box) {
  switch (box) {
    case CoNsD: case CoNsH: case CoNsM: case CoNsS:
    case CoEwD: case CoEwH: case CoEwM: case CoEwS:
      return "Must be zero or integer value\r\r(eg. 01)";
    case RwAlt: return "Altitude must be zero or floating point value\r\r(eg. 17.5)";
    case RwHeading: return "True heading must be zero or floating point value\r\r(eg. 122.0)";
    case RwLength: return "Runway length must be zero or integer value\r\r(eg. 2778)";
    case RwWidth: return "Runway width must be zero or integer value\r\r(eg. 76)";
    case RwTON: case RwTOF: return "Displaced threshold must be zero or integer value\r\r(eg. 76)";
    case RwREN: case RwREF: return "Runway extension must be zero or integer value\r\r(eg. 76)";
    case RwVasiSlopeN: case RwVasiSlopeF: return "Vasi slope must be zero or floating point value\r\r(eg. 4.5)";
    case RwVasiCentreN: case RwVasiCentreF:
      return "Feet from centre line must be zero or integer value\r\r(eg. 76)";
    case RwVasiMiddleN: case RwVasiMiddleF: return "Feet from middle must be zero or integer value\r\r(eg. 76)";
    case RwVasiSpacingN: case RwVasiSpacingF:
      return "Vasi element spacing must be zero or integer value\r\r(eg. 76)";
    case BoxCount: break;
  }
  return "";
}

bool RunwayModel::acceptsChar(bool decimal, char c) { return isDigit(c) || (decimal && c == '.'); }

std::optional<long long> RunwayModel::parseInteger(const std::string& text) {
  if (text.empty()) return std::nullopt;
  for (char c : text)
    if (!isDigit(c)) return std::nullopt;
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size() || value > INT_MAX) return std::nullopt;
  return value;
}

std::optional<double> RunwayModel::parseDecimal(const std::string& text) {
  int digits = 0;
  int points = 0;
  for (char c : text) {
    if (isDigit(c)) ++digits;
    else if (c == '.') ++points;
    else return std::nullopt;
  }
  if (digits == 0 || points > 1) return std::nullopt;
  // Parsed by hand: strtod and friends follow the process locale's decimal separator.
  double whole = 0.0, fraction = 0.0, scale = 1.0;
  bool afterPoint = false;
  for (char c : text) {
    if (c == '.') {
      afterPoint = true;
    } else if (!afterPoint) {
      whole = whole * 10.0 + (c - '0');
    } else {
      scale /= 10.0;
      fraction += (c - '0') * scale;
    }
  }
  return whole + fraction;
}

bool RunwayModel::boxValid(Box box) const {
  return isDecimalBox(box) ? parseDecimal(boxes[box]).has_value() : parseInteger(boxes[box]).has_value();
}

std::optional<int> RunwayModel::runwayNumber(const std::string& text) {
  const auto value = parseInteger(text);
  if (!value || *value < 1 || *value > 36) return std::nullopt;
  return static_cast<int>(*value);
}

int RunwayModel::oppositeEnd(int number) { return number <= 18 ? number + 18 : number - 18; }

RunwayModel::EndCaptions RunwayModel::captionsFor(int number) {
  const std::string n = std::to_string(number);
  const std::string f = std::to_string(oppositeEnd(number));
  return {"Runway " + n + " specific", "Runway " + f + " specific", "Runway " + n + " Closed",
          "Runway " + f + " Closed",   "Runway " + n + " STOL",     "Runway " + f + " STOL"};
}

RunwayModel::EndCaptions RunwayModel::initialCaptions() { return captionsFor(1); }

std::optional<RunwayModel::Box> RunwayModel::firstInvalidBox() const {
  for (int b = 0; b < BoxCount; ++b)
    if (!boxValid(static_cast<Box>(b))) return static_cast<Box>(b);
  return std::nullopt;
}

std::vector<std::string> RunwayModel::okLines() const {
  // Texts are used as they stand; only the conditions read their values. A box whose text
  // does not parse counts as 0 here (the dialog refuses Ok before that can happen).
  auto intOf = [this](Box b) { return parseInteger(boxes[b]).value_or(0); };
  auto box = [this](Box b) { return boxes[b]; };

  std::vector<std::string> out;
  out.emplace_back();
  out.push_back("\t;Runway name: " + refName);
  out.push_back("\tRunway( " + std::string(coNs == 0 ? "N" : "S") + box(CoNsD) + ":" + box(CoNsH) + ":" +
                box(CoNsM) + "." + box(CoNsS) + " " + (coEw == 0 ? "E" : "W") + box(CoEwD) + ":" + box(CoEwH) +
                ":" + box(CoEwM) + "." + box(CoEwS));
  out.push_back("\tAltitude " + box(RwAlt));
  out.push_back("\tHeading " + box(RwHeading));
  out.push_back("\tLength " + box(RwLength));
  out.push_back("\tWidth " + box(RwWidth));
  out.push_back("\tID " + runwayId + kIdSuffixes[clampIndex(idSuffix, 4)]);
  out.push_back("\tSurface " + std::to_string(surface));

  static const unsigned markingBits[MarkingCount] = {0x1,  0x2,  0x4,    0x8,    0x10,   0x20,
                                                      0x40, 0x80, 0x1000, 0x2000, 0x4000, 0x8000};
  unsigned markers = 0;
  for (int m = 0; m < MarkingCount; ++m)
    if (markings[m]) markers += markingBits[m];
  if (markers > 0) out.push_back("\tMARKERS " + hex(markers, 2));

  unsigned lights = 0;
  if (enableLights) {
    lights = static_cast<unsigned>(edgeLights + 1);
    // Centreline Low, Medium and High add 4, 5 and 6 to the same field.
    if (centreLights > 0) {
      lights += static_cast<unsigned>(centreLights + 3);
      if (redEnds) lights += 0x10;
    }
  }
  if (lights > 0) out.push_back("\tLIGHTS  " + hex(lights, 2));

  if (intOf(RwTON) > 0) out.push_back("\tThrOffN " + box(RwTON));
  if (intOf(RwTOF) > 0) out.push_back("\tThrOffF " + box(RwTOF));
  if (intOf(RwREN) > 0) out.push_back("\tExtN " + box(RwREN));
  if (intOf(RwREF) > 0) out.push_back("\tExtF " + box(RwREF));

  auto endLines = [&](const End& e, const char* s, Box slope, Box centre, Box middle, Box spacing) {
    const std::string suffix = s;
    unsigned t = 0;
    if (e.thresholdLights) {
      t += 0x1;
      // REIL and touchdown-zone lights count only while enabled, i.e. with threshold lights on.
      if (e.reil) t += 0x4;
      if (e.touchdownZone) t += 0x40;
    }
    if (t > 0) out.push_back("\tThrLights" + suffix + " " + hex(t, 2));
    if (e.strobes > 0) out.push_back("\tStrobes" + suffix + " " + std::to_string(e.strobes));
    if (parseDecimal(boxes[slope]).value_or(0.0) > 0.0) out.push_back("\tVasiSlope" + suffix + " " + box(slope));
    if (intOf(centre) > 0)
      out.push_back("\tVasiSide" + suffix + " " + (e.vasiSide == 0 ? "L" : "R") + box(centre));
    if (intOf(middle) > 0) out.push_back("\tVasiDist" + suffix + " " + box(middle));
    if (intOf(spacing) > 0) out.push_back("\tVasiSpace" + suffix + " " + box(spacing));
    if (e.vasiType > 0) out.push_back("\tVasiBars" + suffix + " " + hex(static_cast<unsigned>(e.vasiType), 1));
    if (e.approach > 0) out.push_back("\tAprL" + suffix + " " + std::to_string(e.approach));
  };
  endLines(nearEnd, "N", RwVasiSlopeN, RwVasiCentreN, RwVasiMiddleN, RwVasiSpacingN);
  endLines(farEnd, "F", RwVasiSlopeF, RwVasiCentreF, RwVasiMiddleF, RwVasiSpacingF);

  out.push_back("\t)");
  out.emplace_back();
  return out;
}

namespace {
const char* const kMarkingKeys[RunwayModel::MarkingCount] = {
    "MARKERS_EdgeLine",   "MARKERS_Threshold",       "MARKERS_Touchdown", "MARKERS_FixedDistance",
    "MARKERS_CentreLine", "MARKERS_IdNumbers",       "MARKERS_DistanceMarkers", "MARKERS_PBE",
    "MARKERS_CN",         "MARKERS_CF",              "MARKERS_SN",        "MARKERS_SF"};
}  // namespace

void RunwayModel::save(IniFile& f) const {
  f.writeString(kSection, "ReferenceName", refName);
  f.writeInt(kSection, "CoordNS", coNs);
  f.writeString(kSection, "CoordNSD", boxes[CoNsD]);
  f.writeString(kSection, "CoordNSH", boxes[CoNsH]);
  f.writeString(kSection, "CoordNSM", boxes[CoNsM]);
  f.writeString(kSection, "CoordNSS", boxes[CoNsS]);
  f.writeInt(kSection, "CoordEW", coEw);
  f.writeString(kSection, "CoordEWD", boxes[CoEwD]);
  f.writeString(kSection, "CoordEWH", boxes[CoEwH]);
  f.writeString(kSection, "CoordEWM", boxes[CoEwM]);
  f.writeString(kSection, "CoordEWS", boxes[CoEwS]);
  f.writeString(kSection, "ALTitude", boxes[RwAlt]);
  f.writeString(kSection, "HEADing", boxes[RwHeading]);
  f.writeString(kSection, "LENgth", boxes[RwLength]);
  f.writeString(kSection, "WIDth", boxes[RwWidth]);
  f.writeString(kSection, "ID", runwayId);
  f.writeInt(kSection, "IDSuffix", idSuffix);
  f.writeInt(kSection, "SURFace", surface);
  for (int m = 0; m < MarkingCount; ++m) f.writeBool(kSection, kMarkingKeys[m], markings[m]);
  f.writeBool(kSection, "LIGHTS", enableLights);
  f.writeInt(kSection, "EdgeLights", edgeLights);
  f.writeInt(kSection, "CentreLights", centreLights);
  f.writeBool(kSection, "RedAtEnds", redEnds);
  f.writeString(kSection, "ThrOffN", boxes[RwTON]);
  f.writeString(kSection, "ThrOffF", boxes[RwTOF]);
  f.writeString(kSection, "ExtN", boxes[RwREN]);
  f.writeString(kSection, "ExtF", boxes[RwREF]);
  f.writeBool(kSection, "ThrLightsNEnabled", nearEnd.thresholdLights);
  f.writeBool(kSection, "ThrLightsNReil", nearEnd.reil);
  f.writeBool(kSection, "ThrLightsNTouch", nearEnd.touchdownZone);
  f.writeBool(kSection, "ThrLightsFEnabled", farEnd.thresholdLights);
  f.writeBool(kSection, "ThrLightsFReil", farEnd.reil);
  f.writeBool(kSection, "ThrLightsFTouch", farEnd.touchdownZone);
  f.writeInt(kSection, "StrobesN", nearEnd.strobes);
  f.writeInt(kSection, "StrobesF", farEnd.strobes);
  f.writeString(kSection, "VasiSlopeN", boxes[RwVasiSlopeN]);
  f.writeString(kSection, "VasiSlopeF", boxes[RwVasiSlopeF]);
  f.writeString(kSection, "VasiSideN", boxes[RwVasiCentreN]);
  f.writeString(kSection, "VasiSideF", boxes[RwVasiCentreF]);
  f.writeInt(kSection, "VasiSideNPrefix", nearEnd.vasiSide);
  f.writeInt(kSection, "VasiSideFPrefix", farEnd.vasiSide);
  f.writeString(kSection, "VasiDistN", boxes[RwVasiMiddleN]);
  f.writeString(kSection, "VasiDistF", boxes[RwVasiMiddleF]);
  f.writeString(kSection, "VasiSpaceN", boxes[RwVasiSpacingN]);
  f.writeString(kSection, "VasiSpaceF", boxes[RwVasiSpacingF]);
  f.writeInt(kSection, "VasiBarsN", nearEnd.vasiType);
  f.writeInt(kSection, "VasiBarsF", farEnd.vasiType);
  f.writeInt(kSection, "AprLN", nearEnd.approach);
  f.writeInt(kSection, "AprLF", farEnd.approach);
}

void RunwayModel::load(const IniFile& f) {
  auto text = [&](const char* key) { return f.readString(kSection, key); };
  auto index = [&](const char* key, int count) { return clampIndex(f.readInt(kSection, key, 0), count); };
  auto flag = [&](const char* key) { return f.readBool(kSection, key, false); };

  refName = text("ReferenceName");
  coNs = index("CoordNS", 2);
  boxes[CoNsD] = text("CoordNSD");
  boxes[CoNsH] = text("CoordNSH");
  boxes[CoNsM] = text("CoordNSM");
  boxes[CoNsS] = text("CoordNSS");
  coEw = index("CoordEW", 2);
  boxes[CoEwD] = text("CoordEWD");
  boxes[CoEwH] = text("CoordEWH");
  boxes[CoEwM] = text("CoordEWM");
  boxes[CoEwS] = text("CoordEWS");
  boxes[RwAlt] = text("ALTitude");
  boxes[RwHeading] = text("HEADing");
  boxes[RwLength] = text("LENgth");
  boxes[RwWidth] = text("WIDth");
  runwayId = text("ID");
  idSuffix = index("IDSuffix", 4);
  surface = index("SURFace", 10);
  for (int m = 0; m < MarkingCount; ++m) markings[m] = flag(kMarkingKeys[m]);
  enableLights = flag("LIGHTS");
  edgeLights = index("EdgeLights", 3);
  centreLights = index("CentreLights", 4);
  redEnds = flag("RedAtEnds");
  boxes[RwTON] = text("ThrOffN");
  boxes[RwTOF] = text("ThrOffF");
  boxes[RwREN] = text("ExtN");
  boxes[RwREF] = text("ExtF");
  nearEnd.thresholdLights = flag("ThrLightsNEnabled");
  nearEnd.reil = flag("ThrLightsNReil");
  nearEnd.touchdownZone = flag("ThrLightsNTouch");
  farEnd.thresholdLights = flag("ThrLightsFEnabled");
  farEnd.reil = flag("ThrLightsFReil");
  farEnd.touchdownZone = flag("ThrLightsFTouch");
  nearEnd.strobes = index("StrobesN", 16);
  farEnd.strobes = index("StrobesF", 16);
  boxes[RwVasiSlopeN] = text("VasiSlopeN");
  boxes[RwVasiSlopeF] = text("VasiSlopeF");
  boxes[RwVasiCentreN] = text("VasiSideN");
  boxes[RwVasiCentreF] = text("VasiSideF");
  nearEnd.vasiSide = index("VasiSideNPrefix", 2);
  farEnd.vasiSide = index("VasiSideFPrefix", 2);
  boxes[RwVasiMiddleN] = text("VasiDistN");
  boxes[RwVasiMiddleF] = text("VasiDistF");
  boxes[RwVasiSpacingN] = text("VasiSpaceN");
  boxes[RwVasiSpacingF] = text("VasiSpaceF");
  nearEnd.vasiType = index("VasiBarsN", 11);
  farEnd.vasiType = index("VasiBarsF", 11);
  nearEnd.approach = index("AprLN", 11);
  farEnd.approach = index("AprLF", 11);
}
