#include "qavprint/justification.h"

#include <vector>

namespace qav {
namespace {

struct Core {
  size_t begin = 0;  // first non-blank
  size_t end = 0;    // one past the last non-blank
};

Core NonBlankPart(std::string_view text) {
  Core core;
  core.end = text.size();
  while (core.begin < core.end && text[core.begin] == ' ') ++core.begin;
  while (core.end > core.begin && text[core.end - 1] == ' ') --core.end;
  return core;
}

std::string SpreadWords(std::string_view core, size_t width) {
  std::vector<std::string_view> words;
  size_t letters = 0;
  for (size_t i = 0; i < core.size();) {
    if (core[i] == ' ') {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < core.size() && core[i] != ' ') ++i;
    words.push_back(core.substr(start, i - start));
    letters += i - start;
  }
  std::string out;
  if (words.size() < 2) {
    out.assign(core);
    out.resize(width, ' ');
    return out;
  }
  const size_t gaps = words.size() - 1;
  const size_t blanks = width - letters;
  for (size_t w = 0; w < words.size(); ++w) {
    out.append(words[w]);
    if (w < gaps) out.append(blanks / gaps + (w < blanks % gaps ? 1 : 0), ' ');
  }
  return out;
}

}  // namespace

std::string AlignText(std::string_view text, Justification justification) {
  const Core core = NonBlankPart(text);
  const std::string_view middle = text.substr(core.begin, core.end - core.begin);
  const size_t blanks = text.size() - middle.size();
  switch (justification) {
    case Justification::kAsIs:
      return std::string(text);
    case Justification::kRight:
    case Justification::kNumber:
      // Only the trailing blanks move; leading ones stay where they are.
      return std::string(text.size() - core.end, ' ') + std::string(text.substr(0, core.end));
    case Justification::kCentre: {
      const size_t left = blanks / 2;
      return std::string(left, ' ') + std::string(middle) + std::string(blanks - left, ' ');
    }
    case Justification::kBoth:
      return SpreadWords(middle, text.size());
  }
  return std::string(text);
}

}  // namespace qav
