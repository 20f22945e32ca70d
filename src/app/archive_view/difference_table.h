#pragma once

#include <string>
#include <vector>

#include "app/core/app.h"
#include "files/settings_compare.h"

namespace zelar {

// Differences of two states of a modem in the compare dialog's words: a row a field, page,
// field, then each side's value quoted up to its first NUL; passwords, PINs and PUKs as "****", so
// that only their change shows. "Нет различий" in a box when there are none.
void showDifferenceTable(App& app, const std::string& caption, const std::string& first,
                         const std::string& second,
                         const std::vector<SettingsDifference>& differences);

}  // namespace zelar
