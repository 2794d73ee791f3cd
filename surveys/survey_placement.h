#pragma once
// Station positions of a survey read from raw data, which holds the vector of
// every leg but no positions.

#include "surveys/survey.h"

// Places every station from the measured legs without adjusting anything:
// breadth-first along a spanning tree from the fixed points (all of them
// first, in the order of survey.Fixes), so that each station is its tree
// parent plus the leg's vector. A piece no leg joins to a fixed point, or
// every piece when nothing is fixed, starts at its lowest-numbered station;
// the first piece of an unfixed survey is placed from (0, 0, 0) and every
// later one east of everything placed before it, and survey.Notes counts
// them as UnfixedPieces (the first of an unfixed survey included). Legs of
// the NoSurvey style carry no vector and join nothing here. A station on no
// leg stays at its fix, or at (0, 0, 0).
void PlaceStations(TSurvey& survey);
