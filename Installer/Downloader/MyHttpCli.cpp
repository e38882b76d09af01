#include "Installer/Downloader/MyHttpCli.h"

#include <algorithm>

void TMyHttpCli::SetRange(int64_t start, int64_t end, int64_t contentLength) {
  FStartOffset = start;
  FEndOffset = end;
  FOwnedEnd = contentLength > 0 ? std::min(end, contentLength - 1) : std::numeric_limits<int64_t>::max();
}

void TMyHttpCli::ApplyRangeRequest() {
  THttpSettings& s = FHttp->Settings();
  s.RangeBegin = NextOffset();
  s.RangeEnd = OpenEnded() ? -1 : FEndOffset;
  // A fresh open range from the first byte needs no Range header at all.
  if (OpenEnded() && s.RangeBegin == 0) s.RangeBegin = -1;
}
