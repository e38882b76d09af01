#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/Resources.h"

namespace {

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// This executable links nothing but qvb_resources and refers to no resource symbol, so finding
// the font also shows that the embedded objects survive static linking.
TEST(ResourcesTest, RobotoIsEmbeddedByteForByteAndNulTerminated) {
  const std::string_view font = FindResource("Roboto_Regular");
  const std::string expected = ReadFile(QVB_ROBOTO_PATH);
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(font.size(), expected.size());
  EXPECT_TRUE(font == expected);
  EXPECT_EQ(font.data()[font.size()], '\0');
}

TEST(ResourcesTest, NamesIgnoreAsciiCaseAndMissingNamesAreEmpty) {
  EXPECT_EQ(FindResource("ROBOTO_regular").data(), FindResource("Roboto_Regular").data());
  EXPECT_TRUE(FindResource("Roboto_Regular_").empty());
  EXPECT_TRUE(FindResource("").empty());
  EXPECT_TRUE(FindResource("NoSuchResource").empty());
}

TEST(ResourcesTest, LaterRegistrationReplacesAndIsListed) {
  static const char first[] = "one", second[] = "two";
  RegisterResource("TestResource", first, 3);
  RegisterResource("testresource", second, 3);
  EXPECT_EQ(FindResource("TESTRESOURCE"), "two");
  int listed = 0;
  for (const std::string& name : ResourceNames())
    if (name == "TestResource" || name == "testresource") ++listed;
  EXPECT_EQ(listed, 1);
}

}  // namespace
