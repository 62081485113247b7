#include "screen/message_box.h"

#include <gtest/gtest.h>

#include "frame/session.h"
#include "platform/console.h"
#include "screen/colours.h"
#include "screen/windows.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessConsole();
    ResetWindows();
    ResetColours();
    ResetSession();
    MutableSessionForSettings().WorkDir = dir_.path();
    MutableSessionForSettings().ColourTable = {{{15, 0}, {7, 0}, {0, 7}, {0, 7}, {0, 7}}};
  }
  void TearDown() override { ResetWindows(); }
  testing::TempDir dir_;
};

TEST_F(MessageBoxTest, Positions) {
  struct Case {
    int row;
    size_t length;
    WindowRect box;
  } cases[] = {
      {12, 47, {9, 15, 11, 65}},
      {24, 36, {21, 21, 23, 60}},
      {1, 10, {1, 34, 3, 47}},       // pushed down to row 1
      {25, 10, {22, 34, 24, 47}},
      {12, 120, {9, 2, 12, 79}},     // two lines, the first of 74 characters
  };
  for (const Case& c : cases) {
    std::string text;
    while (text.size() < c.length) text += "abcd ";
    text.resize(c.length);
    if (text.back() == ' ') text.back() = 'x';
    ShowMessageBox(c.row, text);
    EXPECT_EQ(CurrentWindow(), c.box) << c.row << " " << c.length;
    EXPECT_EQ(ReadCell(c.box.top, c.box.left).character, 0xDA);
    EXPECT_EQ(ReadCell(c.box.top + 1, c.box.left + 2).character, 'a');
    EXPECT_EQ(ReadCell(c.box.top + 1, c.box.left + 2).attribute, 0x70);  // reverse pair
    EXPECT_EQ(ColourStackDepth(), 0u);
    CloseWindow();
  }
}

TEST_F(MessageBoxTest, TextOnRowTenFromColumn17) {
  const std::string text(47, 'M');
  ShowMessageBox(12, text);
  EXPECT_EQ(ScreenRowText(10).substr(16, 47), text);
  EXPECT_EQ(ReadCell(10, 16).character, ' ');
  CloseWindow();
  EXPECT_EQ(ScreenRowText(10), std::string(80, ' '));
}

TEST_F(MessageBoxTest, TooTallShowsNothingAndStaysBalanced) {
  StartHeadlessConsole(80, 4);
  OpenWindow(1, 1, 4, 80);
  std::string text;
  for (int i = 0; i < 10; ++i) text += std::string(70, 'w') + " ";
  ShowMessageBox(2, text);
  EXPECT_EQ(WindowDepth(), 1);
  EXPECT_EQ(ColourStackDepth(), 0u);
  CloseWindow();  // the caller's close of the box closes nothing
  EXPECT_EQ(WindowDepth(), 1);
  CloseWindow();
  EXPECT_EQ(WindowDepth(), 0);
}

}  // namespace
}  // namespace qav
