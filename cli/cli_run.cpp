#include "cli/cli_run.h"

#include <chrono>
#include <functional>
#include <vector>

#include "cli/cli_export.h"
#include "core/errors.h"
#include "core/survey_graph.h"
#include "loops/loop_search.h"
#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/problem_grids.h"
#include "sources/reports.h"

namespace {

constexpr int32_t kBuildMargin = 50;

// A graph file failure, told with the file and, where it is about a line, the line.
class EFileError : public ECyclornError {
 public:
  EFileError(const std::string& fileName, const EInOutError& error)
      : ECyclornError(fileName + ": " + (error.Line() > 0 ? "line " + std::to_string(error.Line()) + ": " : "") +
                      error.what()) {}
};

void FillWorkGraph(const TCliOptions& options, TSurveyGraph& work, std::ostream& err) {
  switch (options.Source) {
    case TCliSource::csLoad:
      try {
        if (const std::string warning = LoadGraph(options.LoadFile, work).Warning(); !warning.empty())
          err << "cyclorn-cli: " << options.LoadFile << ": warning: " << warning << '\n';
      } catch (const EInOutError& error) {
        throw EFileError(options.LoadFile, error);
      }
      break;
    case TCliSource::csProblem:
      BuildProblemGrid(work, options.ProblemNumber);
      break;
    case TCliSource::csGrid:
      work.Clear();
      BuildGriddedGraph(work, kBuildMargin, kBuildMargin, options.Bordered, options.SkipRows, 100 - options.Density,
                        options.Rows, options.Columns, options.SpacingY, options.SpacingX);
      if (options.Randomness > 0) JitterStations(work, options.SpacingX, options.SpacingY, options.Randomness);
      break;
    case TCliSource::csRandom:
      work.Clear();
      BuildNonGriddedGraph(work, options.Columns * options.Rows, options.Width, 100 - options.Density, options.Height);
      break;
    case TCliSource::csNone:
      break;
  }
}

void Save(const std::string& fileName, const TSurveyGraph& graph) {
  try {
    SaveGraph(fileName, graph);
  } catch (const EInOutError& error) {
    throw EFileError(fileName, error);
  }
}

// Runs work and returns its duration in whole microseconds.
int64_t Timed(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
}

template <class Values>
void PrintStateLine(std::ostream& out, const char* keyword, const Values& values) {
  out << keyword << ':';
  for (const int32_t v : values) out << ' ' << v;
  out << '\n';
}

void PrintLines(std::ostream& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out << line << '\n';
}

// The tree command's result (or the tree a report asks for) into result.
int64_t RunTree(const TCliOptions& options, TSurveyGraph& work, TSurveyGraph& result, TLoopList& loops) {
  result.Clear();
  return Timed([&] {
    if (options.Tree == TTreeKind::tkBreadthFirst)
      BreadthFirstTree(work, result, loops, options.FavorHighOrder);
    else
      DepthFirstTree(work, result, loops);
  });
}

void RunTreeCommand(const TCliOptions& options, TSurveyGraph& work, std::ostream& out, std::ostream& err) {
  TSurveyGraph result;
  TLoopList loops;
  const int64_t elapsed = RunTree(options, work, result, loops);
  PrintLines(out, options.Tree == TTreeKind::tkBreadthFirst ? BreadthFirstMemoLines(result, loops)
                                                            : DepthFirstMemoLines(result, loops));
  if (options.DumpState) {
    PrintStateLine(out, "marks", work.Marks);
    PrintStateLine(out, "flags", work.Edges.Flags);
    out << "tree:";
    for (int32_t e = 0; e < result.Edges.Count(); ++e)
      out << ' ' << result.Edges.Froms.Get(e) << '-' << result.Edges.Tos.Get(e);
    out << '\n';
    PrintStateLine(out, "parents", result.Parents);
  }
  if (options.Time) err << FormatMilliseconds(elapsed) << '\n';
}

void RunLoopsCommand(const TCliOptions& options, TSurveyGraph& work, std::ostream& out, std::ostream& err) {
  TLoopList loops;
  const int64_t elapsed = Timed([&] {
    switch (options.Method) {
      case TLoopMethod::lmShortest:
        FindLoopsShortest(work, loops, options.Optimize);
        break;
      case TLoopMethod::lmOverlap:
        FindLoopsOverlap(work, loops, options.Optimize);
        break;
      case TLoopMethod::lmMinimal:
        FindLoopsMinimal(work, loops);
        break;
    }
  });
  for (int32_t k = 0; k < loops.Count(); ++k) out << LoopLine(k, loops.LoopAt(k)) << '\n';
  if (options.Quality) out << QualityLine(MeasureLoopSet(work, loops)) << '\n';
  if (options.DumpState) {
    PrintStateLine(out, "marks", work.Marks);
    PrintStateLine(out, "flags", work.Edges.Flags);
  }
  if (options.Time) err << FormatMilliseconds(elapsed) << '\n';
}

void RunReportCommand(const TCliOptions& options, TSurveyGraph& work, std::ostream& out) {
  TSurveyGraph result;
  TLoopList loops;
  const TSurveyGraph* shown = &work;
  if (options.Tree != TTreeKind::tkNone) {
    RunTree(options, work, result, loops);
    shown = &result;
  }
  switch (options.Report) {
    case TReportKind::rkAdjacency:
      PrintLines(out, ReportAdjacency(*shown));
      break;
    case TReportKind::rkSequence:
      PrintLines(out, ReportSequence(*shown));
      break;
    case TReportKind::rkParents:
      PrintLines(out, ReportParents(*shown));
      break;
    case TReportKind::rkIndexes:
      PrintLines(out, ReportIndexes(*shown));
      break;
  }
}

}  // namespace

