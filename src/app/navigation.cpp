#include "app/navigation.h"

#include "app/show_settings.h"

namespace zelar {

namespace {

void showInformation(TformMain& main, const std::string& text) {
    showOnlyPages(main, {Page::TabSheet3});
    main.StaticTextInformation.caption = text;
}

void showPages(TformMain& main, std::initializer_list<Page> pages) {
    showOnlyPages(main, pages);
    main.StaticTextInformation.caption.clear();
}

int roleOfUser(const App& app, int user) {
    return app.image.users[static_cast<std::size_t>(user - 1)].status;
}

}  // namespace

void showOnlyPages(TformMain& main, std::initializer_list<Page> pages) {
    for (int i = 0; i < kPageCount; ++i)
        main.page(static_cast<Page>(i)).tabVisible = false;
    for (Page p : pages)
        main.page(p).tabVisible = true;
    if (pages.size() > 0)
        main.activePage = *pages.begin();
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

void TreeView1Changing(App& app, int nodeIndex) {
    TformMain& main = app.main;
    main.TreeView1.selected = nodeIndex;
    if (!app.settingsRead) {
        showInformation(main, kTextReadSettingsFirst);
        return;
    }
    if (!app.login.loggedIn) {
        main.StatusBar1.text = kTextEnterPassword;
        showInformation(main, kTextEnterPassword);
        return;
    }
    const int role = app.login.role;
    if (nodeIndex == kNodeUsers) {
        showOnlyPages(main, {});
        main.StaticTextInformation.caption.clear();
    } else if (nodeIndex == kNodeDiagnostics) {
        showPages(main, {Page::TabSheet4});
    } else if (nodeIndex == kNodeModem) {
        if (role != kRoleMaster)
            return showInformation(main, kTextNoRights);
        ShowModemSettings(app);
        showPages(main, {Page::TabSheet2, Page::TabSheet5, Page::TabSheetTests});
    } else if (nodeIndex == kNodeVoiceCall) {
        if (role != kRoleMaster && role != kRoleOwner)
            return showInformation(main, kTextNoRights);
        ShowModemSettings(app);
        showPages(main, {Page::TabSheetECall});
    } else if (nodeIndex >= 1 && nodeIndex <= 6) {
        switch (userPageAccess(app, nodeIndex)) {
            case UserAccess::Allowed:
                ShowUserSettings(app, nodeIndex);
                showPages(main, {Page::TabSheet1});
                break;
            case UserAccess::Refused:
                showInformation(main, kTextNoRights);
                break;
            case UserAccess::Unchanged:
                break;
        }
    }
}

}  // namespace zelar
