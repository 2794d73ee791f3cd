// Saving a metafile: the bytes are built in memory, written to a new file
// beside the target and renamed over the target only when complete.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <system_error>

#include "core/errors.h"
#include "draw/metafile_export.h"

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

[[noreturn]] void Fail(const std::string& fileName, const std::string& reason) {
  throw ECyclornError("Cannot save the metafile \"" + fileName + "\": " + reason);
}

std::string ErrnoText(int error) { return std::generic_category().message(error); }

// Creates a file that did not exist, named after the target, in the target's
// folder: never an existing file of someone else's.
std::pair<TFile, std::filesystem::path> CreateTemporaryBeside(const std::string& fileName) {
  int lastError = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate(fileName + ".tmp" + std::to_string(attempt));
    // "x": fail rather than open a file that already exists.
    if (std::FILE* file = std::fopen(candidate.c_str(), "wbx")) return {TFile(file), candidate};
    lastError = errno;
    if (lastError != EEXIST) break;
  }
  Fail(fileName, ErrnoText(lastError));
}

}  // namespace

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
    Fail(fileName, error.what());
  }
  const std::string content = std::move(bytes).str();

  auto [file, temporary] = CreateTemporaryBeside(fileName);
  // Whatever fails from here on, the half-written temporary file goes.
  struct TRemover {
    std::filesystem::path Path;
    bool Armed = true;
    ~TRemover() {
      std::error_code ignored;
      if (Armed) std::filesystem::remove(Path, ignored);
    }
  } remover{temporary};

  if (std::fwrite(content.data(), 1, content.size(), file.get()) != content.size()) Fail(fileName, ErrnoText(errno));
  if (std::fclose(file.release()) != 0) Fail(fileName, ErrnoText(errno));
  std::error_code error;
  std::filesystem::rename(temporary, fileName, error);
  if (error) Fail(fileName, error.message());
  remover.Armed = false;
}
