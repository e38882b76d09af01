#include <gtest/gtest.h>

#include <random>

#include "platform/TextCodec.h"
#include "support/IniHashedStringList.h"

namespace {

// The answers the hashes must give, by walking the lines.
int LinearIndexOf(const TIniHashedStringList& list, const std::string& line) {
  for (int i = list.Count() - 1; i >= 0; --i)
    if (list.CaseSensitive() ? list[i] == line : SameText(list[i], line)) return i;
  return -1;
}

int LinearIndexOfName(const TIniHashedStringList& list, const std::string& name) {
  for (int i = list.Count() - 1; i >= 0; --i) {
    const size_t equals = list[i].find('=');
    if (equals == std::string::npos) continue;
    const std::string key = list[i].substr(0, equals);
    if (list.CaseSensitive() ? key == name : SameText(key, name)) return i;
  }
  return -1;
}

TEST(IniHashedStringList, LookupsGiveTheLastMatchAndIgnoreLinesWithoutEquals) {
  TIniHashedStringList list;
  list.Add("Key=1");
  list.Add("other=2");
  list.Add("KEY=3");
  list.Add("key");  // no "=": a whole line, no key
  list.Add("a=b=c");
  EXPECT_EQ(list.IndexOfName("key"), 2);
  EXPECT_EQ(list.IndexOf("key"), 3);
  EXPECT_EQ(list.IndexOf("KEY=1"), 0);
  EXPECT_EQ(list.IndexOfName("a"), 4);
  EXPECT_EQ(list.ValueFromIndex(4), "b=c");
  EXPECT_EQ(list.IndexOfName("a=b"), -1);
  EXPECT_EQ(list.IndexOfName("missing"), -1);

  TIniHashedStringList exact(true);
  exact.Add("Key=1");
  EXPECT_EQ(exact.IndexOfName("key"), -1);
  EXPECT_EQ(exact.IndexOfName("Key"), 0);
}

TEST(IniHashedStringList, ReplaceMovesTheEntriesOfThatLineOnly) {
  TIniHashedStringList list;
  for (const char* line : {"a=1", "b=2", "a=3", "c"}) list.Add(line);
  ASSERT_EQ(list.IndexOfName("a"), 2);  // hashes built from here on
  ASSERT_EQ(list.IndexOf("c"), 3);

  list.Put(2, "b=4");  // the later "a" goes, the earlier one is found again
  EXPECT_EQ(list.IndexOfName("a"), 0);
  EXPECT_EQ(list.IndexOfName("b"), 2);
  list.Put(1, "x");  // key removed
  EXPECT_EQ(list.IndexOfName("b"), 2);
  EXPECT_EQ(list.IndexOf("B=2"), -1);
  list.Put(3, "c=5");  // a line gains a key
  EXPECT_EQ(list.IndexOfName("c"), 3);
  EXPECT_EQ(list.IndexOf("c"), -1);
  list.Put(0, "A=9");  // same key, other value: line hash changes, key hash keeps index 0
  EXPECT_EQ(list.IndexOfName("a"), 0);
  EXPECT_EQ(list.IndexOf("a=9"), 0);
  EXPECT_EQ(list.IndexOf("a=1"), -1);
}

TEST(IniHashedStringList, OnChangeFollowsEveryChangeAndObjectsAreOwned) {
  TIniHashedStringList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.AddObject("s1", std::make_unique<TIniHashedStringList>());
  list.Objects(0)->Add("k=v");  // the inner list is not the outer one
  list.Add("s2");
  list.Put(1, "s3");
  list.Delete(0);
  list.Clear();
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(list.Count(), 0);
}

// Random adds, replaces and deletes with lookups in between (which build the hashes, so that the
// following changes run on valid hashes): every lookup must agree with a linear search.
class IniHashedStringListRandom : public ::testing::TestWithParam<bool> {};

TEST_P(IniHashedStringListRandom, HashesAgreeWithLinearSearch) {
  const bool caseSensitive = GetParam();
  const std::vector<std::string> pool = {"a=1",  "A=1",  "a=2", "b=1", "B", "b",    "=x",  "a",
                                         "Äb=1", "äB=2", "c==", "c=",  "",  " a=1", "a =1"};
  const std::vector<std::string> probes = {"a",  "A",  "b",   "B",   "",  "äb",   "ÄB", "c",
                                           " a", "a ", "a=1", "A=1", "b", "Äb=1", "c=", "x"};
  std::mt19937 random(1234 + caseSensitive);
  auto pick = [&](size_t n) { return size_t(std::uniform_int_distribution<size_t>(0, n - 1)(random)); };

  TIniHashedStringList list(caseSensitive);
  for (int step = 0; step < 10000; ++step) {
    const size_t op = pick(20);
    if (op < 7 || list.Count() == 0) {
      list.Add(pool[pick(pool.size())]);
    } else if (op < 13) {
      list.Put(int(pick(size_t(list.Count()))), pool[pick(pool.size())]);
    } else if (op < 14 && list.Count() > 30) {
      list.Delete(int(pick(size_t(list.Count()))));
    } else {
      const std::string& probe = probes[pick(probes.size())];
      ASSERT_EQ(list.IndexOf(probe), LinearIndexOf(list, probe))
          << "step " << step << " probe '" << probe << "'";
      ASSERT_EQ(list.IndexOfName(probe), LinearIndexOfName(list, probe))
          << "step " << step << " probe '" << probe << "'";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CaseRule, IniHashedStringListRandom, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "CaseSensitive" : "CaseInsensitive"; });

}  // namespace
