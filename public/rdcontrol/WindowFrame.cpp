#include "public/rdcontrol/WindowFrame.h"

#include <cstring>

#include "public/rdcontrol/PngCodec.h"

void ShowBitmapInWindow(TNativeWindow& window, const TBitmap& bitmap) {
  // TPixel's bytes in memory are R, G, B, A: the frame format Rgba.
  window.SetFrame(bitmap.Pixels(), bitmap.Width(), bitmap.Height(), 0, TFramePixelFormat::Rgba);
}

TBitmap WindowFrameBitmap(const TNativeWindow& window) {
  std::vector<uint8_t> rgba;
  int width = 0, height = 0;
  TBitmap bitmap;
  if (!window.GrabFrame(rgba, width, height) || !bitmap.SetSize(width, height)) return TBitmap();
  if (rgba.size() != bitmap.ByteCount()) return TBitmap();
  std::memcpy(bitmap.Pixels(), rgba.data(), rgba.size());
  return bitmap;
}

bool SaveWindowFrame(const TNativeWindow& window, const std::string& path, std::string* error) {
  const TBitmap frame = WindowFrameBitmap(window);
  if (frame.Empty()) {
    if (error) *error = "the window has no frame";
    return false;
  }
  return TPngCodec::SaveToFile(frame, path, {}, error);
}
