#include "platform/console.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override { backend_ = &StartHeadlessConsole(); }
  HeadlessBackend* backend_;
};

TEST_F(ConsoleTest, StartsBlankWithCursorHome) {
  EXPECT_EQ(ConsoleWidth(), 80);
  EXPECT_EQ(ConsoleHeight(), 25);
  EXPECT_EQ(CursorRow(), 1);
  EXPECT_EQ(CursorColumn(), 1);
  EXPECT_EQ(ReadCell(25, 80), (Cell{' ', 7}));
}

TEST_F(ConsoleTest, WriteAdvancesAndWrapsInColour) {
  SetTextColour(15, 1);
  PutCursor(3, 78);
  WriteText("abcd");
  EXPECT_EQ(ReadCell(3, 78), (Cell{'a', 15 + 16}));
  EXPECT_EQ(ReadCell(3, 80), (Cell{'c', 31}));
  EXPECT_EQ(ReadCell(4, 1), (Cell{'d', 31}));
  EXPECT_EQ(CursorRow(), 4);
  EXPECT_EQ(CursorColumn(), 2);
  // Past the last cell nothing is written and the cursor stays on it.
  PutCursor(25, 79);
  WriteText("xyz");
  EXPECT_EQ(ReadCell(25, 80).character, 'y');
  EXPECT_EQ(CursorRow(), 25);
  EXPECT_EQ(CursorColumn(), 80);
  // Off-screen positions neither write nor crash.
  PutCursor(0, 0);
  WriteText("q");
  PutCursor(40, 1);
  WriteText("q");
  EXPECT_EQ(ReadCell(0, 0), (Cell{' ', 0}));
}

TEST_F(ConsoleTest, ScrollMovesRowsAndBlanksInCurrentColour) {
  for (int r = 1; r <= 5; ++r) {
    PutCursor(r, 1);
    WriteText(std::string(1, static_cast<char>('0' + r)) + "----");
  }
  SetTextColour(0, 7);
  ScrollRectangle(2, 1, 4, 3, 1);  // rows 2-4, columns 1-3, up one
  EXPECT_EQ(ScreenRowText(1).substr(0, 5), "1----");
  EXPECT_EQ(ScreenRowText(2).substr(0, 5), "3----");
  EXPECT_EQ(ScreenRowText(3).substr(0, 5), "4----");
  EXPECT_EQ(ScreenRowText(4).substr(0, 5), "   --");
  EXPECT_EQ(ReadCell(4, 1).attribute, 0x70);
  EXPECT_EQ(ReadCell(4, 4).attribute, 7);
  ScrollRectangle(1, 1, 5, 5, -2);  // down two
  EXPECT_EQ(ScreenRowText(1).substr(0, 5), "     ");
  EXPECT_EQ(ScreenRowText(3).substr(0, 5), "1----");
  ScrollRectangle(1, 1, 5, 5, 99);  // more than its height: blank
  EXPECT_EQ(ScreenRowText(5).substr(0, 5), "     ");
  ClearScreen();
  EXPECT_EQ(ReadCell(12, 40), (Cell{' ', 0x70}));
}

TEST_F(ConsoleTest, ScriptedInputThenEsc) {
  backend_->PushText("ab");
  backend_->PushKey(0x3B00, kLeftShift);
  backend_->Push(ConsoleEvent::Click(5, 10, 1));
  EXPECT_EQ(WaitEvent().KeyCode(), 'a');
  EXPECT_EQ(PollEvent().KeyCode(), 'b');
  ConsoleEvent f1 = WaitEvent();
  EXPECT_EQ(f1.KeyCode(), 0x3B00);
  EXPECT_EQ(f1.modifiers, kLeftShift);
  ConsoleEvent click = WaitEvent();
  EXPECT_EQ(click.kind, EventKind::kClick);
  EXPECT_EQ(click.row, 5);
  EXPECT_EQ(click.column, 10);
  EXPECT_EQ(PollEvent().kind, EventKind::kNone);
  EXPECT_EQ(backend_->ExhaustedReads(), 0);
  EXPECT_EQ(WaitEvent().KeyCode(), 27);
  EXPECT_EQ(backend_->ExhaustedReads(), 1);
  backend_->PushText("xyz");
  DiscardInput();
  EXPECT_EQ(PollEvent().kind, EventKind::kNone);
}

TEST_F(ConsoleTest, AnySizeAndToggles) {
  StartHeadlessConsole(132, 50);
  EXPECT_EQ(ConsoleWidth(), 132);
  EXPECT_EQ(ConsoleHeight(), 50);
  PutCursor(50, 132);
  WriteText("Z");
  EXPECT_EQ(ReadCell(50, 132).character, 'Z');
  SetInsertToggle(false);
  EXPECT_FALSE(InsertToggle());
  SetCursorShape(CursorShape::kHalf);
  EXPECT_EQ(GetCursorShape(), CursorShape::kHalf);
  Beep();
  SuspendConsole();
  SuspendConsole();
  ResumeConsole();
  ResumeConsole();
  HeadlessBackend& b = StartHeadlessConsole();
  EXPECT_EQ(b.Beeps(), 0);
}

}  // namespace
}  // namespace qav
