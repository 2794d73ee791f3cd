#pragma once
// The system beep of the input controls: refused characters and steps of a
// read-only spin. Every beep is counted so that tests can observe it.

#include <cstdint>

// Sounds the system beep and counts it.
void Beep();
// Number of beeps since the program started.
uint64_t BeepCount();
