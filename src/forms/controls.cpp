#include "forms/controls.h"

#include <algorithm>

namespace zelar {

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
