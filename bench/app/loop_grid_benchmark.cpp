// Filling the loop grid with 100,000 loops and painting what it shows, as
// "Find Loops" does; beside it the same with one item per cell.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableView>
#include <QTableWidget>

#include "app/loop_grid_model.h"
#include "bench/offscreen_application.h"

namespace {

QApplication& App() { return OffscreenApplication<QApplication>(); }

void FillLoops(TLoopList& loops, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    TEdgeArray& loop = loops.AddLoop();
    for (int32_t k = 0; k < 4 + i % 7; ++k) loop.AddEdge({i + k, i + k + 1, 0});
    loop.LoopValue = i % 13;
    loop.CommonStation = i;
  }
}

void SetUpGrid(QTableView& grid) {
  grid.verticalHeader()->hide();
  grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid.verticalHeader()->setDefaultSectionSize(17);
  for (int column = 0; column < TLoopGridModel::kColumns; ++column) grid.setColumnWidth(column, column ? 23 : 19);
  grid.resize(177, 300);
  grid.show();
}

void BM_FillLoopGridAndPaint(benchmark::State& state) {
  App();
  TLoopList loops;
  FillLoops(loops, static_cast<int32_t>(state.range(0)));
  TLoopGridModel model;
  QTableView grid;
  grid.setModel(&model);
  SetUpGrid(grid);
  QImage picture(grid.viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    model.ShowNothing();
    model.ShowLoops(&loops);
    grid.setCurrentIndex(model.index(0, 0));
    grid.viewport()->render(&picture);
  }
  state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_FillLoopGridAndPaint)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One QTableWidgetItem per cell, as a string grid is filled.
void BM_FillItemGridAndPaint(benchmark::State& state) {
  App();
  TLoopList loops;
  FillLoops(loops, static_cast<int32_t>(state.range(0)));
  QTableWidget grid(9, TLoopGridModel::kColumns);
  SetUpGrid(grid);
  QImage picture(grid.viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    grid.clearContents();
    grid.setRowCount(loops.Count());
    for (int32_t i = 0; i < loops.Count(); ++i) {
      const TEdgeArray& loop = loops.LoopAt(i);
      const int32_t cells[] = {
          i, loop.Count(), loop.LoopValue, loop.CommonStation, loop.GetEdge(0).From, loop.GetEdge(0).To};
      for (int column = 0; column < TLoopGridModel::kColumns; ++column)
        grid.setItem(i, column, new QTableWidgetItem(QString::number(cells[column])));
    }
    grid.setCurrentCell(0, 0);
    grid.viewport()->render(&picture);
  }
}
BENCHMARK(BM_FillItemGridAndPaint)->Arg(1000)->Arg(100000)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
