#include "surveys/three_d_reader.h"

#include <cstdio>
#include <stdexcept>

#include "support/input_file.h"
#include "surveys/three_d_assembly.h"

namespace {

constexpr std::string_view kFileId = "Survex 3D Image File";

// Names are delta-coded in the file, so the names they spell out are rightly
// longer than the file; past this many characters per byte of file (and a
// floor for small files) a file is taken to be built to exhaust memory.
constexpr uint64_t kNameCharactersPerByte = 32;
constexpr uint64_t kNameCharactersFloor = uint64_t{64} << 20;

// Days from 1900-01-01 to 1970-01-01, for dates given in seconds since 1970.
constexpr int64_t kDaysTo1970 = 25567;
constexpr int64_t kSecondsPerDay = 86400;

// File-wide flag of version 8: the survey is an extended elevation.
constexpr uint8_t kExtendedElevation = 0x80;
// The leg flags every version records (surface, duplicate, splay); the other
// bits are reserved.
constexpr uint8_t kLegFlagBits = lfSurface | lfDuplicate | lfSplay;

std::string Hex(unsigned code) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02x", code);
  return text;
}

// A version line as a message can show it: short, without control characters.
std::string Shown(std::string_view text) {
  constexpr size_t kLongest = 16;
  std::string shown(text.substr(0, kLongest));
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return text.size() > kLongest ? shown + "..." : shown;
}

class TReader {
 public:
  TReader(std::string_view bytes, std::string_view name)
      : bytes_(bytes),
        name_(name),
        assembly_(kNameCharactersFloor + kNameCharactersPerByte * static_cast<uint64_t>(bytes.size())) {}

  TSurvey Read() {
    if (!Is3dFile(bytes_)) Fail(0, "not a Survex 3D image file (its first line is not \"Survex 3D Image File\")");
    pos_ = kFileId.size() + (bytes_[kFileId.size()] == '\r' ? 2 : 1);
    std::string_view version = Line("version");
    if (!version.empty() && version.back() == '\r') version.remove_suffix(1);
    TSurvey& survey = assembly_.Survey();
    try {
      if (version == "v8") {
        ReadHeader8(survey);
        ReadItems8();
      } else if (version.size() == 2 && version[0] == 'v' && version[1] >= '3' && version[1] <= '7') {
        version_ = version[1] - '0';
        survey.Title = Line("title");
        Line("timestamp");
        ReadItemsOld();
      } else if (version == "Bv0.01" || version == "bv0.01") {
        survey.Title = Line("title");
        Line("date");
        ReadItemsBinary001();
      } else {
        Fail(item_,
             "unsupported .3d file version \"" + Shown(version) + "\" (this reader knows v8, v3 to v7 and Bv0.01)");
      }
    } catch (const std::length_error& error) {
      Fail(item_, error.what());
    }
    return assembly_.Finish();
  }

 private:
  [[noreturn]] void Fail(size_t offset, const std::string& what) const {
    std::string message(name_);
    if (!message.empty()) message += ": ";
    message += "byte " + std::to_string(offset) + ": " + what;
    throw E3dFileError(message, static_cast<int64_t>(offset));
  }

