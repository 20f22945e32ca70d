#include "app/shell/navigation.h"

#include <algorithm>
#include <span>

#include "app/pages/page_edits.h"
#include "app/pages/show_settings.h"

namespace zelar {

namespace {

void showInformation(TformMain& main, const std::string& text) {
    showOnlyPages(main, {Page::TabSheet3});
    main.StaticTextInformation.caption = text;
}

void showOnly(TformMain& main, std::span<const Page> pages) {
    for (int i = 0; i < kPageCount; ++i)
        main.page(static_cast<Page>(i)).tabVisible = false;
    for (Page p : pages)
        main.page(p).tabVisible = true;
    if (!pages.empty())
        main.activePage = pages.front();
}

void showPages(TformMain& main, const std::vector<Page>& pages) {
    showOnly(main, pages);
    main.StaticTextInformation.caption.clear();
}

int roleOfUser(const App& app, int user) {
    return app.image.users[static_cast<std::size_t>(user - 1)].status;
}

}  // namespace

void showOnlyPages(TformMain& main, std::initializer_list<Page> pages) {
    showOnly(main, std::span(pages.begin(), pages.size()));
}

UserAccess userPageAccess(const App& app, int user) {
    const int target = roleOfUser(app, user);
    const bool self = app.login.user == user;
    switch (app.login.role) {
        case kRoleMaster:
            return UserAccess::Allowed;
        case kRoleOwner:
            if (target == kRoleOwner)
                return self ? UserAccess::Allowed : UserAccess::Refused;
            return target == kRoleGuard ? UserAccess::Allowed : UserAccess::Refused;
        case kRoleGuard:
            return target == kRoleGuard && self ? UserAccess::Allowed : UserAccess::Refused;
        case kRoleNone:
            return UserAccess::Unchanged;
        default:
            return UserAccess::Refused;
    }
}

std::vector<Page> nodePages(int nodeIndex) {
    if (nodeIndex >= 1 && nodeIndex <= kUserCount)
        return {Page::TabSheet1};
    switch (nodeIndex) {
        case kNodeModem:
            return {Page::TabSheet2, Page::TabSheet5, Page::TabSheetTests};
        case kNodeVoiceCall:
            return {Page::TabSheetECall};
        case kNodeDiagnostics:
            return {Page::TabSheet4};
        default:
            return {};
    }
}

bool mayOpenNode(const App& app, int nodeIndex) {
    if (!app.settingsRead || !app.login.loggedIn)
        return false;
    const int role = app.login.role;
    if (nodeIndex >= 1 && nodeIndex <= kUserCount)
        return userPageAccess(app, nodeIndex) == UserAccess::Allowed;
    switch (nodeIndex) {
        case kNodeModem:
        case kNodeVoiceCall:
            return roleMayOpenSettingsNode(role, nodeIndex);
        case kNodeUsers:
        case kNodeDiagnostics:
            return true;
        default:
            return false;
    }
}

bool mayOpenPage(const App& app, Page page) {
    if (page == Page::TabSheet1) {
        const int node = app.main.TreeView1.selected;
        return node >= 1 && node <= kUserCount && mayOpenNode(app, node);
    }
    for (const int node : {kNodeModem, kNodeVoiceCall, kNodeDiagnostics}) {
        const auto pages = nodePages(node);
        if (std::find(pages.begin(), pages.end(), page) != pages.end() && mayOpenNode(app, node))
            return true;
    }
    return false;
}

namespace {

// The pages of the node, filled from the settings image, or why they stay closed.
bool showNode(App& app, int nodeIndex) {
    TformMain& main = app.main;
    main.TreeView1.selected = nodeIndex;
    if (!app.settingsRead) {
        showInformation(main, kTextReadSettingsFirst);
        return false;
    }
    if (!app.login.loggedIn) {
        main.StatusBar1.text = kTextEnterPassword;
        showInformation(main, kTextEnterPassword);
        return false;
    }
    const bool allowed = mayOpenNode(app, nodeIndex);
    if (nodeIndex == kNodeUsers) {
        showOnlyPages(main, {});
        main.StaticTextInformation.caption.clear();
    } else if (nodeIndex == kNodeDiagnostics) {
        showPages(main, nodePages(nodeIndex));
    } else if (nodeIndex == kNodeModem || nodeIndex == kNodeVoiceCall) {
        if (!allowed) {
            showInformation(main, kTextNoRights);
            return false;
        }
        // A settings file holds neither the voice call nor the object parameters.
        if (app.source.file && nodeIndex == kNodeVoiceCall) {
            showInformation(main, kTextVoiceCallNotInFile);
            return false;
        }
        ShowModemSettings(app);
        showPages(main, nodePages(nodeIndex));
        if (app.source.file)
            main.TabSheetTests.tabVisible = false;
    } else if (nodeIndex >= 1 && nodeIndex <= kUserCount) {
        // A login without a role leaves the pages as they are.
        if (userPageAccess(app, nodeIndex) == UserAccess::Refused)
            showInformation(main, kTextNoRights);
        if (!allowed)
            return false;
        ShowUserSettings(app, nodeIndex);
        showPages(main, nodePages(nodeIndex));
    }
    return allowed;
}

}  // namespace

bool TreeView1Changing(App& app, int nodeIndex) {
    const bool shown = showNode(app, nodeIndex);
    notePagesShown(app);
    return shown;
}

}  // namespace zelar
