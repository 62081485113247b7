#include "screen/windows.h"

#include <gtest/gtest.h>

#include <random>

#include "frame/session.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/colours.h"
#include "screen/frame.h"
#include "support/temp_dir.h"

namespace qav {
namespace {

// Every cell and the cursor, for comparing whole screens.
struct Snapshot {
  std::vector<Cell> cells;
  int row, column;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take() {
  Snapshot s{{}, CursorRow(), CursorColumn()};
  for (int r = 1; r <= ConsoleHeight(); ++r) {
    for (int c = 1; c <= ConsoleWidth(); ++c) s.cells.push_back(ReadCell(r, c));
  }
  return s;
}

void FillRandom(std::mt19937& rng) {
  for (int r = 1; r <= ConsoleHeight(); ++r) {
    for (int c = 1; c <= ConsoleWidth(); ++c) {
      SetTextColour(static_cast<int>(rng() % 16), static_cast<int>(rng() % 16));
      PutCursor(r, c);
      WriteText(std::string(1, static_cast<char>(rng() % 256)));
    }
  }
  PutCursor(static_cast<int>(rng() % ConsoleHeight()) + 1,
            static_cast<int>(rng() % ConsoleWidth()) + 1);
}

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessConsole();
    ResetWindows();
    ResetColours();
    ResetSession();
    MutableSessionForSettings().WorkDir = dir_.path();
  }
  void TearDown() override { ResetWindows(); }
  std::string SaveFile() const { return dir_.path() + "WinPush.tmp"; }
  testing::TempDir dir_;
};

TEST_F(WindowsTest, RecordLayoutOfOneWindow) {
  PutCursor(7, 9);
  SetTextColour(14, 1);
  PutCursor(4, 1);
  WriteText("AB");
  PutCursor(7, 9);
  OpenWindow(4, 1, 22, 80);
  const std::string file = dir_.Read("WinPush.tmp");
  ASSERT_EQ(file.size(), 3069u);
  EXPECT_EQ(file.substr(0, 4), std::string("\xFE\x0B\0\0", 4));  // 3070
  EXPECT_EQ(file.substr(4, 20), "07090000000004012280");
  EXPECT_EQ(file.substr(24, 4), std::string("A\x1E" "B\x1E"));
  EXPECT_EQ(file.substr(28, 2), std::string(" \x07"));
  EXPECT_EQ(file.substr(file.size() - 5), "03065");
  LocateInWindow(1, 1);
  EXPECT_EQ(CursorRow(), 5);
  EXPECT_EQ(CursorColumn(), 2);
  EXPECT_EQ(FirstInnerRow(), 5);
  EXPECT_EQ(FirstInnerColumn(), 2);
  EXPECT_EQ(LastInnerColumn(), 79);
  CloseWindow();
  EXPECT_FALSE(FileExists(SaveFile()));
  EXPECT_EQ(CursorRow(), 7);
  EXPECT_EQ(CursorColumn(), 9);
  EXPECT_EQ(FirstInnerRow(), 1);
  EXPECT_EQ(LastInnerColumn(), 80);
}

TEST_F(WindowsTest, NestedWindowsRestoreExactly) {
  std::mt19937 rng(7);
  FillRandom(rng);
  const Snapshot before = Take();
  OpenWindow(3, 5, 20, 70);
  DrawFrame(2);
  const Snapshot middle = Take();
  OpenWindow(10, 10, 12, 60);
  DrawFrame(1);
  EXPECT_EQ(WindowDepth(), 2);
  CloseWindow();
  EXPECT_EQ(Take(), middle);
  // The outer window is current again, with its coordinates as saved.
  EXPECT_EQ(CurrentWindow(), (WindowRect{3, 5, 20, 70}));
  EXPECT_TRUE(FileExists(SaveFile()));
  CloseWindow();
  EXPECT_EQ(Take(), before);
  EXPECT_EQ(WindowDepth(), 0);
  EXPECT_FALSE(FileExists(SaveFile()));
}

TEST_F(WindowsTest, AppendsAfterAnEarlierProgramsRecords) {
  // Another program's stack: one record of a 1 x 1 area.
  std::string other = "01010000000001010101X\x07" "00027";
  std::string file = std::string("\x20\0\0\0", 4) + other;
  ASSERT_EQ(file.size(), 31u);
  dir_.Write("WinPush.tmp", file);
  OpenWindow(2, 2, 2, 3);
  std::string now = dir_.Read("WinPush.tmp");
  EXPECT_EQ(now.substr(4, 27), other);
  EXPECT_EQ(now.substr(31, 20), "01010000000002020203");
  CloseWindow();
  // Its record stays; the pointer is back after it.
  now = dir_.Read("WinPush.tmp");
  EXPECT_EQ(now.substr(0, 4), std::string("\x20\0\0\0", 4));
  EXPECT_EQ(now.substr(4, 27), other);
}

TEST_F(WindowsTest, RefusedWindowsKeepTheStackBalanced) {
  OpenWindow(5, 5, 10, 20);
  DrawFrame(1);
  const Snapshot inside = Take();
  for (auto [t, l, b, r] : {std::array{0, 1, 5, 5}, std::array{1, 1, 26, 5},
                            std::array{1, 81, 5, 5}, std::array{-3, 1, 5, 5}}) {
    OpenWindow(t, l, b, r);
    EXPECT_EQ(WindowDepth(), 1);
    CloseWindow();  // matches the refused one: the outer window stays open
    EXPECT_EQ(WindowDepth(), 1);
    EXPECT_EQ(CurrentWindow(), (WindowRect{5, 5, 10, 20}));
    EXPECT_EQ(Take(), inside);
  }
  CloseWindow();
  EXPECT_EQ(WindowDepth(), 0);
  CloseWindow();  // nothing open: nothing happens
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(WindowsTest, DamagedSaveFiles) {
  struct Case {
    const char* name;
    std::string before;  // the file as found before the window opens
    std::string during;  // what happens to it while the window is open ("-" deletes)
  } cases[] = {
      {"empty", "", ""},
      {"pointer too large", std::string("\xFF\xFF\xFF\x7F" "junk", 8), ""},
      {"negative pointer", std::string("\x00\x00\x00\x80", 4), ""},
      {"foreign", "%PDF-1.4 something else entirely", ""},
      {"cut while open", "", "\x05\0"},
      {"garbage while open", "", std::string(5000, '\x9F')},
      {"deleted while open", "", "-"},
      {"short record length", "", std::string("\x30\0\0\0", 4) + std::string(40, '7')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetWindows();
    DeleteFile(SaveFile());
    std::mt19937 rng(11);
    FillRandom(rng);
    const Snapshot before = Take();
    if (!c.before.empty()) dir_.Write("WinPush.tmp", c.before);
    OpenWindow(2, 3, 12, 40);
    DrawFrame(2);
    if (c.during == "-") {
      DeleteFile(SaveFile());
    } else if (!c.during.empty()) {
      dir_.Write("WinPush.tmp", c.during);
    }
    CloseWindow();
    EXPECT_EQ(Take(), before);
    EXPECT_EQ(WindowDepth(), 0);
    // Whatever was there before us is not overwritten.
    if (c.before.size() > 4 && c.during.empty()) {
      EXPECT_EQ(dir_.Read("WinPush.tmp").substr(4, c.before.size() - 4), c.before.substr(4));
    }
  }
}

TEST_F(WindowsTest, ScreensBeyondTwoDigitsStayOutOfTheFile) {
  StartHeadlessConsole(132, 120);
  std::mt19937 rng(3);
  FillRandom(rng);
  const Snapshot before = Take();
  OpenWindow(1, 1, 50, 50);  // fits the fields
  EXPECT_TRUE(FileExists(SaveFile()));
  const std::string shared = dir_.Read("WinPush.tmp");
  OpenWindow(90, 100, 110, 130);  // rows and columns past 99: memory only
  DrawFrame(1);
  OpenWindow(1, 1, 120, 132);     // far beyond the five-digit length
  DrawFrame(2);
  EXPECT_EQ(dir_.Read("WinPush.tmp"), shared);
  CloseWindow();
  CloseWindow();
  EXPECT_EQ(CurrentWindow(), (WindowRect{1, 1, 50, 50}));
  CloseWindow();
  EXPECT_EQ(Take(), before);
  EXPECT_FALSE(FileExists(SaveFile()));
}

TEST_F(WindowsTest, RandomNestedWindowsComeBackBitForBit) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 40; ++round) {
    FillRandom(rng);
    std::vector<Snapshot> screens{Take()};
    const int depth = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < depth; ++i) {
      const int t = 1 + static_cast<int>(rng() % 25), b = 1 + static_cast<int>(rng() % 25);
      const int l = 1 + static_cast<int>(rng() % 80), r = 1 + static_cast<int>(rng() % 80);
      OpenWindow(std::min(t, b), std::min(l, r), std::max(t, b), std::max(l, r));
      SetTextColour(static_cast<int>(rng() % 16), static_cast<int>(rng() % 16));
      DrawFrame(static_cast<int>(rng() % 4));
      const WindowRect w = CurrentWindow();
      if (w.bottom - w.top >= 2 && w.right - w.left >= 2) {  // write inside only
        LocateInWindow(1, 1);
        WriteText(std::string("scribble").substr(0, static_cast<size_t>(w.right - w.left - 1)));
      }
      screens.push_back(Take());
    }
    for (int i = depth; i > 0; --i) {
      CloseWindow();
      ASSERT_EQ(Take(), screens[static_cast<size_t>(i - 1)]) << "round " << round << " level " << i;
    }
    ASSERT_FALSE(FileExists(SaveFile()));
  }
}

