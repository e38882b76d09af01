#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// What a PE file's version resource says about it: the fixed version block and the
// "FileVersion" string of the language that the translation table names first.
struct TPeVersionInfo {
  bool HasFixed{false};
  uint16_t Major{0}, Minor{0}, Release{0}, Build{0};
  bool HasFileVersionText{false};
  std::string FileVersionText;  // UTF-8
};

// Reads count bytes at offset of the image into out; false when the image is shorter.
using TImageReader = std::function<bool(uint64_t offset, size_t count, std::string& out)>;

// Walks DOS header -> PE header -> section table -> resource directory -> the RT_VERSION
// resource and decodes it. Every offset and length is checked against what was read, so any
// input, however damaged, gives false or a partial answer and never reads out of bounds.
bool ReadPeVersionInfo(const TImageReader& read, TPeVersionInfo& info);
bool ReadPeVersionInfo(const std::string& image, TPeVersionInfo& info);

// The "FileVersion" string of the file's version resource; defaultValue when the file is
// missing, is not a PE file or has no such string.
std::string GetFileVersionText(const std::string& path, const std::string& defaultValue);
// The fixed version block as "major.minor.release.build", or defaultValue.
std::string GetFileVersionNumbers(const std::string& path, const std::string& defaultValue);
// GetFileVersionText of path, where an empty path means "QuenvoVPNBrowser.exe" beside the
// running installer. With useCache the first non-empty answer is kept for the process and
// returned by later calls that use the cache.
std::string GetBrowserFileVersion(const std::string& path, const std::string& defaultValue, bool useCache);
// Forgets the cached browser version (tests).
void ResetBrowserFileVersionCache();
