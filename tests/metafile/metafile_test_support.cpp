#include "tests/metafile/metafile_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

TSize TestMeasure(const TFontSpec& font, std::string_view text) {
  int32_t width = 0;
  for (char c : text) width += (c == 'W' || c == 'M') ? 9 : 6;
  return TSize{width, font.Bold ? 15 : 13};
}

TMetafileCanvas BackgroundOnly(int32_t width, int32_t height) {
  TMetafileCanvas canvas(width, height, TestMeasure);
  canvas.SetBrushColor(clGray);
  canvas.FillRect(canvas.ClipRect());
  return canvas;
}

uint16_t ReadU16(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(offset)) |
                               (static_cast<uint8_t>(bytes.at(offset + 1)) << 8));
}
uint32_t ReadU32(const std::string& bytes, size_t offset) {
  return uint32_t{ReadU16(bytes, offset)} | (uint32_t{ReadU16(bytes, offset + 2)} << 16);
}
int32_t ReadI32(const std::string& bytes, size_t offset) { return static_cast<int32_t>(ReadU32(bytes, offset)); }
int16_t ReadI16(const std::string& bytes, size_t offset) { return static_cast<int16_t>(ReadU16(bytes, offset)); }

std::vector<TEmfRecord> EmfRecords(const std::string& bytes) {
  std::vector<TEmfRecord> records;
  for (size_t offset = 0; offset + 8 <= bytes.size();) {
    const TEmfRecord record{ReadU32(bytes, offset), offset, ReadU32(bytes, offset + 4)};
    if (record.Size < 8 || record.Size % 4 != 0 || offset + record.Size > bytes.size()) {
      ADD_FAILURE() << "record at " << offset << " has the impossible size " << record.Size;
      break;
    }
    records.push_back(record);
    offset += record.Size;
  }
  return records;
}

std::vector<uint32_t> EmfRecordTypes(const std::string& bytes) {
  std::vector<uint32_t> types;
  for (const TEmfRecord& record : EmfRecords(bytes)) types.push_back(record.Type);
  return types;
}

std::vector<TWmfRecord> WmfRecords(const std::string& bytes) {
  std::vector<TWmfRecord> records;
  // 22 bytes of placeable header, then 9 words of metafile header.
  for (size_t offset = 22 + 18; offset + 6 <= bytes.size();) {
    const TWmfRecord record{ReadU16(bytes, offset + 4), offset, ReadU32(bytes, offset)};
    if (record.Words < 3 || offset + 2 * size_t{record.Words} > bytes.size()) {
      ADD_FAILURE() << "record at " << offset << " has the impossible size " << record.Words;
      break;
    }
    records.push_back(record);
    offset += 2 * size_t{record.Words};
  }
  return records;
}

