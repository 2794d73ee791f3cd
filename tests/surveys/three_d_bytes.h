#pragma once
// T3dBytes: builds .3d files byte by byte for the reader's tests, so that
// every item, in every version, can be written exactly as the format says -
// or exactly wrong.

#include <cstdint>
#include <string>
#include <string_view>

class T3dBytes {
 public:
  // A version-8 header: title, coordinate system (none when empty), flags.
  static T3dBytes V8(std::string_view title = "T", std::string_view cs = "", uint8_t flags = 0) {
    T3dBytes b("v8");
    b.Text(title);
    if (!cs.empty()) b.Byte(0).Text(cs);
    return b.Text("\n@1700000000\n").Byte(flags);
  }
  // A header of version 3 to 7.
  static T3dBytes Old(int version, std::string_view title = "T") {
    T3dBytes b("v" + std::to_string(version));
    return b.Text(title).Text("\nSun,2002.03.17 14:01:07 GMT\n");
  }
  // No header: a piece of a file.
  static T3dBytes Raw() { return T3dBytes(); }
  static T3dBytes Binary001(std::string_view title = "T") {
    T3dBytes b("Bv0.01");
    return b.Text(title).Text("\nSun,2002.03.17 14:01:07 GMT\n");
  }

  T3dBytes& Byte(unsigned v) {
    bytes += static_cast<char>(v & 0xff);
    return *this;
  }
  T3dBytes& U16(unsigned v) { return Byte(v).Byte(v >> 8); }
  T3dBytes& I32(int64_t v) {
    const auto u = static_cast<uint32_t>(v);
    return U16(u & 0xffff).U16(u >> 16);
  }
  T3dBytes& Text(std::string_view s) {
    bytes += s;
    return *this;
  }
  // A position in centimetres.
  T3dBytes& Point(int32_t x, int32_t y, int32_t z = 0) { return I32(x).I32(y).I32(z); }

  // A version-8 label change: drop characters, then append add; the short
  // form when it fits, else the long one.
  T3dBytes& Label8(size_t drop, std::string_view add) {
    if (drop <= 15 && add.size() <= 15 && (drop | add.size()) != 0) return Byte(drop << 4 | add.size()).Text(add);
    Byte(0);
    LongCount(drop);
    LongCount(add.size());
    return Text(add);
  }
  // A label of versions 3 to 7: its length, then its characters.
  T3dBytes& LabelOld(std::string_view add) {
    if (add.size() < 0xfe) {
      Byte(add.size());
    } else if (add.size() < 254 + 0x10000) {
      Byte(0xfe).U16(add.size() - 254);
    } else {
      Byte(0xff).I32(static_cast<int64_t>(add.size()));
    }
    return Text(add);
  }

  T3dBytes& Move(int32_t x, int32_t y, int32_t z = 0) { return Byte(0x0f).Point(x, y, z); }
  // A version-8 LINE that keeps the label.
  T3dBytes& Line(int32_t x, int32_t y, int32_t z = 0, uint8_t flags = 0) { return Byte(0x60 | flags).Point(x, y, z); }

  std::string bytes;

 private:
  T3dBytes() = default;
  explicit T3dBytes(const std::string& version) : bytes("Survex 3D Image File\n" + version + "\n") {}
  void LongCount(size_t n) {
    if (n < 255) {
      Byte(n);
    } else {
      Byte(0xff).I32(static_cast<int64_t>(n));
    }
  }
};
