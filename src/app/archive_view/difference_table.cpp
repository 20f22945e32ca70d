#include "app/archive_view/difference_table.h"

#include "app/file_session/file_menu.h"
#include "archive/settings_snapshot.h"
#include "text/quoted.h"

namespace zelar {

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
        const bool secret = archive::isSecretDifference(d);
        rows.push_back({d.page, d.field, secret ? "****" : quoted(d.first),
                        secret ? "****" : quoted(d.second)});
    }
    app.services.dialogs.showTable(caption, {"Страница", "Поле", first, second}, rows);
}

}  // namespace zelar
