#include "screen/windows.h"

#include <string>
#include <vector>

#include "frame/session.h"
#include "platform/console.h"
#include "platform/files.h"
#include "util/dates.h"

namespace qav {
namespace {

constexpr int kHeaderSize = 4;
constexpr int kFirstRecord = 5;  // positions in the file count from 1
constexpr int kFixedFields = 20;
constexpr int kLengthField = 5;
constexpr int kMaxRecordLength = 99999;

struct SavedWindow {
  bool saved = false;        // false: refused or empty, nothing to put back
  bool in_file = false;      // the record was written to the save file
  int64_t record_start = 0;  // its position in the file, counted from 1
  int cursor_row = 0, cursor_column = 0;
  WindowRect enclosing;
  WindowRect area;
  std::vector<Cell> cells;
};

struct WindowState {
  int depth = 0;
  WindowRect current;
  std::vector<SavedWindow> stack;
};

WindowState& State() {
  static WindowState state;
  return state;
}

std::string SaveFilePath() { return Session().WorkDir + "WinPush.tmp"; }

bool FitsTwoDigits(int v) { return v >= 0 && v <= 99; }

std::string EncodePointer(int64_t position) {
  const uint32_t v = static_cast<uint32_t>(position);
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                     static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
}

// Where the next record goes: the file's pointer when it is sound, else the
// end of the file, so that nothing already there is overwritten.
int64_t NextRecordPosition(BinaryFile& file) {
  const int64_t size = file.Size();
  if (size <= 3) return kFirstRecord;
  std::string header;
  if (!file.ReadAt(0, kHeaderSize, &header) || header.size() != kHeaderSize) return kFirstRecord;
  const int32_t pointer = static_cast<int32_t>(
      static_cast<uint32_t>(static_cast<unsigned char>(header[0])) |
      static_cast<uint32_t>(static_cast<unsigned char>(header[1])) << 8 |
      static_cast<uint32_t>(static_cast<unsigned char>(header[2])) << 16 |
      static_cast<uint32_t>(static_cast<unsigned char>(header[3])) << 24);
  if (pointer >= kFirstRecord && pointer <= size + 1) return pointer;
  return size + 1 > kFirstRecord ? size + 1 : kFirstRecord;
}

std::string EncodeRecord(const SavedWindow& w) {
  std::string record;
  for (int v : {w.cursor_row, w.cursor_column, int{w.enclosing.top}, int{w.enclosing.left},
                int{w.enclosing.bottom}, int{w.enclosing.right}, int{w.area.top},
                int{w.area.left}, int{w.area.bottom}, int{w.area.right}}) {
    record += ZeroPad(v, 2);
  }
  for (const Cell& c : w.cells) {
    record.push_back(static_cast<char>(c.character));
    record.push_back(static_cast<char>(c.attribute));
  }
  record += ZeroPad(static_cast<int64_t>(record.size()) + kLengthField, kLengthField);
  return record;
}

bool RecordFits(const SavedWindow& w) {
  for (int v : {w.cursor_row, w.cursor_column, int{w.enclosing.top}, int{w.enclosing.left},
                int{w.enclosing.bottom}, int{w.enclosing.right}, int{w.area.top},
                int{w.area.left}, int{w.area.bottom}, int{w.area.right}}) {
    if (!FitsTwoDigits(v)) return false;
  }
  return kFixedFields + 2 * static_cast<int64_t>(w.cells.size()) + kLengthField <=
         kMaxRecordLength;
}

void WriteToSaveFile(SavedWindow* w) {
  BinaryFile file;
  if (!file.Open(SaveFilePath(), BinaryFile::kReadWrite) &&
      !file.Open(SaveFilePath(), BinaryFile::kCreate)) {
    return;  // nothing to share: the window is still kept in memory
  }
  const int64_t start = NextRecordPosition(file);
  const std::string record = EncodeRecord(*w);
  if (!file.WriteAt(start - 1, record)) return;
  if (!file.WriteAt(0, EncodePointer(start + static_cast<int64_t>(record.size())))) return;
  w->in_file = true;
  w->record_start = start;
}

// Takes this window's record off the save file: the pointer goes back to
// where the record began, and the file goes when the stack is empty.
void RemoveFromSaveFile(const SavedWindow& w) {
  if (!w.in_file) return;
  int64_t end = kFirstRecord;
  {
    BinaryFile file;
    if (!file.Open(SaveFilePath(), BinaryFile::kReadWrite)) return;
    if (file.Size() > 3) {
      end = w.record_start;
      file.WriteAt(0, EncodePointer(end));
    }
  }
  if (end < kFirstRecord + 1) DeleteFile(SaveFilePath());
}

void Push(SavedWindow w) { State().stack.push_back(std::move(w)); }

}  // namespace

int ScreenWidth() { return ConsoleWidth(); }
int ScreenHeight() { return ConsoleHeight(); }
int WindowDepth() { return State().depth; }
WindowRect CurrentWindow() { return State().current; }

void LocateInWindow(int row, int column) {
  const WindowState& s = State();
  if (s.depth > 0) {
    PutCursor(s.current.top + row, s.current.left + column);
  } else {
    PutCursor(row, column);
  }
}

int FirstInnerRow() { return State().depth > 0 ? State().current.top + 1 : 1; }
int FirstInnerColumn() { return State().depth > 0 ? State().current.left + 1 : 1; }
int LastInnerColumn() { return State().depth > 0 ? State().current.right - 1 : ScreenWidth(); }

void OpenWindow(int top, int left, int bottom, int right) {
  const int height = ScreenHeight(), width = ScreenWidth();
  if (top < 1 || top > height || left < 1 || left > width || bottom < 1 || bottom > height ||
      right < 1 || right > width) {
    OpenEmptyWindow();
    return;
  }
  WindowState& s = State();
  SavedWindow w;
  w.saved = true;
  w.cursor_row = CursorRow();
  w.cursor_column = CursorColumn();
  w.enclosing = s.current;
  w.area = WindowRect{static_cast<int16_t>(top), static_cast<int16_t>(left),
                      static_cast<int16_t>(bottom), static_cast<int16_t>(right)};
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) w.cells.push_back(ReadCell(r, c));
  }
  if (RecordFits(w)) WriteToSaveFile(&w);
  s.current = w.area;
  ++s.depth;
  Push(std::move(w));
}

void OpenEmptyWindow() { Push(SavedWindow{}); }

void CloseWindow() {
  WindowState& s = State();
  if (s.stack.empty()) return;
  SavedWindow w = std::move(s.stack.back());
  s.stack.pop_back();
  if (!w.saved) return;
  --s.depth;
  s.current = w.enclosing;
  size_t i = 0;
  for (int r = w.area.top; r <= w.area.bottom; ++r) {
    for (int c = w.area.left; c <= w.area.right; ++c) {
      const Cell cell = w.cells[i++];
      SetTextColour(cell.attribute % 16, cell.attribute / 16);
      PutCursor(r, c);
      WriteText(std::string(1, static_cast<char>(cell.character)));
    }
  }
  PutCursor(w.cursor_row, w.cursor_column);
  RemoveFromSaveFile(w);
}

void ScrollArea(int top, int left, int bottom, int right, int lines) {
  ScrollRectangle(top + 1, left + 1, bottom + 1, right + 1, lines == 0 ? -1 : lines);
}

void ResetWindows() { State() = WindowState{}; }

}  // namespace qav
