#pragma once
// The options of cyclorn-cli that are about surveys: which legs become shots
// and how stations are named, the reports of loop misclosures and blunders,
// and the survey simulator.

#include <string>

#include "cli/argument_reader.h"
#include "cli/command_line.h"

// Reads `option` (already taken) and its values into options; false when it
// is not one of these options.
bool ParseSurveyOption(TArgumentReader& reader, const std::string& option, TCliOptions& options);

// Refuses these options where they do not go with the command or the source.
void CheckSurveyCombinations(const TArgumentReader& reader, const TCliOptions& options);
