#include "screen/exit_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace qav {
namespace {

using Map = std::vector<std::pair<int, int>>;

Map AsPairs(const std::vector<ExitKey>& keys) {
  Map pairs;
  for (const ExitKey& k : keys) pairs.emplace_back(k.key, k.reported);
  return pairs;
}

class ExitKeysTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetExitKeys(); }
  void TearDown() override { ResetExitKeys(); }
};

TEST_F(ExitKeysTest, ParseKeyList) {
  struct Case {
    const char* list;
    Map entries;
  } cases[] = {
      {"d,1b=4f00", {{13, 13}, {27, 0x4F00}}},
      {"4800,5000,4B00,4d00", {{0x4800, 0x4800}, {0x5000, 0x5000}, {0x4B00, 0x4B00}, {0x4D00, 0x4D00}}},
      {"3b00", {{0x3B00, 0x3B00}}},
      {"", {}},
      {",", {{0, 0}, {0, 0}}},
      {"d,", {{13, 13}, {0, 0}}},
      {"d,,1b", {{13, 13}, {0, 0}, {27, 27}}},
      // Codes keep 16 bits: F11 and F12 as their bit patterns.
      {"8500,8600=1b", {{-31488, -31488}, {-31232, 27}}},
      {"ffff", {{-1, -1}}},
      {"12345", {{0x2345, 0x2345}}},
      {"123456789abcdef", {{0xCDEF - 0x10000, 0xCDEF - 0x10000}}},
      // Lenient reading of stray characters.
      {" d , 1b = 4f00 ", {{13, 13}, {27, 0x4F00}}},
      {"1bz", {{27, 27}}},
      {"zz", {{0, 0}}},
      {"0x1b", {{0, 0}}},
      {"1b=", {{27, 27}}},
      {"1b=zz", {{27, 27}}},
      {"=4f00", {{0, 0x4F00}}},
      {"1b=4f00=d", {{27, 0x4F00}}},
  };
  for (const Case& c : cases) EXPECT_EQ(AsPairs(ParseKeyList(c.list)), c.entries) << c.list;
}

TEST_F(ExitKeysTest, MappedKeysEndAsTheirReportedCode) {
  SetExitKeys("+ea", "d,1b=4f00");
  int16_t reported = 0;
  ASSERT_TRUE(FindExitKey(13, &reported));
  EXPECT_EQ(reported, 13);
  ASSERT_TRUE(FindExitKey(27, &reported));
  EXPECT_EQ(reported, 0x4F00);
  EXPECT_FALSE(FindExitKey(0x4F00, &reported));
}

TEST_F(ExitKeysTest, FirstEntryOfAKeyWins) {
  SetExitKeys("a", "1b=d,1b");
  SetExitKeys("A", "1b=4800");
  EXPECT_EQ(ExitKeyMap().size(), 3u);
  int16_t reported = 0;
  ASSERT_TRUE(FindExitKey(27, &reported));
  EXPECT_EQ(reported, 13);
}

TEST_F(ExitKeysTest, CommandSequences) {
  struct Step {
    const char* commands;
    const char* list;
    Map map;
  } steps[] = {
      {"a", "d", {{13, 13}}},
      {"+ea", "1b", {{27, 27}}},       // saves {d}
      {"+ea", "4800", {{0x4800, 0x4800}}},  // a map is saved already: no second save
      {"-", "", {{13, 13}}},           // the first save comes back
      {"-", "", {{13, 13}}},           // nothing saved: nothing happens
      {"E", "", {}},
      {"ae", "d", {}},                 // letters act in order
      {"ea", "d", {{13, 13}}},
      {"xyz?a", "1b", {{13, 13}, {27, 27}}},  // other characters are ignored
      {"+e", "", {}},
      {"-", "", {{13, 13}, {27, 27}}},
      {"+-", "", {{13, 13}, {27, 27}}},
  };
  for (const Step& s : steps) {
    SetExitKeys(s.commands, s.list);
    EXPECT_EQ(AsPairs(ExitKeyMap()), s.map) << s.commands << " " << s.list;
  }
}

TEST_F(ExitKeysTest, EchoCharacter) {
  EXPECT_EQ(EchoChar(), 0);
  SetExitKeys("h", "");
  EXPECT_EQ(EchoChar(), 'X');
  SetExitKeys("V", "");
  EXPECT_EQ(EchoChar(), 0);
  SetExitKeys("Hv h", "");
  EXPECT_EQ(EchoChar(), 'X');
  EXPECT_TRUE(ExitKeyMap().empty());
}

// Any command text and key list is taken: the map only ever holds what the
// lists gave, the save slot keeps its one-level discipline, and a list reads
// into one entry per comma-separated item. Fixed seed, bounded rounds.
TEST_F(ExitKeysTest, RandomCommandsAndLists) {
  std::mt19937 rng(4242);
  auto text = [&](size_t max_length, std::string_view alphabet) {
    std::string t(rng() % (max_length + 1), ' ');
    for (char& c : t) c = alphabet[rng() % alphabet.size()];
    return t;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string list = rng() % 4 ? text(30, "0123456789abcdefABCDEF,= xz") : text(30, "\x01\xff,=");
    std::vector<ExitKey> entries = ParseKeyList(list);
    size_t items = list.empty() ? 0 : 1 + std::count(list.begin(), list.end(), ',');
    ASSERT_EQ(entries.size(), items) << list;

    std::vector<ExitKey> before = ExitKeyMap();
    std::string commands = text(6, "EeAa+-HhVvx");
    SetExitKeys(commands, list);
    if (commands.find_first_of("Ee+-") == std::string::npos) {
      size_t appends = std::count_if(commands.begin(), commands.end(),
                                     [](char c) { return c == 'a' || c == 'A'; });
      ASSERT_EQ(ExitKeyMap().size(), before.size() + appends * items) << commands;
    }
    if (ExitKeyMap().size() > 200) SetExitKeys("e", "");
  }
  SetExitKeys("-e", "");
  SetExitKeys("-", "");
}

}  // namespace
}  // namespace qav
