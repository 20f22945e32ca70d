#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelar {

// The controls of the window models: plain values that the front ends show and edit.
// Texts are UTF-8.

struct Control {
    bool enabled = true;
    bool visible = true;
};

// Key filters: the characters a field accepts from the keyboard; empty accepts any.
inline constexpr std::string_view kDigits = "0123456789";
inline constexpr std::string_view kDigitsPlus = "0123456789+";
inline constexpr std::string_view kDigitsDot = "0123456789.";

struct Edit : Control {
    std::string text;
    int maxLength = 0;  // 0: no limit
    bool readOnly = false;
    std::string_view accepts{};  // key filter; empty accepts any key
};

// Whether the field's key filter lets this typed character through. Control characters,
// Backspace among them, always pass.
bool acceptsKey(const Edit& edit, char32_t key);
// Replaces the text as typing it would: control characters (no key types them) and refused
// characters are dropped and typing stops at the length limit. `text` is UTF-8.
void typeText(Edit& edit, std::string_view text);

struct Label : Control {
    Label() = default;
    Label(Control state, std::string text) : Control(state), caption(std::move(text)) {}

    std::string caption;
    std::string hint;  // the tool tip; empty shows none
};

struct Button : Control {
    std::string caption;
};

struct CheckBox : Control {
    std::string caption;
    bool checked = false;
};

struct RadioButton : Control {
    std::string caption;
    bool checked = false;
};

// A drop-down list. `text` is what it shows: the selected item, or a text of its own when a
// value has no item ("???"); -1 selects nothing.
struct ComboBox : Control {
    std::vector<std::string> items;
    int itemIndex = -1;
    std::string text;
    // The tool tip of each item, by position; items past its end have none.
    std::vector<std::string> itemHints = {};
    // What the list shows for each item, by position, when it is more than the item's text
    // (the port list: what answered on the port); an empty one or none past the end shows the
    // item's text. Selecting still goes by the item's text.
    std::vector<std::string> itemLabels = {};
};

// Selects item `index` (-1 or out of range selects nothing) and shows its text.
void selectItem(ComboBox& box, int index);
// Selects the item with exactly this text; nothing selected when there is none.
void selectItemText(ComboBox& box, const std::string& text);
// Shows a text that is not an item, selecting nothing.
void showText(ComboBox& box, const std::string& text);

// Enables or disables every listed control.
void setEnabled(std::initializer_list<Control*> controls, bool enabled);

// A group of controls; hiding it hides what it holds. Disabling it disables what it holds,
// unless it is a caption panel: then only its caption greys, and the controls in it keep their
// own state.
struct Panel : Control {
    std::string caption;
    bool lit = false;  // shown in the highlight colour (the signal bars)
    bool captionOnly = false;
};

// A panel whose enabled state is that of its caption alone.
Panel captionPanel(std::string caption);

struct TabSheet : Control {
    std::string caption;
    // Whether the page's tab is shown in the page control.
    bool tabVisible = true;
};

struct ProgressBar : Control {
    int min = 0;
    int max = 100;
    int position = 0;
    int step = 1;
    int stepsTaken = 0;  // steps since the range was last set
};

// Sets the range and step and puts the bar at its minimum.
void setRange(ProgressBar& bar, int min, int max, int step);
// Advances the bar by its step, up to its maximum.
void stepIt(ProgressBar& bar);

struct TreeNode {
    std::string text;
    int parent = -1;  // index of the parent node, -1 for a root node
};

// Nodes in depth-first order, root nodes included: a node's index is its absolute index.
struct TreeView : Control {
    std::vector<TreeNode> nodes;
    int selected = -1;
};

struct StatusBar : Control {
    std::string text;
};

// Values over a span of time that ends at the last point, drawn as a line; a point without a
// value leaves a gap.
struct LevelChart : Control {
    struct Point {
        std::int64_t msBeforeEnd = 0;
        std::optional<int> value;
    };
    std::int64_t spanMs = 0;
    int maxValue = 100;
    std::vector<Point> points;  // oldest first
};

// A table of texts, a line a row. `selected` holds the selected rows in ascending order; a
// table that lets one row be chosen at a time holds at most one.
struct Table : Control {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> selected;
    bool multiSelect = false;
};

// A multi-line text field.
struct Memo : Control {
    std::string text;
    bool readOnly = false;
};

}  // namespace zelar
