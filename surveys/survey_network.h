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
  double Scale = 1;                    // drawing units per metre
  Vec3 Origin;                         // the point in metres drawn at drawing position (0, 0, 0)
  int64_t SplaysLeftOut = 0;
  int64_t SurfaceLeftOut = 0;
  int64_t DuplicatesLeftOut = 0;
  int32_t GeneratedNames = 0;  // graph stations whose name is generated, not a tail of the full name
};

// Clears graph and fills it with the chosen legs of survey as shots, in leg
// order, over the stations they touch (in station order).
TSurveyNetwork BuildSurveyNetwork(const TSurvey& survey, const TLegChoice& choice, TSurveyGraph& graph);

// The drawing position of a point given in metres: plan view, north up.
Vec3 DrawingPosition(const TSurveyNetwork& network, Vec3 metres);
