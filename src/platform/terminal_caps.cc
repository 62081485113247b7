#include "platform/terminal_caps.h"

#include <array>

namespace qav {

ColourMode ChooseColourMode(bool has_colours, int colours, const char* no_color) {
  if (no_color != nullptr && no_color[0] != '\0') return ColourMode::kMonochrome;
  if (!has_colours || colours < 8) return ColourMode::kMonochrome;
  return colours >= 16 ? ColourMode::kSixteen : ColourMode::kEight;
}

bool TermSuggestsMouse(std::string_view term) {
  // Matched as prefixes, so that xterm-256color, tmux-direct, screen.xterm,
  // rxvt-unicode or foot-extra count with their family.
  static constexpr std::array<std::string_view, 9> kFamilies = {
      "xterm", "tmux", "screen", "rxvt", "vte", "alacritty", "kitty", "foot", "wezterm"};
  for (std::string_view family : kFamilies) {
    if (term.substr(0, family.size()) == family) return true;
  }
  return false;
}

bool MousePresentFor(std::string_view term, bool has_kmous, bool gpm_running) {
  if (term.substr(0, 5) == "linux") return gpm_running;
  return has_kmous || TermSuggestsMouse(term);
}

}  // namespace qav
