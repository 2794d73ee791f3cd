#include "cli/cli_run.h"

#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "analysis/analysis_format.h"
#include "analysis/leg_statistic.h"
#include "analysis/survey_simulator.h"
#include "cli/cli_pictures.h"
#include "core/errors.h"
#include "render/display_settings.h"
#include "sources/graph_file.h"
#include "support/safe_write.h"
#include "workbench/misclosure_colors.h"
#include "workbench/picture_export.h"
#include "workbench/workbench.h"

namespace {

// A file failure, told with the file and, where it is about a line, the line.
std::string FileErrorText(const std::string& fileName, const EInOutError& error) {
  return fileName + ": " + (error.Line() > 0 ? "line " + std::to_string(error.Line()) + ": " : "") + error.what();
}

void FillWorkGraph(const TCliOptions& options, TWorkbench& bench, std::ostream& err) {
  bench.LegChoice = options.Legs;
  bench.AutoDeclination = options.Declination;
  switch (options.Source) {
    case TCliSource::csLoad:
      try {
        if (const std::string warning = bench.Load(options.LoadFile); !warning.empty())
          err << "cyclorn-cli: " << options.LoadFile << ": warning: " << warning << '\n';
      } catch (const EInOutError& error) {
        throw ECyclornError(FileErrorText(options.LoadFile, error));
      }
      break;
    case TCliSource::csProblem:
      bench.BuildProblem(options.ProblemNumber);
      break;
    case TCliSource::csGrid:
      bench.BuildGridded(options.Grid);
      break;
    case TCliSource::csRandom:
      bench.BuildNonGridded(
          {options.Grid.Columns * options.Grid.Rows, options.Grid.Density, options.Width, options.Height});
      break;
    case TCliSource::csNone:
      break;
  }
}

void Save(const std::string& fileName, const TWorkbench& bench) {
  try {
    bench.Save(fileName);
  } catch (const EInOutError& error) {
    throw ECyclornError(FileErrorText(fileName, error));
  }
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

void RunTreeCommand(const TCliOptions& options, TWorkbench& bench, std::ostream& out, std::ostream& err) {
  PrintLines(out, bench.GrowTree(options.Tree, options.FavorHighOrder));
  if (options.DumpState) {
    const TSurveyGraph& result = *bench.ResultGraph;
    PrintStateLine(out, "marks", bench.WorkGraph->Marks);
    PrintStateLine(out, "flags", bench.WorkGraph->Edges.Flags);
    out << "tree:";
    for (int32_t e = 0; e < result.Edges.Count(); ++e)
      out << ' ' << result.Edges.Froms.Get(e) << '-' << result.Edges.Tos.Get(e);
    out << '\n';
    PrintStateLine(out, "parents", result.Parents);
  }
  if (options.Time) err << FormatMilliseconds(bench.LastSearchMicroseconds()) << '\n';
}

void RunLoopsCommand(const TCliOptions& options, TWorkbench& bench, std::ostream& out, std::ostream& err) {
  bench.FindLoops(options.Method, options.Optimize,
                  options.NearMinimum ? TMinimalSearch::msNearMinimum : TMinimalSearch::msAutomatic);
  const TLoopList& loops = *bench.Loops;
  if (options.FullNames) {
    const auto name = [&bench](int32_t station) { return bench.StationName(station); };
    for (int32_t k = 0; k < loops.Count(); ++k) out << NamedLoopLine(k, loops.LoopAt(k), name) << '\n';
  } else {
    for (int32_t k = 0; k < loops.Count(); ++k) out << LoopLine(k, loops.LoopAt(k)) << '\n';
  }
  if (options.Quality) {
    const std::optional<TMinimalBasis> basis = bench.MinimalBasis();
    out << QualityLine(bench.MeasureLoops(), basis ? MinimalBasisName(*basis) : nullptr) << '\n';
  }
  if (options.DumpState) {
    PrintStateLine(out, "marks", bench.WorkGraph->Marks);
    PrintStateLine(out, "flags", bench.WorkGraph->Edges.Flags);
  }
  if (options.Time) err << FormatMilliseconds(bench.LastSearchMicroseconds()) << '\n';
}

void RunReportCommand(const TCliOptions& options, TWorkbench& bench, std::ostream& out) {
  if (options.Tree != TTreeKind::tkNone) bench.GrowTree(options.Tree, options.FavorHighOrder);
  PrintLines(out, bench.Report(options.Report));
}

void RunSurveyCommand(const TCliOptions& options, const TWorkbench& bench, std::ostream& out) {
  if (bench.Survey() == nullptr) throw ECyclornError(options.LoadFile + ": not a survey (.3d or .svx)");
  PrintLines(out, bench.SurveySummaryLines());
}

void RunMisclosuresCommand(const TCliOptions& options, TWorkbench& bench, std::ostream& out) {
  bench.FindLoops(options.Method, options.Optimize,
                  options.NearMinimum ? TMinimalSearch::msNearMinimum : TMinimalSearch::msAutomatic);
  std::vector<TLoopMisclosure> loops = bench.Misclosures();
  // Worst first: the largest figure, but the loop order by index.
  if (const std::optional<TMisclosureField> field = MisclosureFieldByName(options.SortField))
    SortMisclosures(loops, *field, *field != TMisclosureField::Index);
  WriteMisclosures(out, *bench.Survey(), loops, {options.Format, options.Top, false});
}

void RunBlundersCommand(const TCliOptions& options, TWorkbench& bench, std::ostream& out) {
  // Independent loops, so each suspect's loops and their drop mean what they say.
  bench.FindLoops(TLoopMethod::lmMinimal, true);
  const std::vector<TLoopMisclosure> loops = bench.Misclosures();
  TBlunderOptions search;
  if (options.Critical) search.Critical = *options.Critical;
  if (options.SurveyAlpha) search.Critical = SurveyWideCritical(*options.SurveyAlpha, bench.WorkGraph->Edges.Count());
  search.DescribeChecked = options.All;
  WriteBlunders(out, *bench.Survey(), bench.FindBlunders(search, loops), {options.Format, options.Top, options.All});
}

// The planted blunders' list beside the survey: "cave.svx" gives "cave.blunders".
std::string PlantedBlundersFile(const std::string& surveyFile) {
  const size_t slash = surveyFile.rfind('/');
  const size_t dot = surveyFile.rfind('.');
  const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (extension ? surveyFile.substr(0, dot) : surveyFile) + ".blunders";
}

void RunSimulateCommand(const TCliOptions& options) {
  const TSimulatedSurvey simulated = SimulateSurvey(options.Simulation);
  std::ostringstream planted;
  WritePlantedBlunders(planted, simulated);
  WriteFileSafely(options.OutputFile, simulated.Svx);
  WriteFileSafely(PlantedBlundersFile(options.OutputFile), planted.str());
}

// Refuses --loop N for a loop the search did not find.
void CheckChosenLoop(int32_t chosen, int32_t count) {
  if (chosen == 0 && count == 0) return;  // the empty loop view, as the window shows it
  const std::string option = "--loop " + std::to_string(chosen);
  if (count == 0) throw ECyclornError(option + ": the network has no loops");
  if (chosen < 0 || chosen >= count)
    throw ECyclornError(option + ": there is no such loop, the loops are numbered 0 to " + std::to_string(count - 1));
}

void RunExportCommand(const TCliOptions& options, TWorkbench& bench) {
  // A name that says no format is refused before any search or toolkit starts.
  TPictureFormat format{};
  if (!PictureFormatOf(options.OutputFile, format)) ExportPicture(options.OutputFile, {}, nullptr);
  if (options.ExportLoops) {
    bench.FindLoops(options.Method, options.Optimize,
                    options.NearMinimum ? TMinimalSearch::msNearMinimum : TMinimalSearch::msAutomatic);
    bench.ShowLoops = true;
    CheckChosenLoop(options.ExportLoop, bench.Loops->Count());
  }
  TPictureRequest request = WorkbenchPicture(bench, options.ExportLoop);
  request.Settings.LabelShow = options.LabelShow;
  // A survey's raw data colours the loops by their misclosure ratio, as the window does.
  std::vector<TColor> colors;
  if (options.ExportLoops && bench.HasRawData())
    colors = LoopColorsByRatio(bench.Misclosures(), static_cast<size_t>(bench.Loops->Count()));
  request.State.LoopColors = colors;
  const std::unique_ptr<TCliPictures> pictures = StartCliPictures();
  ExportPicture(options.OutputFile, request, pictures ? pictures->Maker() : nullptr);
}

}  // namespace

std::string FormatMilliseconds(int64_t microseconds) {
  const std::string fraction = std::to_string(microseconds % 1000 + 1000).substr(1);
  return std::to_string(microseconds / 1000) + "." + fraction + " ms.";
}

namespace {

std::string LoopLineHead(int32_t index, const TEdgeArray& loop) {
  return "loop " + std::to_string(index) + " edges " + std::to_string(loop.Count()) + " val " +
         std::to_string(loop.LoopValue) + " com " + std::to_string(loop.CommonStation) + " first " +
         std::to_string(loop.FirstPathCount) + ":";
}

}  // namespace

std::string LoopLine(int32_t index, const TEdgeArray& loop) {
  std::string line = LoopLineHead(index, loop);
  for (int32_t e = 0; e < loop.Count(); ++e)
    line += " " + std::to_string(loop.Froms.Get(e)) + "-" + std::to_string(loop.Tos.Get(e));
  return line;
}

std::string NamedLoopLine(int32_t index, const TEdgeArray& loop,
                          const std::function<std::string(int32_t station)>& name) {
  std::string line = LoopLineHead(index, loop);
  for (int32_t e = 0; e < loop.Count(); ++e)
    line += (e == 0 ? " " : ", ") + name(loop.Froms.Get(e)) + " " + name(loop.Tos.Get(e));
  return line;
}

std::string QualityLine(const TLoopSetQuality& quality, const char* basis) {
  return "quality: loops " + std::to_string(quality.Loops) + " edges " + std::to_string(quality.Edges) +
         " independent " + std::to_string(quality.Independent) + " of " + std::to_string(quality.CycleRank) +
         " closed " + std::to_string(quality.Closed) + (basis ? std::string(" ") + basis : std::string());
}

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err) {
  try {
    TWorkbench bench;
    FillWorkGraph(options, bench, err);
    switch (options.Command) {
      case TCliCommand::ccSave:
        Save(options.OutputFile, bench);
        break;
      case TCliCommand::ccTree:
        RunTreeCommand(options, bench, out, err);
        break;
      case TCliCommand::ccLoops:
        RunLoopsCommand(options, bench, out, err);
        break;
      case TCliCommand::ccReport:
        RunReportCommand(options, bench, out);
        break;
      case TCliCommand::ccOptimizeList: {
        // Saved before printing, so a failed save prints nothing but its error.
        const int32_t reversed = bench.OptimizeList();
        if (!options.OutputFile.empty()) Save(options.OutputFile, bench);
        out << reversed << '\n';
        break;
      }
      case TCliCommand::ccExport:
        RunExportCommand(options, bench);
        break;
      case TCliCommand::ccSurvey:
        RunSurveyCommand(options, bench, out);
        break;
      case TCliCommand::ccMisclosures:
        RunMisclosuresCommand(options, bench, out);
        break;
      case TCliCommand::ccBlunders:
        RunBlundersCommand(options, bench, out);
        break;
      case TCliCommand::ccSimulate:
        RunSimulateCommand(options);
        break;
    }
    out.flush();
    if (!out) throw ECyclornError("cannot write to standard output");
    return 0;
  } catch (const std::bad_alloc&) {
    out.flush();
    err << "cyclorn-cli: Out of memory\n";
  } catch (const EFileError& error) {
    out.flush();
    err << "cyclorn-cli: " << (error.FileName().empty() ? "" : error.FileName() + ": ") << error.what() << '\n';
  } catch (const std::exception& error) {
    out.flush();
    err << "cyclorn-cli: " << error.what() << '\n';
  }
  return 1;
}
