#include "public/rdcontrol/PngCodec.h"

#include <spng.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/Platform.h"

namespace {

// Pictures of the installer are window-sized; larger ones are refused before decoding so that
// a small hostile file cannot demand gigabytes.
constexpr uint32_t MaxDecodeSide = 8192;
constexpr uint64_t MaxDecodePixels = uint64_t(1) << 24;
constexpr size_t MaxChunkSize = size_t(16) << 20;
constexpr size_t MaxChunkCache = size_t(32) << 20;

struct TCtxDeleter {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using TCtx = std::unique_ptr<spng_ctx, TCtxDeleter>;

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

bool SpngFail(std::string* error, const char* what, int code) {
  return Fail(error, std::string("PNG ") + what + ": " + spng_strerror(code));
}

bool ValidKeyword(const std::string& k) {
  if (k.empty() || k.size() > 79 || k.front() == ' ' || k.back() == ' ') return false;
  for (unsigned char c : k)
    if (c < 32 || (c > 126 && c < 161)) return false;
  return true;
}

}  // namespace

bool TPngCodec::HasSignature(std::string_view bytes) {
  static constexpr unsigned char Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return bytes.size() >= 8 && std::memcmp(bytes.data(), Signature, 8) == 0;
}

bool TPngCodec::Decode(std::string_view bytes, TBitmap& bitmap, std::vector<TPngText>* texts,
                       std::string* error) {
  bitmap = TBitmap();
  if (texts) texts->clear();
  if (!HasSignature(bytes)) return Fail(error, "PNG: not a PNG file (signature missing)");
  TCtx ctx(spng_ctx_new(0));
  if (!ctx) return Fail(error, "PNG: out of memory");
  spng_set_image_limits(ctx.get(), MaxDecodeSide, MaxDecodeSide);
  spng_set_chunk_limits(ctx.get(), MaxChunkSize, MaxChunkCache);
  int rc = spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size());
  if (rc) return SpngFail(error, "buffer", rc);
  spng_ihdr ihdr{};
  if ((rc = spng_get_ihdr(ctx.get(), &ihdr))) return SpngFail(error, "header", rc);
  if (uint64_t(ihdr.width) * ihdr.height > MaxDecodePixels) return Fail(error, "PNG: picture too large");
  size_t size = 0;
  if ((rc = spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size))) return SpngFail(error, "size", rc);
  std::vector<uint8_t> rgba(size);
  if ((rc = spng_decode_image(ctx.get(), rgba.data(), rgba.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS)))
    return SpngFail(error, "data", rc);
  // Text chunks after the image data are known only once the image is decoded.
  if (texts) {
    uint32_t count = 0;
    if (spng_get_text(ctx.get(), nullptr, &count) == 0 && count > 0) {
      std::vector<spng_text> chunks(count);
      if (spng_get_text(ctx.get(), chunks.data(), &count) == 0) {
        for (uint32_t i = 0; i < count; ++i)
          texts->push_back({std::string(chunks[i].keyword), std::string(chunks[i].text, chunks[i].length)});
      }
    }
  }
  bitmap = TBitmap::FromStraightRgba(rgba.data(), int(ihdr.width), int(ihdr.height));
  if (bitmap.Empty()) return Fail(error, "PNG: picture too large");
  return true;
}

bool TPngCodec::Encode(const TBitmap& bitmap, std::string& bytes, const std::vector<TPngText>& texts,
                       std::string* error) {
  bytes.clear();
  if (bitmap.Empty()) return Fail(error, "PNG: cannot write an empty picture");
  TCtx ctx(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!ctx) return Fail(error, "PNG: out of memory");
  spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{};
  ihdr.width = uint32_t(bitmap.Width());
  ihdr.height = uint32_t(bitmap.Height());
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  int rc = spng_set_ihdr(ctx.get(), &ihdr);
  if (rc) return SpngFail(error, "header", rc);
  std::vector<spng_text> chunks(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    if (!ValidKeyword(texts[i].Keyword))
      return Fail(error, "PNG: invalid text keyword \"" + texts[i].Keyword + "\"");
    if (texts[i].Text.find('\0') != std::string::npos)
      return Fail(error, "PNG: text contains a NUL character");
    spng_text& c = chunks[i];
    std::memcpy(c.keyword, texts[i].Keyword.data(), texts[i].Keyword.size());
    c.type = SPNG_TEXT;
    c.length = texts[i].Text.size();
    c.text = const_cast<char*>(texts[i].Text.c_str());
  }
  if (!chunks.empty() && (rc = spng_set_text(ctx.get(), chunks.data(), uint32_t(chunks.size()))))
    return SpngFail(error, "text", rc);
  std::vector<uint8_t> rgba = bitmap.ToStraightRgba();
  if ((rc = spng_encode_image(ctx.get(), rgba.data(), rgba.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE)))
    return SpngFail(error, "encode", rc);
  size_t length = 0;
  void* out = spng_get_png_buffer(ctx.get(), &length, &rc);
  if (!out) return SpngFail(error, "encode", rc);
  bytes.assign(static_cast<const char*>(out), length);
  std::free(out);
  return true;
}

bool TPngCodec::LoadFromFile(const std::string& path, TBitmap& bitmap, std::vector<TPngText>* texts,
                             std::string* error) {
  std::string bytes;
  if (int rc = TPlatform::Current().Files().ReadAll(path, bytes)) {
    bitmap = TBitmap();
    return Fail(error, "cannot read " + path + ": " + std::strerror(rc));
  }
  return Decode(bytes, bitmap, texts, error);
}

bool TPngCodec::SaveToFile(const TBitmap& bitmap, const std::string& path, const std::vector<TPngText>& texts,
                           std::string* error) {
  std::string bytes;
  if (!Encode(bitmap, bytes, texts, error)) return false;
  if (int rc = TPlatform::Current().Files().WriteAtomic(path, bytes))
    return Fail(error, "cannot write " + path + ": " + std::strerror(rc));
  return true;
}

std::string TPngCodec::FindText(const std::vector<TPngText>& texts, std::string_view keyword) {
  for (const TPngText& t : texts)
    if (t.Keyword == keyword) return t.Text;
  return {};
}
