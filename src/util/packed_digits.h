// Packed digit strings: decimal digits two to a byte as 128 + the pair's
// value, the form in which codes, owner keys and dates sit in records and
// keys. They sort numerically by plain byte comparison.
#ifndef QAV_UTIL_PACKED_DIGITS_H_
#define QAV_UTIL_PACKED_DIGITS_H_

#include <string>
#include <string_view>

namespace qav {

// Packs the digit text, right-aligned in its own width (blanks count as 0,
// other characters as 0); (n + 1) / 2 bytes for n characters.
std::string PackDigits(std::string_view text);

// Two decimal digits per byte from the low 7 bits of each byte.
std::string UnpackDigits(std::string_view packed);

// Packs a typed code: one group of digits, or groups separated by "."; the
// first group 6 digits wide for a text of exactly 6 characters without "."
// or of exactly 11 characters with fewer than two "."; else 4; later groups 4.
std::string PackCode(std::string_view text);

}  // namespace qav

#endif  // QAV_UTIL_PACKED_DIGITS_H_
