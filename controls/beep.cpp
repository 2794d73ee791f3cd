#include "controls/beep.h"

#include <QApplication>

namespace {
uint64_t beepCount = 0;
}  // namespace

void Beep() {
  ++beepCount;
  QApplication::beep();
}

uint64_t BeepCount() { return beepCount; }
