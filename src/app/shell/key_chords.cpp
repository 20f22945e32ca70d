#include "app/shell/key_chords.h"

#include <algorithm>

namespace zelar {

bool isServiceChord(const KeyPress& key) {
    return key.ctrl && key.alt && key.digit == kServiceChordDigit;
}

bool isLogChord(const KeyPress& key) {
    const auto& held = key.functionKeysHeld;
    return key.ctrl && (key.functionKey == kLogChordFunctionKey ||
                        std::find(held.begin(), held.end(), kLogChordFunctionKey) != held.end());
}

void FormKeyDown(App& app, const KeyPress& key) {
    // A window shown modally now would hold the operation under way, and the port with it,
    // until the window closed.
    if (app.link.busy())
        return;
    if (isServiceChord(key))
        app.services.dialogs.showModal(WindowId::Setup);
    if (isLogChord(key))
        app.services.dialogs.showModal(WindowId::Log);
}

Rect centreOver(const Rect& main, int width, int height) {
    // Integer halves truncated toward zero, as C++ division does.
    return {main.left + main.width / 2 - width / 2, main.top + main.height / 2 - height / 2, width,
            height};
}

}  // namespace zelar
