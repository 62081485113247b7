// The frame of the current window: blank (style 0), single line (1),
// double line (2), or code 0 in every frame cell (any other style). Drawing
// the frame also blanks the window's inside, in the colour in force.
#ifndef QAV_SCREEN_FRAME_H_
#define QAV_SCREEN_FRAME_H_

namespace qav {

// Does nothing while no window is open.
void DrawFrame(int style);

}  // namespace qav

#endif  // QAV_SCREEN_FRAME_H_
