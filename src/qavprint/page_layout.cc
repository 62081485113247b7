#include "qavprint/page_layout.h"

#include <cstdint>

#include "qavprint/justification.h"

namespace qav {
namespace {

// Positions are reckoned in units of 1/1020 inch, which every pitch
// (10, 12 and 17 cpi) divides, so the mapping is exact integer arithmetic.
constexpr int64_t kUnitsPerInch = 1020;
constexpr int64_t kLineUnits = kLineInches * kUnitsPerInch;
constexpr int64_t kCellUnits = kUnitsPerInch / kPitch17;

int64_t CharacterUnits(int pitch) { return kUnitsPerInch / (pitch > 0 ? pitch : kPitch10); }

int64_t RoundedDivide(int64_t a, int64_t b) { return (a + b / 2) / b; }

}  // namespace

int GridCell(int column, int pitch, size_t length) {
  const int64_t character = CharacterUnits(pitch);
  const int64_t start = static_cast<int64_t>(column - 1) * character;
  if (character == kCellUnits) return column - 1;
  const int64_t width = static_cast<int64_t>(length) * character;
  const int64_t left = start;
  const int64_t right = kLineUnits - start - width;
  if (right < 0 || left + right <= 0) return static_cast<int>(RoundedDivide(start, kCellUnits));
  const int64_t room = kLineUnits - static_cast<int64_t>(length) * kCellUnits;
  return static_cast<int>(RoundedDivide(room * left / (left + right), kCellUnits));
}

std::vector<std::string> LayOutPage(const PrintedPage& page) {
  std::vector<std::string> lines;
  lines.reserve(page.lines.size());
  for (const PrintedLine& printed : page.lines) {
    std::string line;
    for (const PlacedItem& item : printed.items) {
      const std::string text = AlignText(item.text, item.justification);
      const size_t cell = static_cast<size_t>(GridCell(item.column, item.pitch, text.size()));
      if (line.size() < cell + text.size()) line.resize(cell + text.size(), ' ');
      for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ' ') line[cell + i] = text[i];
      }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace qav
