#pragma once
// The command line of cyclorn-cli: one command, one network source and the
// options of both, in any order after the command words.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/analysis_format.h"
#include "analysis/survey_simulator.h"
#include "surveys/survey_network.h"
#include "workbench/commands.h"

enum class TCliCommand {
  ccSave,
  ccTree,
  ccLoops,
  ccReport,
  ccOptimizeList,
  ccExport,
  ccSurvey,
  ccMisclosures,
  ccBlunders,
  ccSimulate
};
enum class TCliSource { csNone, csLoad, csProblem, csGrid, csRandom };

// Everything one run needs; the defaults are those of the "Grid" page.
struct TCliOptions {
  TCliCommand Command = TCliCommand::ccLoops;
  TTreeKind Tree = TTreeKind::tkNone;  // the tree command's kind, or the tree a report runs first
  bool FavorHighOrder = false;
  TLoopMethod Method = TLoopMethod::lmShortest;
  bool Optimize = true;      // has no effect on the minimal search
  bool NearMinimum = false;  // the minimal search's fast basis whatever the size
  bool Quality = false;      // loops: print the quality line after the loop lines
  TReportKind Report = TReportKind::rkAdjacency;
  bool DumpState = false;
  bool Time = false;
  std::string OutputFile;    // -o; empty when not given
  bool ExportLoops = false;  // export: the loop view (--loops or --loop N)
  int32_t ExportLoop = 0;    // export: the loop drawn on top (--loop N)
  int32_t LabelShow = 0;     // export: which stations are labelled (--labels all|junctions|none, a TLabelShow)

  bool FullNames = false;  // loops: name stations by their full survey names (--names full)
  // misclosures and blunders
  TReportFormat Format = TReportFormat::Text;
  int32_t Top = -1;                   // at most this many loops or legs; -1: all
  bool All = false;                   // blunders: every checked leg after the suspects
  std::string SortField;              // misclosures: worst first by this field; empty: loop order
  std::optional<double> Critical;     // blunders: the w above which a leg is a suspect
  std::optional<double> SurveyAlpha;  // blunders: test the whole survey at this level instead
  TSimulationOptions Simulation;      // simulate

  TCliSource Source = TCliSource::csNone;
  std::string LoadFile;
  TLegChoice Legs;                    // which legs of a survey become shots (--legs, --no-legs)
  std::optional<double> Declination;  // degrees, for a raw survey's "*declination auto"
  int ProblemNumber = 0;
  // --grid's parameters; --random takes its Columns, Rows and Density.
  TGridParameters Grid;
  int32_t Width = 1024;
  int32_t Height = 768;
};

// A command line that does not fit the usage; the tool prints the reason and
// the usage and exits with 2.
class EUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The usage text, one line per entry, ending with a line end.
const std::string& CliUsage();

// Reads the arguments after the program name. Raises EUsageError for a wrong
// command line and ECyclornError for values that make no sense (a count or a
// spacing below 1, an area narrower or lower than 50, too many stations).
TCliOptions ParseCommandLine(const std::vector<std::string>& args);
