#include "platform/screen_grid.h"

#include <algorithm>

namespace qav {

ScreenGrid::ScreenGrid(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      cells_(static_cast<size_t>(width_) * height_),
      dirty_(height_, true) {}

bool ScreenGrid::Contains(int row, int column) const {
  return row >= 1 && row <= height_ && column >= 1 && column <= width_;
}

Cell ScreenGrid::At(int row, int column) const {
  if (!Contains(row, column)) return Cell{' ', 0};
  return cells_[static_cast<size_t>(row - 1) * width_ + (column - 1)];
}

void ScreenGrid::Put(int row, int column, Cell cell) {
  if (!Contains(row, column)) return;
  cells_[static_cast<size_t>(row - 1) * width_ + (column - 1)] = cell;
  dirty_[row - 1] = true;
}

void ScreenGrid::Write(int* row, int* column, std::string_view text, uint8_t attribute) {
  for (unsigned char c : text) {
    if (*row > height_ || *row < 1) break;
    if (*column >= 1 && *column <= width_) Put(*row, *column, Cell{c, attribute});
    if (++*column > width_) {
      if (*row == height_) {
        *column = width_;  // the cursor stays on the last cell
        break;
      }
      *column = 1;
      ++*row;
    }
  }
}

void ScreenGrid::Fill(uint8_t attribute) {
  std::fill(cells_.begin(), cells_.end(), Cell{' ', attribute});
  MarkAllDirty();
}

void ScreenGrid::Scroll(int top, int left, int bottom, int right, int lines, uint8_t attribute) {
  top = std::max(top, 1);
  left = std::max(left, 1);
  bottom = std::min(bottom, height_);
  right = std::min(right, width_);
  if (top > bottom || left > right || lines == 0) return;
  const int rows = bottom - top + 1;
  const int shift = std::min(std::abs(lines), rows);
  auto copy_row = [&](int to, int from) {
    for (int c = left; c <= right; ++c) Put(to, c, At(from, c));
  };
  auto blank_row = [&](int r) {
    for (int c = left; c <= right; ++c) Put(r, c, Cell{' ', attribute});
  };
  if (lines > 0) {
    for (int r = top; r <= bottom - shift; ++r) copy_row(r, r + shift);
    for (int r = bottom - shift + 1; r <= bottom; ++r) blank_row(r);
  } else {
    for (int r = bottom; r >= top + shift; --r) copy_row(r, r - shift);
    for (int r = top; r < top + shift; ++r) blank_row(r);
  }
}

void ScreenGrid::MarkAllDirty() { std::fill(dirty_.begin(), dirty_.end(), true); }
void ScreenGrid::ClearDirty() { std::fill(dirty_.begin(), dirty_.end(), false); }

}  // namespace qav
