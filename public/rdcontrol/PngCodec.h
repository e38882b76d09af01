#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "public/rdcontrol/Bitmap.h"

// A PNG text chunk (tEXt, zTXt or iTXt when read; written as tEXt). Text is UTF-8.
struct TPngText {
  std::string Keyword;
  std::string Text;
  friend bool operator==(const TPngText&, const TPngText&) = default;
};

// PNG reading and writing through libspng. Decoding turns every colour type and bit depth into
// a premultiplied TBitmap and returns the text chunks (the picture classes keep their drawing
// attributes in a "RDPNG" chunk). Decoding outside input is safe: a damaged or hostile file
// fails with a message, and pictures beyond TBitmap's size limits are refused before any pixel
// memory is taken.
class TPngCodec {
 public:
  static bool HasSignature(std::string_view bytes);

  static bool Decode(std::string_view bytes, TBitmap& bitmap, std::vector<TPngText>* texts = nullptr,
                     std::string* error = nullptr);
  // Writes 8-bit RGBA (straight alpha, as PNG stores it) with the given text chunks.
  static bool Encode(const TBitmap& bitmap, std::string& bytes, const std::vector<TPngText>& texts = {},
                     std::string* error = nullptr);

  // Through the platform's file system; saving replaces the file atomically.
  static bool LoadFromFile(const std::string& path, TBitmap& bitmap, std::vector<TPngText>* texts = nullptr,
                           std::string* error = nullptr);
  static bool SaveToFile(const TBitmap& bitmap, const std::string& path,
                         const std::vector<TPngText>& texts = {}, std::string* error = nullptr);

  // The text of the first chunk with the keyword; empty when there is none.
  static std::string FindText(const std::vector<TPngText>& texts, std::string_view keyword);
};