TEST_F(WindowsTest, FrameStyles) {
  EXPECT_EQ(ReadCell(1, 1).character, ' ');
  DrawFrame(1);  // no window: nothing drawn
  EXPECT_EQ(ReadCell(1, 1).character, ' ');
  PutCursor(3, 3);
  WriteText("xxxxx");
  OpenWindow(2, 2, 4, 6);
  struct Case {
    int style;
    unsigned char corner, horizontal, vertical;
  } cases[] = {{1, 0xDA, 0xC4, 0xB3}, {2, 0xC9, 0xCD, 0xBA}, {0, ' ', ' ', ' '}, {3, 0, 0, 0}};
  for (const Case& c : cases) {
    DrawFrame(c.style);
    EXPECT_EQ(ReadCell(2, 2).character, c.corner) << c.style;
    EXPECT_EQ(ReadCell(2, 4).character, c.horizontal) << c.style;
    EXPECT_EQ(ReadCell(3, 2).character, c.vertical) << c.style;
    EXPECT_EQ(ReadCell(3, 4).character, ' ') << c.style;  // the inside is blanked
    EXPECT_EQ(ReadCell(3, 7).character, 'x') << c.style;  // outside untouched
  }
  CloseWindow();
  EXPECT_EQ(ScreenRowText(3).substr(2, 5), "xxxxx");
}

TEST_F(WindowsTest, ScrollAreaIsZeroBasedAndAbsolute) {
  for (int r = 1; r <= 4; ++r) {
    PutCursor(r, 1);
    WriteText(std::string(3, static_cast<char>('0' + r)));
  }
  OpenWindow(10, 10, 20, 20);  // the window origin does not apply
  ScrollArea(0, 0, 2, 1, 1);  // rows 1-3, columns 1-2, up one
  EXPECT_EQ(ScreenRowText(1).substr(0, 3), "221");
  EXPECT_EQ(ScreenRowText(2).substr(0, 3), "332");
  EXPECT_EQ(ScreenRowText(3).substr(0, 3), "  3");
  EXPECT_EQ(ScreenRowText(4).substr(0, 3), "444");
  ScrollArea(0, 0, 3, 2, 0);  // 0 scrolls down one
  EXPECT_EQ(ScreenRowText(1).substr(0, 3), "   ");
  EXPECT_EQ(ScreenRowText(2).substr(0, 3), "221");
  EXPECT_EQ(ScreenRowText(4).substr(0, 3), "  3");
  CloseWindow();
}

}  // namespace
}  // namespace qav
