#include "qavprint/notice.h"

#include <gtest/gtest.h>

#include "platform/console.h"

namespace qav {
namespace {

std::string Trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  const size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? "" : s.substr(first);
}

TEST(NoticeTest, ABoxThatWaitsForAFreshKey) {
  HeadlessBackend& console = StartHeadlessConsole(80, 25);
  console.PushText("typed ahead");  // keys typed before it must not dismiss it
  ShowNotice({"Llistat desat en PDF (2 p\x85gines) a:", "/w/qavprint.pdf"});
  EXPECT_EQ(console.ExhaustedReads(), 1);
  // Four rows of text (two lines, a blank, the prompt) in a frame, centred.
  EXPECT_EQ(ScreenRowText(9).find_first_not_of(' '), std::string::npos);
  EXPECT_EQ(ScreenRowText(10).find('\xDA'), 20u);
  EXPECT_EQ(Trimmed(ScreenRowText(10)), "\xDA" + std::string(37, '\xC4') + "\xBF");
  EXPECT_EQ(Trimmed(ScreenRowText(11)), "\xB3 Llistat desat en PDF (2 p\x85gines) a: \xB3");
  EXPECT_EQ(Trimmed(ScreenRowText(12)), "\xB3 /w/qavprint.pdf" + std::string(21, ' ') + "\xB3");
  EXPECT_EQ(Trimmed(ScreenRowText(13)), "\xB3" + std::string(37, ' ') + "\xB3");
  EXPECT_EQ(Trimmed(ScreenRowText(14)), "\xB3 Premeu una tecla per continuar" + std::string(6, ' ') + "\xB3");
  EXPECT_EQ(Trimmed(ScreenRowText(15)), "\xC0" + std::string(37, '\xC4') + "\xD9");
  EXPECT_EQ(ScreenRowText(16).find_first_not_of(' '), std::string::npos);
}

TEST(NoticeTest, LongAndManyLinesFitTheScreen) {
  HeadlessBackend& console = StartHeadlessConsole(80, 25);
  std::vector<std::string> lines(40, "warning");
  lines[0] = std::string(50, 'a') + " " + std::string(50, 'b');
  console.Push(ConsoleEvent::Click(1, 1));
  ShowNotice(lines);
  EXPECT_EQ(console.ExhaustedReads(), 1);  // the click came before it and was discarded
  std::string screen;
  for (int row = 1; row <= 25; ++row) screen += ScreenRowText(row) + "\n";
  EXPECT_NE(screen.find(std::string(50, 'a') + " "), std::string::npos);  // wrapped at the blank
  EXPECT_NE(screen.find("\xB3 " + std::string(50, 'b')), std::string::npos);
  EXPECT_NE(screen.find("... (23 l\xA1nies m\x82s)"), std::string::npos);
  EXPECT_NE(screen.find("Premeu una tecla per continuar"), std::string::npos);
}

}  // namespace
}  // namespace qav
