// The suite's settings files: the INI reader every module may use, and the
// start-up reading of the environment and of Sessio.ini, VarnTerm.ini and
// Varn.ini into the session values. Nothing here writes a file or shows a
// message: whatever is missing falls back to its default.
#ifndef QAV_FRAME_SETTINGS_H_
#define QAV_FRAME_SETTINGS_H_

#include <string>
#include <string_view>

namespace qav {

// The value of `key` in `section` of the settings file, or empty text. The
// file is read afresh at each call; only the first section of the name is
// searched and the first matching key in it wins; names compare without
// regard to case; text from ";" on is a comment; a value wholly in double
// quotes loses them.
std::string ReadSetting(std::string_view path, std::string_view section, std::string_view key);

// Appends "\" to a folder that is not empty and does not end in ":", "\"
// or the host's own "/".
std::string NormaliseFolder(std::string folder);

// Fills the session values from the environment and the settings files.
void ReadSessionSettings();

// "a,X" sets the base currency (and the current one) to X; "x,X" with any
// other first letter sets the print currency; "p" switches to the print
// currency when one is set; anything else switches back to the base one.
void SetCurrencyMode(std::string_view spec);

// The leading number of a text as the suite reads numbers: optional blanks,
// a sign and digits, with a decimal part rounded to the nearest integer
// (halves to even) and kept to 16 bits; nothing readable is 0.
int16_t ReadNumber16(std::string_view text);

}  // namespace qav

#endif  // QAV_FRAME_SETTINGS_H_
