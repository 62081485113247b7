#include "platform/key_decoder.h"

#include <array>

#include "platform/cp850.h"

namespace qav {
namespace {

constexpr unsigned char kEsc = 0x1B;
// A control sequence longer than this is not a key: it is dropped, so that a
// stray ESC [ followed by junk never holds back the input behind it.
constexpr size_t kMaxSequence = 32;
constexpr uint8_t kShiftTabScan = 0x0F;

// The keyboard's scan codes of the letters A-Z (QWERTY), which Alt+letter
// reports, and the codes Alt+1 ... Alt+9, Alt+0 report.
constexpr std::array<uint8_t, 26> kLetterScan = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr uint8_t kAltDigitOneScan = 0x78;  // Alt+1; Alt+9 is 0x80, Alt+0 0x81

// Each decoding step below returns the bytes it used, or 0 when the sequence
// at hand is cut short and more bytes are needed (never when at_end).
using Events = std::vector<ConsoleEvent>;

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// xterm's modifier parameter: 1 + Shift(1) + Alt(2) + Ctrl(4) (+ Meta(8),
// which no key of ours distinguishes).
uint16_t ModifiersOfParameter(int m) {
  if (m < 2) return 0;
  const int bits = m - 1;
  uint16_t mods = 0;
  if (bits & 1) mods |= kLeftShift;
  if (bits & 2) mods |= kLeftAlt;
  if (bits & 4) mods |= kLeftCtrl;
  return mods;
}

// Alt held with a key: letters and digits become extended keys with their
// scan codes, the way the suite's key codes know Alt+X or Alt+C; any other
// key keeps its code and gains the Alt state.
ConsoleEvent WithAlt(ConsoleEvent e) {
  if (e.kind != EventKind::kKey) return e;
  const unsigned char c = e.character;
  if (IsLetter(c)) {
    const bool upper = c <= 'Z';
    const uint16_t mods = e.modifiers | kLeftAlt | (upper ? kLeftShift : 0);
    return ConsoleEvent::Extended(kLetterScan[(c | 0x20) - 'a'], mods);
  }
  if (IsDigit(c)) {
    const int index = c == '0' ? 9 : c - '1';
    return ConsoleEvent::Extended(static_cast<uint8_t>(kAltDigitOneScan + index),
                                  e.modifiers | kLeftAlt);
  }
  e.modifiers |= kLeftAlt;
  return e;
}

// An ASCII byte other than ESC.
void DecodeAscii(unsigned char c, Events* out) {
  switch (c) {
    case 0:  // Ctrl+Space: no key of the console
      return;
    case 8:
    case 0x7F:
      out->push_back(ConsoleEvent::Char(8));
      return;
    case 9:
      out->push_back(ConsoleEvent::Char(9));
      return;
    case 10:
    case 13:
      out->push_back(ConsoleEvent::Char(13));
      return;
    default:
      if (c < 0x20) {
        out->push_back(ConsoleEvent::Char(c, kLeftCtrl));
      } else {
        out->push_back(ConsoleEvent::Char(c));
      }
  }
}

// The length of the UTF-8 character a lead byte announces, 0 when the byte
// cannot start one.
size_t Utf8Length(unsigned char b) {
  if (b >= 0xC2 && b < 0xE0) return 2;
  if (b >= 0xE0 && b < 0xF0) return 3;
  if (b >= 0xF0 && b < 0xF5) return 4;
  return 0;
}

// A key that is not an escape sequence: ASCII or one UTF-8 character.
size_t DecodePlain(std::string_view in, size_t pos, bool at_end, Events* out) {
  const unsigned char b = in[pos];
  if (b < 0x80) {
    DecodeAscii(b, out);
    return 1;
  }
  const size_t length = Utf8Length(b);
  if (length == 0) return 1;
  if (pos + length > in.size()) {
    for (size_t i = pos + 1; i < in.size(); ++i) {
      if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) return 1;
    }
    return at_end ? in.size() - pos : 0;
  }
  char32_t u = 0;
  const size_t used = DecodeUtf8(in, pos, &u);
  if (used == 0) return 1;
  const int code = UnicodeToCp850(u);
  if (code >= 0x20) out->push_back(ConsoleEvent::Char(static_cast<uint8_t>(code)));
  return used;
}

// A character reported by code point (CSI u and xterm's modifyOtherKeys),
// with its modifiers given separately.
void DecodeCodePoint(int cp, uint16_t mods, Events* out) {
  if (cp == 13 || cp == 9 || cp == 27) {
    if (cp == 9 && (mods & kLeftShift)) {
      out->push_back(ConsoleEvent::Extended(kShiftTabScan, mods));
    } else {
      out->push_back(ConsoleEvent::Char(static_cast<uint8_t>(cp), mods));
    }
    return;
  }
  if (cp == 8 || cp == 127) {
    out->push_back(ConsoleEvent::Char(8, mods));
    return;
  }
  if (cp < 0x20 || cp > 0x10FFFF) return;
  if ((mods & kLeftCtrl) && cp < 0x80 && IsLetter(static_cast<unsigned char>(cp))) {
    ConsoleEvent e = ConsoleEvent::Char(static_cast<uint8_t>(cp & 0x1F), mods & ~kLeftAlt);
    out->push_back((mods & kLeftAlt) ? WithAlt(e) : e);
    return;
  }
  const int code = UnicodeToCp850(static_cast<char32_t>(cp));
  if (code < 0x20) return;
  ConsoleEvent e = ConsoleEvent::Char(static_cast<uint8_t>(code), mods & ~kLeftAlt);
  out->push_back((mods & kLeftAlt) ? WithAlt(e) : e);
}

// The numeric parameters of a control sequence: up to four, separated by
// ';'. A missing parameter reads as `fallback`; sub-parameters after ':'
// are ignored.
struct Parameters {
  std::array<int, 4> values{};
  int count = 0;
  int Get(int i, int fallback) const { return i < count && values[i] >= 0 ? values[i] : fallback; }
};

Parameters ParseParameters(std::string_view text) {
  Parameters p;
  p.values.fill(-1);
  int field = 0;
  bool in_sub = false;
  for (unsigned char c : text) {
    if (c == ';') {
      ++field;
      in_sub = false;
    } else if (c == ':') {
      in_sub = true;
    } else if (IsDigit(c) && !in_sub && field < 4) {
      int& v = p.values[field];
      if (v < 0) v = 0;
      if (v < 100000) v = v * 10 + (c - '0');
    }
  }
  p.count = field + 1 < 4 ? field + 1 : 4;
  return p;
}

// The cursor block and keypad 5 by their final letter (CSI or SS3).
uint8_t CursorKeyScan(unsigned char final) {
  switch (final) {
    case 'A': return scan::kUp;
    case 'B': return scan::kDown;
    case 'C': return scan::kRight;
    case 'D': return scan::kLeft;
    case 'H': return scan::kHome;
    case 'F': return scan::kEnd;
    case 'E':
    case 'G':
    case 'u': return scan::kCenter;
    case 'P': return scan::kF1;
    case 'Q': return scan::kF2;
    case 'R': return scan::kF3;
    case 'S': return scan::kF4;
    default: return 0;
  }
}

// The keys of the form CSI n ~ (VT220 numbering). Shift+F3 ... Shift+F10 of
// the linux console and rxvt arrive as F13 ... F20; `implied` gets the
// Shift they stand for.
uint8_t TildeKeyScan(int n, uint16_t* implied) {
  static constexpr std::array<uint8_t, 10> kFunction = {
      scan::kF1, scan::kF2, scan::kF3, scan::kF4, scan::kF5,
      scan::kF6, scan::kF7, scan::kF8, scan::kF9, scan::kF10};
  switch (n) {
    case 1: case 7: return scan::kHome;
    case 2: return scan::kIns;
    case 3: return scan::kDel;
    case 4: case 8: return scan::kEnd;
    case 5: return scan::kPgUp;
    case 6: return scan::kPgDn;
    case 11: case 12: case 13: case 14: case 15: return kFunction[n - 11];
    case 17: case 18: case 19: case 20: case 21: return kFunction[n - 12];
    case 23: return scan::kF11;
    case 24: return scan::kF12;
    case 25: case 26: *implied = kLeftShift; return kFunction[n - 23];
    case 28: case 29: *implied = kLeftShift; return kFunction[n - 24];
    case 31: case 32: case 33: case 34: *implied = kLeftShift; return kFunction[n - 25];
    default: return 0;
  }
}

// An SGR mouse report, CSI < b ; x ; y M (press) or m (release). Only
// releases of the three buttons count as clicks; the wheel turns on press.
void DecodeSgrMouse(const Parameters& p, unsigned char final, Events* out) {
  const int b = p.Get(0, 0), x = p.Get(1, 0), y = p.Get(2, 0);
  if (x < 1 || y < 1 || x > 32767 || y > 32767) return;
  if (b & (32 | 128)) return;  // motion, extra buttons
  if (b & 64) {
    if (final == 'M' && (b & 3) < 2) out->push_back(ConsoleEvent::Wheel((b & 3) == 0 ? -1 : 1, y, x));
    return;
  }
  static constexpr std::array<uint16_t, 3> kMask = {1, 4, 2};  // left, middle, right
  if (final != 'm' || (b & 3) == 3) return;
  uint16_t mods = 0;
  if (b & 4) mods |= kLeftShift;
  if (b & 8) mods |= kLeftAlt;
  if (b & 16) mods |= kLeftCtrl;
  out->push_back(ConsoleEvent::Click(y, x, kMask[b & 3], mods));
}

// The legacy mouse report CSI M b x y, each value + 32 in one byte, from
// terminals without SGR reports. A release does not tell its button; it is
// taken as the left one, the button the program's clicks are made with.
void DecodeX10Mouse(std::string_view report, Events* out) {
  const int b = static_cast<unsigned char>(report[0]) - 32;
  const int x = static_cast<unsigned char>(report[1]) - 32;
  const int y = static_cast<unsigned char>(report[2]) - 32;
  if (b < 0 || x < 1 || y < 1 || (b & 32)) return;
  if (b & 64) {
    if ((b & 3) < 2) out->push_back(ConsoleEvent::Wheel((b & 3) == 0 ? -1 : 1, y, x));
    return;
  }
  if ((b & 3) != 3) return;
  uint16_t mods = 0;
  if (b & 4) mods |= kLeftShift;
  if (b & 8) mods |= kLeftAlt;
  if (b & 16) mods |= kLeftCtrl;
  out->push_back(ConsoleEvent::Click(y, x, 1, mods));
}

// A complete CSI sequence: parameter bytes and the final byte.
void InterpretCsi(std::string_view params, unsigned char final, Events* out) {
  const bool is_private = !params.empty() && params[0] >= '<' && params[0] <= '?';
  const Parameters p = ParseParameters(params);
  if (is_private) {
    if (params[0] == '<' && (final == 'M' || final == 'm')) DecodeSgrMouse(p, final, out);
    return;  // everything else private is a report we never asked for
  }
  switch (final) {
    case '~':
    case '$':  // rxvt: with Shift
    case '^':  // rxvt: with Ctrl
    case '@': {  // rxvt: with Ctrl+Shift
      const int n = p.Get(0, 0);
      if (n == 27) {  // xterm modifyOtherKeys: 27 ; modifiers ; code
        DecodeCodePoint(p.Get(2, 0), ModifiersOfParameter(p.Get(1, 1)), out);
        return;
      }
      uint16_t mods = ModifiersOfParameter(p.Get(1, 1));
      if (final == '$' || final == '@') mods |= kLeftShift;
      if (final == '^' || final == '@') mods |= kLeftCtrl;
      const uint8_t key = TildeKeyScan(n, &mods);
      if (key != 0) out->push_back(ConsoleEvent::Extended(key, mods));
      return;
    }
    case 'Z':
      out->push_back(
          ConsoleEvent::Extended(kShiftTabScan, kLeftShift | ModifiersOfParameter(p.Get(1, 1))));
      return;
    case 'u':
      DecodeCodePoint(p.Get(0, 0), ModifiersOfParameter(p.Get(1, 1)), out);
      return;
    case 'a': case 'b': case 'c': case 'd':  // rxvt: Shift+arrow
      out->push_back(ConsoleEvent::Extended(CursorKeyScan(final - 'a' + 'A'), kLeftShift));
      return;
    default:
      if (const uint8_t key = CursorKeyScan(final); key != 0) {
        out->push_back(ConsoleEvent::Extended(key, ModifiersOfParameter(p.Get(1, 1))));
      }
  }
}

bool IsParameterByte(unsigned char c) { return c >= 0x20 && c <= 0x3F && c != '$'; }
bool IsFinalByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || c == '$'; }