std::string FormatMilliseconds(int64_t microseconds) {
  const std::string fraction = std::to_string(microseconds % 1000 + 1000).substr(1);
  return std::to_string(microseconds / 1000) + "." + fraction + " ms.";
}

std::string LoopLine(int32_t index, const TEdgeArray& loop) {
  std::string line = "loop " + std::to_string(index) + " edges " + std::to_string(loop.Count()) + " val " +
                     std::to_string(loop.LoopValue) + " com " + std::to_string(loop.CommonStation) + " first " +
                     std::to_string(loop.FirstPathCount) + ":";
  for (int32_t e = 0; e < loop.Count(); ++e)
    line += " " + std::to_string(loop.Froms.Get(e)) + "-" + std::to_string(loop.Tos.Get(e));
  return line;
}

std::string QualityLine(const TLoopSetQuality& quality) {
  return "quality: loops " + std::to_string(quality.Loops) + " edges " + std::to_string(quality.Edges) +
         " independent " + std::to_string(quality.Independent) + " of " + std::to_string(quality.CycleRank) +
         " closed " + std::to_string(quality.Closed);
}

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err) {
  try {
    TSurveyGraph work;
    FillWorkGraph(options, work, err);
    switch (options.Command) {
      case TCliCommand::ccSave:
        Save(options.OutputFile, work);
        break;
      case TCliCommand::ccTree:
        RunTreeCommand(options, work, out, err);
        break;
      case TCliCommand::ccLoops:
        RunLoopsCommand(options, work, out, err);
        break;
      case TCliCommand::ccReport:
        RunReportCommand(options, work, out);
        break;
      case TCliCommand::ccOptimizeList: {
        // Saved before printing, so a failed save prints nothing but its error.
        const int32_t reversed = OptimizeEdgeList(work);
        if (!options.OutputFile.empty()) Save(options.OutputFile, work);
        out << reversed << '\n';
        break;
      }
      case TCliCommand::ccExport:
        ExportGraphView(options.OutputFile, work);
        break;
    }
    out.flush();
    if (!out) throw ECyclornError("cannot write to standard output");
    return 0;
  } catch (const std::bad_alloc&) {
    out.flush();
    err << "cyclorn-cli: Out of memory\n";
  } catch (const std::exception& error) {
    out.flush();
    err << "cyclorn-cli: " << error.what() << '\n';
  }
  return 1;
}
