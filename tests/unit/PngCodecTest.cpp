#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <random>

#include "public/rdcontrol/PngCodec.h"

namespace {

// Builds PNG files by hand, so that colour types the encoder never writes can be decoded.
struct TPngBuilder {
  std::string Bytes{"\x89PNG\r\n\x1A\n", 8};

  static void Be32(std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s.push_back(char((v >> shift) & 0xFF));
  }
  TPngBuilder& Chunk(const char* type, const std::string& data) {
    Be32(Bytes, uint32_t(data.size()));
    const std::string body = std::string(type, 4) + data;
    Bytes += body;
    Be32(Bytes, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
    return *this;
  }
  TPngBuilder& Header(uint32_t w, uint32_t h, int depth, int colorType) {
    std::string d;
    Be32(d, w);
    Be32(d, h);
    d += char(depth);
    d += char(colorType);
    d += std::string(3, '\0');
    return Chunk("IHDR", d);
  }
  // rows: filter byte 0 and the raw samples of each row.
  TPngBuilder& Data(const std::string& rows) {
    uLongf size = compressBound(uLong(rows.size()));
    std::string z(size, '\0');
    compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(rows.data()),
             uLong(rows.size()));
    z.resize(size);
    return Chunk("IDAT", z);
  }
  std::string End() { return Chunk("IEND", "").Bytes; }
};

TBitmap Sample() {
  TBitmap b(3, 2);
  b.SetPixel(0, 0, PremultipliedPixel(RGB(255, 0, 0), 255));
  b.SetPixel(1, 0, PremultipliedPixel(RGB(10, 200, 30), 128));
  b.SetPixel(2, 0, PremultipliedPixel(RGB(255, 255, 255), 1));
  b.SetPixel(0, 1, PremultipliedPixel(RGB(1, 2, 3), 77));
  return b;
}

TEST(PngCodecTest, RoundTripKeepsPixelsAndTexts) {
  const TBitmap original = Sample();
  const std::vector<TPngText> texts = {{"RDPNG", "AlphaBlendValue=128\r\nGrayMode=1"}, {"Comment", "second"}};
  std::string bytes, error;
  ASSERT_TRUE(TPngCodec::Encode(original, bytes, texts, &error)) << error;
  EXPECT_TRUE(TPngCodec::HasSignature(bytes));
  TBitmap decoded;
  std::vector<TPngText> read;
  ASSERT_TRUE(TPngCodec::Decode(bytes, decoded, &read, &error)) << error;
  EXPECT_EQ(decoded, original);
  EXPECT_EQ(read, texts);
  EXPECT_EQ(TPngCodec::FindText(read, "RDPNG"), "AlphaBlendValue=128\r\nGrayMode=1");
  EXPECT_EQ(TPngCodec::FindText(read, "rdpng"), "");
}

TEST(PngCodecTest, DecodesOtherColourTypesToPremultipliedPixels) {
  // 8-bit grey, two pixels.
  const std::string gray = TPngBuilder().Header(2, 1, 8, 0).Data(std::string("\0\x10\xF0", 3)).End();
  TBitmap b;
  std::string error;
  ASSERT_TRUE(TPngCodec::Decode(gray, b, nullptr, &error)) << error;
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(0x10, 0x10, 0x10, 255));
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(0xF0, 0xF0, 0xF0, 255));
  // Palette with transparency: entry 1 is half-transparent white.
  const std::string palette = TPngBuilder()
                                  .Header(2, 1, 8, 3)
                                  .Chunk("PLTE", std::string("\xFF\0\0\xFF\xFF\xFF", 6))
                                  .Chunk("tRNS", std::string("\xFF\x80", 2))
                                  .Data(std::string("\0\0\1", 3))
                                  .End();
  ASSERT_TRUE(TPngCodec::Decode(palette, b, nullptr, &error)) << error;
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(255, 0, 0, 255));
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(128, 128, 128, 128));
  // Texts written after the image data are read too.
  std::string late = TPngBuilder().Header(1, 1, 8, 0).Data(std::string("\0\x7F", 2)).Bytes;
  TPngBuilder tail;
  tail.Bytes = late;
  late = tail.Chunk("tEXt", std::string("RDPNG\0SmoothFilter=2", 20)).End();
  std::vector<TPngText> texts;
  ASSERT_TRUE(TPngCodec::Decode(late, b, &texts, &error)) << error;
  EXPECT_EQ(TPngCodec::FindText(texts, "RDPNG"), "SmoothFilter=2");
}

TEST(PngCodecTest, DamagedInputFailsWithAMessage) {
  std::string good;
  ASSERT_TRUE(TPngCodec::Encode(Sample(), good));
  std::string badCrc = good;
  badCrc[30] ^= 0x55;  // inside IHDR's data
  std::string random(300, '\0');
  std::mt19937 rng(7);
  for (char& c : random) c = char(rng());
  random.replace(0, 8, good.substr(0, 8));
  struct TCase {
    const char* Name;
    std::string Bytes;
  };
  const TCase cases[] = {
      {"empty", ""},
      {"not a PNG", "GIF89a and more bytes"},
      {"signature only", good.substr(0, 8)},
      {"cut in the image data", good.substr(0, good.size() - 20)},
      {"header checksum wrong", badCrc},
      {"random chunks", random},
      {"too large", TPngBuilder().Header(100000, 100000, 8, 6).Data(std::string(1, '\0')).End()},
      {"bad bit depth", TPngBuilder().Header(1, 1, 7, 2).Data(std::string(4, '\0')).End()},
      {"zero width", TPngBuilder().Header(0, 1, 8, 6).Data(std::string(1, '\0')).End()},
  };
  for (const TCase& c : cases) {
    TBitmap b(2, 2, 0xFFFFFFFF);
    std::string error;
    EXPECT_FALSE(TPngCodec::Decode(c.Bytes, b, nullptr, &error)) << c.Name;
    EXPECT_TRUE(b.Empty()) << c.Name;
    EXPECT_EQ(error.rfind("PNG", 0), 0u) << c.Name << ": " << error;
  }
}

TEST(PngCodecTest, EncodeRefusesWhatPngCannotHold) {
  std::string bytes, error;
  EXPECT_FALSE(TPngCodec::Encode(TBitmap(), bytes, {}, &error));
  EXPECT_FALSE(error.empty());
  for (const char* keyword :
       {"", " lead", "a\nb",
        "0123456789012345678901234567890123456789012345678901234567890123456789012345678901"}) {
    EXPECT_FALSE(TPngCodec::Encode(Sample(), bytes, {{keyword, "x"}}, &error)) << keyword;
  }
  EXPECT_FALSE(TPngCodec::Encode(Sample(), bytes, {{"RDPNG", std::string("a\0b", 3)}}, &error));
}

TEST(PngCodecTest, FilesGoThroughThePlatform) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qvb-png-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "a.png").string();
  std::string error;
  ASSERT_TRUE(TPngCodec::SaveToFile(Sample(), path, {{"RDPNG", "GrayMode=1"}}, &error)) << error;
  TBitmap b;
  std::vector<TPngText> texts;
  ASSERT_TRUE(TPngCodec::LoadFromFile(path, b, &texts, &error)) << error;
  EXPECT_EQ(b, Sample());
  EXPECT_EQ(TPngCodec::FindText(texts, "RDPNG"), "GrayMode=1");
  EXPECT_FALSE(TPngCodec::LoadFromFile((dir / "missing.png").string(), b, nullptr, &error));
  EXPECT_NE(error.find("missing.png"), std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
