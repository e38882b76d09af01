// The PNG decoder on arbitrary bytes. A picture that decodes must encode again and decode to
// the same pixels and texts (the codec's round trip), and drawing it scaled and nine-grid
// sliced must stay inside the target bitmap.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "public/rdcontrol/Painter.h"
#include "public/rdcontrol/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TBitmap bitmap;
  std::vector<TPngText> texts;
  std::string error;
  if (!TPngCodec::Decode(bytes, bitmap, &texts, &error)) {
    if (error.empty() || !bitmap.Empty()) std::abort();
    return 0;
  }
  if (bitmap.Empty()) std::abort();
  for (const TPngText& t : texts) (void)TPngCodec::FindText(texts, t.Keyword);

  if (bitmap.Width() * int64_t(bitmap.Height()) <= 256 * 256) {
    std::string again;
    // Texts with characters PNG does not allow in a keyword are refused by the encoder; the
    // pixels alone must still round-trip.
    if (!TPngCodec::Encode(bitmap, again, texts) && !TPngCodec::Encode(bitmap, again)) std::abort();
    TBitmap back;
    if (!TPngCodec::Decode(again, back) || !(back == bitmap)) std::abort();
  }

  TBitmap target(17, 9);
  TPainter painter(target);
  TImageDrawOptions options;
  options.Filter = TResampleFilter(size % 3);
  options.Opacity = uint8_t(size);
  painter.DrawBitmap(bitmap, bitmap.Bounds(), {-3, -2, 20, 12}, options);
  painter.DrawNineGrid(bitmap, target.Bounds(),
                       {int(size % 7), 2, 3, int(size % 5), TSuperStretchMode(size % 4)}, options);
  return 0;
}
