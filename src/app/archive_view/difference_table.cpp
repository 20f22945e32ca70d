#include "app/archive_view/difference_table.h"

#include <utility>

#include "app/file_session/file_menu.h"
#include "archive/settings_snapshot.h"
#include "text/quoted.h"

namespace zelar {

namespace {

// A text as the pages show it: up to its first NUL (the modem pads its texts with them).
std::string uptoNul(const std::string& value) {
    return value.substr(0, value.find('\0'));
}

// The two values of a difference for people; where only what follows a NUL differs, both
// whole, so that the difference stays in view.
std::pair<std::string, std::string> shownValues(const SettingsDifference& d) {
    if (archive::isSecretDifference(d))
        return {"****", "****"};
    std::string first = uptoNul(d.first);
    std::string second = uptoNul(d.second);
    if (first == second)
        return {quoted(d.first), quoted(d.second)};
    return {quoted(first), quoted(second)};
}

}  // namespace

void showDifferenceTable(App& app, const std::string& caption, const std::string& first,
                         const std::string& second,
                         const std::vector<SettingsDifference>& differences) {
    if (differences.empty()) {
        app.services.dialogs.messageBox(kTextNoDifferences, caption, MessageIcon::Information,
                                        MessageButtons::Ok);
        return;
    }
    std::vector<std::vector<std::string>> rows;
    for (const SettingsDifference& d : differences) {
        auto [before, after] = shownValues(d);
        rows.push_back({d.page, d.field, std::move(before), std::move(after)});
    }
    app.services.dialogs.showTable(caption, {"Страница", "Поле", first, second}, rows);
}

}  // namespace zelar
