// Aligns an item's text within its own width, the way a justification line
// of the print file asks: the width is the text's length, blanks included,
// so the aligned text starts at the item's column and is as long as before.
#ifndef QAV_QAVPRINT_JUSTIFICATION_H_
#define QAV_QAVPRINT_JUSTIFICATION_H_

#include <string>
#include <string_view>

#include "qavprint/print_document.h"

namespace qav {

// E: the text as it stands. D and N: its trailing blanks moved in front
// (numbers the report pads on the right end flush with its width). C: the
// text between its blanks centred, an odd blank going to the right. A: the
// words spread over the whole width, the blanks between them as even as
// possible (the wider gaps first); a single word stays on the left.
std::string AlignText(std::string_view text, Justification justification);

}  // namespace qav

#endif  // QAV_QAVPRINT_JUSTIFICATION_H_
