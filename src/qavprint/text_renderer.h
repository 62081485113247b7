// The plain-text rendering of a print document: UTF-8, one text line per
// printed line (laid out as in page_layout.h), lines ended by LF, and a form
// feed at the start of every page but the first. Blank lines inside a page
// are kept, so the text stands as on paper; those after its last printed
// line are left to the form feed.
#ifndef QAV_QAVPRINT_TEXT_RENDERER_H_
#define QAV_QAVPRINT_TEXT_RENDERER_H_

#include <string>
#include <string_view>

#include "qavprint/print_document.h"
#include "qavprint/print_status.h"

namespace qav {

std::string RenderText(const PrintDocument& document);

// Writes the rendering to the file at the suite path, replacing it.
PrintStatus WriteTextFile(const PrintDocument& document, std::string_view path);

}  // namespace qav

#endif  // QAV_QAVPRINT_TEXT_RENDERER_H_
