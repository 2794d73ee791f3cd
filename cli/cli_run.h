#pragma once
// Runs one parsed command line of cyclorn-cli: fills the work graph from the
// source, runs the command and prints its lines.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "cli/command_line.h"
#include "core/owned_lists.h"
#include "loops/loop_quality.h"

// The elapsed-time panel's millisecond form: microseconds / 1000 with three
// decimals, e.g. 12345 gives "12.345 ms.".
std::string FormatMilliseconds(int64_t microseconds);

// One loop as "loop <index> edges <Count> val <LoopValue> com <CommonStation>
// first <FirstPathCount>:" followed by " <From>-<To>" for each edge.
std::string LoopLine(int32_t index, const TEdgeArray& loop);

// The same with each edge as its two stations' names, edges separated by
// ", ": "loop 0 edges 3 val 0 com 2 first 1: cave.1 cave.2, cave.2 cave.3, cave.3 cave.1".
// Survey station names hold neither blanks nor commas.
std::string NamedLoopLine(int32_t index, const TEdgeArray& loop,
                          const std::function<std::string(int32_t station)>& name);

// "quality: loops <n> edges <total> independent <rank> of <cycle rank> closed <closed loops>",
// followed by " minimum" or " near-minimum" when `basis` names the minimal search's basis.
std::string QualityLine(const TLoopSetQuality& quality, const char* basis = nullptr);

// Runs the command; results go to out, the timing and every error (as
// "cyclorn-cli: <message>") to err. Returns the exit status: 0, or 1 after an error.
int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err);
