#include "forms/controls.h"

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

void showText(ComboBox& box, const std::string& text) {
    box.itemIndex = -1;
    box.text = text;
}

}  // namespace zelar
