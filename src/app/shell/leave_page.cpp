#include "app/shell/leave_page.h"

#include "app/pages/page_edits.h"
#include "app/pages/write_settings.h"

namespace zelar {

bool leavePage(App& app) {
    if (!app.askBeforeLeaving)
        return true;
    const std::vector<Page> edited = editedPages(app);
    if (edited.empty())
        return true;
    TformMain& m = app.main;
    const int wantedNode = m.TreeView1.selected;
    const Page wantedPage = m.activePage;
    // The question stands over the edited pages, and "Записать" writes the node they belong to.
    m.TreeView1.selected = app.pagesShown->TreeView1.selected;
    const MessageResult answer = app.services.dialogs.messageBox(
        kTextWriteChanges, "Модем", MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageResult::Yes) {
        for (const Page page : edited) {
            m.activePage = page;
            if (!ButtonWriteNastrClick(app))
                return false;  // its message said why; the page keeps its edits
        }
    } else if (answer == MessageResult::No) {
        for (const Page page : edited)
            dropPageEdits(app, page);
    } else {
        return false;  // Отмена, or the box closed: the edits stay on view
    }
    m.TreeView1.selected = wantedNode;
    m.activePage = wantedPage;
    return true;
}

bool FormCloseQuery(App& app) {
    return leavePage(app);
}

}  // namespace zelar
