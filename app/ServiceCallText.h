// The words the call window shows for a call's outcome: the HTTP status, the time taken and the
// headers of an answer, a fault in plain words, or why the call failed.
#pragma once

#include "net/SoapCall.h"

#include <string>

// The text with every line end "\r\n": an edit control breaks lines only there.
std::string WindowsLines(const std::string& strText);
// Lines joined by "\r\n", as an edit control shows them.
std::string CallOutcomeText(const SoapCallResult& result);
// The word a history entry keeps for the outcome ("answered", "refused", ...).
const char* CallOutcomeWord(SoapCallResult::Outcome outcome);
