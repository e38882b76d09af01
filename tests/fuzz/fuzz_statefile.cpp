// The download engine's state-file reader on arbitrary bytes. Whatever it reads, every byte
// count lies within its range, and a state it calls usable covers the resource exactly once, so
// continuing from it can neither write outside a range nor leave a hole. A usable state written
// back reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Installer/Downloader/DownloadState.h"
#include "platform/MemoryStream.h"
#include "support/SafeIniFile.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSafeIniFile ini;
  TMemoryStream input(std::string(reinterpret_cast<const char*>(data), size));
  ini.LoadFromStream(input);
  const TDownloadState state = TDownloadState::Read(ini);

  Check(state.ContentLength >= 0);
  for (size_t i = 0; i < state.Parts.size(); ++i) {
    const TDownloadPartState& part = state.Parts[i];
    Check(part.Index >= 0 && part.Index < state.PartCount);
    Check(i == 0 || state.Parts[i - 1].Index < part.Index);  // each index once, in order
    Check(part.DataCount >= 0);
    const int64_t length = TDownloadState::OwnedLength(part.StartOffset, part.EndOffset,
                                                       state.ContentLength > 0 ? state.ContentLength : INT64_MAX);
    Check(part.DataCount <= length);
  }
  if (!state.Usable()) return 0;

  int64_t covered = 0;
  for (const auto& part : state.Parts) {
    Check(part.StartOffset >= 0 && part.StartOffset < state.ContentLength);
    Check(part.EndOffset <= state.ContentLength);
    covered += TDownloadState::OwnedLength(part.StartOffset, part.EndOffset, state.ContentLength);
  }
  Check(covered == state.ContentLength);

  TSafeIniFile written;
  state.Write(written);
  const TDownloadState again = TDownloadState::Read(written);
  Check(again.ContentLength == state.ContentLength && again.Parts.size() == state.Parts.size());
  for (size_t i = 0; i < state.Parts.size(); ++i) {
    Check(again.Parts[i].Index == state.Parts[i].Index);
    Check(again.Parts[i].StartOffset == state.Parts[i].StartOffset);
    Check(again.Parts[i].EndOffset == state.Parts[i].EndOffset);
    Check(again.Parts[i].DataCount == state.Parts[i].DataCount);
  }
  return 0;
}