std::vector<uint16_t> WmfRecordFunctions(const std::string& bytes) {
  std::vector<uint16_t> functions;
  for (const TWmfRecord& record : WmfRecords(bytes)) functions.push_back(record.Function);
  return functions;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

TScratchFolder::TScratchFolder() {
  static int counter = 0;
  path_ = std::filesystem::temp_directory_path() /
          ("cyclorn-metafile-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TScratchFolder::FileNames() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

std::string RunCapturing(const std::string& command, int& status) {
  std::string output;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  std::array<char, 512> buffer{};
  while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) output += buffer.data();
  status = ::pclose(pipe);
  return output;
}

std::string FontFile(const std::string& pattern) {
  int status = 0;
  return RunCapturing("fc-match --format=%{file} '" + pattern + "'", status);
}

// wmf2svg draws texts with the 12 standard PostScript fonts and gives up when
// it finds none; a font map onto the machine's own fonts lets it run anywhere.
std::filesystem::path WriteFontMap(const TScratchFolder& scratch) {
  const std::filesystem::path map = scratch.Path() / "fontmap";
  std::ofstream out(map);
  struct TFamily {
    const char* Name;
    const char* Regular;
    const char* Slanted;
    const char* Pattern;
  };
  for (const TFamily& family :
       {TFamily{"Times", "Times-Roman", "Italic", "serif"}, TFamily{"Helvetica", "Helvetica", "Oblique", "sans-serif"},
        TFamily{"Courier", "Courier", "Oblique", "monospace"}}) {
    const std::string name = family.Name;
    out << "/" << family.Regular << " (" << FontFile(family.Pattern) << ") ;\n";
    out << "/" << name << "-Bold (" << FontFile(std::string(family.Pattern) + ":bold") << ") ;\n";
    out << "/" << name << "-" << family.Slanted << " (" << FontFile(std::string(family.Pattern) + ":italic") << ") ;\n";
    out << "/" << name << "-Bold" << family.Slanted << " (" << FontFile(std::string(family.Pattern) + ":bold:italic")
        << ") ;\n";
  }
  return map;
}

std::string Convert(const std::string& command, const std::filesystem::path& svg) {
  int status = 0;
  const std::string output = RunCapturing(command, status);
  if (status != 0) {
    ADD_FAILURE() << command << " failed with status " << status << ": " << output;
    return {};
  }
  return ReadFileBytes(svg);
}

}  // namespace

std::string EmfToSvg(const std::filesystem::path& emf, const TScratchFolder& scratch) {
  const std::filesystem::path svg = scratch.Path() / (emf.stem().string() + "-emf.svg");
  return Convert("emf2svg-conv -i " + Quoted(emf) + " -o " + Quoted(svg), svg);
}

std::string WmfToSvg(const std::filesystem::path& wmf, const TScratchFolder& scratch) {
  const std::filesystem::path svg = scratch.Path() / (wmf.stem().string() + "-wmf.svg");
  const std::filesystem::path fontMap = WriteFontMap(scratch);
  return Convert("wmf2svg --wmf-gs-fontmap=" + Quoted(fontMap) + " -o " + Quoted(svg) + " " + Quoted(wmf), svg);
}

size_t CountOf(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t pos = text.find(part); pos != std::string_view::npos; pos = text.find(part, pos + part.size())) ++count;
  return count;
}

std::vector<std::string> SvgTexts(std::string_view svg) {
  std::vector<std::string> texts;
  for (size_t open = svg.find("<text"); open != std::string_view::npos; open = svg.find("<text", open + 1)) {
    const size_t start = svg.find('>', open) + 1;
    std::string_view content = svg.substr(start, svg.find("</text>", start) - start);
    if (content.starts_with("<![CDATA[") && content.ends_with("]]>")) content = content.substr(9, content.size() - 12);
    texts.emplace_back(content);
  }
  return texts;
}

namespace {

void DrawLabel(TCanvas& canvas, TPoint centre, std::string_view text) {
  canvas.SetFont(TFontSpec{});
  canvas.SetPenWidth(1);
  const TSize size = canvas.TextExtent(text);
  const int32_t left = centre.X - size.Width / 2;
  const int32_t top = centre.Y - size.Height / 2;
  TRect box{left - 3, top - 3, left + size.Width + 3, top + size.Height + 3};
  canvas.SetBrushColor(clWhite);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.Rectangle(box);
  canvas.TextRect(box, left, top, text);
  box = TRect{box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1};
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.Rectangle(box);
}

}  // namespace

void DrawSmallNetwork(TCanvas& canvas) {
  struct TStation {
    const char* Name;
    TPoint At;
  };
  const TStation a{"A", {50, 50}}, b{"B", {150, 50}}, c{"C", {150, 120}};
  struct TEdge {
    TStation From, To;
    TPoint LineStart, LineEnd;
    std::array<TPoint, 3> Arrow;
  };
  const TEdge edges[] = {
      {a, b, {60, 50}, {140, 50}, {{{140, 50}, {130, 45}, {130, 55}}}},
      {b, c, {150, 60}, {150, 110}, {{{150, 110}, {155, 100}, {145, 100}}}},
      {c, a, {142, 114}, {58, 56}, {{{58, 56}, {63, 64}, {69, 56}}}},
  };
  canvas.SetBrushColor(clGray);
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.FillRect(canvas.ClipRect());
  for (const TEdge& edge : edges) {
    canvas.SetPenColor(clBlack);
    DrawLabel(canvas, edge.From.At, edge.From.Name);
    DrawLabel(canvas, edge.To.At, edge.To.Name);
    canvas.SetBrushColor(clWhite);
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetPenColor(clBlack);
    canvas.SetPenWidth(1);
    canvas.MoveTo(edge.LineStart);
    canvas.LineTo(edge.LineEnd);
    canvas.Polygon(edge.Arrow);
  }
}
