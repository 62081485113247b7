#include "screen/exit_keys.h"

#include <cstddef>
#include <optional>

namespace qav {
namespace {

constexpr int16_t kMaskCharacter = 'X';

struct ExitKeyState {
  std::vector<ExitKey> map;
  std::optional<std::vector<ExitKey>> saved;
  int16_t echo = 0;
};

ExitKeyState& State() {
  static ExitKeyState state;
  return state;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a code at the start of the text; false when there is no digit.
bool ReadCode(std::string_view text, int16_t* code) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  uint16_t value = 0;
  bool any = false;
  for (; i < text.size() && HexValue(text[i]) >= 0; ++i) {
    value = static_cast<uint16_t>((value << 4) | HexValue(text[i]));
    any = true;
  }
  *code = static_cast<int16_t>(value);
  return any;
}

ExitKey ParseItem(std::string_view item) {
  size_t equals = item.find('=');
  ExitKey entry{0, 0};
  ReadCode(item.substr(0, equals), &entry.key);
  entry.reported = entry.key;
  if (equals != std::string_view::npos) {
    int16_t reported;
    if (ReadCode(item.substr(equals + 1), &reported)) entry.reported = reported;
  }
  return entry;
}

}  // namespace

std::vector<ExitKey> ParseKeyList(std::string_view key_list) {
  std::vector<ExitKey> entries;
  if (key_list.empty()) return entries;
  size_t start = 0;
  while (true) {
    size_t comma = key_list.find(',', start);
    entries.push_back(ParseItem(key_list.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return entries;
}

void SetExitKeys(std::string_view commands, std::string_view key_list) {
  ExitKeyState& state = State();
  for (char command : commands) {
    switch (command) {
      case 'E':
      case 'e':
        state.map.clear();
        break;
      case 'A':
      case 'a': {
        std::vector<ExitKey> entries = ParseKeyList(key_list);
        state.map.insert(state.map.end(), entries.begin(), entries.end());
        break;
      }
      case '+':
        if (!state.saved) state.saved = state.map;
        break;
      case '-':
        if (state.saved) {
          state.map = std::move(*state.saved);
          state.saved.reset();
        }
        break;
      case 'H':
      case 'h':
        state.echo = kMaskCharacter;
        break;
      case 'V':
      case 'v':
        state.echo = 0;
        break;
      default:
        break;
    }
  }
}

const std::vector<ExitKey>& ExitKeyMap() { return State().map; }

bool FindExitKey(int16_t key, int16_t* reported) {
  for (const ExitKey& entry : State().map) {
    if (entry.key == key) {
      *reported = entry.reported;
      return true;
    }
  }
  return false;
}

int16_t EchoChar() { return State().echo; }

void ResetExitKeys() { State() = ExitKeyState{}; }

}  // namespace qav
