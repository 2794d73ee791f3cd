#pragma once
// What a survey holds and what its work graph made of it, counted for the
// status line and printed as a fixed summary.
//
// The summary is one "key: value" line each, always these keys in this
// order, a single blank after the colon and nothing after it when there is
// no value:
//
//   title: <title>                      control characters shown as blanks
//   coordinate system: <as the file gives it, e.g. EPSG:27700 or +init=epsg:3912>
//   dates: <first> <last>               YYYY-MM-DD, the range over all legs
//   extended elevation: yes | no
//   stations: <N>                       stations of the survey
//   anonymous stations: <N>             of those, stations without a name
//   names: <N>                          full names of all stations
//   shared positions: <N>               names that share a station with an
//                                       earlier name at the same position
//   legs: <N>                           legs of the survey (zero-length ones not included)
//   splay legs: <N> kept | left out
//   surface legs: <N> kept | left out
//   duplicate legs: <N> kept | left out
//   zero-length legs: <N> left out      legs whose two ends are one position
//   same-station legs: <N> left out     legs whose two ends are one station
//   cross sections: <N>
//   traverse errors: <N>                traverses with error information
//   network stations: <N>               stations of the work graph (those the shots touch)
//   shots: <N>                          edges of the work graph
//   pieces: <N>                         connected pieces of the work graph
//   loops: <N>                          independent loops: shots - network stations + pieces
//   generated names: <N>                network stations named "#<n>", no tail of theirs fitting
//   scale: <S>                          drawing units per metre, in decimal (0.05, 2, 500)
//
// A leg of several kinds counts under each of them and is a shot only when
// every kind it has is kept.

#include <cstdint>
#include <string>
#include <vector>

#include "core/survey_graph.h"
#include "surveys/survey.h"
#include "surveys/survey_network.h"

struct TSurveyCounts {
  int64_t Stations = 0;
  int64_t AnonymousStations = 0;
  int64_t Names = 0;
  int64_t SharedPositions = 0;
  int64_t Legs = 0;
  int64_t SplayLegs = 0;
  int64_t SurfaceLegs = 0;
  int64_t DuplicateLegs = 0;
  int64_t ZeroLengthLegs = 0;
  int64_t SameStationLegs = 0;
  int64_t NetworkStations = 0;
  int64_t Shots = 0;
  int64_t Pieces = 0;
  int64_t Loops = 0;
  friend bool operator==(const TSurveyCounts&, const TSurveyCounts&) = default;
};

// The counts of a survey and of the graph BuildSurveyNetwork made of it.
TSurveyCounts CountSurvey(const TSurvey& survey, const TSurveyNetwork& network, const TSurveyGraph& graph);

// The summary lines above, without line ends; choice says which kinds were kept.
std::vector<std::string> SurveySummary(const TSurvey& survey, const TLegChoice& choice, const TSurveyNetwork& network,
                                       const TSurveyGraph& graph);

// A scale in drawing units per metre as the summary prints it: in decimal,
// as short as it can be ("0.05", "2", "500").
std::string FormatDrawingScale(double scale);

// A date in days since 1900-01-01 as YYYY-MM-DD.
std::string FormatSurveyDate(int32_t days);

// The number of connected pieces of a graph's stations that edges touch
// (every station of a survey's work graph).
int64_t CountPieces(const TSurveyGraph& graph);