// ESC [ ...: at `pos` is the ESC.
size_t DecodeCsi(std::string_view in, size_t pos, bool at_end, Events* out) {
  const size_t start = pos + 2;
  if (start == in.size()) {
    if (!at_end) return 0;
    out->push_back(WithAlt(ConsoleEvent::Char('[')));
    return 2;
  }
  if (in[start] == '[') {  // linux console: ESC [ [ A ... ESC [ [ E are F1 ... F5
    if (start + 1 == in.size()) return at_end ? 3 : 0;
    const unsigned char f = in[start + 1];
    if (f >= 'A' && f <= 'E') out->push_back(ConsoleEvent::Extended(scan::kF1 + (f - 'A')));
    return IsFinalByte(f) ? 4 : 3;
  }
  size_t end = start;
  while (end < in.size() && IsParameterByte(in[end])) {
    ++end;
    if (end - pos > kMaxSequence) {
      while (end < in.size() && IsParameterByte(in[end])) ++end;
      if (end < in.size() && IsFinalByte(in[end])) ++end;
      return end - pos;
    }
  }
  if (end == in.size()) return at_end ? end - pos : 0;
  const unsigned char final = in[end];
  if (!IsFinalByte(final)) return end - pos;  // broken off: what follows is read anew
  if (final == 'M' && end == start) {  // legacy mouse report: three raw bytes follow
    if (end + 4 > in.size()) return at_end ? in.size() - pos : 0;
    DecodeX10Mouse(in.substr(end + 1, 3), out);
    return end + 4 - pos;
  }
  InterpretCsi(in.substr(start, end - start), final, out);
  return end + 1 - pos;
}

