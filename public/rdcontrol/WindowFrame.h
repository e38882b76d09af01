#pragma once
#include <string>

#include "platform/WindowSystem.h"
#include "public/rdcontrol/Bitmap.h"

// The bridge between a top-level window's pixel frame and the library's bitmaps: showing a
// painted bitmap in a window and reading its last frame back (screenshots, qvbtool render).
void ShowBitmapInWindow(TNativeWindow& window, const TBitmap& bitmap);
// The window's last frame; an empty bitmap when it has none.
TBitmap WindowFrameBitmap(const TNativeWindow& window);
// Saves the last frame as PNG; false (with a message) when there is no frame or the file
// cannot be written.
bool SaveWindowFrame(const TNativeWindow& window, const std::string& path, std::string* error = nullptr);
