#include "platform/key_decoder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace qav {

void PrintTo(const ConsoleEvent& e, std::ostream* os) {
  switch (e.kind) {
    case EventKind::kNone: *os << "none"; return;
    case EventKind::kKey:
      *os << "key(char " << int{e.character} << ", scan 0x" << std::hex << int{e.scan} << std::dec;
      break;
    case EventKind::kClick: *os << "click(buttons " << e.buttons; break;
    case EventKind::kWheel: *os << "wheel(" << int{e.wheel}; break;
  }
  *os << ", mods " << e.modifiers << ", row " << e.row << ", col " << e.column << ")";
}

namespace {

using Events = std::vector<ConsoleEvent>;

ConsoleEvent Key(uint8_t c, uint16_t mods = 0) { return ConsoleEvent::Char(c, mods); }
ConsoleEvent Ext(uint8_t scan_code, uint16_t mods = 0) { return ConsoleEvent::Extended(scan_code, mods); }

const std::string kEsc = "\x1b";
const std::string kCsi = "\x1b[";
const std::string kSs3 = "\x1bO";

struct Case {
  std::string bytes;
  Events expected;
};

// Decodes the whole input as the end of what arrived.
Events DecodeAll(const std::string& bytes) {
  Events events;
  EXPECT_EQ(DecodeInput(bytes, true, &events), bytes.size()) << "input not all used";
  return events;
}

void ExpectTable(const std::vector<Case>& table) {
  for (const Case& c : table) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(DecodeAll(c.bytes), c.expected);
  }
}

TEST(KeyDecoderTest, CharactersAndControlKeys) {
  ExpectTable({
      {"a", {Key('a')}},
      {"Z", {Key('Z')}},
      {" ~", {Key(' '), Key('~')}},
      {"\r", {Key(13)}},
      {"\n", {Key(13)}},
      {"\t", {Key(9)}},
      {"\x7f", {Key(8)}},
      {"\x08", {Key(8)}},
      {"\x03", {Key(3, kLeftCtrl)}},   // Ctrl+C
      {"\x16", {Key(22, kLeftCtrl)}},  // Ctrl+V
      {"\x19", {Key(25, kLeftCtrl)}},  // Ctrl+Y
      {"\x1a", {Key(26, kLeftCtrl)}},  // Ctrl+Z
      {std::string(1, '\0'), {}},      // Ctrl+Space: no key
  });
}

TEST(KeyDecoderTest, Utf8BecomesCodePage850) {
  ExpectTable({
      {"\xc3\xa9", {Key(0x82)}},          // é
      {"\xc3\x87", {Key(0x80)}},          // Ç
      {"\xc3\xb1", {Key(0xA4)}},          // ñ
      {"\xc2\xb7", {Key(0xFA)}},          // middle dot (l·l)
      {"\xe2\x95\x94", {Key(0xC9)}},      // ╔
      {"\xe2\x82\xac", {}},               // € has no code: dropped
      {"\xf0\x9f\x98\x80x", {Key('x')}},  // emoji dropped, the rest kept
      {"a\xc3\xa0" "b", {Key('a'), Key(0x85), Key('b')}},  // à between letters
  });
}

TEST(KeyDecoderTest, EscAndAltPrefix) {
  ExpectTable({
      {kEsc, {Key(27)}},
      {kEsc + kEsc, {Key(27), Key(27)}},
      {kEsc + "x", {Ext(0x2D, kLeftAlt)}},  // calculator
      {kEsc + "c", {Ext(0x2E, kLeftAlt)}},  // calendar
      {kEsc + "e", {Ext(0x12, kLeftAlt)}},
      {kEsc + "q", {Ext(0x10, kLeftAlt)}},
      {kEsc + "a", {Ext(0x1E, kLeftAlt)}},
      {kEsc + "m", {Ext(0x32, kLeftAlt)}},
      {kEsc + "z", {Ext(0x2C, kLeftAlt)}},
      {kEsc + "X", {Ext(0x2D, kLeftAlt | kLeftShift)}},
      {kEsc + "1", {Ext(0x78, kLeftAlt)}},
      {kEsc + "9", {Ext(0x80, kLeftAlt)}},
      {kEsc + "0", {Ext(0x81, kLeftAlt)}},
      {kEsc + "-", {Key('-', kLeftAlt)}},
      {kEsc + "\x7f", {Key(8, kLeftAlt)}},
      {kEsc + "\r", {Key(13, kLeftAlt)}},
      {kEsc + "\x18", {Key(24, kLeftCtrl | kLeftAlt)}},
      {kEsc + "\xc3\xa9", {Key(0x82, kLeftAlt)}},
      // Cut short at the end of the input: Alt + the letter it stands for.
      {kCsi, {Key('[', kLeftAlt)}},
      {kSs3, {Ext(0x18, kLeftAlt | kLeftShift)}},
  });
}

