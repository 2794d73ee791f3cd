#pragma once
// A small writer of version-8 .3d files of a side x side grid: the stations
// "grid.<row>.<column>" spacing centimetres apart, every row and every column
// a traverse (one MOVE, then LINEs), then a label for every station, as cavern
// lays a file out.

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>

namespace grid3d {

inline void Put32(std::string& out, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((u >> shift) & 0xff);
}

inline void PutPoint(std::string& out, int32_t x, int32_t y) {
  Put32(out, x);
  Put32(out, y);
  Put32(out, 0);
}

// A version-8 label that turns previous into name.
inline void PutLabel(std::string& out, const std::string& previous, const std::string& name) {
  size_t common = 0;
  while (common < previous.size() && common < name.size() && previous[common] == name[common]) ++common;
  const size_t drop = previous.size() - common;
  const size_t add = name.size() - common;
  if (drop <= 15 && add <= 15 && (drop | add) != 0) {
    out += static_cast<char>(drop << 4 | add);
  } else {
    out += '\0';
    for (const size_t n : {drop, add}) {
      if (n < 255) {
        out += static_cast<char>(n);
      } else {
        out += '\xff';
        Put32(out, static_cast<int32_t>(n));
      }
    }
  }
  out.append(name, common, add);
}

inline std::string GridBytes(int32_t side, int32_t spacing) {
  std::string out = "Survex 3D Image File\nv8\nGrid\n@0\n";
  out += '\0';  // file-wide flags
  out += '\0';  // normal style
  for (int pass = 0; pass < 2; ++pass) {
    for (int32_t a = 0; a < side; ++a) {
      out += '\x0f';
      PutPoint(out, pass == 0 ? 0 : a * spacing, pass == 0 ? a * spacing : 0);
      for (int32_t b = 1; b < side; ++b) {
        const bool first = pass == 0 && a == 0 && b == 1;
        out += first ? '\x40' : '\x60';  // the first LINE sets the survey name, the rest keep it
        if (first) PutLabel(out, "", "grid");
        PutPoint(out, pass == 0 ? b * spacing : a * spacing, pass == 0 ? a * spacing : b * spacing);
      }
    }
  }
  std::string label = "grid";
  for (int32_t row = 0; row < side; ++row) {
    for (int32_t column = 0; column < side; ++column) {
      const std::string name = "grid." + std::to_string(row) + "." + std::to_string(column);
      out += '\x82';  // an underground station
      PutLabel(out, label, name);
      PutPoint(out, column * spacing, row * spacing);
      label = name;
    }
  }
  out += '\0';
  return out;
}

inline void WriteGrid(const std::string& fileName, int32_t side, int32_t spacing) {
  const std::string bytes = GridBytes(side, spacing);
  std::ofstream file(fileName, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.flush()) throw std::runtime_error("cannot write " + fileName);
}

}  // namespace grid3d
