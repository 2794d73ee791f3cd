#include "cli/survey_options.h"

#include <functional>

#include "analysis/loop_misclosure.h"

namespace {

// Calls `each` for every part of a comma-separated list.
void ForEachListed(const std::string& list, const std::function<void(const std::string&)>& each) {
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    each(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) return;
    start = comma + 1;
  }
}

// "--legs splay,surface": the kinds named become shots (or, for --no-legs,
// do not); the kinds not named keep their defaults.
void SetLegKinds(const std::string& kinds, bool chosen, TLegChoice& choice, const std::string& option) {
  ForEachListed(kinds, [&](const std::string& kind) {
    if (kind == "splay" || kind == "splays")
      choice.Splays = chosen;
    else if (kind == "surface")
      choice.Surface = chosen;
    else if (kind == "duplicate" || kind == "duplicates")
      choice.Duplicates = chosen;
    else
      throw EUsageError(option + " takes splay, surface or duplicate, not \"" + kind + "\"");
  });
}

uint8_t BlunderKindsOf(const std::string& kinds) {
  uint8_t bits = 0;
  ForEachListed(kinds, [&](const std::string& kind) {
    if (kind == "tape")
      bits |= BlunderKindBit(TBlunderKind::Tape);
    else if (kind == "compass")
      bits |= BlunderKindBit(TBlunderKind::Compass);
    else if (kind == "clino")
      bits |= BlunderKindBit(TBlunderKind::Clino);
    else if (kind == "reversed")
      bits |= BlunderKindBit(TBlunderKind::Reversed);
    else
      throw EUsageError("--kinds takes tape, compass, clino or reversed, not \"" + kind + "\"");
  });
  return bits;
}

