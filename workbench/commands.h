#pragma once
// The choices the workbench's commands take, shared by the window and
// cyclorn-cli: which tree, which loop search, which report, and the
// parameters of the generated networks (defaults as on the "Grid" page).

#include <cstdint>

enum class TTreeKind { tkNone, tkBreadthFirst, tkDepthFirst };
enum class TLoopMethod { lmShortest, lmOverlap, lmMinimal };
enum class TReportKind { rkAdjacency, rkSequence, rkParents, rkIndexes };

// A gridded network: Rows x Columns stations Spacing apart from (50, 50),
// Density percent of the inner shots kept, displaced by Randomness percent.
struct TGridParameters {
  int32_t Columns = 3;
  int32_t Rows = 2;
  int32_t Density = 100;
  int32_t Randomness = 0;
  bool Bordered = true;
  bool SkipRows = false;
  int32_t SpacingX = 70;
  int32_t SpacingY = 70;
};

// A non-gridded network of Stations stations on a Width x Height area, with
// as many attempts at a shot kept Density percent of the time.
struct TRandomParameters {
  int32_t Stations = 6;
  int32_t Density = 100;
  int32_t Width = 1024;
  int32_t Height = 768;
};
