#include "util/packed_digits.h"

namespace qav {
namespace {

int DigitValue(char c) { return (c >= '0' && c <= '9') ? c - '0' : 0; }

// The leading digits of a group (after blanks and a sign), without leading
// zeros; "0" when there are none.
std::string GroupNumber(std::string_view group) {
  size_t i = 0;
  while (i < group.size() && group[i] == ' ') ++i;
  if (i < group.size() && (group[i] == '+' || group[i] == '-')) ++i;
  std::string digits;
  while (i < group.size() && group[i] >= '0' && group[i] <= '9') {
    if (!(digits.empty() && group[i] == '0')) digits.push_back(group[i]);
    ++i;
  }
  return digits.empty() ? std::string("0") : digits;
}

std::string FitDigits(const std::string& digits, size_t width) {
  if (digits.size() >= width) return digits.substr(digits.size() - width);
  return std::string(width - digits.size(), '0') + digits;
}

}  // namespace

std::string PackDigits(std::string_view text) {
  const size_t n = text.size();
  std::string_view trimmed = text;
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  std::string digits = std::string(n - trimmed.size(), '0') + std::string(trimmed);
  for (char& c : digits) {
    if (c == ' ') c = '0';
  }
  std::string packed((n + 1) / 2, '\0');
  for (size_t k = 0; k < packed.size(); ++k) {
    const int high = DigitValue(digits[2 * k]);
    const int low = 2 * k + 1 < n ? DigitValue(digits[2 * k + 1]) : 0;
    packed[k] = static_cast<char>(128 | (10 * high + low));
  }
  return packed;
}

std::string UnpackDigits(std::string_view packed) {
  std::string digits;
  digits.reserve(2 * packed.size());
  for (unsigned char b : packed) {
    const int v = b & 127;
    // Values 100 to 127 keep their last two digits.
    digits.push_back(static_cast<char>('0' + (v / 10) % 10));
    digits.push_back(static_cast<char>('0' + v % 10));
  }
  return digits;
}

std::string PackCode(std::string_view text) {
  size_t dots = 0;
  for (char c : text) dots += c == '.';
  const bool wide_first =
      (text.size() == 6 && dots == 0) || (text.size() == 11 && dots < 2);
  std::string digits;
  size_t start = 0;
  bool first = true;
  while (true) {
    const size_t dot = text.find('.', start);
    const bool last = dot == std::string_view::npos;
    const std::string_view group = text.substr(start, last ? std::string_view::npos : dot - start);
    bool blank = true;
    for (char c : group) blank = blank && c == ' ';
    if (last && blank) break;  // a trailing empty group is not a group
    digits += FitDigits(GroupNumber(group), first && wide_first ? 6 : 4);
    first = false;
    if (last) break;
    start = dot + 1;
  }
  return PackDigits(digits);
}

}  // namespace qav
