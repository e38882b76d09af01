#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A fixture with a fresh real folder under /tmp, removed afterwards (also when a test left
// read-only files or folders in it), and whole-file helpers that bypass the platform layer.
class TTempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qvb-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    FDir = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    for (auto& entry : std::filesystem::recursive_directory_iterator(FDir, ignored))
      chmod(entry.path().c_str(), 0700);
    std::filesystem::remove_all(FDir, ignored);
  }
  std::string Path(const std::string& name) const { return FDir + "/" + name; }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  std::string FDir;
};
