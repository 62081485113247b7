#include "screen/colours.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame/session.h"
#include "platform/console.h"

namespace qav {
namespace {

// Every pair its own colours, so that the console attribute tells the pair.
uint8_t AttributeOfPair(int pair) { return static_cast<uint8_t>((pair + 1) + 16 * (8 + pair)); }

class ColoursTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetColours();
    StartHeadlessConsole();
    auto& table = MutableSessionForSettings().ColourTable;
    for (int pair = 0; pair < 5; ++pair) {
      table[pair] = {static_cast<int16_t>(pair + 1), static_cast<int16_t>(8 + pair)};
    }
  }
  void TearDown() override {
    ResetColours();
    ResetSession();
  }
};

TEST_F(ColoursTest, LettersSelectPairs) {
  struct Case {
    const char* spec;
    int16_t pair;
  } cases[] = {
      {"h", 0}, {"n", 1}, {"N", 1}, {"r", 2}, {"rh", 2}, {"RH", 2}, {"rn", 3},
      {"u", 4}, {"U", 4}, {"ru", 4}, {"nu", 4}, {"x", 0}, {" n ", 1},
  };
  for (const Case& c : cases) {
    SetColour("u");
    SetColour(c.spec);
    EXPECT_EQ(CurrentColour(), c.pair) << c.spec;
    EXPECT_EQ(TextAttribute(), AttributeOfPair(c.pair)) << c.spec;
    EXPECT_EQ(ColourStackDepth(), 0u) << c.spec;
  }
}

TEST_F(ColoursTest, BlankSpecChangesNothing) {
  SetColour("rn");
  for (const char* spec : {"", " ", "    "}) {
    SetColour(spec);
    EXPECT_EQ(CurrentColour(), 3) << "'" << spec << "'";
    EXPECT_EQ(TextAttribute(), AttributeOfPair(3));
    EXPECT_EQ(ColourStackDepth(), 0u);
  }
}

TEST_F(ColoursTest, SaveAndRestore) {
  struct Step {
    const char* spec;
    int16_t pair;
    size_t depth;
  } steps[] = {
      {"-", 0, 0},      // empty stack: pair 0
      {"n", 1, 0},
      {"+rh", 2, 1},    // saves 1
      {"+u", 4, 2},     // saves 2
      {"+h", 0, 3},     // saves 4
      {"-", 4, 2},
      {"-", 2, 1},
      {"+-", 2, 1},     // saves and takes back at once
      {"-", 1, 0},
      {"-", 0, 0},
  };
  for (const Step& s : steps) {
    SetColour(s.spec);
    EXPECT_EQ(CurrentColour(), s.pair) << s.spec;
    EXPECT_EQ(TextAttribute(), AttributeOfPair(s.pair)) << s.spec;
    EXPECT_EQ(ColourStackDepth(), s.depth) << s.spec;
  }
}

TEST_F(ColoursTest, StackHasNoDepthLimit) {
  for (int i = 0; i < 1000; ++i) SetColour(i % 2 ? "+n" : "+u");
  EXPECT_EQ(ColourStackDepth(), 1000u);
  for (int i = 999; i >= 1; --i) {
    SetColour("-");
    ASSERT_EQ(CurrentColour(), (i - 1) % 2 ? 1 : 4) << i;
  }
  SetColour("-");
  EXPECT_EQ(CurrentColour(), 0);
}

TEST_F(ColoursTest, DefaultSchemeOnTheConsole) {
  const int16_t scheme[5][2] = {{15, 0}, {7, 0}, {0, 7}, {0, 7}, {0, 7}};
  auto& table = MutableSessionForSettings().ColourTable;
  for (int pair = 0; pair < 5; ++pair) table[pair] = {scheme[pair][0], scheme[pair][1]};
  SetColour("h");
  EXPECT_EQ(TextAttribute(), 15);
  SetColour("n");
  EXPECT_EQ(TextAttribute(), 7);
  SetColour("u");
  EXPECT_EQ(TextAttribute(), 7 * 16);
}

}  // namespace
}  // namespace qav
