#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "IniFile.h"
#include "RunwayModel.h"
#include "SplitTestFiles.h"

namespace {
bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
bool hasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}
}  // namespace

TEST(RunwayModel, DefaultsGiveExactlyTheBareRunway) {
  RunwayModel r;
  EXPECT_EQ(r.okLines(), (std::vector<std::string>{"", "\t;Runway name: ", "\tRunway( N0:0:0.0 W0:0:0.0",
                                                   "\tAltitude 0", "\tHeading 0", "\tLength 0", "\tWidth 0", "\tID 1",
                                                   "\tSurface 0", "\t)", ""}));
}

TEST(RunwayModel, OkLinesForEachSetting) {
  using Edit = std::function<void(RunwayModel&)>;
  struct Case {
    const char* what;
    Edit edit;
    const char* line;     // expected line
    const char* absent;   // a line start that must not appear
  };
  const Case cases[] = {
      {"markers",
       [](RunwayModel& r) {
         r.markings[RunwayModel::EdgeLine] = r.markings[RunwayModel::CentreLine] =
             r.markings[RunwayModel::ClosedFar] = true;
       },
       "\tMARKERS 2011", nullptr},
      {"low marker value has two digits", [](RunwayModel& r) { r.markings[RunwayModel::Threshold] = true; },
       "\tMARKERS 02", nullptr},
      {"high edge lights only",
       [](RunwayModel& r) {
         r.enableLights = true;
         r.edgeLights = 2;
       },
       "\tLIGHTS  03", nullptr},
      {"centreline and red ends",
       [](RunwayModel& r) {
         r.enableLights = true;
         r.edgeLights = 0;
         r.centreLights = 3;
         r.redEnds = true;
       },
       "\tLIGHTS  17", nullptr},
      {"red ends need a centreline",
       [](RunwayModel& r) {
         r.enableLights = true;
         r.redEnds = true;
       },
       "\tLIGHTS  01", nullptr},
      {"lights off ignore the radio groups",
       [](RunwayModel& r) {
         r.edgeLights = 2;
         r.centreLights = 3;
         r.redEnds = true;
       },
       nullptr, "\tLIGHTS"},
      {"vasi slope", [](RunwayModel& r) { r.boxes[RunwayModel::RwVasiSlopeN] = "4.5"; }, "\tVasiSlopeN 4.5", nullptr},
      {"zero slope", [](RunwayModel& r) { r.boxes[RunwayModel::RwVasiSlopeN] = "0.0"; }, nullptr, "\tVasiSlope"},
      {"vasi pulsating", [](RunwayModel& r) { r.nearEnd.vasiType = 10; }, "\tVasiBarsN A", nullptr},
      {"calvert2", [](RunwayModel& r) { r.nearEnd.approach = 10; }, "\tAprLN 10", nullptr},
      {"vasi side",
       [](RunwayModel& r) {
         r.boxes[RunwayModel::RwVasiCentreN] = "76";
         r.farEnd.vasiSide = 1;
         r.boxes[RunwayModel::RwVasiCentreF] = "80";
       },
       "\tVasiSideF R80", nullptr},
      {"REIL not counted without threshold lights", [](RunwayModel& r) { r.nearEnd.reil = true; }, nullptr,
       "\tThrLightsN"},
      {"threshold, REIL and touchdown",
       [](RunwayModel& r) {
         r.farEnd.thresholdLights = r.farEnd.reil = r.farEnd.touchdownZone = true;
       },
       "\tThrLightsF 45", nullptr},
      {"strobes", [](RunwayModel& r) { r.nearEnd.strobes = 15; }, "\tStrobesN 15", nullptr},
      {"displaced threshold", [](RunwayModel& r) { r.boxes[RunwayModel::RwTOF] = "0120"; }, "\tThrOffF 0120",
       nullptr},
      {"id suffix and surface",
       [](RunwayModel& r) {
         r.runwayId = "09";
         r.idSuffix = 3;
         r.surface = 9;
       },
       "\tID 09C", nullptr},
      {"south east coordinates",
       [](RunwayModel& r) {
         r.coNs = 1;
         r.coEw = 0;
         r.boxes[RunwayModel::CoNsD] = "45";
         r.boxes[RunwayModel::CoEwS] = "25";
       },
       "\tRunway( S45:0:0.0 E0:0:0.25", nullptr},
  };
  for (const Case& c : cases) {
    RunwayModel r;
    c.edit(r);
    const auto lines = r.okLines();
    if (c.line) {
      EXPECT_TRUE(hasLine(lines, c.line)) << c.what;
    }
    if (c.absent) {
      EXPECT_FALSE(hasLineStarting(lines, c.absent)) << c.what;
    }
  }
}

