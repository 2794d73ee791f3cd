#pragma once
// Writing a whole file so that a failure never leaves half of it: the bytes
// go to a new file beside the target, which is renamed over the target only
// when everything was written.

#include <string>
#include <string_view>

// Writes content as fileName, replacing any old file only when complete.
// Raises ECyclornError "Cannot save the <what> "<fileName>": <reason>"; the
// old file and the folder are then as they were.
void WriteWholeFile(const std::string& fileName, std::string_view content, std::string_view what);
