#include "screen/text_stack.h"

#include <cstdint>

namespace qav {
namespace {

constexpr size_t kMaxItem = 32767;

std::string& Stack() {
  static std::string stack;
  return stack;
}

}  // namespace

void PushText(std::string_view item) {
  if (item.size() > kMaxItem) item = item.substr(0, kMaxItem);
  std::string& s = Stack();
  s.append(item);
  const uint16_t n = static_cast<uint16_t>(item.size());
  s.push_back(static_cast<char>(n & 0xFF));
  s.push_back(static_cast<char>(n >> 8));
}

std::string PopText() {
  std::string& s = Stack();
  if (s.size() < 2) {
    s.clear();
    return {};
  }
  const int16_t n = static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned char>(s[s.size() - 2])) |
                                         static_cast<uint16_t>(static_cast<unsigned char>(s[s.size() - 1])) << 8);
  if (n < 0 || static_cast<size_t>(n) + 2 > s.size()) {
    s.clear();
    return {};
  }
  std::string item = s.substr(s.size() - 2 - n, static_cast<size_t>(n));
  s.resize(s.size() - 2 - n);
  return item;
}

void ResetTextStack() { Stack().clear(); }

}  // namespace qav
