// Small operations on code page 850 text shared by the forms, the editor,
// the calendar and the report: upper-casing (keeping accents, or folding to
// plain capitals while the editor matches typed keys against option lists),
// the test that a text is one repeated character, and centring.
#ifndef QAV_UTIL_TEXT_H_
#define QAV_UTIL_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qav {

// The text with codes 64-237 upper-cased, of the same length. Normally
// accented small letters become their accented capitals (ñ → Ñ); while the
// folding mode is on every letter becomes its plain capital (ñ → N, º → O)
// and the other codes of that range (the at sign, "_", box drawing, £ ...)
// become blanks, so that typed keys match regardless of accents. Codes below
// 64 and from 238 on are never changed.
std::string ToUpperText(std::string_view text);

// The folding mode of ToUpperText, off at start. The field editor turns it
// on just around its option search.
void SetUpperFolding(bool on);
bool UpperFolding();

// True when every character of the text has the code; always true for the
// empty text. A code outside 0-255 matches no character.
bool IsAllChar(std::string_view text, int16_t code);

// (width - length of the text) / 2, truncated toward zero: the offset that
// centres the text in the width, negative when the text is wider. Kept
// within 16 bits (a text too long for that gives the most negative offset
// rather than a wrapped positive one).
int16_t CenterOffset(std::string_view text, int16_t width);

// Puts the folding mode back to off; for tests.
void ResetTextHelpers();

}  // namespace qav

#endif  // QAV_UTIL_TEXT_H_
