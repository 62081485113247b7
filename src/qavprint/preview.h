// The preview of a print on the terminal: one page at a time in the text
// layout of page_layout.h, below a status row that names the page and the
// part of it in view and above a row of the keys. Up and Down (and the mouse
// wheel) scroll by lines and go on across page ends, PgUp and PgDn turn
// pages, Home and End go to the first and the last page, Left and Right
// scroll sideways (the report's body is 136 columns wide), Esc leaves. The
// operator's texts are Catalan, as in the rest of the suite.
#ifndef QAV_QAVPRINT_PREVIEW_H_
#define QAV_QAVPRINT_PREVIEW_H_

#include "qavprint/print_document.h"

namespace qav {

// Runs on the console in force until Esc. The screen is left as last drawn;
// the caller gives the terminal back. A document without pages shows one
// blank page, so that an empty report is seen to be empty.
void RunPreview(const PrintDocument& document);

}  // namespace qav

#endif  // QAV_QAVPRINT_PREVIEW_H_
