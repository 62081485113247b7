#include "util/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp850.h"

namespace qav {
namespace {

std::string Cp850(const char* utf8) { return Utf8ToCp850(utf8); }

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetTextHelpers(); }
  void TearDown() override { ResetTextHelpers(); }
};

TEST_F(TextTest, ToUpperTextExamples) {
  struct Case {
    bool folding;
    const char* utf8_text;
    const char* utf8_upper;
  } cases[] = {
      {false, "Año 1º señor", "AÑO 1º SEÑOR"},
      {true, "Año 1º señor", "ANO 1O SENOR"},
      {false, "üéâäàåçêëèïîìæôöòûùáíóúñãðõý", "ÜÉÂÄÀÅÇÊËÈÏÎÌÆÔÖÒÛÙÁÍÓÚÑÃÐÕÝ"},
      {false, "øþÿßµı@_[", "øþÿßµı@_["},  // kept as they are
      {true, "@_1-?", "  1-?"},
      {true, "Çà ÿ ß Þ ð ª", "CA Y S T D A"},
      {true, "£×ƒ¿®¬½¼¡«»¢¥¤¦µ©", "                 "},
      {true, "─│┌╔═░▒▓█", "         "},
      {false, "", ""},
  };
  for (const Case& c : cases) {
    SetUpperFolding(c.folding);
    EXPECT_EQ(Cp850ToUtf8(ToUpperText(Cp850(c.utf8_text))), c.utf8_upper) << c.utf8_text;
  }
}

TEST_F(TextTest, FoldingMapsEveryCodeOfItsRangeByGroup) {
  struct Group {
    char image;
    std::vector<int> codes;
  };
  auto codes_of = [](const char* utf8) {
    std::vector<int> codes;
    for (unsigned char c : Utf8ToCp850(utf8)) codes.push_back(c);
    return codes;
  };
  std::vector<Group> groups = {
      {'A', codes_of("âäàåÄÅæÆáªÁÂÀãÃ")}, {'C', codes_of("Çç")},
      {'D', codes_of("ðÐ")},              {'E', codes_of("éêëèÉÊËÈı")},
      {'I', codes_of("ïîìíÍÎÏÌ")},        {'N', codes_of("ñÑ")},
      {'O', codes_of("ôöòÖøØóºÓÔÒõÕ")},   {'S', codes_of("ß")},
      {'T', codes_of("þÞ")},              {'U', codes_of("üûùÜúÚÛÙ")},
      {'Y', codes_of("ÿýÝ")},
  };
  Group blanks{' ', {64, 156, 158, 159, 223, 230}};
  for (auto [from, to] : {std::pair{91, 96}, {123, 127}, {168, 180}, {184, 197}, {200, 207},
                          {217, 221}}) {
    for (int c = from; c <= to; ++c) blanks.codes.push_back(c);
  }
  groups.push_back(blanks);
  for (int c = 'A'; c <= 'Z'; ++c) {
    groups.push_back({static_cast<char>(c), {c, c - 'A' + 'a'}});
  }

  SetUpperFolding(true);
  std::vector<int> seen(256, 0);
  for (const Group& group : groups) {
    for (int code : group.codes) {
      ++seen[code];
      EXPECT_EQ(ToUpperText(std::string(1, static_cast<char>(code))), std::string(1, group.image))
          << "code " << code;
    }
  }
  for (int code = 0; code < 256; ++code) {
    bool in_range = code >= 64 && code <= 237;
    EXPECT_EQ(seen[code], in_range ? 1 : 0) << "code " << code;
    if (!in_range) {
      std::string one(1, static_cast<char>(code));
      EXPECT_EQ(ToUpperText(one), one) << "code " << code;
    }
  }
}

TEST_F(TextTest, KeepingAccentsChangesOnlySmallLetters) {
  const std::string small = Cp850("abcdefghijklmnopqrstuvwxyzüéâäàåçêëèïîìæôöòûùáíóúñãðõý");
  const std::string capital = Cp850("ABCDEFGHIJKLMNOPQRSTUVWXYZÜÉÂÄÀÅÇÊËÈÏÎÌÆÔÖÒÛÙÁÍÓÚÑÃÐÕÝ");
  ASSERT_EQ(small.size(), capital.size());
  for (int code = 0; code < 256; ++code) {
    std::string one(1, static_cast<char>(code));
    size_t at = small.find(one);
    EXPECT_EQ(ToUpperText(one), at == std::string::npos ? one : capital.substr(at, 1))
        << "code " << code;
  }
}

TEST_F(TextTest, FoldingModeIsSwitched) {
  EXPECT_FALSE(UpperFolding());
  SetUpperFolding(true);
  EXPECT_EQ(ToUpperText(Cp850("ñ")), "N");
  SetUpperFolding(false);
  EXPECT_EQ(ToUpperText(Cp850("ñ")), Cp850("Ñ"));
}

TEST_F(TextTest, IsAllChar) {
  struct Case {
    std::string text;
    int16_t code;
    bool result;
  } cases[] = {
      {"", 32, true},       {"", 65, true},     {"", -1, true},
      {"   ", 32, true},    {" a ", 32, false}, {"aaa", 'a', true},
      {"\xFF\xFF", 255, true}, {"\xFF", -1, false}, {"\x01", 257, false},
      {std::string(3, '\0'), 0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsAllChar(c.text, c.code), c.result) << "'" << c.text << "' " << c.code;
  }
}

TEST_F(TextTest, CenterOffset) {
  struct Case {
    std::string text;
    int16_t width;
    int16_t offset;
  } cases[] = {
      {"ABCD", 10, 3},  {"ABC", 10, 3},  {std::string(13, 'x'), 10, -1},
      {std::string(14, 'x'), 10, -2}, {"", 80, 40}, {"", -3, -1},
      {std::string(70000, 'x'), 10, -32768},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CenterOffset(c.text, c.width), c.offset) << c.text.size() << " in " << c.width;
  }
}

}  // namespace
}  // namespace qav
