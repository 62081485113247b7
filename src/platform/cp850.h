// Code page 850, the single-byte character set of every text the suite keeps,
// and its conversion to and from the host's UTF-8. All conversions of the
// program go through this one table.
#ifndef QAV_PLATFORM_CP850_H_
#define QAV_PLATFORM_CP850_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace qav {

// The Unicode character of a code page 850 code (codes 0-127 are ASCII).
char32_t Cp850ToUnicode(unsigned char code);

// The code page 850 code of a Unicode character, or -1 when it has none.
int UnicodeToCp850(char32_t u);

// What the console draws for a code: the same as Cp850ToUnicode but for the
// control codes, which the OEM font shows as symbols (16 is ►, 17 is ◄).
char32_t Cp850Glyph(unsigned char code);

std::string Cp850ToUtf8(std::string_view text);

// Characters outside code page 850 and malformed UTF-8 become `replacement`.
std::string Utf8ToCp850(std::string_view text, char replacement = '?');

// True when every character of the UTF-8 text has a code page 850 code.
bool IsCp850Representable(std::string_view utf8);

// UTF-8 helpers shared by the console and the converters.
void AppendUtf8(char32_t u, std::string* out);
// Decodes one character at `pos`; returns the bytes used, 0 when malformed or cut short.
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t* out);

}  // namespace qav

#endif  // QAV_PLATFORM_CP850_H_
