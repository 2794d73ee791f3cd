#pragma once
// Reading .svx text from memory in tests.

#include <map>
#include <string>

#include "core/errors.h"
#include "surveys/svx_reader.h"

// The survey of one file "t.svx" holding text, beside the other files given.
inline TSurvey ReadSvxText(const std::string& text, const TSvxOptions& options = {},
                           std::map<std::string, std::string> others = {}) {
  TSvxMemoryFiles files;
  files.Files = std::move(others);
  files.Files["t.svx"] = text;
  return ReadSvx("t.svx", files, options);
}

// The whole message of the error that reading the files raises, starting at
// top; "" when they read without one.
inline std::string SvxErrorOf(std::map<std::string, std::string> files, const std::string& top = "t.svx",
                              const TSvxOptions& options = {}) {
  TSvxMemoryFiles source;
  source.Files = std::move(files);
  try {
    ReadSvx(top, source, options);
  } catch (const ECyclornError& error) {
    return error.what();
  }
  return "";
}
