#pragma once

#include <initializer_list>
#include <vector>

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextReadSettingsFirst = "Считайте настройки модема...";
inline constexpr const char* kTextEnterPassword = "Введите пароль...";
inline constexpr const char* kTextNoRights = "Нет прав просмотра настроек";
inline constexpr const char* kTextVoiceCallNotInFile =
    "Голосовой вызов в файле настроек не хранится";

// Shows the listed pages and hides every other one; the first listed becomes the active page.
void showOnlyPages(TformMain& main, std::initializer_list<Page> pages);

// Whether the login may see user n's page (1 to 6); nothing when there is no login role.
enum class UserAccess { Allowed, Refused, Unchanged };
UserAccess userPageAccess(const App& app, int user);

// The pages a tree node shows when the login may open it; none for the users' node.
std::vector<Page> nodePages(int nodeIndex);
// Whether the login may open the node: only after a read and a login, and then by the role.
bool mayOpenNode(const App& app, int nodeIndex);
// Whether the login may see what the page holds: a node it may open shows the page. The user
// page holds the user of the node selected in the tree.
bool mayOpenPage(const App& app, Page page);

// Decides the pages for a selected tree node. Never refuses the selection; false when the node's
// pages stay closed to the login (no read, no login, or no rights).
bool TreeView1Changing(App& app, int nodeIndex);

}  // namespace zelar
