#pragma once

#include <vector>

#include "app/core/app.h"

namespace zelar {

// A key press as the main window sees it, before its controls do.
struct KeyPress {
    bool ctrl = false;
    bool alt = false;
    int digit = -1;                     // digit key of the main keyboard pressed, -1 for others
    int functionKey = 0;                // F1 to F12 pressed as 1 to 12, 0 for others
    std::vector<int> functionKeysHeld;  // function keys held down at this moment
};

// Ctrl+Alt+7 opens the service window; Ctrl+F11 the log window. Neither is a shortcut of any
// control of the windows.
constexpr int kServiceChordDigit = 7;
constexpr int kLogChordFunctionKey = 11;

bool isServiceChord(const KeyPress& key);
bool isLogChord(const KeyPress& key);

// Tests both chords in turn and shows the window of each that matches, modally; nothing while
// an operation holds the link.
void FormKeyDown(App& app, const KeyPress& key);

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where a window of the given size goes to stand centred over the main window.
Rect centreOver(const Rect& main, int width, int height);

}  // namespace zelar
