// A message in a single-line frame: the text wrapped into lines of at most
// 76 characters, in a box centred on column 41 around the given row, in the
// reverse colour. The box stays until the caller's CloseWindow.
#ifndef QAV_SCREEN_MESSAGE_BOX_H_
#define QAV_SCREEN_MESSAGE_BOX_H_

#include <string_view>

namespace qav {

// Counts as one OpenWindow. When the lines do not fit between the first and
// the last row, nothing is shown and the matching CloseWindow does nothing;
// the colour in force is kept either way.
void ShowMessageBox(int row, std::string_view text);

}  // namespace qav

#endif  // QAV_SCREEN_MESSAGE_BOX_H_
