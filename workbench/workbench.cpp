#include "workbench/workbench.h"

#include <chrono>

#include "loops/loop_search.h"
#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/problem_grids.h"
#include "sources/reports.h"

namespace {

// Generated networks start this far from the drawing's top-left corner.
constexpr int32_t kBuildMargin = 50;
// A loop list starts with room for this many loops.
constexpr int32_t kLoopListCapacity = 5;

// Runs work and returns its duration in whole microseconds.
template <class Work>
int64_t Timed(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TWorkbench::TWorkbench()
    : WorkGraph(std::make_unique<TSurveyGraph>()),
      ResultGraph(std::make_unique<TSurveyGraph>()),
      ShownGraph(WorkGraph.get()),
      Loops(std::make_unique<TLoopList>(kLoopListCapacity)) {}

void TWorkbench::ReplaceWorkGraph(TSurveyGraph& filled) {
  WorkGraph->Swap(filled);
  Loops->Clear();
  ShowGraph(*WorkGraph);
}

void TWorkbench::ShowGraph(TSurveyGraph& graph) {
  ShownGraph = &graph;
  ShowLoops = false;
}

void TWorkbench::BuildGridded(const TGridParameters& p) {
  TSurveyGraph built;
  BuildGriddedGraph(built, kBuildMargin, kBuildMargin, p.Bordered, p.SkipRows, 100 - p.Density, p.Rows, p.Columns,
                    p.SpacingY, p.SpacingX);
  if (p.Randomness > 0) JitterStations(built, p.SpacingX, p.SpacingY, p.Randomness);
  ReplaceWorkGraph(built);
}

void TWorkbench::BuildNonGridded(const TRandomParameters& p) {
  TSurveyGraph built;
  BuildNonGriddedGraph(built, p.Stations, p.Width, 100 - p.Density, p.Height);
  ReplaceWorkGraph(built);
}

void TWorkbench::BuildProblem(int32_t number) {
  TSurveyGraph built;
  BuildProblemGrid(built, number);
  ReplaceWorkGraph(built);
}

std::string TWorkbench::Load(const std::string& fileName) {
  TSurveyGraph loaded;
  const TGraphLoadReport report = LoadGraph(fileName, loaded);
  ReplaceWorkGraph(loaded);
  return report.Warning();
}

std::vector<std::string> TWorkbench::GrowTree(TTreeKind kind, bool favorHighOrder) {
  ResultGraph->Clear();
  lastSearch_ = Timed([&] {
    if (kind == TTreeKind::tkBreadthFirst)
      BreadthFirstTree(*WorkGraph, *ResultGraph, *Loops, favorHighOrder);
    else
      DepthFirstTree(*WorkGraph, *ResultGraph, *Loops);
  });
  ShowGraph(*ResultGraph);
  return kind == TTreeKind::tkBreadthFirst ? BreadthFirstMemoLines(*ResultGraph, *Loops)
                                           : DepthFirstMemoLines(*ResultGraph, *Loops);
}

void TWorkbench::FindLoops(TLoopMethod method, bool optimize) {
  lastSearch_ = Timed([&] {
    switch (method) {
      case TLoopMethod::lmShortest:
        FindLoopsShortest(*WorkGraph, *Loops, optimize);
        break;
      case TLoopMethod::lmOverlap:
        FindLoopsOverlap(*WorkGraph, *Loops, optimize);
        break;
      case TLoopMethod::lmMinimal:
        FindLoopsMinimal(*WorkGraph, *Loops);
        break;
    }
  });
}

TLoopSetQuality TWorkbench::MeasureLoops() const { return MeasureLoopSet(*WorkGraph, *Loops); }

std::vector<std::string> TWorkbench::Report(TReportKind kind) const {
  switch (kind) {
    case TReportKind::rkAdjacency:
      return ReportAdjacency(*ShownGraph);
    case TReportKind::rkSequence:
      return ReportSequence(*ShownGraph);
    case TReportKind::rkParents:
      return ReportParents(*ShownGraph);
    case TReportKind::rkIndexes:
      return ReportIndexes(*ShownGraph);
  }
  return {};
}

int32_t TWorkbench::OptimizeList() { return OptimizeEdgeList(*ShownGraph); }

void TWorkbench::Save(const std::string& fileName) const { SaveGraph(fileName, *WorkGraph); }
