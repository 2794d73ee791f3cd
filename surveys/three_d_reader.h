#pragma once
// Reading processed survey files (.3d), the format Survex's cavern and
// Therion write: version 8, the older versions 3 to 7 and the early binary
// "Bv0.01" ("bv0.01"). A file is known by its first line, whatever its name.
//
// A .3d file holds positions, not a network: legs run from position to
// position and station names are labels at positions. So a station is a
// position with its labels (labels that share a position become one station,
// counted in Notes.SharedPositions); a position that legs touch but no label
// names is an anonymous station. Legs whose two ends are one position are
// counted in Notes.ZeroLengthLegs and left out of Legs.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "surveys/survey.h"

// A .3d file that cannot be read. The message names the file and the byte
// offset of the item (or header line) that is wrong, as in
// "cave.3d: byte 1234: label runs past the end of the file".
class E3dFileError : public ECyclornError {
 public:
  E3dFileError(const std::string& message, int64_t offset) : ECyclornError(message), offset_(offset) {}
  int64_t Offset() const { return offset_; }

 private:
  int64_t offset_;
};

// True when bytes, the start of a file, begin with the line that opens every
// .3d file ("Survex 3D Image File").
bool Is3dFile(std::string_view firstBytes);

// The survey in a .3d file. Raises EFileError when the file cannot be read
// and E3dFileError when it is not a .3d file this reader knows or is damaged;
// nothing is returned then.
TSurvey Read3dFile(const std::string& fileName);

// The survey in the bytes of a .3d file; nameForMessages starts every error
// message. Raises E3dFileError as Read3dFile does.
TSurvey Read3d(std::string_view bytes, std::string_view nameForMessages);
