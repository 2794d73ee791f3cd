// Saving a metafile: the bytes are built in memory, then written as a whole.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

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
  std::ostringstream bytes;
  try {
    if (IsPlaceableMetafileName(fileName)) {
      WritePlaceableMetafile(bytes, recording, options);
    } else {
      WriteEnhancedMetafile(bytes, recording, options);
    }
  } catch (const ECyclornError& error) {
    throw EFileError(error.what(), 0, fileName);
  }
  WriteFileSafely(fileName, std::move(bytes).str());
}