bool ParseSimulationOption(TArgumentReader& reader, const std::string& option, TSimulationOptions& simulation) {
  if (option == "--shape") {
    const std::string& shape = reader.Take("--shape needs grid or cave");
    if (shape != "grid" && shape != "cave") throw EUsageError("--shape takes grid or cave, not \"" + shape + "\"");
    simulation.Shape = shape == "grid" ? TSimulatedShape::Grid : TSimulatedShape::Cave;
  } else if (option == "--spacing") {
    simulation.Spacing = reader.TakeReal(option);
  } else if (option == "--thin") {
    simulation.ThinPercent = reader.TakeInteger(option);
  } else if (option == "--shots") {
    simulation.Legs = reader.TakeInteger(option);
  } else if (option == "--close") {
    simulation.ClosePercent = reader.TakeInteger(option);
  } else if (option == "--tape-sd") {
    simulation.TapeSd = reader.TakeReal(option);
  } else if (option == "--compass-sd") {
    simulation.CompassSd = reader.TakeReal(option);
  } else if (option == "--clino-sd") {
    simulation.ClinoSd = reader.TakeReal(option);
  } else if (option == "--blunders") {
    simulation.Blunders = reader.TakeInteger(option);
  } else if (option == "--kinds") {
    simulation.BlunderKinds = BlunderKindsOf(reader.Take("--kinds needs tape, compass, clino or reversed"));
  } else if (option == "--seed") {
    const int32_t seed = reader.TakeInteger(option);
    if (seed < 0) throw EUsageError("--seed takes a whole number from 0");
    simulation.Seed = static_cast<uint64_t>(seed);
  } else if (option == "--name") {
    simulation.Name = reader.Take("--name needs a survey name");
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ParseSurveyOption(TArgumentReader& reader, const std::string& option, TCliOptions& options) {
  if (option == "--legs" || option == "--no-legs") {
    SetLegKinds(reader.Take((option + " needs splay, surface or duplicate").c_str()), option == "--legs", options.Legs,
                option);
  } else if (option == "--names") {
    const std::string& names = reader.Take("--names needs full or index");
    if (names != "full" && names != "index") throw EUsageError("--names takes full or index, not \"" + names + "\"");
    options.FullNames = names == "full";
  } else if (option == "--declination") {
    options.Declination = reader.TakeReal(option);
    if (*options.Declination < -360 || *options.Declination > 360)
      throw EUsageError("--declination takes degrees from -360 to 360");
  } else if (option == "--format") {
    const std::string& format = reader.Take("--format needs text, csv or json");
    if (format == "text")
      options.Format = TReportFormat::Text;
    else if (format == "csv")
      options.Format = TReportFormat::Csv;
    else if (format == "json")
      options.Format = TReportFormat::Json;
    else
      throw EUsageError("--format takes text, csv or json, not \"" + format + "\"");
  } else if (option == "--top") {
    options.Top = reader.TakeInteger(option);
    if (options.Top < 0) throw EUsageError("--top takes a whole number from 0");
  } else if (option == "--all") {
    options.All = true;
  } else if (option == "--sort") {
    const std::string& field = reader.Take("--sort needs a field");
    if (!MisclosureFieldByName(field))
      throw EUsageError("--sort takes index, legs, length, east, north, up, error, error_percent or ratio, not \"" +
                        field + "\"");
    options.SortField = field;
  } else if (option == "--critical") {
    options.Critical = reader.TakeReal(option);
    if (!(*options.Critical > 0)) throw EUsageError("--critical takes a w value above 0");
  } else if (option == "--survey-alpha") {
    options.SurveyAlpha = reader.TakeReal(option);
    if (!(*options.SurveyAlpha > 0 && *options.SurveyAlpha < 1))
      throw EUsageError("--survey-alpha takes a level between 0 and 1");
  } else {
    return ParseSimulationOption(reader, option, options.Simulation);
  }
  return true;
}

void CheckSurveyCombinations(const TArgumentReader& reader, const TCliOptions& options) {
  const TCliCommand command = options.Command;
  const bool analysis = command == TCliCommand::ccMisclosures || command == TCliCommand::ccBlunders;
  if ((reader.WasGiven("--legs") || reader.WasGiven("--no-legs") || reader.WasGiven("--declination")) &&
      options.Source != TCliSource::csLoad)
    throw EUsageError("--legs, --no-legs and --declination go only with --load");
  if (reader.WasGiven("--names") && command != TCliCommand::ccLoops) throw EUsageError("--names goes only with loops");
  if ((command == TCliCommand::ccSurvey || analysis) && options.Source != TCliSource::csLoad)
    throw EUsageError("survey, misclosures and blunders need --load FILE of a survey (.3d or .svx)");
  if ((reader.WasGiven("--format") || reader.WasGiven("--top")) && !analysis)
    throw EUsageError("--format and --top go only with misclosures and blunders");
  if (reader.WasGiven("--sort") && command != TCliCommand::ccMisclosures)
    throw EUsageError("--sort goes only with misclosures");
  if ((options.All || reader.WasGiven("--critical") || reader.WasGiven("--survey-alpha")) &&
      command != TCliCommand::ccBlunders)
    throw EUsageError("--all, --critical and --survey-alpha go only with blunders");
  if (reader.WasGiven("--critical") && reader.WasGiven("--survey-alpha"))
    throw EUsageError("--critical and --survey-alpha exclude each other");
  for (const char* simulation : {"--shape", "--spacing", "--thin", "--shots", "--close", "--tape-sd", "--compass-sd",
                                 "--clino-sd", "--blunders", "--kinds", "--seed", "--name"})
    if (reader.WasGiven(simulation) && command != TCliCommand::ccSimulate)
      throw EUsageError(std::string(simulation) + " goes only with simulate");
  if (command == TCliCommand::ccSimulate) {
    if (options.Source != TCliSource::csNone) throw EUsageError("simulate makes its own survey: give no source");
    if (!reader.WasGiven("-o")) throw EUsageError("simulate needs -o FILE.svx");
  }
}
