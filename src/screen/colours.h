// Colour selection: every drawing module picks one of the five colour pairs
// of the session's colour scheme by letters, and saves and restores the pair
// in force around nested drawing ("+..." saves, "-" restores).
//
// Pairs: 0 values (the default), 1 normal ("n"), 2 reverse ("r"), 3 ("rn"),
// 4 input ("u"). Letters are case-insensitive; "h" (or any text without
// n, r, u or "-") selects pair 0.
#ifndef QAV_SCREEN_COLOURS_H_
#define QAV_SCREEN_COLOURS_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qav {

// A blank or empty spec changes nothing. Otherwise: "+" saves the current
// pair on the colour stack; then "-" takes the pair from the stack (pair 0
// when the stack is empty), else "u" selects 4, else "r" adds 2 and "n"
// adds 1. The console colour becomes the selected pair's.
void SetColour(std::string_view spec);

// The pair selected last (0 at start).
int16_t CurrentColour();
// How many pairs are saved; for checks of save/restore balance.
size_t ColourStackDepth();

// Pair 0 selected and the stack empty, as at start (the console colour is
// left alone); for tests.
void ResetColours();

}  // namespace qav

#endif  // QAV_SCREEN_COLOURS_H_
