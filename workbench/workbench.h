#pragma once
// TWorkbench: the workbench's state and its commands, in one place for both
// front ends. It holds the work graph every command works on, the result
// graph the tree commands write, the loop list, and which graph is shown;
// the window and cyclorn-cli only gather the command's choices, call it and
// show what it leaves.
//
// A command that refills the work graph builds the new network aside and
// swaps it in, so a failure leaves the old network whole; it clears the loops,
// which belonged to the old network. Every other command works in place and,
// when it fails, leaves the state it had reached.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "loops/loop_quality.h"
#include "workbench/commands.h"

class TWorkbench {
 public:
  TWorkbench();
  TWorkbench(const TWorkbench&) = delete;
  TWorkbench& operator=(const TWorkbench&) = delete;

  // Filling the work graph; each shows the work graph in the graph view.
  void BuildGridded(const TGridParameters& parameters);
  void BuildNonGridded(const TRandomParameters& parameters);
  // Problem network "Grid-<number>", 1 to 6.
  void BuildProblem(int32_t number);
  // A graph file. Raises EInOutError (with its line) when the file is bad.
  // Returns a warning line when the file ended before its records did
  // (they load as empty ones), else "".
  std::string Load(const std::string& fileName);

  // "Breadth First (Prim)" or "Depth First Tree": clears the result graph,
  // writes the tree into it, makes Loops one single-edge loop per closing
  // edge, shows the result graph and returns the memo lines.
  std::vector<std::string> GrowTree(TTreeKind kind, bool favorHighOrder);
  // "Find Loops": replaces the contents of Loops by the loops of the work
  // graph found by `method` (optimize has no effect on the minimal search).
  void FindLoops(TLoopMethod method, bool optimize);
  // How good the loops of Loops are as a loop basis of the work graph.
  TLoopSetQuality MeasureLoops() const;
  // The report of the shown graph.
  std::vector<std::string> Report(TReportKind kind) const;
  // "Optimize List" on the shown graph; returns the number of edges turned.
  int32_t OptimizeList();
  // Writes the work graph as a graph file. Raises EInOutError.
  void Save(const std::string& fileName) const;

  // The duration of the last tree or loop search, in whole microseconds.
  int64_t LastSearchMicroseconds() const { return lastSearch_; }

  // Makes `graph` (the work or the result graph) the shown graph, in the graph view.
  void ShowGraph(TSurveyGraph& graph);

  std::unique_ptr<TSurveyGraph> WorkGraph;
  std::unique_ptr<TSurveyGraph> ResultGraph;
  TSurveyGraph* ShownGraph = nullptr;
  std::unique_ptr<TLoopList> Loops;
  // Whether the drawing shows the loops over the work graph rather than the shown graph.
  bool ShowLoops = false;

 private:
  // Swaps `filled` in as the work graph, clears the loops and shows it.
  void ReplaceWorkGraph(TSurveyGraph& filled);

  int64_t lastSearch_ = 0;
};
