#include "app/pages/page_edits.h"

#include <variant>

#include "forms/control_registry.h"

namespace zelar {

namespace {

// The controls of a settings page, in the same order for any window model.
std::vector<NamedControl> pageControls(TformMain& m, Page page) {
    switch (page) {
        case Page::TabSheet1:
            return userPageControls(m);
        case Page::TabSheet2:
            return simPageControls(m);
        case Page::TabSheet5:
            return gprsPageControls(m);
        case Page::TabSheetTests:
            return objectPageControls(m);
        case Page::TabSheetECall:
            return voiceCallPageControls(m);
        default:
            return {};
    }
}

constexpr Page kSettingsPages[] = {Page::TabSheet1, Page::TabSheet2, Page::TabSheet5,
                                   Page::TabSheetTests, Page::TabSheetECall};

// Whether the control holds a value the user sets: what it shows is then compared.
bool holdsValue(const ControlRef& ref) {
    return std::holds_alternative<Edit*>(ref) || std::holds_alternative<CheckBox*>(ref) ||
           std::holds_alternative<RadioButton*>(ref) || std::holds_alternative<ComboBox*>(ref);
}

// Copies every control of the page from one window model to the other, as it stands.
void copyPage(TformMain& from, TformMain& to, Page page) {
    const auto source = pageControls(from, page);
    const auto target = pageControls(to, page);
    for (std::size_t i = 0; i < source.size(); ++i) {
        std::visit(
            [&](auto* s) {
                using Control = std::remove_pointer_t<decltype(s)>;
                *std::get<Control*>(target[i].control) = *s;
            },
            source[i].control);
    }
}

}  // namespace

void notePagesShown(App& app) {
    app.pagesShown = std::make_unique<TformMain>(app.main);
}

void notePageWritten(App& app, Page page) {
    // A page is written only once navigation has shown it, and so noted the pages.
    if (app.pagesShown)
        copyPage(app.main, *app.pagesShown, page);
}

std::vector<Page> editedPages(App& app) {
    std::vector<Page> edited;
    if (!app.pagesShown)
        return edited;
    for (const Page page : kSettingsPages) {
        if (!app.main.page(page).tabVisible)
            continue;
        const auto now = pageControls(app.main, page);
        const auto shown = pageControls(*app.pagesShown, page);
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (holdsValue(now[i].control) &&
                controlValue(now[i].control) != controlValue(shown[i].control)) {
                edited.push_back(page);
                break;
            }
        }
    }
    return edited;
}

void dropPageEdits(App& app, Page page) {
    if (app.pagesShown)
        copyPage(*app.pagesShown, app.main, page);
}

}  // namespace zelar
