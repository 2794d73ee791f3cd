#pragma once
// Writing a recorded picture as a metafile: an enhanced metafile (".emf"), or
// a placeable Windows metafile at 96 units per inch (".wmf").

#include <ostream>
#include <string>

#include "render/canvas.h"
#include "metafile/metafile_canvas.h"

struct TMetafileOptions {
  // The colour that the system's window-text colour becomes in the file.
  TColor WindowTextColor = clBlack;
  // The reference screen in pixels (96 per inch) that the enhanced metafile
  // header names as the recording device.
  TSize ReferenceScreen{1920, 1080};
};

// The recording as the bytes of an enhanced metafile.
std::string EnhancedMetafileBytes(const TMetafileCanvas& recording, const TMetafileOptions& options = {});

// The recording as the bytes of a placeable Windows metafile. Raises
// ECyclornError when a coordinate does not fit the format's 16 bits.
std::string PlaceableMetafileBytes(const TMetafileCanvas& recording, const TMetafileOptions& options = {});

// Writes the recording as an enhanced metafile. Raises ECyclornError when the
// stream fails.
void WriteEnhancedMetafile(std::ostream& out, const TMetafileCanvas& recording, const TMetafileOptions& options = {});

// Writes the recording as a placeable Windows metafile. Raises ECyclornError
// when a coordinate does not fit the format's 16 bits or the stream fails.
void WritePlaceableMetafile(std::ostream& out, const TMetafileCanvas& recording, const TMetafileOptions& options = {});

// True when the name ends in ".wmf", in any case.
bool IsPlaceableMetafileName(const std::string& fileName);

// Saves the recording under fileName: a placeable Windows metafile for a
// ".wmf" name, an enhanced metafile for any other. The file is written beside
// the target first and renamed over it only when complete, so a failure
// leaves any old file as it was. Raises ECyclornError naming the file.
void SaveMetafile(const std::string& fileName, const TMetafileCanvas& recording, const TMetafileOptions& options = {});
