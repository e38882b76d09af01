// The PE version-resource reader against arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/FileVersion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPeVersionInfo info;
  ReadPeVersionInfo(std::string(reinterpret_cast<const char*>(data), size), info);
  return 0;
}
