#pragma once

// Settings of the 3D band-spectrum view that its window and view set, the scene reads every frame and the
// brain-note document saves. Main thread.

namespace nupo {

inline constexpr int displayElementRows = 12;
inline constexpr int displayElements = 12;

// Display elements of each source row 0..9 (rows 10 and 11 are kept for the document): 0 frequency line,
// 1 frequency labels, 2 time lines, 3 transparent time lines, 4 time labels, 5 time markers, 6 level plane
// at 5, 7 level plane at 10, 8 level plane at the newest peak, 9 power labels, 10 level frame over the
// brain-switch surface, 11 flat power views (row 0 only).
inline int displayModeX[displayElementRows][displayElements] = {
    {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}, {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1},
    {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}, {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1},
    {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}, {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1},
    {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}, {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1},
    {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}, {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1},
    {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}, {1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1},
};

inline int selectXCHNX = 0;  // display mode of the 3D window (0, 1 the one-set views, 2..11 one source)
// Hot spot the scene marks where no frame copy says otherwise (each frame takes its own from the pointer):
// 0 none, 1..4 a zone, 5 the centre (all four).
inline int show4sphere = 0;
inline int imagePosition = 0;  // non-zero: every tile gets its own image or palette
inline int rotateX = 0;        // 1: the camera turns about the vertical y axis, 0: about z

}  // namespace nupo
