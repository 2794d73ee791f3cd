// Saving a metafile: the bytes are built in memory, then written as a whole.

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/errors.h"
#include "metafile/metafile_export.h"
#include "support/file_errors.h"
#include "support/safe_write.h"

bool IsPlaceableMetafileName(const std::string& fileName) {
  const std::filesystem::path extension = std::filesystem::path(fileName).extension();
  std::string lower = extension.string();
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == ".wmf";
}

void SaveMetafile(const std::string& fileName, const TMetafileCanvas& recording, const TMetafileOptions& options) {
  std::string bytes;
  try {
    bytes = IsPlaceableMetafileName(fileName) ? PlaceableMetafileBytes(recording, options)
                                              : EnhancedMetafileBytes(recording, options);
  } catch (const ECyclornError& error) {
    throw EFileError(error.what(), 0, fileName);
  }
  WriteFileSafely(fileName, bytes);
}