TEST(KeyDecoderTest, CursorBlock) {
  ExpectTable({
      {kCsi + "A", {Ext(scan::kUp)}},
      {kCsi + "B", {Ext(scan::kDown)}},
      {kCsi + "C", {Ext(scan::kRight)}},
      {kCsi + "D", {Ext(scan::kLeft)}},
      {kCsi + "H", {Ext(scan::kHome)}},
      {kCsi + "F", {Ext(scan::kEnd)}},
      {kSs3 + "A", {Ext(scan::kUp)}},
      {kSs3 + "D", {Ext(scan::kLeft)}},
      {kSs3 + "H", {Ext(scan::kHome)}},
      {kSs3 + "F", {Ext(scan::kEnd)}},
      {kCsi + "1~", {Ext(scan::kHome)}},
      {kCsi + "7~", {Ext(scan::kHome)}},
      {kCsi + "4~", {Ext(scan::kEnd)}},
      {kCsi + "8~", {Ext(scan::kEnd)}},
      {kCsi + "2~", {Ext(scan::kIns)}},
      {kCsi + "3~", {Ext(scan::kDel)}},
      {kCsi + "5~", {Ext(scan::kPgUp)}},
      {kCsi + "6~", {Ext(scan::kPgDn)}},
      {kCsi + "E", {Ext(scan::kCenter)}},
      {kCsi + "G", {Ext(scan::kCenter)}},
      {kSs3 + "u", {Ext(scan::kCenter)}},
      {kSs3 + "E", {Ext(scan::kCenter)}},
  });
}

TEST(KeyDecoderTest, CursorBlockWithModifiers) {
  ExpectTable({
      {kCsi + "1;2D", {Ext(scan::kLeft, kLeftShift)}},
      {kCsi + "1;3A", {Ext(scan::kUp, kLeftAlt)}},
      {kCsi + "1;5C", {Ext(scan::kRight, kLeftCtrl)}},
      {kCsi + "1;5H", {Ext(scan::kHome, kLeftCtrl)}},
      {kCsi + "1;8F", {Ext(scan::kEnd, kLeftShift | kLeftAlt | kLeftCtrl)}},
      {kCsi + "3;5~", {Ext(scan::kDel, kLeftCtrl)}},
      {kCsi + "6;2~", {Ext(scan::kPgDn, kLeftShift)}},
      {kEsc + kCsi + "A", {Ext(scan::kUp, kLeftAlt)}},  // rxvt Alt+Up
      {kCsi + "a", {Ext(scan::kUp, kLeftShift)}},       // rxvt Shift+Up
      {kSs3 + "d", {Ext(scan::kLeft, kLeftCtrl)}},      // rxvt Ctrl+Left
      {kCsi + "Z", {Ext(0x0F, kLeftShift)}},            // Shift+Tab
  });
}

TEST(KeyDecoderTest, FunctionKeys) {
  ExpectTable({
      {kSs3 + "P", {Ext(scan::kF1)}},
      {kSs3 + "Q", {Ext(scan::kF2)}},
      {kSs3 + "R", {Ext(scan::kF3)}},
      {kSs3 + "S", {Ext(scan::kF4)}},
      {kCsi + "11~", {Ext(scan::kF1)}},
      {kCsi + "14~", {Ext(scan::kF4)}},
      {kCsi + "15~", {Ext(scan::kF5)}},
      {kCsi + "17~", {Ext(scan::kF6)}},
      {kCsi + "21~", {Ext(scan::kF10)}},
      {kCsi + "23~", {Ext(scan::kF11)}},
      {kCsi + "24~", {Ext(scan::kF12)}},
      {kCsi + "[A", {Ext(scan::kF1)}},  // linux console
      {kCsi + "[C", {Ext(scan::kF3)}},
      {kCsi + "[E", {Ext(scan::kF5)}},
  });
}