TEST(RunwayModel, EndLinesComeInOrder) {
  RunwayModel r;
  r.boxes[RunwayModel::RwREN] = "5";
  r.nearEnd.thresholdLights = true;
  r.nearEnd.strobes = 2;
  r.boxes[RunwayModel::RwVasiSlopeN] = "3";
  r.boxes[RunwayModel::RwVasiCentreN] = "1";
  r.boxes[RunwayModel::RwVasiMiddleN] = "2";
  r.boxes[RunwayModel::RwVasiSpacingN] = "3";
  r.nearEnd.vasiType = 1;
  r.nearEnd.approach = 1;
  r.farEnd.approach = 2;
  const auto lines = r.okLines();
  const std::vector<std::string> tail(lines.begin() + 9, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"\tExtN 5", "\tThrLightsN 01", "\tStrobesN 2", "\tVasiSlopeN 3",
                                            "\tVasiSideN L1", "\tVasiDistN 2", "\tVasiSpaceN 3", "\tVasiBarsN 1",
                                            "\tAprLN 1", "\tAprLF 2", "\t)", ""}));
}

TEST(RunwayModel, RunwayNumbersAndEndCaptions) {
  struct Case {
    const char* text;
    int nearEnd;
    int farEnd;
  };
  for (const Case c : {Case{"27", 27, 9}, Case{"9", 9, 27}, Case{"36", 36, 18}, Case{"18", 18, 36},
                       Case{"19", 19, 1}, Case{"1", 1, 19}}) {
    const auto n = RunwayModel::runwayNumber(c.text);
    ASSERT_TRUE(n.has_value()) << c.text;
    const auto caps = RunwayModel::captionsFor(*n);
    const std::string near = std::to_string(c.nearEnd), far = std::to_string(c.farEnd);
    EXPECT_EQ(caps.nearTab, "Runway " + near + " specific");
    EXPECT_EQ(caps.farTab, "Runway " + far + " specific");
    EXPECT_EQ(caps.closedNear, "Runway " + near + " Closed");
    EXPECT_EQ(caps.closedFar, "Runway " + far + " Closed");
    EXPECT_EQ(caps.stolNear, "Runway " + near + " STOL");
    EXPECT_EQ(caps.stolFar, "Runway " + far + " STOL");
  }
  for (const char* bad : {"0", "37", "", "x", "-1", "99999999999"})
    EXPECT_FALSE(RunwayModel::runwayNumber(bad).has_value()) << bad;
  EXPECT_EQ(RunwayModel::initialCaptions().farTab, "Runway 19 specific");
}

TEST(RunwayModel, BoxChecksAndKeyFilter) {
  struct Case {
    RunwayModel::Box box;
    const char* text;
    bool valid;
  };
  const Case cases[] = {{RunwayModel::RwAlt, "17.5", true},       {RunwayModel::RwAlt, "17", true},
                        {RunwayModel::RwAlt, ".5", true},         {RunwayModel::RwAlt, "1.2.3", false},
                        {RunwayModel::RwAlt, ".", false},         {RunwayModel::RwAlt, "", false},
                        {RunwayModel::RwAlt, "17,5", false},      {RunwayModel::RwLength, "2778", true},
                        {RunwayModel::RwLength, "27.5", false},   {RunwayModel::RwLength, "", false},
                        {RunwayModel::CoNsD, "01", true},         {RunwayModel::CoNsD, "-1", false},
                        {RunwayModel::RwVasiSlopeF, "4.5", true}, {RunwayModel::RwVasiSpacingF, "4.5", false}};
  for (const Case& c : cases) {
    RunwayModel r;
    r.boxes[c.box] = c.text;
    EXPECT_EQ(r.boxValid(c.box), c.valid) << c.text;
    EXPECT_EQ(r.firstInvalidBox().has_value(), !c.valid) << c.text;
  }
  EXPECT_EQ(std::string(RunwayModel::boxMessage(RunwayModel::RwVasiSlopeN)),
            "Vasi slope must be zero or floating point value\r\r(eg. 4.5)");
  EXPECT_EQ(std::string(RunwayModel::boxMessage(RunwayModel::CoEwM)), "Must be zero or integer value\r\r(eg. 01)");
  EXPECT_TRUE(RunwayModel::acceptsChar(true, '.'));
  EXPECT_FALSE(RunwayModel::acceptsChar(false, '.'));
  EXPECT_FALSE(RunwayModel::acceptsChar(true, 'e'));
  EXPECT_TRUE(RunwayModel::acceptsChar(false, '7'));
}

TEST(RunwayModel, ResetKeepsTheHemispheres) {
  RunwayModel r;
  EXPECT_EQ(r.coNs, 0);
  EXPECT_EQ(r.coEw, 1);
  r.coNs = 1;
  r.coEw = 0;
  r.refName = "x";
  r.boxes[RunwayModel::RwWidth] = "9";
  r.reset();
  EXPECT_EQ(r.coNs, 1);
  EXPECT_EQ(r.coEw, 0);
  EXPECT_EQ(r.refName, "");
  EXPECT_EQ(r.boxes[RunwayModel::RwWidth], "0");
}

