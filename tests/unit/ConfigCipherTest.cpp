#include "service/ConfigCipher.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// Expected bytes made independently with the openssl command line (aes-256-cbc -nopad with the
// IV from aes-256-ecb of a zero block; the tail from aes-256-ecb of the last cipher block).
TEST(ConfigCipher, MatchesReferenceVectors) {
  struct TCase {
    std::string Plain;
    std::string StoredHex;
  } cases[] = {
      {"0123456789abcdef0123456789ABCDEF",
       "d118ecc74502970586ff99b43e61dc73873e43b9e3cdeb528651e0ff0d73fb3b"},
      {"0123456789abcdefWXYZ", "d118ecc74502970586ff99b43e61dc736a9465f2"},
      {"", ""},
  };
  TConfigCipher cipher;
  for (const auto& c : cases) {
    std::string stored, back;
    ASSERT_TRUE(cipher.Encrypt(c.Plain, stored));
    EXPECT_EQ(Hex(stored), c.StoredHex) << c.Plain;
    EXPECT_EQ(stored.size(), c.Plain.size());
    ASSERT_TRUE(cipher.Decrypt(stored, back));
    EXPECT_EQ(back, c.Plain);
  }
}

// Chunking must not show in the result: texts around the chunk size round-trip, and a prefix of
// whole blocks encrypts to a prefix of the longer text's cipher.
TEST(ConfigCipher, ChunkBoundariesAndTailsRoundTrip) {
  TConfigCipher cipher;
  std::mt19937 random(7);
  std::string longText(3 * TConfigCipher::ChunkSize + 5, '\0');
  for (auto& c : longText) c = char(random());
  std::string longStored;
  ASSERT_TRUE(cipher.Encrypt(longText, longStored));
  for (size_t size : {1u, 15u, 16u, 17u, 8191u, 8192u, 8193u, 16384u}) {
    std::string plain = longText.substr(0, size), stored, back;
    ASSERT_TRUE(cipher.Encrypt(plain, stored));
    ASSERT_TRUE(cipher.Decrypt(stored, back));
    EXPECT_EQ(back, plain) << size;
    const size_t whole = size / 16 * 16;
    EXPECT_EQ(stored.substr(0, whole), longStored.substr(0, whole)) << size;
  }
}

}  // namespace
