#pragma once
// TPageHost: what a page of the main window asks of the window around it.
// A page knows the workbench and this interface only, never another page or
// the window itself, so each page can be read on its own.

#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

class TSurveyGraph;
class TWorkbench;

class TPageHost {
 public:
  virtual TWorkbench& Bench() = 0;
  // ShowLoops := v, then asks for a repaint of the drawing area. A command
  // ends with it when it changed what is drawn, so it also drops the drawing index.
  virtual void SetShowLoops(bool v) = 0;
  // Makes `graph` the shown graph in the plain graph view.
  virtual void ShowGraph(TSurveyGraph& graph) = 0;
  // Shows the loop view with the loop chosen now; the loops and graphs are
  // as they were, so the drawing index stays.
  virtual void ShowChosenLoop() = 0;
  // Sizes the drawing area to the graph's far corner plus 25, at least the screen size.
  virtual void FitDrawingArea(const TSurveyGraph& graph) = 0;
  virtual void SetDrawingAreaSize(QSize size) = 0;
  // The size of the visible part of the drawing area (the scroll area).
  virtual QSize DrawingViewSize() const = 0;
  // After the work graph was refilled: the loop browser empties and the work graph is shown.
  virtual void WorkGraphReplaced() = 0;
  // Before a command refills Loops: the loop grid keeps the list it shows.
  virtual void KeepGridLoops() = 0;
  virtual void SetTitle(const QString& title) = 0;
  // Loops is about to be refilled or emptied: what was marked on its loops goes.
  virtual void LoopsReplaced() = 0;
  // "Find Loops" with "Minimal" on the loops page, as if pressed there.
  virtual void FindMinimalLoops() = 0;
  // Shows the loop view with work-graph shot `shot` (-1: none) marked and
  // the loops `loops` of Loops on top, the first of them chosen.
  virtual void MarkSuspect(int32_t shot, std::vector<int32_t> loops) = 0;
  // While work runs on its own thread (a loop search, the blunder search):
  // every command that could change the network or the loops is disabled;
  // the drawing and the view stay. Calls pair up and may nest.
  virtual void SetSearching(bool searching) = 0;
  // Shows `text` on the status line.
  virtual void ShowStatus(const QString& text) = 0;

 protected:
  ~TPageHost() = default;
};
