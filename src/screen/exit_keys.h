// The exit-key map: which keys end a field edit or a key wait, and the key
// code each is reported as; with one save slot so that an operation can set
// its own keys and put the caller's back. Also the echo character with which
// the field editor masks a secret field.
//
// Key lists are texts of comma-separated items, each a hexadecimal key code
// without prefix ("1b" Esc, "d" Enter, "4800" Up), optionally "=" and the
// hexadecimal code to report instead ("1b=4f00": Esc ends the edit as End).
// Reading is lenient, so that no list text can fail:
//   - blanks before a code are skipped; a code ends at the first character
//     that is not a hexadecimal digit, and what follows up to the next
//     comma (or "=") is ignored;
//   - a code keeps its last four hexadecimal digits as a 16-bit pattern, so
//     "8500" is F11 (as the 16-bit value -31488) and "12345" reads as 2345;
//   - an item with nothing readable before "=" is key 0, which never arrives
//     from the keyboard ("" and "," thus add 0 → 0 entries);
//   - an item whose "=" has nothing readable after it reports its own key;
//   - an empty list text adds no entry at all.
#ifndef QAV_SCREEN_EXIT_KEYS_H_
#define QAV_SCREEN_EXIT_KEYS_H_

#include <cstdint>
#include <string_view>
#include <vector>

namespace qav {

struct ExitKey {
  int16_t key;       // the key that ends the edit
  int16_t reported;  // the code the edit reports for it
};

// Processes each command letter in order (case-insensitive):
//   E  empty the map;
//   A  append every item of the key list (duplicates allowed; the first
//      entry of a key wins);
//   +  save the map, unless one is saved already;
//   -  put the saved map back and empty the slot, if one is saved;
//   H  mask fields with "X"; V  show them.
// Other characters are ignored.
void SetExitKeys(std::string_view commands, std::string_view key_list);

// The map in force. An empty map means that every key ends the edit; that
// is for the editor to apply.
const std::vector<ExitKey>& ExitKeyMap();

// True when the key is in the map, with *reported set to the code of its
// first entry.
bool FindExitKey(int16_t key, int16_t* reported);

// 0 while fields are shown; else the code of the character that masks them.
int16_t EchoChar();

// The entries of a key list text, read as described above.
std::vector<ExitKey> ParseKeyList(std::string_view key_list);

// Empty map, empty save slot, EchoChar 0, as at start; for tests.
void ResetExitKeys();

}  // namespace qav

#endif  // QAV_SCREEN_EXIT_KEYS_H_
