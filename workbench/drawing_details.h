#pragma once
// What the window tells about a loop or a station of the drawing: a loop's
// shots, length and stations (full names, metres for a survey), and a
// station's name, position and the shots at it. Plain text, so that the
// window only shows it.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/loop_misclosure.h"
#include "workbench/workbench.h"

// "Loop 5: 4 shots, 40.00 m" (a survey: metres along the shots; else
// "length 280" in drawing units), then for raw data "misclosure 0.012 m
// (0.03 %), ratio 0.80" from `misclosure` when it has figures, then
// "stations: a b c d" (for a survey's raw data in walking order; after
// 40 stations "and N more"). Lines
// are returned one by one; none for a loop that is not in the list.
std::vector<std::string> LoopDetails(const TWorkbench& bench, int32_t loop, const TLoopMisclosure* misclosure);

// The station of the drawn graph (the work graph in the loop view, else the
// shown graph) nearest to drawing point (x, y) and no further than radius
// drawing units from it; -1 when there is none.
int32_t StationNear(const TWorkbench& bench, double x, double y, double radius);

// "Station g.b2 (b2): 20.00 m east, 10.00 m north, 0.00 m up; 4 shots: to
// g.b1, g.b3, g.a2, g.c2" for a survey's station (its full name, then its
// name in the graph); "Station B2 (7) at 140, 70, 0; 4 shots: to ..." for
// another network. `station` is a station of the drawn graph.
std::string StationDetails(const TWorkbench& bench, int32_t station);
