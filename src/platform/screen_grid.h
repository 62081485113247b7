// The screen as a grid of cells, each one code page 850 byte and one colour
// attribute (foreground + 16 × background). Every console backend keeps its
// screen in one of these, so reading back, scrolling and clearing behave the
// same whether the cells end up on a terminal or only in memory.
#ifndef QAV_PLATFORM_SCREEN_GRID_H_
#define QAV_PLATFORM_SCREEN_GRID_H_

#include <cstdint>
#include <string_view>
#include <vector>

namespace qav {

struct Cell {
  uint8_t character = ' ';
  uint8_t attribute = 7;
  bool operator==(const Cell&) const = default;
};

class ScreenGrid {
 public:
  ScreenGrid(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Rows and columns count from 1; cells outside the grid read as a blank
  // in attribute 0 and ignore writes.
  bool Contains(int row, int column) const;
  Cell At(int row, int column) const;
  void Put(int row, int column, Cell cell);

  // Writes the text from (row, column) to the right, going on at the start
  // of the next row; what would fall past the last cell is dropped. Returns
  // the cell after the last one written, as (row, column).
  void Write(int* row, int* column, std::string_view text, uint8_t attribute);

  void Fill(uint8_t attribute);  // every cell a blank
  // Moves the rectangle's rows up (lines > 0) or down (lines < 0); the rows
  // left uncovered become blanks of `attribute`. |lines| beyond the height
  // of the rectangle blanks it whole. The rectangle is clipped to the grid.
  void Scroll(int top, int left, int bottom, int right, int lines, uint8_t attribute);

  // Rows changed since the last ClearDirty(), for backends that redraw less.
  bool RowDirty(int row) const { return dirty_[row - 1]; }
  void MarkAllDirty();
  void ClearDirty();

 private:
  int width_;
  int height_;
  std::vector<Cell> cells_;
  std::vector<bool> dirty_;
};

}  // namespace qav

#endif  // QAV_PLATFORM_SCREEN_GRID_H_
