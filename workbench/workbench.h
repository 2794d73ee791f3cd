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
#include <optional>
#include <string>
#include <vector>

#include "analysis/blunders.h"
#include "analysis/loop_misclosure.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"
#include "loops/loop_quality.h"
#include "loops/minimal_loops.h"
#include "surveys/survey.h"
#include "surveys/survey_network.h"
#include "workbench/commands.h"

// A loop search made aside: on a copy of the work graph into a loop list of
// its own, so that it can run on another thread while the workbench is read
// (and drawn), and be stopped, leaving the workbench as it was.
struct TLoopSearch {
  TLoopMethod Method = TLoopMethod::lmShortest;
  bool Optimize = true;
  TMinimalSearch Minimal = TMinimalSearch::msAutomatic;
  std::unique_ptr<TSurveyGraph> Graph;  // the copy, as the search leaves its marks and flags
  std::unique_ptr<TLoopList> Loops;
  std::optional<TMinimalBasis> Basis;
  int64_t Microseconds = 0;  // the search's own time, without the copy
};

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
  // A graph file or a survey: a processed survey (.3d, told by its first
  // line) or raw survey data (.svx, told by its name), whose chosen legs
  // (LegChoice) become the shots. Raises EInOutError (with its line) for a
  // bad graph file, ECyclornError naming the file (and line or byte) for a
  // bad survey. Returns a warning line when a graph file ended before its
  // records did (they load as empty ones), else "".
  std::string Load(const std::string& fileName);
  // Makes the work graph of the loaded survey anew with `choice`; the loops
  // go, as after a load. Without a survey only the choice is kept.
  void ChooseLegs(const TLegChoice& choice);

  // The survey behind the work graph when it was loaded from a survey file;
  // null after any other fill.
  const TSurvey* Survey() const { return survey_.get(); }
  // How the survey maps onto the work graph (empty without a survey).
  const TSurveyNetwork& Network() const { return network_; }
  // Whether the work graph was made from a survey with raw data (.svx).
  bool HasRawData() const { return survey_ && survey_->HasMeasurements(); }
  // Raises ECyclornError, saying what is needed, unless HasRawData.
  void RequireMeasurements() const;
  // The misclosure of every loop of Loops, over the raw data of the loaded
  // survey. Raises ECyclornError when the work graph has no raw data behind
  // it (no survey, or a processed one, which holds positions only).
  std::vector<TLoopMisclosure> Misclosures() const;
  // The blunder search over the loaded survey's raw data; `misclosures` (of
  // Loops) give each suspect's loops and how much they drop. Raises as
  // Misclosures does.
  TBlunderReport FindBlunders(const TBlunderOptions& options, const std::vector<TLoopMisclosure>& misclosures) const;

  // The survey's summary lines (surveys/survey_summary.h); none without a survey.
  std::vector<std::string> SurveySummaryLines() const;
  // The name a user reads for work-graph station i: its full survey name,
  // else its name in the graph.
  std::string StationName(int32_t station) const;

  // Which legs of a survey become shots at the next load or ChooseLegs.
  TLegChoice LegChoice;
  // The declination (degrees east) a raw survey's "*declination auto" stands for.
  std::optional<double> AutoDeclination;

  // "Breadth First (Prim)" or "Depth First Tree": clears the result graph,
  // writes the tree into it, makes Loops one single-edge loop per closing
  // edge, shows the result graph and returns the memo lines.
  std::vector<std::string> GrowTree(TTreeKind kind, bool favorHighOrder);
  // "Find Loops": replaces the contents of Loops by the loops of the work
  // graph found by `method` (optimize has no effect on the minimal search;
  // `minimal` chooses between its exact and its fast basis).
  void FindLoops(TLoopMethod method, bool optimize, TMinimalSearch minimal = TMinimalSearch::msAutomatic);
  // The parts of FindLoops for a search run aside: Prepare copies the work
  // graph (on the workbench's thread); Run searches, touching nothing but
  // `search`, so any thread may run it, and raises ESearchStopped when a
  // TSearchStop lent to that thread asks; Adopt (on the workbench's thread)
  // makes the copy the work graph and its loops Loops, as if FindLoops had run.
  TLoopSearch PrepareLoopSearch(TLoopMethod method, bool optimize,
                                TMinimalSearch minimal = TMinimalSearch::msAutomatic) const;
  static void RunLoopSearch(TLoopSearch& search);
  void AdoptLoopSearch(TLoopSearch& search);
  // Which basis the last minimal search gave; empty after any other search.
  std::optional<TMinimalBasis> MinimalBasis() const { return minimalBasis_; }
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
  // Swaps `filled` in as the work graph, with the survey it was made from
  // (or none), clears the loops and shows it.
  void ReplaceWorkGraph(TSurveyGraph& filled, std::unique_ptr<TSurvey> survey = nullptr, TSurveyNetwork network = {});
  // Loads a survey file of either kind.
  void LoadSurvey(const std::string& fileName, bool processed);

  int64_t lastSearch_ = 0;
  std::optional<TMinimalBasis> minimalBasis_;

  std::unique_ptr<TSurvey> survey_;
  std::string surveyFile_;
  TSurveyNetwork network_;
};