  size_t Left() const { return bytes_.size() - pos_; }
  // Fails at the current item unless n more bytes are there.
  void Need(size_t n, const char* what) const {
    if (Left() < n) Fail(item_, std::string("the file ends inside ") + what);
  }
  void NeedLabel(size_t n) const {
    if (Left() < n) Fail(item_, "label runs past the end of the file");
  }
  uint8_t U8() { return static_cast<uint8_t>(bytes_[pos_++]); }
  uint32_t U16() {
    const uint32_t v = U8();
    return v | static_cast<uint32_t>(U8()) << 8;
  }
  uint32_t U32() {
    const uint32_t v = U16();
    return v | U16() << 16;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  TCentimetres Point() {
    const int32_t x = I32();
    const int32_t y = I32();
    return {x, y, I32()};
  }

  // The rest of a header line, without its linefeed.
  std::string_view Line(const char* what) {
    item_ = pos_;
    const size_t end = bytes_.find('\n', pos_);
    if (end == std::string_view::npos) Fail(item_, std::string("the file ends inside the header's ") + what + " line");
    const std::string_view line = bytes_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return line;
  }

  void ReadHeader8(TSurvey& survey) {
    // Title and coordinate system, separated by a zero byte; later fields
    // may follow and are skipped.
    const std::string_view metadata = Line("title");
    const size_t zero = metadata.find('\0');
    survey.Title = std::string(metadata.substr(0, zero));
    if (zero != std::string_view::npos) {
      const std::string_view rest = metadata.substr(zero + 1);
      survey.CoordinateSystem = std::string(rest.substr(0, rest.find('\0')));
    }
    Line("timestamp");
    item_ = pos_;
    Need(1, "the header's flags");
    survey.ExtendedElevation = (U8() & kExtendedElevation) != 0;
  }

  // Version 8 labels: drop D bytes from the end of the label, then append A
  // bytes from the file.
  void Label8() {
    NeedLabel(1);
    size_t drop = U8();
    size_t add = 0;
    if (drop != 0) {
      add = drop & 0x0f;
      drop >>= 4;
    } else {
      drop = LongCount8();
      add = LongCount8();
    }
    ChangeLabel(drop, add);
  }
  size_t LongCount8() {
    NeedLabel(1);
    const uint8_t b = U8();
    if (b != 0xff) return b;
    NeedLabel(4);
    return U32();
  }
  void ChangeLabel(size_t drop, size_t add) {
    if (drop > label_.size()) {
      Fail(item_,
           "label removes " + std::to_string(drop) + " characters from a name of " + std::to_string(label_.size()));
    }
    if (add > Left()) Fail(item_, "label runs past the end of the file");
    if (drop == 0 && add == 0) return;
    label_.resize(label_.size() - drop);
    label_.append(bytes_.substr(pos_, add));
    pos_ += add;
    ++labelVersion_;
  }

  void ReadItems8() {
    TLegStyle style = TLegStyle::Normal;
    bool styleSet = false;
    for (;;) {
      item_ = pos_;
      if (Left() == 0) Fail(pos_, "the file ends before its end-of-data item");
      const uint8_t code = U8();
      if (code <= 0x04) {
        // 0x00 sets the normal style; when that style is set already it ends
        // the data. Therion starts legs with no style item at all.
        if (code == 0 && styleSet && style == TLegStyle::Normal) return;
        style = static_cast<TLegStyle>(code);
        styleSet = true;
      } else if (code == 0x0f) {
        Need(12, "a MOVE item");
        assembly_.MoveTo(Point());
      } else if (code == 0x10) {
        assembly_.ClearDates();
      } else if (code == 0x11) {
        Need(2, "a DATE item");
        const auto day = static_cast<int32_t>(U16());
        assembly_.SetDates(day, day);
      } else if (code == 0x12) {
        Need(3, "a DATE item");
        const auto day = static_cast<int32_t>(U16());
        assembly_.SetDates(day, day + U8());
      } else if (code == 0x13) {
        Need(4, "a DATE item");
        const auto first = static_cast<int32_t>(U16());
        assembly_.SetDates(first, static_cast<int32_t>(U16()));
      } else if (code == 0x1f) {
        ErrorInfo();
      } else if (code >= 0x30 && code <= 0x33) {
        Label8();
        CrossSection(code >= 0x32 ? 4 : 2);
      } else if (code >= 0x40 && code <= 0x7f) {
        if ((code & 0x20) == 0) Label8();
        Need(12, "a LINE item");
        const TCentimetres to = Point();
        if (!assembly_.HasPosition()) Fail(item_, "a leg starts where no position has been given");
        assembly_.LineTo(to, code & kLegFlagBits, style, label_, labelVersion_);
      } else if (code >= 0x80) {
        Label8();
        Need(12, "a LABEL item");
        StationLabel(Point(), code & 0x7f);
      } else {
        Fail(item_, "reserved item code " + Hex(code));
      }
    }
  }

  // Versions 3 to 7: a label is appended to the current one; its length is
  // one byte, or 0xfe and two bytes (plus 254), or 0xff and four bytes.
  void LabelOld() {
    NeedLabel(1);
    size_t add = U8();
    if (add == 0xfe) {
      NeedLabel(2);
      add = U16() + 254;
    } else if (add == 0xff) {
      NeedLabel(4);
      add = U32();
    }
    ChangeLabel(0, add);
  }

  void ReadItemsOld() {
    for (;;) {
      item_ = pos_;
      if (Left() == 0) Fail(pos_, "the file ends before its end-of-data item");
      const uint8_t code = U8();
      if (code == 0x00) {
        // Empties the label, or ends the data when the label is empty.
        if (label_.empty()) return;
        label_.clear();
        ++labelVersion_;
      } else if (code <= 0x0e) {
        TrimToDot(code);
      } else if (code == 0x0f) {
        Need(12, "a MOVE item");
        assembly_.MoveTo(Point());
      } else if (code <= 0x1f) {
        ChangeLabel(code - 0x0fu, 0);
      } else if ((code == 0x20 || code == 0x21) && version_ >= 4 && version_ <= 6) {
        // Dates in seconds since 1970.
        Need(code == 0x20 ? 4 : 8, "a DATE item");
        const int32_t first = DayOfSeconds(U32());
        assembly_.SetDates(first, code == 0x20 ? first : DayOfSeconds(U32()));
      } else if (code == 0x20 && version_ == 7) {
        Need(2, "a DATE item");
        const auto day = static_cast<int32_t>(U16());
        assembly_.SetDates(day, day);
      } else if (code == 0x21 && version_ == 7) {
        Need(3, "a DATE item");
        const auto day = static_cast<int32_t>(U16());
        assembly_.SetDates(day, day + U8());
      } else if (code == 0x22) {
        // Documented from version 6, but cavern writes it into older versions too.
        ErrorInfo();
      } else if (code == 0x23 && version_ == 7) {
        Need(4, "a DATE item");
        const auto first = static_cast<int32_t>(U16());
        assembly_.SetDates(first, static_cast<int32_t>(U16()));
      } else if (code == 0x24 && version_ == 7) {
        assembly_.ClearDates();
      } else if (code >= 0x30 && code <= 0x33 && version_ >= 5) {
        LabelOld();
        CrossSection(code >= 0x32 ? 4 : 2);
      } else if (code >= 0x40 && code <= 0x7f) {
        LabelOld();
        Need(12, "a LABEL item");
        // 0x20 is documented as reserved here, but cavern marks anonymous
        // stations with it as in version 8, and dump3d reads it so.
        StationLabel(Point(), code & 0x3f);
      } else if (code >= 0x80 && code <= 0xbf) {
        LabelOld();
        Need(12, "a LINE item");
        const TCentimetres to = Point();
        if (!assembly_.HasPosition()) Fail(item_, "a leg starts where no position has been given");
        assembly_.LineTo(to, code & kLegFlagBits, TLegStyle::Normal, label_, labelVersion_);
      } else {
        Fail(item_, "reserved item code " + Hex(code) + " for version " + std::to_string(version_));
      }
    }
  }

  // Trims 16 characters from the label, then back to just after its
  // dots-th dot from the end.
  void TrimToDot(unsigned dots) {
    if (label_.size() < 16) Fail(item_, "label trim removes more than the name holds");
    size_t end = label_.size() - 16;
    for (unsigned found = 0; found < dots;) {
      if (end == 0) Fail(item_, "label trim removes more than the name holds");
      if (label_[--end] == '.') ++found;
    }
    label_.resize(end + 1);
    ++labelVersion_;
  }

  static int32_t DayOfSeconds(uint32_t seconds) {
    return static_cast<int32_t>(kDaysTo1970 + static_cast<int64_t>(seconds) / kSecondsPerDay);
  }

  // The early binary version: every code is four bytes; labels are whole
  // names ended by a linefeed and carry no flags.
  void ReadItemsBinary001() {
    for (;;) {
      item_ = pos_;
      if (Left() == 0) Fail(pos_, "the file ends before its end-of-data item");
      Need(4, "an item code");
      const int32_t code = I32();
      switch (code) {
        case -1:
          return;
        case 0:
          break;
        case 1:
          // A cross marker: a position to draw, no station.
          Need(12, "a cross item");
          Point();
          break;
        case 2:
        case 3: {
          const size_t end = bytes_.find('\n', pos_);
          if (end == std::string_view::npos) Fail(item_, "label runs past the end of the file");
          const std::string_view name = bytes_.substr(pos_, end - pos_);
          pos_ = end + 1;
          TCentimetres at;
          if (code == 3) {
            Need(12, "a LABEL item");
            at = Point();
          } else {
            if (!assembly_.HasPosition()) Fail(item_, "a label stands where no position has been given");
            at = assembly_.Position();
          }
          assembly_.Label(at, 0, name);
          break;
        }
        case 4:
          Need(12, "a MOVE item");
          assembly_.MoveTo(Point());
          break;
        case 5: {
          Need(12, "a LINE item");
          const TCentimetres to = Point();
          if (!assembly_.HasPosition()) Fail(item_, "a leg starts where no position has been given");
          assembly_.LineTo(to, 0, TLegStyle::Normal, {}, 0);
          break;
        }
        default:
          Fail(item_, "reserved item code " + std::to_string(code) + " for version Bv0.01");
      }
    }
  }

  void StationLabel(TCentimetres at, uint8_t flags) {
    // An anonymous station's label may still hold the last station's name;
    // it is not the anonymous station's.
    assembly_.Label(at, flags, (flags & sfAnonymous) ? std::string_view() : std::string_view(label_));
  }

  void ErrorInfo() {
    Need(20, "an ERROR item");
    TTraverseError error;
    error.Legs = I32();
    error.Length = I32() / 100.0;
    error.Error = I32() / 100.0;
    error.Horizontal = I32() / 100.0;
    error.Vertical = I32() / 100.0;
    assembly_.Survey().Notes.TraverseErrors.push_back(error);
  }

  void CrossSection(size_t dimensionBytes) {
    Need(4 * dimensionBytes, "an XSECT item");
    pos_ += 4 * dimensionBytes;
    ++assembly_.Survey().Notes.CrossSections;
  }

  std::string_view bytes_;
  std::string_view name_;
  size_t pos_ = 0;
  size_t item_ = 0;  // where the item being read starts
  int version_ = 8;
  std::string label_;
  uint64_t labelVersion_ = 1;  // changes with every change of label_
  T3dAssembly assembly_;
};

}  // namespace

bool Is3dFile(std::string_view firstBytes) {
  if (firstBytes.substr(0, kFileId.size()) != kFileId) return false;
  const std::string_view rest = firstBytes.substr(kFileId.size());
  // Files of the very first version may end their lines with CR LF.
  return rest.substr(0, 1) == "\n" || rest.substr(0, 2) == "\r\n";
}

TSurvey Read3d(std::string_view bytes, std::string_view nameForMessages) {
  return TReader(bytes, nameForMessages).Read();
}

TSurvey Read3dFile(const std::string& fileName) { return Read3d(ReadWholeFile(fileName), fileName); }
