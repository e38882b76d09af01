#include "service/QuenvoVPNConfig.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "service/ConfigCipher.h"

namespace {

struct TConfigFixture : ::testing::Test {
  std::filesystem::path Folder;
  void SetUp() override {
    char pattern[] = "/tmp/qvbcfgXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Folder = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(Folder); }

  std::string Read(const std::filesystem::path& path) {
    std::string bytes;
    EXPECT_EQ(TPlatform::Current().Files().ReadAll(path.string(), bytes), 0);
    return bytes;
  }
};

TEST_F(TConfigFixture, FirstWriteCreatesFolderAndAFileHoldingJustThatKey) {
  const auto path = Folder / "data" / "config.qvdt";
  TQuenvoVPNConfig config(path.string());
  config.WriteString("Browser", "Language", "en-US");

  std::string plain;
  ASSERT_TRUE(TConfigCipher().Decrypt(Read(path), plain));
  EXPECT_EQ(plain, EncodeUtf16Le("[Browser]\r\nLanguage=en-US\r\n\r\n"));
  EXPECT_EQ(config.ReadString("browser", "language", "-"), "en-US");
  EXPECT_EQ(config.ReadString("Browser", "Missing", "dflt"), "dflt");
}

TEST_F(TConfigFixture, LaterWritesKeepEarlierValues) {
  TQuenvoVPNConfig config((Folder / "c.qvdt").string());
  config.WriteString("A", "one", "1");
  config.WriteString("B", "two", "2");
  config.WriteString("A", "one", "uno");
  EXPECT_EQ(config.ReadString("A", "one", ""), "uno");
  EXPECT_EQ(config.ReadString("B", "two", ""), "2");
}

TEST_F(TConfigFixture, FileThatDoesNotDecryptIsLeftByteForByteUnchanged) {
  const auto path = Folder / "c.qvdt";
  const std::string garbage = "this was never encrypted by us \x01\x02\x03";
  ASSERT_EQ(TPlatform::Current().Files().WriteAtomic(path.string(), garbage), 0);
  TQuenvoVPNConfig config(path.string());
  EXPECT_EQ(config.ReadString("A", "k", "dflt"), "dflt");
  config.WriteString("A", "k", "v");
  EXPECT_EQ(Read(path), garbage);
}

TEST_F(TConfigFixture, MissingFileReadsDefaultsAndEmptyFileIsEmptySettings) {
  TQuenvoVPNConfig missing((Folder / "none.qvdt").string());
  EXPECT_EQ(missing.ReadString("A", "k", "d"), "d");
  EXPECT_FALSE(std::filesystem::exists(Folder / "none.qvdt"));

  const auto empty = Folder / "empty.qvdt";
  ASSERT_EQ(TPlatform::Current().Files().WriteAtomic(empty.string(), ""), 0);
  TQuenvoVPNConfig config(empty.string());
  config.WriteString("A", "k", "v");  // an empty file is readable: the write goes through
  EXPECT_EQ(config.ReadString("A", "k", ""), "v");
}

}  // namespace
