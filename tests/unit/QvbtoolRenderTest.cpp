#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "public/rdcontrol/PngCodec.h"

namespace {

int RunQvbtool(const std::string& args) {
  std::string command = std::string(QVBTOOL_PATH) + " " + args + " 2>/dev/null";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(QvbtoolRenderTest, WritesEachWindowAtItsSize) {
  struct TCase {
    const char* Args;
    int Width, Height;
  };
  const TCase cases[] = {{"main Main", 640, 390}, {"main Finished", 640, 390}, {"notice -", 324, 152},
                         {"sysnotice -", 344, 172}};
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qvb_render_test";
  std::filesystem::create_directories(dir);
  for (const TCase& c : cases) {
    const std::string out = (dir / "frame.png").string();
    std::filesystem::remove(out);
    ASSERT_EQ(RunQvbtool(std::string("render ") + c.Args + " " + out), 0) << c.Args;
    TBitmap frame;
    ASSERT_TRUE(TPngCodec::LoadFromFile(out, frame)) << c.Args;
    EXPECT_EQ(frame.Width(), c.Width) << c.Args;
    EXPECT_EQ(frame.Height(), c.Height) << c.Args;
  }
  // The pages differ: the Main page and the Finished page are not the same picture.
  TBitmap main, finished;
  ASSERT_EQ(RunQvbtool("render main Main " + (dir / "a.png").string()), 0);
  ASSERT_EQ(RunQvbtool("render main Finished " + (dir / "b.png").string()), 0);
  ASSERT_TRUE(TPngCodec::LoadFromFile((dir / "a.png").string(), main));
  ASSERT_TRUE(TPngCodec::LoadFromFile((dir / "b.png").string(), finished));
  EXPECT_FALSE(main == finished);
  std::filesystem::remove_all(dir);
}

TEST(QvbtoolRenderTest, WrongArgumentsExitTwo) {
  EXPECT_EQ(RunQvbtool("render"), 2);
  EXPECT_EQ(RunQvbtool("render desktop Main /tmp/x.png"), 2);
  EXPECT_EQ(RunQvbtool("render main Elsewhere /tmp/x.png"), 2);
}

}  // namespace
