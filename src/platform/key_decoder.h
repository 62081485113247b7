// Turns the bytes an xterm-compatible terminal sends into console events:
// UTF-8 characters (as code page 850), control characters, the cursor and
// function keys with their Shift/Ctrl/Alt modifiers, Alt+key as an ESC
// prefix, and SGR mouse reports. A pure function, so it is tested on tables
// of real sequences.
#ifndef QAV_PLATFORM_KEY_DECODER_H_
#define QAV_PLATFORM_KEY_DECODER_H_

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/console_event.h"

namespace qav {

// Decodes the complete events at the front of `bytes` and appends them to
// *events; returns how many bytes were used. A sequence cut short at the end
// is left unused so the caller can wait for the rest; when `at_end` is true
// (no more bytes came within the Esc timeout) what is left is read as it
// stands: a lone ESC is the Esc key, ESC + character is Alt + that key.
// Bytes that form nothing known are skipped, never blocking what follows.
size_t DecodeInput(std::string_view bytes, bool at_end, std::vector<ConsoleEvent>* events);

}  // namespace qav

#endif  // QAV_PLATFORM_KEY_DECODER_H_
