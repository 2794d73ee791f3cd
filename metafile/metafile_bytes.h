#pragma once
// TByteWriter: builds a metafile in memory, little-endian whatever the
// machine, so that sizes and counts can be patched into the header once the
// records are known.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

class TByteWriter {
 public:
  void U8(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
  void U16(uint16_t value) {
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
  }
  void U32(uint32_t value) {
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
  }
  void I16(int16_t value) { U16(static_cast<uint16_t>(value)); }
  void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
  void Zeros(size_t count) { bytes_.append(count, '\0'); }

  // Overwrites four bytes already written at offset.
  void PatchU32(size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<char>(value >> (8 * i));
  }
  void PatchU16(size_t offset, uint16_t value) {
    bytes_[offset] = static_cast<char>(value);
    bytes_[offset + 1] = static_cast<char>(value >> 8);
  }

  size_t Size() const { return bytes_.size(); }
  const std::string& Bytes() const { return bytes_; }
  std::string Take() && { return std::move(bytes_); }

 private:
  std::string bytes_;
};
