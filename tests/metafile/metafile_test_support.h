#pragma once
// Helpers for the metafile tests: a deterministic text measure, reading the
// written bytes back, and running the independent metafile readers.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "render/canvas.h"
#include "metafile/metafile_canvas.h"

// 6 pixels per character, 9 for "W" and "M"; 13 high, 15 for a bold font.
TSize TestMeasure(const TFontSpec& font, std::string_view text);

// A recording that only fills its background in grey.
TMetafileCanvas BackgroundOnly(int32_t width = 200, int32_t height = 100);

uint16_t ReadU16(const std::string& bytes, size_t offset);
uint32_t ReadU32(const std::string& bytes, size_t offset);
int32_t ReadI32(const std::string& bytes, size_t offset);
int16_t ReadI16(const std::string& bytes, size_t offset);

// One enhanced metafile record: its type, where it starts and its size.
struct TEmfRecord {
  uint32_t Type = 0;
  size_t Offset = 0;
  uint32_t Size = 0;
};
// Walks the records by their sizes; fails the test on a size that runs off.
std::vector<TEmfRecord> EmfRecords(const std::string& bytes);
std::vector<uint32_t> EmfRecordTypes(const std::string& bytes);

// One Windows metafile record after the placeable and metafile headers.
struct TWmfRecord {
  uint16_t Function = 0;
  size_t Offset = 0;
  uint32_t Words = 0;
};
std::vector<TWmfRecord> WmfRecords(const std::string& bytes);
std::vector<uint16_t> WmfRecordFunctions(const std::string& bytes);

std::string ReadFileBytes(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed at the end.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::vector<std::string> FileNames() const;

 private:
  std::filesystem::path path_;
};

// Converts a metafile to SVG with emf2svg-conv or wmf2svg; returns the SVG
// text, or fails the test with the reader's complaint.
std::string EmfToSvg(const std::filesystem::path& emf, const TScratchFolder& scratch);
std::string WmfToSvg(const std::filesystem::path& wmf, const TScratchFolder& scratch);

size_t CountOf(std::string_view text, std::string_view part);

// The contents of the SVG's text elements, in document order.
std::vector<std::string> SvgTexts(std::string_view svg);

// A small network drawn as the graph view draws one: the background fill,
// then for each of the edges A-B, B-C and C-A its two boxed labels, its line
// and its arrow head. 6 labels, 3 lines, 3 arrow polygons, 13 rectangles.
void DrawSmallNetwork(TCanvas& canvas);
