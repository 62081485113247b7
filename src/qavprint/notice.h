// A notice on the terminal that waits to be read: lines of code page 850
// text in a single-line box in the middle of the screen, above "Premeu una
// tecla per continuar", until a key is pressed or the mouse clicked. Long
// lines are wrapped; lines beyond what the screen holds are summed up in a
// last line. It draws over the screen without saving it: the print service
// shows it just before it gives the terminal back.
#ifndef QAV_QAVPRINT_NOTICE_H_
#define QAV_QAVPRINT_NOTICE_H_

#include <string>
#include <vector>

namespace qav {

void ShowNotice(const std::vector<std::string>& lines);

}  // namespace qav

#endif  // QAV_QAVPRINT_NOTICE_H_
