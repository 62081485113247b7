// Nested windows over the screen. Opening a window saves the cells under it
// (characters and colours) and the cursor, and makes later positions
// relative to it; closing it puts everything back, innermost first.
//
// The saved areas are kept as a stack in WinPush.tmp in the work folder,
// which programs of the suite started from one another share: each appends
// its records after those already there. Record layout: ten two-digit
// fields (cursor row and column, the enclosing window's top, left, bottom
// and right, the saved area's top, left, bottom and right), the cells row by
// row as character + attribute, and the record's length in five digits; the
// file begins with a 4-byte little-endian pointer (counted from 1) to where
// the next record goes, 5 when the stack is empty.
//
// Each window is also remembered in memory, and closing restores from there,
// so that the screen comes back exactly even when the file was damaged, cut
// short or rewritten meanwhile. A window whose coordinates do not fit the
// two-digit fields (screens beyond 99 rows or columns) or whose area is too
// large for the five-digit length is kept in memory only, so the file stays
// readable for every program that shares it.
#ifndef QAV_SCREEN_WINDOWS_H_
#define QAV_SCREEN_WINDOWS_H_

#include <cstdint>

namespace qav {

struct WindowRect {
  int16_t top = 0, left = 0, bottom = 0, right = 0;  // the frame's rows and columns
  bool operator==(const WindowRect&) const = default;
};

int ScreenWidth();
int ScreenHeight();

// Windows this program has open; 0 means positions are absolute.
int WindowDepth();
WindowRect CurrentWindow();

// Puts the cursor at (row, column) inside the current window: row 1,
// column 1 is the first cell inside the frame.
void LocateInWindow(int row, int column);
int FirstInnerRow();
int FirstInnerColumn();
int LastInnerColumn();

// Saves the rectangle and makes it the current window; draws nothing. A
// rectangle with a corner off the screen is refused: nothing is saved, and
// the matching CloseWindow does nothing.
void OpenWindow(int top, int left, int bottom, int right);
// Closes the window opened last: its cells, the enclosing window and the
// cursor come back. Without an open window it does nothing. Afterwards the
// colour in force is that of the last cell put back.
void CloseWindow();

// Counts as an open window for CloseWindow without saving anything: for
// callers that must stay balanced when they draw nothing.
void OpenEmptyWindow();

// Scrolls a rectangle given in zero-based absolute coordinates up by
// `lines` (> 0) or down by -lines, and by one line down when lines is 0.
void ScrollArea(int top, int left, int bottom, int right, int lines);

// Forgets every window (the save file is left as it is); for tests.
void ResetWindows();

}  // namespace qav

#endif  // QAV_SCREEN_WINDOWS_H_