TEST(KeyDecoderTest, FunctionKeysWithModifiers) {
  ExpectTable({
      {kCsi + "1;2P", {Ext(scan::kF1, kLeftShift)}},
      {kCsi + "1;5Q", {Ext(scan::kF2, kLeftCtrl)}},
      {kCsi + "1;3S", {Ext(scan::kF4, kLeftAlt)}},
      {kSs3 + "2P", {Ext(scan::kF1, kLeftShift)}},
      {kCsi + "15;2~", {Ext(scan::kF5, kLeftShift)}},
      {kCsi + "21;5~", {Ext(scan::kF10, kLeftCtrl)}},
      {kCsi + "24;3~", {Ext(scan::kF12, kLeftAlt)}},
      {kCsi + "25~", {Ext(scan::kF3, kLeftShift)}},  // linux console, rxvt: F13
      {kCsi + "29~", {Ext(scan::kF6, kLeftShift)}},
      {kCsi + "34~", {Ext(scan::kF10, kLeftShift)}},
      {kCsi + "23$", {Ext(scan::kF11, kLeftShift)}},  // rxvt
      {kCsi + "11^", {Ext(scan::kF1, kLeftCtrl)}},
      {kCsi + "12@", {Ext(scan::kF2, kLeftCtrl | kLeftShift)}},
      {kEsc + kSs3 + "P", {Ext(scan::kF1, kLeftAlt)}},
  });
}

TEST(KeyDecoderTest, KeysReportedByCodePoint) {
  ExpectTable({
      {kCsi + "13;2u", {Key(13, kLeftShift)}},
      {kCsi + "9;2u", {Ext(0x0F, kLeftShift)}},
      {kCsi + "99;5u", {Key(3, kLeftCtrl)}},
      {kCsi + "120;3u", {Ext(0x2D, kLeftAlt)}},
      {kCsi + "27;5;118~", {Key(22, kLeftCtrl)}},  // modifyOtherKeys Ctrl+V
      {kCsi + "233u", {Key(0x82)}},
  });
}

TEST(KeyDecoderTest, SgrMouse) {
  ExpectTable({
      {kCsi + "<0;10;5m", {ConsoleEvent::Click(5, 10, 1)}},
      {kCsi + "<1;10;5m", {ConsoleEvent::Click(5, 10, 4)}},
      {kCsi + "<2;3;4m", {ConsoleEvent::Click(4, 3, 2)}},
      {kCsi + "<4;1;1m", {ConsoleEvent::Click(1, 1, 1, kLeftShift)}},
      {kCsi + "<8;1;1m", {ConsoleEvent::Click(1, 1, 1, kLeftAlt)}},
      {kCsi + "<16;80;25m", {ConsoleEvent::Click(25, 80, 1, kLeftCtrl)}},
      {kCsi + "<0;10;5M", {}},  // press
      {kCsi + "<0;10;5M" + kCsi + "<0;10;5m", {ConsoleEvent::Click(5, 10, 1)}},
      {kCsi + "<32;10;5M", {}},  // drag
      {kCsi + "<35;10;5M", {}},  // motion
      {kCsi + "<64;10;5M", {ConsoleEvent::Wheel(-1, 5, 10)}},
      {kCsi + "<65;10;5M", {ConsoleEvent::Wheel(1, 5, 10)}},
      {kCsi + "<0;0;5m", {}},  // outside any cell
  });
}

TEST(KeyDecoderTest, LegacyMouse) {
  ExpectTable({
      {kCsi + "M" + "\x20\x2a\x25", {}},                               // press left at 10,5
      {kCsi + "M" + "\x23\x2a\x25", {ConsoleEvent::Click(5, 10, 1)}},  // release
      {kCsi + "M" + "\x60\x2a\x25", {ConsoleEvent::Wheel(-1, 5, 10)}},
  });
}

