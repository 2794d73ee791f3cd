#include "workbench/workbench.h"

#include <chrono>

#include "core/errors.h"
#include "loops/loop_search.h"
#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/problem_grids.h"
#include "sources/reports.h"
#include "support/input_file.h"
#include "surveys/survey_summary.h"
#include "surveys/svx_reader.h"
#include "surveys/three_d_reader.h"

namespace {

// Generated networks start this far from the drawing's top-left corner.
constexpr int32_t kBuildMargin = 50;
// A loop list starts with room for this many loops.
constexpr int32_t kLoopListCapacity = 5;

// A processed survey file is told by its first line, whatever its name.
bool IsProcessedSurvey(const std::string& fileName) {
  char start[32];
  size_t have = 0;
  try {
    TInputFile file(fileName);
    while (have < sizeof start) {
      const size_t got = file.Read(start + have, sizeof start - have);
      if (got == 0) break;
      have += got;
    }
  } catch (const EFileError&) {
    return false;  // the reader that takes the file gives the error
  }
  return Is3dFile(std::string_view(start, have));
}

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

void TWorkbench::ReplaceWorkGraph(TSurveyGraph& filled, std::unique_ptr<TSurvey> survey, TSurveyNetwork network) {
  WorkGraph->Swap(filled);
  survey_ = std::move(survey);
  network_ = std::move(network);
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
  if (IsProcessedSurvey(fileName)) {
    LoadSurvey(fileName, true);
    return "";
  }
  if (IsSvxFileName(fileName)) {
    LoadSurvey(fileName, false);
    return "";
  }
  TSurveyGraph loaded;
  const TGraphLoadReport report = LoadGraph(fileName, loaded);
  ReplaceWorkGraph(loaded);
  return report.Warning();
}

void TWorkbench::LoadSurvey(const std::string& fileName, bool processed) {
  TSvxOptions options;
  options.AutoDeclination = AutoDeclination;
  auto survey = std::make_unique<TSurvey>(processed ? Read3dFile(fileName) : ReadSvxFile(fileName, options));
  TSurveyGraph built;
  TSurveyNetwork network = BuildSurveyNetwork(*survey, LegChoice, built);
  ReplaceWorkGraph(built, std::move(survey), std::move(network));
  surveyFile_ = fileName;
}

void TWorkbench::ChooseLegs(const TLegChoice& choice) {
  LegChoice = choice;
  if (!survey_) return;
  TSurveyGraph built;
  TSurveyNetwork network = BuildSurveyNetwork(*survey_, LegChoice, built);
  ReplaceWorkGraph(built, std::move(survey_), std::move(network));
}

void TWorkbench::RequireMeasurements() const {
  if (!survey_) throw ECyclornError("Loop misclosures need raw survey data: load a .svx survey");
  if (!survey_->HasMeasurements())
    throw ECyclornError(surveyFile_ +
                        ": a processed survey holds positions only; loop misclosures need its raw data (.svx)");
}

std::vector<TLoopMisclosure> TWorkbench::Misclosures() const {
  RequireMeasurements();
  return ComputeMisclosures(*survey_, network_, *WorkGraph, *Loops);
}

TBlunderReport TWorkbench::FindBlunders(const TBlunderOptions& options,
                                        const std::vector<TLoopMisclosure>& misclosures) const {
  RequireMeasurements();
  return ::FindBlunders(*survey_, network_, *WorkGraph, misclosures, options);
}

std::vector<std::string> TWorkbench::SurveySummaryLines() const {
  if (!survey_) return {};
  return SurveySummary(*survey_, LegChoice, network_, *WorkGraph);
}

std::string TWorkbench::StationName(int32_t station) const {
  if (survey_ && station >= 0 && static_cast<size_t>(station) < network_.StationOfNode.size()) {
    const std::string_view name = survey_->MainName(network_.StationOfNode[static_cast<size_t>(station)]);
    if (!name.empty()) return std::string(name);
  }
  return WorkGraph->Names.GetName(station);
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

namespace {

// The search FindLoops and a search aside both run.
std::optional<TMinimalBasis> SearchLoops(TSurveyGraph& graph, TLoopList& loops, TLoopMethod method, bool optimize,
                                         TMinimalSearch minimal) {
  switch (method) {
    case TLoopMethod::lmShortest:
      FindLoopsShortest(graph, loops, optimize);
      break;
    case TLoopMethod::lmOverlap:
      FindLoopsOverlap(graph, loops, optimize);
      break;
    case TLoopMethod::lmMinimal:
      return FindLoopsMinimal(graph, loops, minimal);
  }
  return std::nullopt;
}

}  // namespace

void TWorkbench::FindLoops(TLoopMethod method, bool optimize, TMinimalSearch minimal) {
  minimalBasis_.reset();
  lastSearch_ = Timed([&] { minimalBasis_ = SearchLoops(*WorkGraph, *Loops, method, optimize, minimal); });
}

TLoopSearch TWorkbench::PrepareLoopSearch(TLoopMethod method, bool optimize, TMinimalSearch minimal) const {
  TLoopSearch search;
  search.Method = method;
  search.Optimize = optimize;
  search.Minimal = minimal;
  search.Graph = std::make_unique<TSurveyGraph>();
  CopyGraph(*WorkGraph, *search.Graph);
  search.Loops = std::make_unique<TLoopList>(kLoopListCapacity);
  return search;
}

void TWorkbench::RunLoopSearch(TLoopSearch& search) {
  search.Microseconds = Timed([&] {
    search.Basis = SearchLoops(*search.Graph, *search.Loops, search.Method, search.Optimize, search.Minimal);
  });
}

void TWorkbench::AdoptLoopSearch(TLoopSearch& search) {
  // The work graph object stays, so whatever points at it (the shown graph) still does.
  WorkGraph->Swap(*search.Graph);
  Loops.swap(search.Loops);
  minimalBasis_ = search.Basis;
  lastSearch_ = search.Microseconds;
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
