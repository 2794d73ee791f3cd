#pragma once
// Surveys built by hand for the analysis tests: legs given as readings, the
// work graph, a loop list and its misclosures in one place.

#include <string>
#include <vector>

#include "analysis/leg_readings.h"
#include "analysis/loop_misclosure.h"
#include "loops/minimal_loops.h"
#include "surveys/survey.h"
#include "surveys/survey_network.h"

struct TTestLeg {
  int32_t From = 0, To = 0;
  double Tape = 0, Compass = 0, Clino = 0;
  TLegStyle Style = TLegStyle::Normal;
};

// Stations "t.0", "t.1", ... at the origin; legs measured with the given
// standard deviations, all from file "test.svx", leg k on line 10 + k.
inline TSurvey MakeSurvey(int32_t stations, const std::vector<TTestLeg>& legs, double tapeSd = 0.05,
                          double compassSd = 1, double clinoSd = 1) {
  TSurvey survey;
  std::vector<int32_t> of;
  std::vector<std::string> names;
  for (int32_t s = 0; s < stations; ++s) {
    survey.AddStation(MakeVec3(0, 0, 0));
    of.push_back(s);
    names.push_back("t." + std::to_string(s));
  }
  survey.SetNames(of, names);
  survey.Files.push_back("test.svx");
  for (size_t k = 0; k < legs.size(); ++k) {
    const TTestLeg& l = legs[k];
    survey.Legs.push_back({l.From, l.To, -1, 0, l.Style});
    const TLegVector v = LegFromReadings(l.Tape, l.Compass, l.Clino, tapeSd, compassSd, clinoSd);
    TLegMeasurement m;
    m.Vector = v.Vector;
    m.Covariance = v.Covariance;
    m.Tape = l.Tape;
    m.Compass = l.Compass;
    m.Clino = l.Clino;
    m.File = 0;
    m.Line = static_cast<int32_t>(10 + k);
    survey.Measurements.push_back(m);
  }
  return survey;
}

// A survey with its work graph (every leg a shot), minimal loops and misclosures.
struct TAnalysedSurvey {
  explicit TAnalysedSurvey(TSurvey s) : Survey(std::move(s)) {
    Network = BuildSurveyNetwork(Survey, TLegChoice{}, Graph);
    FindLoopsMinimal(Graph, Loops);
    Misclosures = ComputeMisclosures(Survey, Network, Graph, Loops);
  }
  TSurvey Survey;
  TSurveyGraph Graph;
  TSurveyNetwork Network;
  TLoopList Loops;
  std::vector<TLoopMisclosure> Misclosures;
};
