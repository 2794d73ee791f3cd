#pragma once
// The search for blunders (data snooping): the network's measured legs are
// adjusted by least squares, each weighted by its covariance; every leg gets
// its standardised residual w from its residual and that residual's exact
// covariance (from the selected inverse of the normal equations); while some
// leg's w exceeds the critical value, the worst is taken out as a suspect and
// the rest adjusted again (a rank-3 update of the same factorisation), so
// that one blunder neither hides another nor smears into its neighbours.
// Legs of one traverse (between junctions) share their w exactly, as the
// loops cannot tell them apart; among them the leg whose single reading
// change explains most is taken. Each suspect is then explained by the
// single reading change that best accounts for it, with every other suspect
// out. Legs no loop checks are listed apart, never passed as good.

#include <cstdint>
#include <vector>

#include "analysis/loop_misclosure.h"
#include "analysis/reading_fit.h"
#include "core/survey_graph.h"
#include "surveys/survey.h"
#include "surveys/survey_network.h"

struct TBlunderOptions {
  // A leg is a suspect when its w exceeds this: 3.29 is a two-sided test at
  // 0.1 % per leg.
  double Critical = 3.29;
  // Stop after this many suspects (0: no limit).
  int32_t MaxSuspects = 0;
  // Also fit a reading change and measure the misclosure drop for every
  // checked leg, not only for the suspects.
  bool DescribeChecked = false;
};

struct TLegCheck {
  int32_t Leg = -1;  // survey leg
  // Standardised residual (see leg_statistic.h). A suspect's figures are
  // from the adjustment with every other suspect out (it alone put back), so
  // that no other blunder colours them; a checked leg's from the final
  // adjustment without the suspects.
  double W = 0;
  double Redundancy = 0;  // trace of the leg's redundancy matrix, 0 .. 3: how much its loops check it
  Vec3 Residual;          // metres east, north, up: adjusted minus measured vector
  TReadingFit Fit;        // the reading change that best explains the residual
  double Explained = 0;   // Fit.Reduction / T, 0 .. 1: 1 when that one change explains all of it
  // How much the misclosures of the leg's loops (sum of their lengths) drop
  // when the change is applied, in percent; NaN when no measured loop of
  // the list passes through the leg.
  double DropPercent = 0;
  std::vector<int32_t> Loops;  // indices (TLoopMisclosure::Index) of the loops through the leg
  bool Described = false;      // Fit, Explained and DropPercent are set
};

enum class TUncheckedReason : uint8_t {
  Bridge,           // in no loop of measured legs
  ThroughSuspects,  // every loop through it runs through a suspect
  Weak,             // its loops are so much less precise than the leg that they cannot check it (redundancy below 1e-6)
  Unmeasured,       // no raw data (a nosurvey leg, a survey of positions only)
};

struct TUncheckedLeg {
  int32_t Leg = -1;
  TUncheckedReason Reason = TUncheckedReason::Bridge;
};

struct TBlunderReport {
  std::vector<TLegCheck> Suspects;       // worst (largest W) first; ties in the order taken out
  std::vector<TLegCheck> Checked;        // the other checked legs, largest W first, ties by leg
  std::vector<TUncheckedLeg> Unchecked;  // by leg
  double Critical = 0;
  // The final adjustment, without the suspects: its redundancy (sum of the
  // checked legs' redundancies) and variance factor (weighted sum of
  // squared residuals over that redundancy; about 1 when the standard
  // deviations describe the data; NaN without redundancy).
  double Redundancy = 0;
  double VarianceFactor = 0;
  int32_t Factorisations = 0;
};

// Searches the shots of graph (built from survey by BuildSurveyNetwork as
// network says) for blunders; loops are the misclosures of a loop list over
// the same graph (ComputeMisclosures), used for each leg's loops and drop.
// Raises ECyclornError when the adjustment cannot be made.
TBlunderReport FindBlunders(const TSurvey& survey, const TSurveyNetwork& network, const TSurveyGraph& graph,
                            const std::vector<TLoopMisclosure>& loops, const TBlunderOptions& options = {});

// "bridge", "suspects", "weak", "unmeasured".
std::string_view UncheckedReasonName(TUncheckedReason reason);
