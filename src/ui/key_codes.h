#pragma once

namespace zelar::ui {

// The Windows virtual-key code of a Qt key, as the handlers test keys; 0 for keys they never
// test.
int virtualKeyCode(int qtKey);

}  // namespace zelar::ui
