#include "draw/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/errors.h"

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

std::string ErrnoText(int error) { return std::generic_category().message(error); }

// The temporary file beside the target; removed again unless Keep() was called.
class TTemporaryFile {
 public:
  // Creates a file that did not exist yet, so no one else's file is touched.
  // Returns an empty file handle and sets error when none can be made.
  explicit TTemporaryFile(const std::string& target, int& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::filesystem::path candidate(target + ".tmp" + std::to_string(attempt));
      // "x": fail rather than open a file that already exists.
      if (std::FILE* file = std::fopen(candidate.c_str(), "wbx")) {
        file_.reset(file);
        path_ = candidate;
        return;
      }
      error = errno;
      if (error != EEXIST) return;
    }
  }
  ~TTemporaryFile() {
    file_.reset();
    std::error_code ignored;
    if (!path_.empty() && !kept_) std::filesystem::remove(path_, ignored);
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  std::FILE* File() const { return file_.get(); }
  // Closes the file; false when the last bytes could not be written.
  bool Close() { return std::fclose(file_.release()) == 0; }
  const std::filesystem::path& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  TFile file_;
  std::filesystem::path path_;
  bool kept_ = false;
};

}  // namespace

void WriteWholeFile(const std::string& fileName, std::string_view content, std::string_view what) {
  const auto fail = [&](const std::string& reason) {
    throw ECyclornError("Cannot save the " + std::string(what) + " \"" + fileName + "\": " + reason);
  };
  int error = 0;
  TTemporaryFile temporary(fileName, error);
  if (temporary.File() == nullptr) fail(ErrnoText(error));
  if (std::fwrite(content.data(), 1, content.size(), temporary.File()) != content.size()) fail(ErrnoText(errno));
  if (!temporary.Close()) fail(ErrnoText(errno));
  std::error_code renameError;
  std::filesystem::rename(temporary.Path(), fileName, renameError);
  if (renameError) fail(renameError.message());
  temporary.Keep();
}
