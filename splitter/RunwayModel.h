#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

class IniFile;

/// The values of every control of the runway dialog, the checks on them, the lines Ok adds to
/// the library object and the runway file (.rwy) form.
class RunwayModel {
public:
  /// The 24 number and decimal boxes checked when left.
  enum Box {
    CoNsD, CoNsH, CoNsM, CoNsS, CoEwD, CoEwH, CoEwM, CoEwS,
    RwAlt, RwHeading, RwLength, RwWidth,
    RwTON, RwTOF, RwREN, RwREF,
    RwVasiSlopeN, RwVasiSlopeF, RwVasiCentreN, RwVasiCentreF,
    RwVasiMiddleN, RwVasiMiddleF, RwVasiSpacingN, RwVasiSpacingF,
    BoxCount
  };
  /// The twelve marking check boxes, in their bit order.
  enum Marking {
    EdgeLine, Threshold, Touchdown, FixedDistance, CentreLine, IdNumbers, DistanceMarkers, PBE,
    ClosedNear, ClosedFar, StolNear, StolFar,
    MarkingCount
  };

  /// One runway end's list, check box and radio values.
  struct End {
    bool thresholdLights = false;  ///< RwThreshHoldEnable; enables REIL and touchdown-zone boxes
    bool reil = false;
    bool touchdownZone = false;
    int strobes = 0;   ///< 0..15
    int vasiSide = 0;  ///< 0 L, 1 R
    int vasiType = 0;  ///< 0..10
    int approach = 0;  ///< 0..10
  };

  /// Captions that follow the runway number: the two end tabs and the four closed/STOL boxes.
  struct EndCaptions {
    std::string nearTab, farTab, closedNear, closedFar, stolNear, stolFar;
  };

  static constexpr const char* kRunwayIdMessage = "Runway ID must be a number between 1 and 36";

  RunwayModel();

  /// Back to a blank runway. The two hemisphere lists keep their last choice.
  void reset();

  std::string refName;
  int coNs = 0;  ///< 0 N, 1 S
  int coEw = 1;  ///< 0 E, 1 W
  std::array<std::string, BoxCount> boxes;
  std::string runwayId = "1";  ///< RwId_A
  int idSuffix = 0;            ///< RwId_B: 0 none, 1 L, 2 R, 3 C
  int surface = 0;             ///< 0..9
  std::array<bool, MarkingCount> markings{};
  bool enableLights = false;
  int edgeLights = 0;    ///< 0 Low, 1 Medium, 2 High
  int centreLights = 0;  ///< 0 None, 1 Low, 2 Medium, 3 High
  bool redEnds = false;
  End nearEnd, farEnd;

  static bool isDecimalBox(Box box);
  /// The warning shown when a box's text does not parse.
  static const char* boxMessage(Box box);
  /// Whether a typed character is kept in a number box (digits) or decimal box (digits, '.').
  static bool acceptsChar(bool decimal, char c);
  /// A whole number of digits only that fits an int.
  static std::optional<long long> parseInteger(const std::string& text);
  /// Digits with at most one '.', at least one digit; '.' is the decimal point in every locale.
  static std::optional<double> parseDecimal(const std::string& text);
  bool boxValid(Box box) const;
  /// The runway number if `text` is a whole number from 1 to 36.
  static std::optional<int> runwayNumber(const std::string& text);
  static int oppositeEnd(int number);
  static EndCaptions captionsFor(int number);
  /// Captions of a fresh dialog (runway 1 and runway 19).
  static EndCaptions initialCaptions();

  /// First box (in dialog order) whose text does not parse, if any.
  std::optional<Box> firstInvalidBox() const;

  /// The lines Ok appends to the library object.
  std::vector<std::string> okLines() const;

  /// Writes every key of the [Runway] section in file order.
  void save(IniFile& file) const;
  /// Reads every key; missing keys give empty text, 0 or false; out-of-range indices give 0.
  void load(const IniFile& file);

  static const std::array<const char*, 10> kSurfaces;
  static const std::array<const char*, 11> kApproaches;
  static const std::array<const char*, 11> kVasiTypes;
  static const std::array<const char*, 4> kIdSuffixes;
};
