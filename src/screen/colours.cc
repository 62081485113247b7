#include "screen/colours.h"

#include <vector>

#include "frame/session.h"
#include "platform/console.h"
#include "util/text.h"

namespace qav {
namespace {

struct ColourState {
  int16_t current = 0;
  std::vector<int16_t> stack;
};

ColourState& State() {
  static ColourState state;
  return state;
}

bool Holds(std::string_view spec, char upper) {
  for (char c : spec) {
    if (c == upper || c == upper - 'A' + 'a') return true;
  }
  return false;
}

}  // namespace

void SetColour(std::string_view spec) {
  if (IsAllChar(spec, ' ')) return;
  ColourState& state = State();
  if (spec.find('+') != std::string_view::npos) state.stack.push_back(state.current);
  int16_t pair;
  if (spec.find('-') != std::string_view::npos) {
    pair = 0;
    if (!state.stack.empty()) {
      pair = state.stack.back();
      state.stack.pop_back();
    }
  } else if (Holds(spec, 'U')) {
    pair = 4;
  } else {
    pair = static_cast<int16_t>((Holds(spec, 'R') ? 2 : 0) + (Holds(spec, 'N') ? 1 : 0));
  }
  const auto& colours = Session().ColourTable[pair];
  SetTextColour(colours[0], colours[1]);
  state.current = pair;
}

int16_t CurrentColour() { return State().current; }

size_t ColourStackDepth() { return State().stack.size(); }

void ResetColours() { State() = ColourState{}; }

}  // namespace qav