TEST(RunwayModel, RunwayFileRoundTripRestoresEveryValue) {
  SplitTestDir dir;
  RunwayModel r;
  r.refName = "Main strip";
  r.coNs = 1;
  r.coEw = 0;
  for (int b = 0; b < RunwayModel::BoxCount; ++b) r.boxes[b] = std::to_string(b + 10);
  r.boxes[RunwayModel::RwAlt] = "17.5";
  r.runwayId = "27";
  r.idSuffix = 2;
  r.surface = 7;
  for (int m = 0; m < RunwayModel::MarkingCount; m += 2) r.markings[m] = true;
  r.enableLights = true;
  r.edgeLights = 1;
  r.centreLights = 3;
  r.redEnds = true;
  r.nearEnd = {true, false, true, 5, 1, 10, 9};
  r.farEnd = {false, true, false, 15, 0, 3, 10};
  {
    IniFile file(dir / "r.rwy");
    r.save(file);
  }
  const std::string text = readBytes(dir / "r.rwy");
  EXPECT_EQ(text.rfind("[Runway]\r\nReferenceName=Main strip\r\nCoordNS=1\r\nCoordNSD=10\r\n", 0), 0u);
  EXPECT_LT(text.find("VasiBarsF=3"), text.find("AprLN=9"));

  RunwayModel back;
  back.load(IniFile(dir / "r.rwy"));
  EXPECT_EQ(back.okLines(), r.okLines());
  EXPECT_EQ(back.boxes, r.boxes);
  EXPECT_EQ(back.markings, r.markings);
  EXPECT_EQ(back.runwayId, "27");
  EXPECT_EQ(back.coNs, 1);
  EXPECT_EQ(back.coEw, 0);
  EXPECT_EQ(back.surface, 7);
  EXPECT_EQ(back.idSuffix, 2);
  EXPECT_EQ(back.nearEnd.reil, false);
  EXPECT_EQ(back.farEnd.reil, true);
  EXPECT_EQ(back.farEnd.strobes, 15);
  EXPECT_EQ(back.nearEnd.vasiSide, 1);
  EXPECT_EQ(back.nearEnd.approach, 9);
}

TEST(RunwayModel, RunwayFileHoldsEveryKeyOnceInItsOrder) {
  IniFile file;
  RunwayModel().save(file);
  std::vector<std::string> keys;
  std::size_t start = 0, end;
  const std::string text = file.text();
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    const std::string line = text.substr(start, end - start);
    start = end + 2;
    if (line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
  }
  const std::vector<std::string> expected = {
      "ReferenceName", "CoordNS", "CoordNSD", "CoordNSH", "CoordNSM", "CoordNSS", "CoordEW", "CoordEWD",
      "CoordEWH", "CoordEWM", "CoordEWS", "ALTitude", "HEADing", "LENgth", "WIDth", "ID", "IDSuffix", "SURFace",
      "MARKERS_EdgeLine", "MARKERS_Threshold", "MARKERS_Touchdown", "MARKERS_FixedDistance", "MARKERS_CentreLine",
      "MARKERS_IdNumbers", "MARKERS_DistanceMarkers", "MARKERS_PBE", "MARKERS_CN", "MARKERS_CF", "MARKERS_SN",
      "MARKERS_SF", "LIGHTS", "EdgeLights", "CentreLights", "RedAtEnds", "ThrOffN", "ThrOffF", "ExtN", "ExtF",
      "ThrLightsNEnabled", "ThrLightsNReil", "ThrLightsNTouch", "ThrLightsFEnabled", "ThrLightsFReil",
      "ThrLightsFTouch", "StrobesN", "StrobesF", "VasiSlopeN", "VasiSlopeF", "VasiSideN", "VasiSideF",
      "VasiSideNPrefix", "VasiSideFPrefix", "VasiDistN", "VasiDistF", "VasiSpaceN", "VasiSpaceF", "VasiBarsN",
      "VasiBarsF", "AprLN", "AprLF"};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(text.rfind("[Runway]\r\n", 0), 0u);
  // A fresh runway: W at first, the number 1, text boxes "0".
  EXPECT_NE(text.find("\r\nCoordEW=1\r\nCoordEWD=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nID=1\r\nIDSuffix=0\r\n"), std::string::npos);
}

TEST(RunwayModel, LoadTreatsMissingKeysAsEmptyAndBadIndicesAsZero) {
  IniFile file;
  file.parse("[Runway]\nID=12\nSURFace=42\nStrobesN=-3\nLIGHTS=1\nVasiBarsN=x\n");
  RunwayModel r;
  r.refName = "stale";
  r.load(file);
  EXPECT_EQ(r.refName, "");
  EXPECT_EQ(r.boxes[RunwayModel::RwAlt], "");
  EXPECT_EQ(r.surface, 0);
  EXPECT_EQ(r.nearEnd.strobes, 0);
  EXPECT_EQ(r.nearEnd.vasiType, 0);
  EXPECT_TRUE(r.enableLights);
  EXPECT_EQ(r.runwayId, "12");
  EXPECT_EQ(r.coEw, 0);  // a missing index reads as 0
}
