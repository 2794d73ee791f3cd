#include "cli/command_line.h"

#include <set>
#include <string_view>

#include "cli/argument_reader.h"
#include "cli/survey_options.h"
#include "core/errors.h"
#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/graph_numbers.h"
#include "sources/problem_grids.h"

namespace {

// The options each source allows besides itself.
const std::set<std::string_view> kGridOptions = {"--columns",    "--rows",      "--density",
                                                 "--randomness", "--bordered",  "--no-bordered",
                                                 "--skip-rows",  "--spacing-x", "--spacing-y"};
const std::set<std::string_view> kRandomOptions = {"--columns", "--rows", "--density", "--width", "--height"};

void ParseCommandWords(TArgumentReader& reader, TCliOptions& options) {
  const std::string& command = reader.Take("no command given");
  if (command == "save") {
    options.Command = TCliCommand::ccSave;
  } else if (command == "tree") {
    options.Command = TCliCommand::ccTree;
    const std::string& kind = reader.Take("tree needs bfs or dfs");
    if (kind == "bfs")
      options.Tree = TTreeKind::tkBreadthFirst;
    else if (kind == "dfs")
      options.Tree = TTreeKind::tkDepthFirst;
    else
      throw EUsageError("tree needs bfs or dfs, not \"" + kind + "\"");
  } else if (command == "loops") {
    options.Command = TCliCommand::ccLoops;
  } else if (command == "report") {
    options.Command = TCliCommand::ccReport;
    const std::string& kind = reader.Take("report needs adjacency, sequence, parents or indexes");
    if (kind == "adjacency")
      options.Report = TReportKind::rkAdjacency;
    else if (kind == "sequence")
      options.Report = TReportKind::rkSequence;
    else if (kind == "parents")
      options.Report = TReportKind::rkParents;
    else if (kind == "indexes")
      options.Report = TReportKind::rkIndexes;
    else
      throw EUsageError("report needs adjacency, sequence, parents or indexes, not \"" + kind + "\"");
  } else if (command == "optimize-list") {
    options.Command = TCliCommand::ccOptimizeList;
  } else if (command == "export") {
    options.Command = TCliCommand::ccExport;
  } else if (command == "survey") {
    options.Command = TCliCommand::ccSurvey;
  } else if (command == "misclosures") {
    options.Command = TCliCommand::ccMisclosures;
    options.Method = TLoopMethod::lmMinimal;  // independent loops: each misclosure tells something new
  } else if (command == "blunders") {
    options.Command = TCliCommand::ccBlunders;
  } else if (command == "simulate") {
    options.Command = TCliCommand::ccSimulate;
  } else {
    throw EUsageError("unknown command \"" + command + "\"");
  }
}

void SetSource(TCliOptions& options, TCliSource source) {
  if (options.Source != TCliSource::csNone)
    throw EUsageError("give exactly one of --load, --problem, --grid, --random");
  options.Source = source;
}

void ParseOption(TArgumentReader& reader, const std::string& option, TCliOptions& options) {
  if (option == "--load") {
    SetSource(options, TCliSource::csLoad);
    options.LoadFile = reader.Take("--load needs a file name");
  } else if (option == "--problem") {
    SetSource(options, TCliSource::csProblem);
    options.ProblemNumber = reader.TakeInteger(option);
    if (options.ProblemNumber < 1 || options.ProblemNumber > kProblemGridCount)
      throw EUsageError("--problem takes 1 to " + std::to_string(kProblemGridCount));
  } else if (option == "--grid") {
    SetSource(options, TCliSource::csGrid);
  } else if (option == "--random") {
    SetSource(options, TCliSource::csRandom);
  } else if (option == "--columns") {
    options.Grid.Columns = reader.TakeInteger(option);
  } else if (option == "--rows") {
    options.Grid.Rows = reader.TakeInteger(option);
  } else if (option == "--density") {
    options.Grid.Density = reader.TakeInteger(option);
  } else if (option == "--randomness") {
    options.Grid.Randomness = reader.TakeInteger(option);
  } else if (option == "--bordered") {
    options.Grid.Bordered = true;
  } else if (option == "--no-bordered") {
    options.Grid.Bordered = false;
  } else if (option == "--skip-rows") {
    options.Grid.SkipRows = true;
  } else if (option == "--spacing-x") {
    options.Grid.SpacingX = reader.TakeInteger(option);
  } else if (option == "--spacing-y") {
    options.Grid.SpacingY = reader.TakeInteger(option);
  } else if (option == "--width") {
    options.Width = reader.TakeInteger(option);
  } else if (option == "--height") {
    options.Height = reader.TakeInteger(option);
  } else if (option == "-o") {
    options.OutputFile = reader.Take("-o needs a file name");
    if (options.OutputFile.empty()) throw EUsageError("-o needs a file name");
  } else if (option == "--loops") {
    options.ExportLoops = true;
  } else if (option == "--loop") {
    options.ExportLoops = true;
    options.ExportLoop = reader.TakeInteger(option);
  } else if (option == "--labels") {
    const std::string& labels = reader.Take("--labels needs all, junctions or none");
    if (labels == "all")
      options.LabelShow = 0;
    else if (labels == "junctions")
      options.LabelShow = 1;
    else if (labels == "none")
      options.LabelShow = 2;
    else
      throw EUsageError("--labels takes all, junctions or none, not \"" + labels + "\"");
  } else if (option == "--favor-high-order") {
    options.FavorHighOrder = true;
  } else if (option == "--method") {
    const std::string& method = reader.Take("--method needs shortest, overlap or minimal");
    if (method == "shortest")
      options.Method = TLoopMethod::lmShortest;
    else if (method == "overlap")
      options.Method = TLoopMethod::lmOverlap;
    else if (method == "minimal")
      options.Method = TLoopMethod::lmMinimal;
    else
      throw EUsageError("--method takes shortest, overlap or minimal, not \"" + method + "\"");
  } else if (option == "--near-minimum") {
    options.NearMinimum = true;
  } else if (option == "--no-optimize") {
    options.Optimize = false;
  } else if (option == "--quality") {
    options.Quality = true;
  } else if (option == "--tree") {
    const std::string& kind = reader.Take("--tree needs bfs or dfs");
    if (kind == "bfs")
      options.Tree = TTreeKind::tkBreadthFirst;
    else if (kind == "dfs")
      options.Tree = TTreeKind::tkDepthFirst;
    else
      throw EUsageError("--tree takes bfs or dfs, not \"" + kind + "\"");
  } else if (option == "--dump-state") {
    options.DumpState = true;
  } else if (option == "--time") {
    options.Time = true;
  } else if (!ParseSurveyOption(reader, option, options)) {
    throw EUsageError("unknown option \"" + option + "\"");
  }
}

// Refuses options that do not go with the command or the source.
void CheckCombinations(const TArgumentReader& reader, const TCliOptions& options) {
  const TCliCommand command = options.Command;
  const bool simulate = command == TCliCommand::ccSimulate;
  if (options.Source == TCliSource::csNone && !simulate)
    throw EUsageError("give one of --load, --problem, --grid, --random");
  for (const std::string& option : reader.AllGiven()) {
    if (simulate && (option == "--columns" || option == "--rows")) continue;  // the simulated grid's size
    const bool gridOption = kGridOptions.count(option) > 0;
    const bool randomOption = kRandomOptions.count(option) > 0;
    if ((gridOption || randomOption) && !(gridOption && options.Source == TCliSource::csGrid) &&
        !(randomOption && options.Source == TCliSource::csRandom))
      throw EUsageError(option + " does not go with this source");
  }
  if (reader.WasGiven("--bordered") && reader.WasGiven("--no-bordered"))
    throw EUsageError("--bordered and --no-bordered exclude each other");
  if (reader.WasGiven("-o") && command != TCliCommand::ccSave && command != TCliCommand::ccOptimizeList &&
      command != TCliCommand::ccExport && !simulate)
    throw EUsageError("-o goes only with save, optimize-list, export and simulate");
  if (command == TCliCommand::ccSave && !reader.WasGiven("-o")) throw EUsageError("save needs -o FILE");
  if (command == TCliCommand::ccExport && !reader.WasGiven("-o")) throw EUsageError("export needs -o FILE");
  if (reader.WasGiven("--tree") && command != TCliCommand::ccReport) throw EUsageError("--tree goes only with report");
  if (reader.WasGiven("--favor-high-order") && options.Tree != TTreeKind::tkBreadthFirst)
    throw EUsageError("--favor-high-order goes only with tree bfs or --tree bfs");
  if (reader.WasGiven("--labels") && command != TCliCommand::ccExport)
    throw EUsageError("--labels goes only with export");
  if (options.ExportLoops && command != TCliCommand::ccExport)
    throw EUsageError("--loops and --loop go only with export");
  if (options.Quality && command != TCliCommand::ccLoops) throw EUsageError("--quality goes only with loops");
  if ((reader.WasGiven("--method") || reader.WasGiven("--no-optimize") || reader.WasGiven("--near-minimum")) &&
      command != TCliCommand::ccLoops && command != TCliCommand::ccMisclosures &&
      !(command == TCliCommand::ccExport && options.ExportLoops))
    throw EUsageError("--method, --no-optimize and --near-minimum go only with loops, misclosures and export --loops");
  if (options.NearMinimum && options.Method != TLoopMethod::lmMinimal)
    throw EUsageError("--near-minimum goes only with --method minimal");
  if ((options.DumpState || options.Time) && command != TCliCommand::ccTree && command != TCliCommand::ccLoops)
    throw EUsageError("--dump-state and --time go only with tree and loops");
  CheckSurveyCombinations(reader, options);
}

// Refuses source values that make no sense, with a message rather than the usage.
void CheckSourceValues(const TCliOptions& options) {
  const auto atLeast = [](const char* name, int32_t value, int32_t least) {
    if (value < least)
      throw ECyclornError(std::string(name) + " must be at least " + std::to_string(least) + ", not " +
                          std::to_string(value));
  };
  if (options.Source != TCliSource::csGrid && options.Source != TCliSource::csRandom) return;
  atLeast("--columns", options.Grid.Columns, 1);
  atLeast("--rows", options.Grid.Rows, 1);
  if (static_cast<int64_t>(options.Grid.Columns) * options.Grid.Rows > kMaxGraphFileCount)
    throw ECyclornError("--columns x --rows must be at most " + std::to_string(kMaxGraphFileCount) + " stations");
  if (options.Source == TCliSource::csGrid) {
    atLeast("--spacing-x", options.Grid.SpacingX, 1);
    atLeast("--spacing-y", options.Grid.SpacingY, 1);
  } else {
    atLeast("--width", options.Width, kMinNonGriddedArea);
    atLeast("--height", options.Height, kMinNonGriddedArea);
  }
}

}  // namespace

