#pragma once
// The work graph of a survey: which legs become shots, the short station
// names the graph's name table can hold, and drawing positions; with the maps
// between graph and survey, so that what a user reads names stations by their
// full names and everything that measures stays in metres.

#include <cstdint>
#include <vector>

#include "core/survey_graph.h"
#include "surveys/survey.h"

// Which kinds of leg become shots. A leg of several kinds is left out when
// any of its kinds is.
struct TLegChoice {
  bool Splays = false;
  bool Surface = false;
  bool Duplicates = true;
  friend bool operator==(const TLegChoice&, const TLegChoice&) = default;
};

// How a survey's stations and legs map onto its work graph.
struct TSurveyNetwork {
  std::vector<int32_t> LegOfShot;      // edge j of the graph stands for leg LegOfShot[j]
  std::vector<int32_t> StationOfNode;  // graph station i is survey station StationOfNode[i]
  std::vector<int32_t> NodeOfStation;  // survey station s is graph station NodeOfStation[s], or -1
  double Scale = 1;                    // drawing units per metre: 1, 2 or 5 x 10^k
  Vec3 Origin;                         // the point in metres drawn at drawing position (0, 0, 0)
  // Legs left out, by the first of their kinds that is not chosen (splay,
  // surface, duplicate), and legs whose two ends are one station.
  int64_t SplaysLeftOut = 0;
  int64_t SurfaceLeftOut = 0;
  int64_t DuplicatesLeftOut = 0;
  int64_t SelfLegsLeftOut = 0;
  int32_t GeneratedNames = 0;  // graph stations whose name is generated, not a tail of the full name
};

// The drawing area a survey is fitted into: the whole survey fits
// kFitWidth x kFitHeight drawing units, kFitMargin units inside the top-left
// corner.
inline constexpr double kFitWidth = 1000;
inline constexpr double kFitHeight = 700;
inline constexpr double kFitMargin = 50;

// Clears graph and fills it with the chosen legs of survey as shots, in leg
// order, over the stations they touch (in station order). A station's graph
// name is its shortest unique tail (surveys/station_names.h), else "#<graph
// index>" (another free "#<n>" in the rare case that a tail takes it).
// Positions are a plan view, north up, at the scale SurveyScale gives. Raises ECyclornError, and the graph stays
// as it was, when a leg joins a station the survey does not have.
TSurveyNetwork BuildSurveyNetwork(const TSurvey& survey, const TLegChoice& choice, TSurveyGraph& graph);

// The scale a survey is drawn at: FitScale, or larger where the median leg
// would be shorter than kMinLegUnits drawing units (the drawing shortens
// every edge by 10 units at each end, so short legs would vanish), held
// below kMaxFitSide units across; the view zooms out to show it whole.
inline constexpr double kMinLegUnits = 60;
inline constexpr double kMaxFitSide = 1000000;
double SurveyScale(double width, double height, double medianLeg);

// The largest scale 1, 2 or 5 x 10^k at which an extent of width x height
// metres fits kFitWidth x kFitHeight drawing units; 1 when the extent is
// empty or not finite.
double FitScale(double width, double height);

// The drawing position of a point given in metres: plan view, north up
// (drawing Y grows southwards).
Vec3 DrawingPosition(const TSurveyNetwork& network, Vec3 metres);
