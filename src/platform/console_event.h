// The input events of the console: keys with their modifier states, mouse
// clicks and wheel turns. Both console backends deliver these.
#ifndef QAV_PLATFORM_CONSOLE_EVENT_H_
#define QAV_PLATFORM_CONSOLE_EVENT_H_

#include <cstdint>

namespace qav {

enum class EventKind : uint8_t {
  kNone,   // nothing arrived (a poll found no input)
  kKey,
  kClick,  // a mouse button released over a cell
  kWheel,  // the mouse wheel turned; `wheel` is -1 (up) or +1 (down)
};

// Modifier states, as the key's event reports them.
enum Modifier : uint16_t {
  kLeftAlt = 1,
  kRightAlt = 2,
  kLeftCtrl = 4,
  kRightCtrl = 8,
  kLeftShift = 16,
  kRightShift = 32,
};
constexpr uint16_t kAnyAlt = kLeftAlt | kRightAlt;
constexpr uint16_t kAnyCtrl = kLeftCtrl | kRightCtrl;
constexpr uint16_t kAnyShift = kLeftShift | kRightShift;

// Scan codes of the extended keys, as the suite's key codes use them
// (key code = scan code × 256).
namespace scan {
constexpr uint8_t kF1 = 0x3B, kF2 = 0x3C, kF3 = 0x3D, kF4 = 0x3E, kF5 = 0x3F, kF6 = 0x40,
                  kF7 = 0x41, kF8 = 0x42, kF9 = 0x43, kF10 = 0x44, kF11 = 0x85, kF12 = 0x86;
constexpr uint8_t kHome = 0x47, kUp = 0x48, kPgUp = 0x49, kLeft = 0x4B, kCenter = 0x4C,
                  kRight = 0x4D, kEnd = 0x4F, kDown = 0x50, kPgDn = 0x51, kIns = 0x52,
                  kDel = 0x53;
}  // namespace scan

struct ConsoleEvent {
  EventKind kind = EventKind::kNone;
  // Keys: a character key has its code page 850 code here and scan 0; an
  // extended key has character 0 and its scan code.
  uint8_t character = 0;
  uint8_t scan = 0;
  uint16_t modifiers = 0;
  // Clicks: button mask (1 left, 2 right, 4 middle) and the 1-based cell.
  uint16_t buttons = 0;
  int16_t row = 0;
  int16_t column = 0;
  int8_t wheel = 0;

  // The suite's 16-bit key code: the character, or the scan code × 256.
  int KeyCode() const { return character != 0 ? character : scan * 256; }

  static ConsoleEvent Char(uint8_t c, uint16_t mods = 0) {
    ConsoleEvent e;
    e.kind = EventKind::kKey;
    e.character = c;
    e.modifiers = mods;
    return e;
  }
  static ConsoleEvent Extended(uint8_t scan_code, uint16_t mods = 0) {
    ConsoleEvent e;
    e.kind = EventKind::kKey;
    e.scan = scan_code;
    e.modifiers = mods;
    return e;
  }
  static ConsoleEvent Click(int row, int column, uint16_t buttons = 1, uint16_t mods = 0) {
    ConsoleEvent e;
    e.kind = EventKind::kClick;
    e.row = static_cast<int16_t>(row);
    e.column = static_cast<int16_t>(column);
    e.buttons = buttons;
    e.modifiers = mods;
    return e;
  }
  static ConsoleEvent Wheel(int direction, int row = 0, int column = 0) {
    ConsoleEvent e;
    e.kind = EventKind::kWheel;
    e.wheel = static_cast<int8_t>(direction < 0 ? -1 : 1);
    e.row = static_cast<int16_t>(row);
    e.column = static_cast<int16_t>(column);
    return e;
  }
  bool operator==(const ConsoleEvent&) const = default;
};

}  // namespace qav

#endif  // QAV_PLATFORM_CONSOLE_EVENT_H_
