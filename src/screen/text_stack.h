// A last-in first-out store of byte strings, kept as one byte string with
// each item followed by its length in two little-endian bytes. Modules use
// it to keep values across a nested operation.
#ifndef QAV_SCREEN_TEXT_STACK_H_
#define QAV_SCREEN_TEXT_STACK_H_

#include <string>
#include <string_view>

namespace qav {

// Items longer than 32767 bytes are cut to that length.
void PushText(std::string_view item);
// The last item pushed, removed; empty text when the stack is empty or its
// length field does not match what it holds (the damaged rest is dropped).
std::string PopText();
void ResetTextStack();

}  // namespace qav

#endif  // QAV_SCREEN_TEXT_STACK_H_
