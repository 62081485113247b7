// What the terminal backend can expect of the terminal, judged from its
// terminfo answers and the environment: how many colours to use and whether
// mouse clicks can be reported. Kept apart from curses so it is tested alone.
#ifndef QAV_PLATFORM_TERMINAL_CAPS_H_
#define QAV_PLATFORM_TERMINAL_CAPS_H_

#include <string_view>

namespace qav {

enum class ColourMode {
  kMonochrome,  // bold and reverse only
  kEight,       // the eight base colours; bright foregrounds drawn bold
  kSixteen,     // all sixteen console colours
};

// `colours` is what the terminal reports (curses' COLORS); a non-empty
// NO_COLOR (`no_color`, null when unset) asks for no colours at all.
ColourMode ChooseColourMode(bool has_colours, int colours, const char* no_color);

// True for the terminal types known to report xterm mouse clicks.
bool TermSuggestsMouse(std::string_view term);

// Whether mouse clicks can be reported: the terminfo entry names a mouse
// key (`has_kmous`) or TERM is one of the families above. The linux console
// lists one but reports clicks only while the gpm daemon runs.
bool MousePresentFor(std::string_view term, bool has_kmous, bool gpm_running);

}  // namespace qav

#endif  // QAV_PLATFORM_TERMINAL_CAPS_H_