// ESC O ...: cursor and function keys in application mode and the keypad.
size_t DecodeSs3(std::string_view in, size_t pos, bool at_end, Events* out) {
  size_t end = pos + 2;
  if (end == in.size()) {
    if (!at_end) return 0;
    out->push_back(WithAlt(ConsoleEvent::Char('O')));
    return 2;
  }
  int modifier = 0;  // some terminals put the modifier parameter here: ESC O 2 P
  while (end < in.size() && IsDigit(in[end]) && end - pos < 4) modifier = modifier * 10 + (in[end++] - '0');
  if (end == in.size()) return at_end ? end - pos : 0;
  const unsigned char final = in[end];
  if (!IsFinalByte(final)) return end - pos;
  const uint16_t mods = ModifiersOfParameter(modifier);
  if (const uint8_t key = CursorKeyScan(final); key != 0) {
    out->push_back(ConsoleEvent::Extended(key, mods));
  } else if (final >= 'a' && final <= 'd') {  // rxvt: Ctrl+arrow
    out->push_back(ConsoleEvent::Extended(CursorKeyScan(final - 'a' + 'A'), kLeftCtrl));
  } else if (final == 'M') {  // keypad Enter
    out->push_back(ConsoleEvent::Char(13, mods));
  } else if (final >= 'j' && final <= 'y') {  // keypad * + , - . / 0-9
    out->push_back(ConsoleEvent::Char(static_cast<uint8_t>(final - 'j' + '*'), mods));
  } else if (final == 'X') {  // keypad =
    out->push_back(ConsoleEvent::Char('=', mods));
  }
  return end + 1 - pos;
}

