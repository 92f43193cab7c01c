// Which page of the user guide tells about a menu command, a dialog or a pane: what F1 and Help
// Topics open.
#pragma once

#include <string>

// The guide's start page.
extern const char* const g_lpszHelpStartPage;

// The page of a menu command; empty for a command of none.
std::string HelpPageForCommand(unsigned nCommandID);
// The page of a dialog by its template's id; the start page for one of none.
std::string HelpPageForDialog(unsigned nTemplateID);

// The program's places that have a page of their own.
enum class HelpPlace { frame, solutionExplorer, properties, output, editor };
std::string HelpPageForPlace(HelpPlace place);
