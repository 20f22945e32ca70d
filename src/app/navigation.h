#pragma once

#include <initializer_list>

#include "app/app.h"

namespace zelar {

inline constexpr const char* kTextReadSettingsFirst = "Считайте настройки модема...";
inline constexpr const char* kTextEnterPassword = "Введите пароль...";
inline constexpr const char* kTextNoRights = "Нет прав просмотра настроек";

// Shows the listed pages and hides every other one; the first listed becomes the active page.
void showOnlyPages(TformMain& main, std::initializer_list<Page> pages);

// Whether the login may see user n's page (1 to 6); nothing when there is no login role.
enum class UserAccess { Allowed, Refused, Unchanged };
UserAccess userPageAccess(const App& app, int user);

// Decides the pages for a selected tree node. Never refuses the selection.
void TreeView1Changing(App& app, int nodeIndex);

}  // namespace zelar
