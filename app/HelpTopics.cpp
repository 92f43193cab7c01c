#include "app/HelpTopics.h"

#include "app/res/Resource.h"
#include "classlib/CommandIds.h"

#include <iterator>

const char* const g_lpszHelpStartPage = "index.html";

namespace {

struct Topic {
    unsigned nID;
    const char* lpszPage;
};

const Topic s_dialogPages[] = {
    {IDD_NEW_PROJECT, "dialog-new-project.html"},
    {IDD_PROJECT_PROPERTIES, "dialog-project-properties.html"},
    {IDD_OPTIONS, "dialog-options.html"},
    {IDD_GLOBAL_OPTIONS, "dialog-options.html"},
    {IDD_ABOUTBOX, "help-about.html"},
    {IDD_SERVICE_CALL, "call-the-service.html"},
    {IDD_SERVICE_CALL_SETTINGS, "call-the-service.html"},
};

// Every command of the menus, the solution tree's included.
const Topic s_commandPages[] = {
    {ID_FILE_NEW_PROJECT, "file-new.html"},
    {ID_FILE_OPEN_PROJECT, "file-open.html"},
    {ID_FILE_SAVE_PROJECT, "file-save.html"},
    {ID_FILE_CLOSE_PROJECT, "file-close.html"},
    {ID_FILE_MRU_FILE1, "file-recent.html"},
    {ID_APP_EXIT, "file-exit.html"},
    {ID_EDIT_UNDO, "edit-undo.html"},
    {ID_EDIT_REDO, "edit-redo.html"},
    {ID_EDIT_CUT, "edit-cut.html"},
    {ID_EDIT_COPY, "edit-copy.html"},
    {ID_EDIT_PASTE, "edit-paste.html"},
    {ID_EDIT_CLEAR, "edit-delete.html"},
    {ID_EDIT_SELECT_ALL, "edit-select-all.html"},
    {ID_EDIT_FIND, "edit-find.html"},
    {ID_EDIT_REPEAT, "edit-find-next.html"},
    {ID_EDIT_REPLACE, "edit-replace.html"},
    {ID_GOTO_LINE, "edit-go-to.html"},
    {ID_UPPERCASE, "edit-uppercase.html"},
    {ID_LOWERCASE, "edit-lowercase.html"},
    {ID_COLLAPSE_ALL, "edit-collapse-all.html"},
    {ID_EXPAND_ALL, "edit-expand-all.html"},
    {ID_TOGGLE_BOOKMARK, "edit-toggle-bookmark.html"},
    {ID_NEXT_BOOKMARK, "edit-next-bookmark.html"},
    {ID_PREV_BOOKMARK, "edit-prev-bookmark.html"},
    {ID_VIEW_SOLUTION_EXPLORER, "view-solution-explorer.html"},
    {ID_VIEW_PROPERTIES, "view-properties-pane.html"},
    {ID_PROJECT_PROPERTIES, "project-properties.html"},
    {ID_ADD_PROTOCOL, "project-add-protocol.html"},
    {ID_PACKET_DIAGRAM, "project-packet-diagram.html"},
    {ID_CALL_SERVICE, "project-call-service.html"},
    {ID_GENERATE_MAKEFILE, "build-generate-makefile.html"},
    {ID_GENERATE_CODE, "build-generate-code.html"},
    {ID_COMPILE, "build-compile.html"},
    {ID_COMPILE_DEMO, "build-compile-demo.html"},
    {ID_RUN_DEMO, "build-run-demo.html"},
    {ID_NEXT_ERROR, "build-next-error.html"},
    {ID_PREV_ERROR, "build-previous-error.html"},
    {ID_OPTION, "tools-option.html"},
    {ID_SYNTAX_OPTION, "tools-syntax-option.html"},
    {ID_HELP_TOPICS, "help-topics.html"},
    {ID_WEB_PAGE, "help-web-page.html"},
    {ID_ABOUT, "help-about.html"},
    {ID_REMOVE_PROTOCOL, "tree-remove-protocol.html"},
    {ID_ADD_PACKET, "tree-add-packet.html"},
    {ID_REMOVE_PACKET, "tree-remove-packet.html"},
    {ID_ADD_FIELD, "tree-add-field.html"},
    {ID_REMOVE_FIELD, "tree-remove-field.html"},
};

std::string Find(const Topic* pBegin, const Topic* pEnd, unsigned nID) {
    for (const Topic* p = pBegin; p != pEnd; ++p)
        if (p->nID == nID) return p->lpszPage;
    return "";
}

}  // namespace

std::string HelpPageForCommand(unsigned nCommandID) {
    return Find(std::begin(s_commandPages), std::end(s_commandPages), nCommandID);
}

std::string HelpPageForDialog(unsigned nTemplateID) {
    const std::string strPage = Find(std::begin(s_dialogPages), std::end(s_dialogPages), nTemplateID);
    return strPage.empty() ? g_lpszHelpStartPage : strPage;
}

std::string HelpPageForPlace(HelpPlace place) {
    switch (place) {
    case HelpPlace::solutionExplorer: return "solution-explorer.html";
    case HelpPlace::properties: return "properties-pane.html";
    case HelpPlace::output: return "output-pane.html";
    case HelpPlace::editor: return "editor.html";
    case HelpPlace::frame: break;
    }
    return g_lpszHelpStartPage;
}