TEST(KeyDecoderTest, UnknownAndMalformedInputIsSkipped) {
  ExpectTable({
      {kCsi + "999~x", {Key('x')}},
      {kCsi + "?1;2c" + "x", {Key('x')}},    // a device report
      {kCsi + "I" + kCsi + "O", {}},         // focus reports
      {kCsi + "200~x", {Key('x')}},          // paste bracket
      {kCsi + "[Z", {}},
      {kSs3 + "z", {}},
      {kCsi + "1;\x03", {Key(3, kLeftCtrl)}},  // broken off by a control character
      {kCsi + "1" + kCsi + "B", {Ext(scan::kDown)}},
      {"\xff\x80" "a", {Key('a')}},
      {"\xc3(", {Key('(')}},
      {"\xe2\x95", {}},  // cut short at the end
      {kCsi + "1;5", {}},
      {kCsi + std::string(40, '1') + "~a", {Key('a')}},  // too long to be a key
  });
}

TEST(KeyDecoderTest, MixedStream) {
  EXPECT_EQ(DecodeAll("ab" + kCsi + "Ac" + kEsc + "x" + kCsi + "<0;2;3m\r"),
            (Events{Key('a'), Key('b'), Ext(scan::kUp), Key('c'), Ext(0x2D, kLeftAlt),
                    ConsoleEvent::Click(3, 2, 1), Key(13)}));
}

TEST(KeyDecoderTest, IncompleteSequencesWaitForMore) {
  struct Incomplete {
    std::string bytes;
    size_t used;
    size_t events;
  };
  const std::vector<Incomplete> table = {
      {kEsc, 0, 0},
      {kEsc + kEsc, 0, 0},
      {kCsi, 0, 0},
      {kCsi + "1;5", 0, 0},
      {kCsi + "<0;10", 0, 0},
      {kCsi + "M\x20", 0, 0},
      {kCsi + "[", 0, 0},
      {kSs3, 0, 0},
      {kSs3 + "2", 0, 0},
      {"\xc3", 0, 0},
      {kEsc + "\xe2\x95", 0, 0},
      {"ab" + kCsi + "1", 2, 2},
      {"\xc3\xa9" "\xe2", 2, 1},
  };
  for (const Incomplete& c : table) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    Events events;
    EXPECT_EQ(DecodeInput(c.bytes, false, &events), c.used);
    EXPECT_EQ(events.size(), c.events);
  }
}

// Each sequence, cut at every byte and fed in two parts as a terminal might
// deliver it, decodes as it does in one piece.
TEST(KeyDecoderTest, SplitInputDecodesAsWhole) {
  const std::vector<std::string> sequences = {
      kCsi + "1;5C", kSs3 + "P",        "\xc3\xa9",     kCsi + "<0;10;5m",
      kEsc + "x",    kCsi + "15;2~",    kEsc + kCsi + "A", kCsi + "[B",
      kCsi + "M#*%", kEsc + "\xc3\xa9", kCsi + "Z",     kCsi + "27;5;118~",
  };
  for (const std::string& seq : sequences) {
    const Events whole = DecodeAll(seq);
    ASSERT_EQ(whole.size(), 1u) << testing::PrintToString(seq);
    for (size_t cut = 1; cut < seq.size(); ++cut) {
      SCOPED_TRACE(testing::PrintToString(seq) + " cut at " + std::to_string(cut));
      std::string buffer = seq.substr(0, cut);
      Events events;
      const size_t used = DecodeInput(buffer, false, &events);
      EXPECT_EQ(used, 0u);
      buffer = buffer.substr(used) + seq.substr(cut);
      EXPECT_EQ(DecodeInput(buffer, false, &events), buffer.size());
      EXPECT_EQ(events, whole);
    }
  }
}

// However the input is cut, a call that is told the input has ended uses it
// all, and one that waits for more holds back no more than one short
// sequence.
TEST(KeyDecoderTest, NeverStalls) {
  const std::string stream = "x" + kCsi + "1;5C" + kCsi + std::string(50, ';') + "q" + kCsi +
                             "<0;10;5m\xc3\xa9" + kEsc + kEsc + kSs3 + "P" + kCsi + "M#*%" +
                             "\xff" + kCsi + "99" + kEsc + "x";
  for (size_t length = 0; length <= stream.size(); ++length) {
    SCOPED_TRACE(length);
    const std::string prefix = stream.substr(0, length);
    Events events;
    EXPECT_EQ(DecodeInput(prefix, true, &events), prefix.size());
    events.clear();
    EXPECT_LE(prefix.size() - DecodeInput(prefix, false, &events), 34u);
  }
}

}  // namespace
}  // namespace qav
