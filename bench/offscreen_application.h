#pragma once
// The one application object a benchmark program that paints needs, made on
// first use and drawing offscreen unless QT_QPA_PLATFORM says otherwise, so
// the benchmarks run without a display.

#include <QtGlobal>

template <class TApplication>
TApplication& OffscreenApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "cyclorn_bench";
  static char* argv[] = {name, nullptr};
  static TApplication application(argc, argv);
  return application;
}