size_t DecodeOne(std::string_view in, size_t pos, bool at_end, Events* out);

// ESC followed by something: a sequence, or Alt + the key that follows.
size_t DecodeEscape(std::string_view in, size_t pos, bool at_end, Events* out) {
  if (pos + 1 == in.size()) {
    if (!at_end) return 0;
    out->push_back(ConsoleEvent::Char(27));
    return 1;
  }
  const unsigned char next = in[pos + 1];
  if (next == '[') return DecodeCsi(in, pos, at_end, out);
  if (next == 'O') return DecodeSs3(in, pos, at_end, out);
  if (next == kEsc) {
    // ESC ESC [ ... and ESC ESC O ... are Alt + a key (rxvt, and Alt with
    // the cursor keys on some terminals); otherwise the first ESC is Esc.
    if (pos + 2 == in.size() && !at_end) return 0;
    if (pos + 2 < in.size() && (in[pos + 2] == '[' || in[pos + 2] == 'O')) {
      Events inner;
      const size_t used = DecodeEscape(in, pos + 1, at_end, &inner);
      if (used == 0) return 0;
      for (const ConsoleEvent& e : inner) {
        ConsoleEvent alt = e;
        if (alt.kind == EventKind::kKey) alt.modifiers |= kLeftAlt;
        out->push_back(alt);
      }
      return used + 1;
    }
    out->push_back(ConsoleEvent::Char(27));
    return 1;
  }
  Events inner;
  const size_t used = DecodePlain(in, pos + 1, at_end, &inner);
  if (used == 0) return 0;
  for (const ConsoleEvent& e : inner) out->push_back(WithAlt(e));
  return used + 1;
}

size_t DecodeOne(std::string_view in, size_t pos, bool at_end, Events* out) {
  if (static_cast<unsigned char>(in[pos]) == kEsc) return DecodeEscape(in, pos, at_end, out);
  return DecodePlain(in, pos, at_end, out);
}

}  // namespace

size_t DecodeInput(std::string_view bytes, bool at_end, std::vector<ConsoleEvent>* events) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t used = DecodeOne(bytes, pos, at_end, events);
    if (used == 0) break;  // cut short; never happens when at_end
    pos += used;
  }
  return pos;
}

}  // namespace qav