const std::string& CliUsage() {
  static const std::string usage =
      "usage: cyclorn-cli COMMAND SOURCE [OPTIONS]\n"
      "\n"
      "SOURCE, exactly one:\n"
      "  --load FILE [--legs KINDS] [--no-legs KINDS] [--declination DEG]\n"
      "                               a graph file, or a survey: a processed Survex or Therion\n"
      "                               file (.3d, told by its contents) or Survex raw data\n"
      "                               (.svx); KINDS are splay, surface, duplicate, separated by\n"
      "                               commas (by default duplicates become shots, splays and\n"
      "                               surface legs do not); DEG stands for *declination auto\n"
      "  --problem N                  the problem network \"Grid-N\", N = 1..6\n"
      "  --grid [--columns C] [--rows R] [--density P] [--randomness P]\n"
      "         [--bordered | --no-bordered] [--skip-rows] [--spacing-x X] [--spacing-y Y]\n"
      "                               a gridded network (defaults 3, 2, 100, 0, bordered,\n"
      "                               no skipped rows, 70, 70); jittered when randomness > 0\n"
      "  --random [--columns C] [--rows R] [--density P] [--width W] [--height H]\n"
      "                               a non-gridded network of C x R stations on a W x H area\n"
      "                               (defaults 3, 2, 100, 1024, 768)\n"
      "\n"
      "COMMANDS:\n"
      "  save -o FILE                 write the network as a graph file\n"
      "  tree bfs [--favor-high-order] | tree dfs\n"
      "                               print the closing edges of the breadth-first or\n"
      "                               depth-first tree, one line per loop\n"
      "  loops [--method shortest|overlap|minimal] [--no-optimize] [--near-minimum] [--quality]\n"
      "        [--names index|full]\n"
      "                               find the loops (default: shortest, optimised) and print\n"
      "                               one line per loop; minimal gives the minimum loop basis up\n"
      "                               to 20000 loops, a near-minimum one above (or always with\n"
      "                               --near-minimum); --quality adds a line with the loop count,\n"
      "                               the total edges, whether the loops are a basis and, for\n"
      "                               minimal, which basis it is; --names full names a\n"
      "                               survey's stations by their full names instead of indices\n"
      "  report adjacency|sequence|parents|indexes [--tree bfs|dfs] [--favor-high-order]\n"
      "                               print the report of the network, or of the tree after\n"
      "                               the named tree command\n"
      "  optimize-list [-o FILE]      turn and sort the edge list, print the number of edges\n"
      "                               turned, optionally save the result\n"
      "  survey                       print the summary of a loaded survey (key: value lines)\n"
      "  misclosures [--method M] [--sort FIELD] [--top K] [--format text|csv|json]\n"
      "                               the misclosure of every loop of a raw survey (.svx), by\n"
      "                               default of its minimal loops; --sort by index, legs,\n"
      "                               length, east, north, up, error, error_percent or ratio,\n"
      "                               worst first\n"
      "  blunders [--top K] [--all] [--critical W | --survey-alpha A] [--format text|csv|json]\n"
      "                               the legs a least-squares adjustment suspects, worst first,\n"
      "                               with the reading that explains each; a suspect's w is\n"
      "                               above 3.29 (0.1 % a leg), W, or the w of a test of the\n"
      "                               whole survey at level A; --all lists every checked leg\n"
      "  simulate -o FILE.svx [--shape grid|cave] [--columns C] [--rows R] [--spacing M]\n"
      "        [--thin P] [--shots N] [--close P] [--tape-sd M] [--compass-sd D] [--clino-sd D]\n"
      "        [--blunders N] [--kinds tape,compass,clino,reversed] [--seed S] [--name NAME]\n"
      "                               write a simulated raw survey with noise and planted\n"
      "                               blunders, and FILE.blunders listing them (no SOURCE)\n"
      "  export -o FILE [--loops | --loop N] [--method M] [--no-optimize] [--near-minimum]\n"
      "                               draw the graph view with the default display settings into\n"
      "                               FILE: .emf, .wmf, .svg or .png by its extension; --loops\n"
      "                               finds the loops as loops does (default: shortest, optimised)\n"
      "                               and draws the loop view, every loop in black (for raw survey\n"
      "                               data coloured by its misclosure ratio) with loop 0 on top in\n"
      "                               red, as the window shows it; --loop N puts loop N on top;\n"
      "        [--labels all|junctions|none]\n"
      "                               --labels: a label at every station (default), only at\n"
      "                               junctions and ends (arrows stop at the label), or none\n"
      "\n"
      "OPTIONS for tree and loops:\n"
      "  --dump-state                 after the result, print the marks, the edge flags and,\n"
      "                               for tree, the tree's edges and parents\n"
      "  --time                       print the time of the search to standard error (12.345 ms.)\n";
  return usage;
}

TCliOptions ParseCommandLine(const std::vector<std::string>& args) {
  TCliOptions options;
  TArgumentReader reader(args);
  ParseCommandWords(reader, options);
  while (!reader.AtEnd()) {
    const std::string& option = reader.Take("");
    reader.Given(option);
    ParseOption(reader, option, options);
  }
  CheckCombinations(reader, options);
  CheckSourceValues(options);
  if (options.Command == TCliCommand::ccSimulate) {
    if (reader.WasGiven("--columns")) options.Simulation.Columns = options.Grid.Columns;
    if (reader.WasGiven("--rows")) options.Simulation.Rows = options.Grid.Rows;
  }
  return options;
}
