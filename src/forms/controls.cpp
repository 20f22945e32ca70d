#include "forms/controls.h"

#include <algorithm>

namespace zelar {

bool acceptsKey(const Edit& edit, char32_t key) {
    // Control characters (Backspace, Enter, Ctrl chords such as copy and paste) always pass.
    if (key < 0x20 || edit.accepts.empty())
        return true;
    return key < 0x80 && edit.accepts.find(static_cast<char>(key)) != std::string_view::npos;
}

void typeText(Edit& edit, std::string_view text) {
    std::string typed;
    int count = 0;
    for (std::size_t i = 0; i < text.size();) {
        // One UTF-8 sequence is one typed character.
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        length = std::min(length, text.size() - i);
        const std::string_view character = text.substr(i, length);
        i += length;
        if (edit.maxLength > 0 && count >= edit.maxLength)
            break;
        const char32_t key = length == 1 ? static_cast<unsigned char>(character[0]) : 0x100;
        // Control keys edit or move the focus; none of them puts a character in the field.
        if (key < 0x20 || key == 0x7F || !acceptsKey(edit, key))
            continue;
        typed += character;
        ++count;
    }
    edit.text = std::move(typed);
}

void selectItem(ComboBox& box, int index) {
    if (index < 0 || index >= static_cast<int>(box.items.size())) {
        box.itemIndex = -1;
        box.text.clear();
        return;
    }
    box.itemIndex = index;
    box.text = box.items[static_cast<std::size_t>(index)];
}

void selectItemText(ComboBox& box, const std::string& text) {
    for (std::size_t i = 0; i < box.items.size(); ++i) {
        if (box.items[i] == text) {
            selectItem(box, static_cast<int>(i));
            return;
        }
    }
    selectItem(box, -1);
}

Panel captionPanel(std::string caption) {
    Panel panel;
    panel.caption = std::move(caption);
    panel.captionOnly = true;
    return panel;
}

void showText(ComboBox& box, const std::string& text) {
    box.itemIndex = -1;
    box.text = text;
}

void setEnabled(std::initializer_list<Control*> controls, bool enabled) {
    for (Control* c : controls)
        c->enabled = enabled;
}

void setRange(ProgressBar& bar, int min, int max, int step) {
    bar.min = min;
    bar.max = max;
    bar.step = step;
    bar.position = min;
    bar.stepsTaken = 0;
}

void stepIt(ProgressBar& bar) {
    bar.position = std::min(bar.max, bar.position + bar.step);
    ++bar.stepsTaken;
}

}  // namespace zelar
