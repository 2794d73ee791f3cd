#pragma once
// The memory this process holds in RAM now, in whole megabytes, for long
// runs that check that memory in use does not grow.

#include <unistd.h>

#include <cstdint>
#include <fstream>

inline int64_t ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0;
  int64_t resident = 0;
  statm >> size >> resident;
  return resident * ::sysconf(_SC_PAGESIZE) / (1024 * 1024);
}
