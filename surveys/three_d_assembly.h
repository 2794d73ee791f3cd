#pragma once
// T3dAssembly: turns what a processed survey file lists - moves, legs from
// position to position, labels at positions - into a survey of stations and
// legs. A station is a position with its labels; a position a leg touches
// that no label names is an anonymous station; a leg whose two ends are one
// position is only counted. The readers of every .3d version feed it.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "surveys/position_index.h"
#include "surveys/survey.h"

class T3dAssembly {
 public:
  // nameBudget bounds the characters of all names and survey names taken
  // from labels together; past it a call raises std::length_error, so that a
  // small file cannot make the survey large.
  explicit T3dAssembly(uint64_t nameBudget);

  // The title, coordinate system, flags and notes the reader fills in.
  TSurvey& Survey() { return survey_; }

  // Sets the position the next leg starts from.
  void MoveTo(TCentimetres p);
  bool HasPosition() const { return havePosition_; }
  TCentimetres Position() const { return position_; }
  // A leg from the current position to p, which becomes the current
  // position. surveyVersion changes whenever the survey name may have, so an
  // unchanged name is not looked up again.
  void LineTo(TCentimetres p, uint8_t legFlags, TLegStyle style, std::string_view survey, uint64_t surveyVersion);
  // A station at p with these flags, named name unless name is empty.
  void Label(TCentimetres p, uint8_t stationFlags, std::string_view name);
  // The survey dates of the legs that follow (days since 1900-01-01).
  void SetDates(int32_t first, int32_t last);
  void ClearDates() { haveDates_ = false; }

  // The finished survey: each station's names without repeats, nameless
  // stations flagged anonymous, Notes.SharedPositions counted.
  TSurvey Finish();

 private:
  // Items wait in a short queue while the memory of their positions'
  // index slots is fetched, then are applied in file order.
  enum class TKind : uint8_t { Move, Line, Label };
  struct TPending {
    TCentimetres Position;
    TKind Kind;
    uint8_t Flags;
    TLegStyle Style;
    int32_t Survey;  // Line
    bool Named;      // Label: its name is the next one of nameEnds_ without a station
  };
  static constexpr size_t kQueue = 32;

  void Queue(const TPending& item);
  void Apply();
  int32_t StationAt(TCentimetres p);
  int32_t SurveyIndex(std::string_view survey, uint64_t version);
  void Spend(size_t characters);

  TSurvey survey_;
  TPositionIndex index_;
  uint64_t budget_;
  uint64_t positionItems_ = 0;

  // The current position as the file has reached it.
  TCentimetres position_;
  bool havePosition_ = false;
  // The current position as the queue has been applied.
  TCentimetres appliedPosition_;
  int32_t appliedStation_ = -1;  // the station there, once known

  std::vector<TPending> queue_;

  bool haveDates_ = false;
  int32_t dateFirst_ = 0, dateLast_ = 0;

  // Names in label order, packed.
  std::string nameChars_;
  std::vector<uint64_t> nameEnds_;
  std::vector<int32_t> nameStations_;

  std::unordered_map<std::string, int32_t> surveyIndex_;
  uint64_t lastSurveyVersion_ = ~uint64_t{0};
  int32_t lastSurvey_ = -1;
};
